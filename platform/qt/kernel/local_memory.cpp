// LocalFree and the blocks it releases: only blocks the layer handed out count as handles.
#include "platform/qt/kernel/local_memory_p.h"

#include <cstdlib>
#include <unordered_set>

namespace platform {

namespace {

std::unordered_set<HLOCAL>& blocks()
{
    static std::unordered_set<HLOCAL> handedOut;
    return handedOut;
}

} // namespace

HLOCAL localAlloc(std::size_t size)
{
    HLOCAL block = std::malloc(size == 0 ? 1 : size);
    if (block)
        blocks().insert(block);
    return block;
}

} // namespace platform

using namespace platform;

HLOCAL LocalFree(HLOCAL memory)
{
    if (!memory)
        return nullptr;
    if (blocks().erase(memory) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return memory;
    }
    std::free(memory);
    return nullptr;
}
