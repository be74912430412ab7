// GlobalMemoryStatusEx as the editor relies on it to bound the record of edits: it refuses a
// structure of the wrong size, as Windows does, and tells an amount of free memory that the
// machine has.
#include "platform/win32.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryStatus, TellsTheFreeMemoryAndRefusesAStructureOfTheWrongSize)
{
    MEMORYSTATUSEX status{};
    EXPECT_FALSE(GlobalMemoryStatusEx(&status)) << "dwLength must say the structure's size";
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    status.dwLength = sizeof status;
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    EXPECT_GT(status.ullTotalPhys, ULONGLONG(64) << 20);
    EXPECT_GT(status.ullAvailPhys, 0u);
    EXPECT_LE(status.ullAvailPhys, status.ullTotalPhys);
    EXPECT_LE(status.dwMemoryLoad, 100u);
    EXPECT_GE(status.ullAvailVirtual, status.ullAvailPhys);
}

} // namespace
