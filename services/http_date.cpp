#include "services/http_date.h"

#include "services/text_buffer.h"
#include "services/text_scan.h"
#include "services/time_format.h"

namespace {

// 1 to 12 for "Jan" to "Dec" in any letter case, 0 otherwise.
unsigned MonthNumber(std::string_view name) {
    for (unsigned m = 0; m < 12; ++m)
        if (StartsWithNoCase(name, kMonthAbbreviations[m]))
            return m + 1;
    return 0;
}

} // namespace

bool FormatHttpDate(uint64_t fileTime, char* out, size_t outSize) {
    CalendarTime t;
    if (outSize > 0)
        out[0] = '\0';
    if (fileTime > static_cast<uint64_t>(INT64_MAX) ||
        !TicksToCalendar(static_cast<int64_t>(fileTime), &t))
        return false;
    if (!FormatText(out, outSize, "%s, %02i %s %04i %02i:%02i:%02i GMT", kWeekdayAbbreviations[t.dayOfWeek],
                    t.day, kMonthAbbreviations[t.month - 1], t.year, t.hour, t.minute, t.second)) {
        if (outSize > 0)
            out[0] = '\0';
        return false;
    }
    return true;
}

bool ParseHttpDate(std::string_view text, uint64_t* fileTime) {
    // Thu, 08 Aug 2013 01:02:03 GMT
    // 0123456789012345678901234
    unsigned day, year, hour, minute, second;
    if (!ReadDecimalDigits(text, 5, 2, &day) || !ReadDecimalDigits(text, 12, 4, &year) ||
        !ReadDecimalDigits(text, 17, 2, &hour) || !ReadDecimalDigits(text, 20, 2, &minute) ||
        !ReadDecimalDigits(text, 23, 2, &second))
        return false;
    unsigned month = MonthNumber(text.substr(8, 3)); // in range: offset 24 was read above
    if (month == 0)
        return false;
    int64_t ticks;
    if (!UtcFieldsToTicks(year, month, day, hour, minute, second, &ticks))
        return false;
    *fileTime = static_cast<uint64_t>(ticks);
    return true;
}
