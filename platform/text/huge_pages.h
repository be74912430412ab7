// Advice that a large block be backed by huge pages. The first touch of fresh memory costs far
// more than filling it: a block of some hundred megabytes takes a few hundred page faults this
// way instead of tens of thousands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <sys/mman.h>

namespace platform {

constexpr std::uintptr_t hugePage = 2 * 1024 * 1024;

inline void adviseHugePages(void* data, std::size_t bytes)
{
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const auto from = (start + hugePage - 1) & ~(hugePage - 1);
    const auto to = (start + bytes) & ~(hugePage - 1);
    // Only advice: without huge pages the block is the same, just slower to fill.
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

// A block that std::free gives back, backed by huge pages where it can be: one of a few huge
// pages starts on one, so that all of it can be. The tail beyond the last whole huge page stays
// in small pages, so no block holds more memory than its bytes. Null without memory.
inline void* allocateOnHugePages(std::size_t bytes)
{
    // aligned_alloc takes whole multiples of the alignment; the rounded-up tail is never touched.
    void* block = bytes < 2 * hugePage
                      ? std::malloc(bytes == 0 ? 1 : bytes)
                      : std::aligned_alloc(hugePage, (bytes + hugePage - 1) / hugePage * hugePage);
    if (block)
        adviseHugePages(block, bytes);
    return block;
}

} // namespace platform
