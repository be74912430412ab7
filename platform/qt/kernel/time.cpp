// KERNEL32's clock and calendar on the C library's, and the process's identifier. FILETIME counts
// 100-nanosecond ticks since 1601-01-01 UTC; the Unix epoch lies 11644473600 seconds after it.
#include "platform/win32.h"

#include <chrono>
#include <ctime>

#include <unistd.h>

namespace {

constexpr ULONGLONG ticksPerSecond = 10'000'000;
constexpr ULONGLONG epochOffsetSeconds = 11'644'473'600;

ULONGLONG ticksOf(const FILETIME& time)
{
    return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME fileTimeOf(ULONGLONG ticks)
{
    return {DWORD(ticks & 0xFFFFFFFF), DWORD(ticks >> 32)};
}

// The calendar of a FILETIME, in UTC or in local time. As on Windows, a time with its highest bit
// set is no time at all.
bool calendarOf(const FILETIME& time, bool local, std::tm& calendar)
{
    if (time.dwHighDateTime & 0x80000000) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const std::time_t seconds =
        std::time_t(ticksOf(time) / ticksPerSecond) - std::time_t(epochOffsetSeconds);
    return local ? localtime_r(&seconds, &calendar) : gmtime_r(&seconds, &calendar);
}

SYSTEMTIME systemTimeOf(const std::tm& calendar, WORD milliseconds)
{
    return {WORD(calendar.tm_year + 1900), WORD(calendar.tm_mon + 1),
            WORD(calendar.tm_wday),        WORD(calendar.tm_mday),
            WORD(calendar.tm_hour),        WORD(calendar.tm_min),
            WORD(calendar.tm_sec),         milliseconds};
}

} // namespace

DWORD GetTickCount()
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return DWORD(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void GetSystemTimeAsFileTime(FILETIME* time)
{
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() / 100;
    *time = fileTimeOf(ULONGLONG(ticks) + epochOffsetSeconds * ticksPerSecond);
}

// Layer: the offset from UTC is the one in force at that time, not the one in force now.
BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local)
{
    std::tm calendar{};
    if (!utc || !local || !calendarOf(*utc, true, calendar))
        return FALSE;
    *local = fileTimeOf(ticksOf(*utc) + ULONGLONG(calendar.tm_gmtoff * LONGLONG(ticksPerSecond)));
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* time, SYSTEMTIME* system)
{
    std::tm calendar{};
    if (!time || !system || !calendarOf(*time, false, calendar))
        return FALSE;
    *system = systemTimeOf(calendar, WORD(ticksOf(*time) % ticksPerSecond / 10'000));
    return TRUE;
}

void GetLocalTime(SYSTEMTIME* time)
{
    const std::time_t now = std::time(nullptr);
    std::tm calendar{};
    localtime_r(&now, &calendar);
    *time = systemTimeOf(calendar, 0);
}

DWORD GetCurrentProcessId()
{
    return DWORD(getpid());
}
