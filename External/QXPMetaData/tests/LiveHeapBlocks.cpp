// Replaces the global operator new and delete of the test program; the other forms of new and
// delete in the C++ library call these two.
#include "LiveHeapBlocks.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int64_t> gLiveBlocks{0};

}  // namespace

int64_t qxptest::LiveHeapBlocks() { return gLiveBlocks.load(); }

void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    gLiveBlocks.fetch_add(1);
    return block;
}

void operator delete(void* block) noexcept {
    if (block == nullptr) return;
    gLiveBlocks.fetch_sub(1);
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
