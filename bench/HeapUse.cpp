#include "HeapUse.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Every allocation through operator new carries its size in front, so that the bytes in use can
// be counted at each delete.
namespace {

constexpr std::size_t kHeader = alignof(std::max_align_t);
std::atomic<std::size_t> inUse{0};
std::atomic<std::size_t> peak{0};

void* Allocate(std::size_t size) {
    void* block = std::malloc(size + kHeader);
    if (!block) throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    const std::size_t now = inUse.fetch_add(size) + size;
    std::size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void Release(void* pointer) noexcept {
    if (!pointer) return;
    void* block = static_cast<char*>(pointer) - kHeader;
    inUse.fetch_sub(*static_cast<std::size_t*>(block));
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* pointer) noexcept { Release(pointer); }
void operator delete[](void* pointer) noexcept { Release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Release(pointer); }

namespace vendra::bench {

std::size_t heapInUse() { return inUse.load(); }
std::size_t heapPeak() { return peak.load(); }
void resetHeapPeak() { peak.store(inUse.load()); }

}  // namespace vendra::bench
