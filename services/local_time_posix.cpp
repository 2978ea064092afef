#include "services/local_time.h"

#include <ctime>

namespace {

constexpr int64_t kUnixEpochSeconds = 11644473600; // 1601-01-01 to 1970-01-01

} // namespace

bool UtcTicksToLocal(int64_t utcTicks, CalendarTime* local) {
    if (utcTicks < 0)
        return false;
    time_t seconds = static_cast<time_t>(utcTicks / kTicksPerSecond - kUnixEpochSeconds);
    struct tm parts {};
    if (!localtime_r(&seconds, &parts))
        return false;
    local->year = static_cast<uint16_t>(parts.tm_year + 1900);
    local->month = static_cast<uint16_t>(parts.tm_mon + 1);
    local->dayOfWeek = static_cast<uint16_t>(parts.tm_wday);
    local->day = static_cast<uint16_t>(parts.tm_mday);
    local->hour = static_cast<uint16_t>(parts.tm_hour);
    local->minute = static_cast<uint16_t>(parts.tm_min);
    local->second = static_cast<uint16_t>(parts.tm_sec);
    local->milliseconds = static_cast<uint16_t>((utcTicks / 10000) % 1000);
    return true;
}

CalendarTime LocalNow() {
    CalendarTime local{};
    UtcTicksToLocal(
        (static_cast<int64_t>(std::time(nullptr)) + kUnixEpochSeconds) * kTicksPerSecond, &local);
    return local;
}
