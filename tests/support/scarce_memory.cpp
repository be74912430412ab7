// The test binary's own operator new, so that allocations made anywhere (the editor, the layer,
// Qt, the standard library) can be refused.
#include "tests/support/scarce_memory.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t largest = 0; // 0: nothing is refused
int refusals = 0;

void* allocate(std::size_t size)
{
    if (largest != 0 && size > largest) {
        ++refusals;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

} // namespace

ScarceMemory::ScarceMemory(std::size_t largestThatSucceeds)
{
    largest = largestThatSucceeds;
}

ScarceMemory::~ScarceMemory()
{
    largest = 0;
}

int ScarceMemory::refused()
{
    return refusals;
}

void* operator new(std::size_t size)
{
    return allocate(size);
}

void* operator new[](std::size_t size)
{
    return allocate(size);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}
