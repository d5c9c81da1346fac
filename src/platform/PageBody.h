#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace vendra {

// A page's body as it arrives, held within a bound: a piece that would take it past the bound is
// never taken, and the room it holds never reaches past the bound, so that memory for a page stays
// within the bound plus a small constant whatever the server sends. The room grows by doubling
// while the body is small, then goes straight to the bound: no step holds two large blocks at once.
class PageBody {
  public:
    // Room grows by doubling up to this, then to the bound at once.
    static constexpr std::size_t kDoublingBytes = std::size_t{1} << 20;

    explicit PageBody(std::size_t bound) : bound_(bound) {}

    std::size_t bound() const { return bound_; }

    // A length announced before the body: false when a body of that length would pass the bound.
    // Otherwise room for it is made at once.
    bool expect(std::int64_t length);

    // Appends what `read(into, size)` writes into room for `size` more bytes; it returns how many
    // it wrote, at most `size`. False, with nothing read or added, when `size` more bytes would
    // take the body past the bound.
    template <class Read>
    bool append(std::size_t size, Read&& read) {
        if (size > bound_ - text_.size()) return false;
        const std::size_t before = text_.size();
        makeRoom(before + size);
        text_.resize(before + size);
        const std::size_t got = read(text_.data() + before, size);
        text_.resize(before + (got < size ? got : size));
        return true;
    }

    const std::string& text() const { return text_; }
    std::string take() { return std::move(text_); }

  private:
    void makeRoom(std::size_t needed);

    std::size_t bound_;
    std::string text_;
};

}  // namespace vendra
