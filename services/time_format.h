// The time display format language ("%Dow; %Mon; %dd;") and the two time-stamp
// parsers of the feeds. Portable: the conversion of a UTC instant to the
// computer's local time is the platform's (local_time.h).
#ifndef CUMULON_TIME_FORMAT_H
#define CUMULON_TIME_FORMAT_H

#include <cstddef>
#include <cstdint>
#include <string_view>

// A calendar time with the fields, order and sizes of the Windows SYSTEMTIME
// record. dayOfWeek: 0 = Sunday.
struct CalendarTime {
    uint16_t year;
    uint16_t month;
    uint16_t dayOfWeek;
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t milliseconds;
};

// Longest format the settings keep, and an output buffer that always holds it.
constexpr size_t kTimeFormatMax = 256;
constexpr size_t kFormattedTimeSize = 1024;

// Renders `time` with `format` into `out` (always terminated, cut to fit).
// Tokens are %name; with the names of the table in time_format.cpp; unknown
// names vanish, a "%" without a later ";" is literal.
void FormatTime(const CalendarTime& time, std::string_view format, char* out, size_t outSize);

// Parse "2013-08-07T13:40:32-05:00" (offset optional) or
// "Wed, 07 Aug 2013 13:40:32 -0500" (letter zones count as UTC) and store the
// instant as the computer's local time. Both read fixed positions and never
// look past the end of `text`: a text too short for the date and time fields,
// a field that is not all digits, an unknown month name or an impossible date
// gives false and leaves `local` untouched.
bool ParseIsoTime(std::string_view text, CalendarTime* local);
bool ParseRfc822Time(std::string_view text, CalendarTime* local);

// The same, stopping at the UTC instant: 100-nanosecond units since
// 1 January 1601 UTC (a Windows file time).
bool ParseIsoTimeUtc(std::string_view text, int64_t* utcTicks);
bool ParseRfc822TimeUtc(std::string_view text, int64_t* utcTicks);

// Conversions between calendar times (taken as UTC) and file-time ticks.
// CalendarToTicks ignores dayOfWeek and fails on a date outside 1601-30827 or
// an impossible field; TicksToCalendar fills dayOfWeek.
bool CalendarToTicks(const CalendarTime& time, int64_t* ticks);
bool TicksToCalendar(int64_t ticks, CalendarTime* time);

// The file-time ticks of a UTC date and time given field by field; false for a
// date that does not exist or lies outside 1601-30827.
bool UtcFieldsToTicks(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                      unsigned second, int64_t* ticks);

// Reads `count` decimal digits at `pos` of a fixed-position time stamp; false
// unless all of them are digits and lie inside the text.
bool ReadDecimalDigits(std::string_view text, size_t pos, size_t count, unsigned* value);

// "Jan" to "Dec" and "Sun" to "Sat", as the feeds and HTTP dates write them.
extern const char* const kMonthAbbreviations[12];
extern const char* const kWeekdayAbbreviations[7];

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kTicksPerMinute = 60 * kTicksPerSecond;
constexpr int64_t kTicksPerHour = 60 * kTicksPerMinute;

#endif
