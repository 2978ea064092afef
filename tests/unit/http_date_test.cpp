#include "services/http_date.h"
#include "services/time_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

uint64_t Utc(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute,
             uint16_t second) {
    int64_t ticks = 0;
    EXPECT_TRUE(CalendarToTicks({year, month, 0, day, hour, minute, second, 0}, &ticks));
    return static_cast<uint64_t>(ticks);
}

std::string Format(uint64_t time) {
    char out[64];
    EXPECT_TRUE(FormatHttpDate(time, out, sizeof out));
    return out;
}

// The text, in a heap block of exactly its size so that the sanitizer catches
// a read past its end, parsed; 42 when refused (the result is left untouched).
uint64_t Parsed(std::string_view text) {
    std::vector<char> bytes(text.begin(), text.end());
    uint64_t time = 42;
    ParseHttpDate(std::string_view(bytes.data(), bytes.size()), &time);
    return time;
}

TEST(FormatHttpDate, FixedFieldsWithEnglishNamesSubSecondsDropped) {
    EXPECT_EQ(Format(Utc(2013, 8, 7, 13, 40, 32)), "Wed, 07 Aug 2013 13:40:32 GMT");
    EXPECT_EQ(Format(Utc(2001, 2, 3, 4, 5, 6) + 9999999), "Sat, 03 Feb 2001 04:05:06 GMT");
    EXPECT_EQ(Format(0), "Mon, 01 Jan 1601 00:00:00 GMT");
    EXPECT_EQ(Format(Utc(9999, 12, 31, 23, 59, 59)), "Fri, 31 Dec 9999 23:59:59 GMT");
    const std::string days = "SunMonTueWedThuFriSat";
    const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    for (uint16_t d = 0; d < 7; ++d) // 6 January 2013 was a Sunday
        EXPECT_EQ(Format(Utc(2013, 1, 6 + d, 0, 0, 0)).substr(0, 4), days.substr(3 * d, 3) + ",");
    for (uint16_t m = 1; m <= 12; ++m) {
        uint64_t time = Utc(2013, m, 15, 12, 0, 0);
        EXPECT_EQ(Format(time).substr(8, 3), months.substr(3 * m - 3, 3));
        EXPECT_EQ(Parsed(Format(time)), time) << Format(time);
    }
}

TEST(FormatHttpDate, RefusesTimesBeyondTheCalendarAndSmallBuffers) {
    char out[64] = "stale";
    EXPECT_FALSE(FormatHttpDate(UINT64_MAX, out, sizeof out));
    EXPECT_STREQ(out, "");
    char small[29] = "stale"; // one byte short of the 29 characters and terminator
    EXPECT_FALSE(FormatHttpDate(Utc(2013, 8, 7, 13, 40, 32), small, sizeof small));
    EXPECT_STREQ(small, "");
}

TEST(ParseHttpDate, ReadsTheFieldsByPositionAndTheMonthInAnyLetterCase) {
    const uint64_t time = Utc(2013, 8, 8, 1, 2, 3);
    const struct {
        const char* text;
        uint64_t time;
    } cases[] = {
        {"Thu, 08 Aug 2013 01:02:03 GMT", time},
        {"Thu, 08 AUG 2013 01:02:03 GMT", time},
        {"thu, 08 aUg 2013 01:02:03 gmt", time},
        // Weekday and zone are not looked at; the text may end after the seconds.
        {"???, 29 Feb 2012 23:59:59", Utc(2012, 2, 29, 23, 59, 59)},
        {"Thu, 8  Aug 2013 01:02:03 GMT", 42},  // day not two digits
        {"Thu, 08 Agu 2013 01:02:03 GMT", 42},  // no such month
        {"Thu, 08 Aug 13   01:02:03 GMT", 42},  // two-digit year
        {"Thu, 08 Aug 2013 1:02:03  GMT", 42},  // hour not two digits
        {"Thu, 08 Aug 2013 01:02:+3 GMT", 42},  // sign in a field
        {"Thu, 29 Feb 2013 01:02:03 GMT", 42},  // not a leap year
        {"Thu, 31 Apr 2013 01:02:03 GMT", 42},  // April has 30 days
        {"Thu, 00 Aug 2013 01:02:03 GMT", 42},  // day 0
        {"Thu, 08 Aug 2013 24:00:00 GMT", 42},  // hour 24
        {"Thu, 08 Aug 2013 23:60:00 GMT", 42},  // minute 60
        {"Thu, 08 Aug 2013 23:59:60 GMT", 42},  // leap second
        {"Thu, 08 Aug 1600 01:02:03 GMT", 42},  // before file times begin
        {"2013-08-08T01:02:03Z          ", 42}, // another format
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parsed(c.text), c.time) << c.text;
    const std::string_view full = "Thu, 08 Aug 2013 01:02:03 GMT";
    for (size_t n = 0; n < 25; ++n)
        EXPECT_EQ(Parsed(full.substr(0, n)), 42u) << n;
    EXPECT_EQ(Parsed(full.substr(0, 25)), time);
}

} // namespace
