#include "services/local_time.h"

#include <windows.h>

namespace {

CalendarTime FromSystemTime(const SYSTEMTIME& t) {
    static_assert(sizeof(CalendarTime) == sizeof(SYSTEMTIME), "same layout as SYSTEMTIME");
    return {t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
            t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
}

} // namespace

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
    *local = FromSystemTime(result);
    return true;
}

CalendarTime LocalNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FromSystemTime(now);
}
