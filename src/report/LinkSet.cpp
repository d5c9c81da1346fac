#include "report/LinkSet.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace vendra {
namespace {

constexpr std::size_t kPiece = 1 << 20;

std::uint32_t HashOf(std::string_view link) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(link));
}

}  // namespace

std::string_view LinkSet::text(const Slot& slot) const {
    return {pieces_[slot.piece - 1].get() + slot.at, slot.length};
}

std::size_t LinkSet::find(std::string_view link, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.piece == 0 || (slot.hash == hash && text(slot) == link)) return i;
    }
}

bool LinkSet::contains(std::string_view link) const {
    return count_ > 0 && slots_[find(link, HashOf(link))].piece != 0;
}

void LinkSet::insert(std::string_view link) {
    if (link.size() > UINT32_MAX) throw std::length_error("a link of more than 4 GB");
    // At most three quarters of the table in use, so a search ends soon at an empty slot.
    if ((count_ + 1) * 4 > slots_.size() * 3) grow();
    const std::uint32_t hash = HashOf(link);
    Slot& slot = slots_[find(link, hash)];
    if (slot.piece != 0) return;
    // A link longer than what is left of the piece starts a new one, of its own size if larger.
    if (pieces_.empty() || lastSize_ - used_ < link.size()) {
        lastSize_ = std::max(kPiece, link.size());
        pieces_.push_back(std::make_unique<char[]>(lastSize_));
        used_ = 0;
    }
    std::memcpy(pieces_.back().get() + used_, link.data(), link.size());
    slot = {static_cast<std::uint32_t>(pieces_.size()), static_cast<std::uint32_t>(used_),
            static_cast<std::uint32_t>(link.size()), hash};
    used_ += link.size();
    ++count_;
}

void LinkSet::grow() {
    std::vector<Slot> old(std::max<std::size_t>(16, slots_.size() * 2));
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.piece == 0) continue;
        std::size_t i = slot.hash & mask;
        while (slots_[i].piece != 0) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

void LinkSet::clear() { *this = {}; }

}  // namespace vendra
