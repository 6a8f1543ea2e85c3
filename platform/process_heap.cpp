#include "platform/process_heap.h"

#include <malloc.h>

namespace {

constexpr int kKeptFreeBytes = 256 * 1024 * 1024;
// Blocks up to this size come from the heap, and so are kept, rather than mapped on their own.
constexpr int kLargestHeapBlock = 32 * 1024 * 1024;

} // namespace

void keepFreedHeap() {
    mallopt(M_TRIM_THRESHOLD, kKeptFreeBytes);
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
}
