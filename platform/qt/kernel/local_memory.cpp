// LocalAlloc, LocalReAlloc and LocalFree: only blocks the layer handed out count as handles;
// and GlobalMemoryStatusEx. Large blocks are asked to be backed by huge pages, as the text
// store's buffers are.
#include "platform/qt/kernel/local_memory_p.h"

#include "platform/text/huge_pages.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <unordered_set>

#include <unistd.h>

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
    HLOCAL block = allocateOnHugePages(size);
    if (block)
        blocks().insert(block);
    return block;
}

} // namespace platform

using namespace platform;

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes)
{
    if (flags != LMEM_FIXED) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HLOCAL block = localAlloc(bytes);
    if (!block)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return block;
}

HLOCAL LocalReAlloc(HLOCAL memory, SIZE_T bytes, UINT flags)
{
    if (!blocks().count(memory) || (flags & ~LMEM_MOVEABLE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Windows: a fixed block grows in place or, when allowed to move, moves.
    if (!(flags & LMEM_MOVEABLE)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HLOCAL moved = std::realloc(memory, bytes == 0 ? 1 : bytes);
    if (!moved) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    adviseHugePages(moved, bytes);
    blocks().erase(memory);
    blocks().insert(moved);
    return moved;
}

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

namespace {

// MemAvailable from /proc/meminfo, in bytes: what can be had without swapping.
ULONGLONG availableMemory()
{
    std::ifstream info("/proc/meminfo");
    std::string name;
    ULONGLONG kilobytes = 0;
    std::string unit;
    while (info >> name >> kilobytes >> unit) {
        if (name == "MemAvailable:")
            return kilobytes * 1024;
    }
    return ULONGLONG(sysconf(_SC_AVPHYS_PAGES)) * ULONGLONG(sysconf(_SC_PAGESIZE));
}

} // namespace

BOOL GlobalMemoryStatusEx(MEMORYSTATUSEX* status)
{
    if (!status || status->dwLength != sizeof(MEMORYSTATUSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const ULONGLONG total = ULONGLONG(sysconf(_SC_PHYS_PAGES)) * ULONGLONG(sysconf(_SC_PAGESIZE));
    const ULONGLONG available = availableMemory();
    constexpr ULONGLONG addressSpace = ULONGLONG(1) << 47;
    *status = {sizeof(MEMORYSTATUSEX),
               total ? DWORD(100 - available * 100 / total) : 0,
               total,
               available,
               total,
               available,
               addressSpace,
               addressSpace,
               0};
    return TRUE;
}
