#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace vendra {

// Links, each once, held compactly for a file of millions of them: their bytes one after
// another in pieces of 1 MB (never moved, so growing never holds two copies), and an open table
// of where each lies. About 40 bytes a link besides its own, where a set of strings takes 130.
class LinkSet {
  public:
    void insert(std::string_view link);
    bool contains(std::string_view link) const;
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    void clear();

  private:
    struct Slot {
        std::uint32_t piece = 0;  // 0: empty; else the piece's index + 1
        std::uint32_t at = 0;
        std::uint32_t length = 0;
        std::uint32_t hash = 0;
    };

    std::string_view text(const Slot& slot) const;
    // The slot of `link`, or the empty one where it would go.
    std::size_t find(std::string_view link, std::uint32_t hash) const;
    void grow();

    std::vector<std::unique_ptr<char[]>> pieces_;
    std::size_t used_ = 0;  // bytes used of the last piece
    std::size_t lastSize_ = 0;
    std::vector<Slot> slots_;
    std::size_t count_ = 0;
};

}  // namespace vendra
