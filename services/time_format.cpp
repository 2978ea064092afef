#include "services/time_format.h"

#include "services/local_time.h"
#include "services/text_buffer.h"

#include <cctype>
#include <cstdio>

namespace {

const char* const kWeekdays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};
const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};

enum class Letters { AsWritten, Capitals, Small };

// Appends `name` (or its first `length` letters) in the requested letter case.
void AppendName(char* out, size_t outSize, const char* name, size_t length, Letters letters) {
    char buffer[16];
    size_t n = 0;
    for (; name[n] != '\0' && n < length && n + 1 < sizeof buffer; ++n) {
        unsigned char c = static_cast<unsigned char>(name[n]);
        if (letters == Letters::Capitals)
            c = static_cast<unsigned char>(std::toupper(c));
        else if (letters == Letters::Small)
            c = static_cast<unsigned char>(std::tolower(c));
        buffer[n] = static_cast<char>(c);
    }
    AppendText(out, outSize, std::string_view(buffer, n));
}

void AppendNumber(char* out, size_t outSize, unsigned value, bool twoDigits) {
    char buffer[16];
    FormatText(buffer, sizeof buffer, twoDigits ? "%02u" : "%u", value);
    AppendText(out, outSize, buffer);
}

unsigned TwelveHour(unsigned hour) {
    unsigned h = hour % 12;
    return h == 0 ? 12 : h;
}

// Appends the output of one token; names not in the table append nothing.
void AppendToken(const CalendarTime& t, std::string_view name, char* out, size_t outSize) {
    const char* weekday = t.dayOfWeek < 7 ? kWeekdays[t.dayOfWeek] : "";
    const char* month = t.month >= 1 && t.month <= 12 ? kMonths[t.month - 1] : "";
    constexpr size_t kAll = static_cast<size_t>(-1);

    if (name == "Dow") AppendName(out, outSize, weekday, kAll, Letters::AsWritten);
    else if (name == "DOW") AppendName(out, outSize, weekday, kAll, Letters::Capitals);
    else if (name == "dow") AppendName(out, outSize, weekday, kAll, Letters::Small);
    else if (name == "Dw") AppendName(out, outSize, weekday, 3, Letters::AsWritten);
    else if (name == "DW") AppendName(out, outSize, weekday, 3, Letters::Capitals);
    else if (name == "dw") AppendName(out, outSize, weekday, 3, Letters::Small);
    else if (name == "Month") AppendName(out, outSize, month, kAll, Letters::AsWritten);
    else if (name == "MONTH") AppendName(out, outSize, month, kAll, Letters::Capitals);
    else if (name == "month") AppendName(out, outSize, month, kAll, Letters::Small);
    else if (name == "Mon") AppendName(out, outSize, month, 3, Letters::AsWritten);
    else if (name == "MON") AppendName(out, outSize, month, 3, Letters::Capitals);
    else if (name == "mon") AppendName(out, outSize, month, 3, Letters::Small);
    else if (name == "M") AppendNumber(out, outSize, t.month, false);
    else if (name == "MM") AppendNumber(out, outSize, t.month, true);
    else if (name == "d") AppendNumber(out, outSize, t.day, false);
    else if (name == "dd") AppendNumber(out, outSize, t.day, true);
    else if (name == "yyyy") AppendNumber(out, outSize, t.year, false);
    else if (name == "yy") {
        char year[16];
        FormatText(year, sizeof year, "%u", static_cast<unsigned>(t.year));
        std::string_view text(year);
        AppendText(out, outSize, text.size() > 2 ? text.substr(2) : std::string_view());
    }
    else if (name == "h") AppendNumber(out, outSize, TwelveHour(t.hour), false);
    else if (name == "hh") AppendNumber(out, outSize, TwelveHour(t.hour), true);
    else if (name == "H") AppendNumber(out, outSize, t.hour, false);
    else if (name == "HH") AppendNumber(out, outSize, t.hour, true);
    else if (name == "m") AppendNumber(out, outSize, t.minute, false);
    else if (name == "mm") AppendNumber(out, outSize, t.minute, true);
    else if (name == "s") AppendNumber(out, outSize, t.second, false);
    else if (name == "ss") AppendNumber(out, outSize, t.second, true);
    else if (name == "AMPM") AppendText(out, outSize, t.hour < 12 ? "AM" : "PM");
    else if (name == "ampm") AppendText(out, outSize, t.hour < 12 ? "am" : "pm");
}

bool IsLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned DaysInMonth(unsigned year, unsigned month) {
    static const unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1601 to the given date of the Gregorian calendar.
int64_t DaysSince1601(unsigned year, unsigned month, unsigned day) {
    int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    int64_t era = y / 400;
    int64_t yoe = y - era * 400;
    int64_t mp = (static_cast<int64_t>(month) + 9) % 12;
    int64_t doy = (153 * mp + 2) / 5 + day - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    int64_t daysSince0000 = era * 146097 + doe; // counted from 1 March of year 0
    constexpr int64_t k1601 = 584694;           // the same count for 1 January 1601
    return daysSince0000 - k1601;
}

// Applies a "+hh:mm" or "-hh:mm" (or "+hhmm") offset of local time to UTC.
bool ApplyOffset(char sign, unsigned hours, unsigned minutes, int64_t* ticks) {
    if (hours > 23 || minutes > 59)
        return false;
    int64_t offset = static_cast<int64_t>(hours) * kTicksPerHour + minutes * kTicksPerMinute;
    *ticks += sign == '-' ? offset : -offset;
    return *ticks >= 0;
}

} // namespace

const char* const kMonthAbbreviations[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kWeekdayAbbreviations[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

bool UtcFieldsToTicks(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                   unsigned second, int64_t* ticks) {
    CalendarTime t{};
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    return year <= 30827 && CalendarToTicks(t, ticks);
}

bool ReadDecimalDigits(std::string_view text, size_t pos, size_t count, unsigned* value) {
    if (pos > text.size() || count > text.size() - pos)
        return false;
    unsigned v = 0;
    for (size_t i = 0; i < count; ++i) {
        char c = text[pos + i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    *value = v;
    return true;
}

void FormatTime(const CalendarTime& time, std::string_view format, char* out, size_t outSize) {
    if (outSize == 0)
        return;
    out[0] = '\0';
    size_t pending = 0; // start of literal text not yet copied
    size_t search = 0;
    for (;;) {
        size_t percent = format.find('%', search);
        if (percent == std::string_view::npos)
            break;
        size_t semicolon = format.find(';', percent + 1);
        if (semicolon == std::string_view::npos) {
            search = percent + 1; // this "%" stays literal
            continue;
        }
        if (pending < percent)
            AppendText(out, outSize, format.substr(pending, percent - pending));
        AppendToken(time, format.substr(percent + 1, semicolon - percent - 1), out, outSize);
        pending = semicolon + 1;
        // Resume right after the "%": a second "%" inside an unknown name
        // starts a token that ends at the same ";".
        search = percent + 1;
    }
    if (pending < format.size())
        AppendText(out, outSize, format.substr(pending));
}

bool CalendarToTicks(const CalendarTime& t, int64_t* ticks) {
    if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > DaysInMonth(t.year, t.month) || t.hour > 23 || t.minute > 59 || t.second > 59 ||
        t.milliseconds > 999)
        return false;
    int64_t days = DaysSince1601(t.year, t.month, t.day);
    int64_t seconds = ((days * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
    *ticks = seconds * kTicksPerSecond + static_cast<int64_t>(t.milliseconds) * 10000;
    return true;
}

bool TicksToCalendar(int64_t ticks, CalendarTime* t) {
    if (ticks < 0)
        return false;
    int64_t totalSeconds = ticks / kTicksPerSecond;
    int64_t days = totalSeconds / 86400;
    int64_t secondOfDay = totalSeconds % 86400;
    // Civil date from a day count (counted from 1 March of year 0).
    int64_t z = days + 584694;
    int64_t era = z / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int64_t day = doy - (153 * mp + 2) / 5 + 1;
    int64_t month = mp < 10 ? mp + 3 : mp - 9;
    int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    if (year > 30827)
        return false;
    t->year = static_cast<uint16_t>(year);
    t->month = static_cast<uint16_t>(month);
    t->day = static_cast<uint16_t>(day);
    t->dayOfWeek = static_cast<uint16_t>((days + 1) % 7); // 1 January 1601 was a Monday
    t->hour = static_cast<uint16_t>(secondOfDay / 3600);
    t->minute = static_cast<uint16_t>(secondOfDay / 60 % 60);
    t->second = static_cast<uint16_t>(secondOfDay % 60);
    t->milliseconds = static_cast<uint16_t>(ticks / 10000 % 1000);
    return true;
}

bool ParseIsoTimeUtc(std::string_view text, int64_t* utcTicks) {
    // 2013-08-07T13:40:32-05:00
    // 0123456789012345678901234
    unsigned year, month, day, hour, minute, second;
    if (!ReadDecimalDigits(text, 0, 4, &year) || !ReadDecimalDigits(text, 5, 2, &month) ||
        !ReadDecimalDigits(text, 8, 2, &day) || !ReadDecimalDigits(text, 11, 2, &hour) ||
        !ReadDecimalDigits(text, 14, 2, &minute) || !ReadDecimalDigits(text, 17, 2, &second))
        return false;
    int64_t ticks;
    if (!UtcFieldsToTicks(year, month, day, hour, minute, second, &ticks))
        return false;
    // Without an offset ("Z", or nothing after the seconds) the time is UTC.
    if (text.size() > 24 && (text[19] == '-' || text[19] == '+')) {
        unsigned offsetHours, offsetMinutes;
        if (!ReadDecimalDigits(text, 20, 2, &offsetHours) || !ReadDecimalDigits(text, 23, 2, &offsetMinutes) ||
            !ApplyOffset(text[19], offsetHours, offsetMinutes, &ticks))
            return false;
    }
    *utcTicks = ticks;
    return true;
}

bool ParseRfc822TimeUtc(std::string_view text, int64_t* utcTicks) {
    // Wed, 07 Aug 2013 13:40:32 -0500
    // 0123456789012345678901234567890
    unsigned year, month = 0, day, hour, minute, second;
    if (!ReadDecimalDigits(text, 5, 2, &day) || !ReadDecimalDigits(text, 12, 4, &year) ||
        !ReadDecimalDigits(text, 17, 2, &hour) || !ReadDecimalDigits(text, 20, 2, &minute) ||
        !ReadDecimalDigits(text, 23, 2, &second))
        return false;
    std::string_view monthName = text.substr(8, 3); // in range: position 15 was read above
    for (unsigned i = 0; i < 12; ++i)
        if (monthName == kMonthAbbreviations[i])
            month = i + 1;
    int64_t ticks;
    if (month == 0 || !UtcFieldsToTicks(year, month, day, hour, minute, second, &ticks))
        return false;
    // A zone written as letters (GMT, EDT) is not an offset: the time is UTC.
    if (text.size() > 30 && (text[26] == '-' || text[26] == '+')) {
        unsigned offsetHours, offsetMinutes;
        if (!ReadDecimalDigits(text, 27, 2, &offsetHours) || !ReadDecimalDigits(text, 29, 2, &offsetMinutes) ||
            !ApplyOffset(text[26], offsetHours, offsetMinutes, &ticks))
            return false;
    }
    *utcTicks = ticks;
    return true;
}

bool ParseIsoTime(std::string_view text, CalendarTime* local) {
    int64_t ticks;
    CalendarTime result;
    if (!ParseIsoTimeUtc(text, &ticks) || !UtcTicksToLocal(ticks, &result))
        return false;
    *local = result;
    return true;
}

bool ParseRfc822Time(std::string_view text, CalendarTime* local) {
    int64_t ticks;
    CalendarTime result;
    if (!ParseRfc822TimeUtc(text, &ticks) || !UtcTicksToLocal(ticks, &result))
        return false;
    *local = result;
    return true;
}
