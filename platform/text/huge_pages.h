// Advice that a large block be backed by huge pages. The first touch of fresh memory costs far
// more than filling it: a block of some hundred megabytes takes a few hundred page faults this
// way instead of tens of thousands.
#pragma once

#include <cstddef>
#include <cstdint>

#include <sys/mman.h>

namespace platform {

inline void adviseHugePages(void* data, std::size_t bytes)
{
    constexpr std::uintptr_t hugePage = 2 * 1024 * 1024;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const auto from = (start + hugePage - 1) & ~(hugePage - 1);
    const auto to = (start + bytes) & ~(hugePage - 1);
    // Only advice: without huge pages the block is the same, just slower to fill.
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

} // namespace platform
