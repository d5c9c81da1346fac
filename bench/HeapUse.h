#pragma once

#include <cstddef>

namespace vendra::bench {

// What the program holds on the heap through operator new: now, and at most since the last
// resetPeak().
std::size_t heapInUse();
std::size_t heapPeak();
void resetHeapPeak();

}  // namespace vendra::bench
