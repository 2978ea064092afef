#include "services/local_time.h"

#include <windows.h>

bool UtcTicksToLocal(int64_t utcTicks, CalendarTime* local) {
    if (utcTicks < 0)
        return false;
    FILETIME fileTime;
    fileTime.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(utcTicks) & 0xFFFFFFFFu);
    fileTime.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(utcTicks) >> 32);
    SYSTEMTIME utc, result;
    if (!FileTimeToSystemTime(&fileTime, &utc))
        return false;
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &result))
        return false;
    static_assert(sizeof(CalendarTime) == sizeof(SYSTEMTIME), "same layout as SYSTEMTIME");
    local->year = result.wYear;
    local->month = result.wMonth;
    local->dayOfWeek = result.wDayOfWeek;
    local->day = result.wDay;
    local->hour = result.wHour;
    local->minute = result.wMinute;
    local->second = result.wSecond;
    local->milliseconds = result.wMilliseconds;
    return true;
}
