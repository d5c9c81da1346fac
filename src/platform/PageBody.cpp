#include "platform/PageBody.h"

#include <algorithm>

namespace vendra {

bool PageBody::expect(std::int64_t length) {
    if (length < 0) return true;  // no length said
    if (static_cast<std::uint64_t>(length) > bound_) return false;
    makeRoom(static_cast<std::size_t>(length));
    return true;
}

void PageBody::makeRoom(std::size_t needed) {
    if (needed <= text_.capacity()) return;
    const std::size_t doubled = std::min(text_.capacity() * 2, std::min(kDoublingBytes, bound_));
    // Into a string of its own: the string's own growth would take at least twice the room it
    // has, which can reach past the bound.
    std::string grown;
    grown.reserve(needed <= kDoublingBytes ? std::max(needed, doubled) : bound_);
    grown.append(text_);
    text_.swap(grown);
}

}  // namespace vendra
