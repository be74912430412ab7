// Memory that runs short on request: while a ScarceMemory lives, every allocation of its size or
// more throws std::bad_alloc, as the large reservations and whole-text copies do on a 32-bit
// build whose address space is taken. Small allocations go on, as they mostly do there.
#pragma once

#include <cstddef>

class ScarceMemory {
public:
    explicit ScarceMemory(std::size_t largestThatSucceeds);
    ~ScarceMemory();
    ScarceMemory(const ScarceMemory&) = delete;
    ScarceMemory& operator=(const ScarceMemory&) = delete;

    // How many allocations were refused so far.
    static int refused();
};
