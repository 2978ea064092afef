#include "services/http_date.h"
#include "services/time_format.h"

#include <gtest/gtest.h>

#include <string>

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

bool Parses(std::string_view text, uint64_t* time = nullptr) {
    uint64_t scratch = 0;
    return ParseHttpDate(text, time ? time : &scratch);
}

TEST(FormatHttpDate, TheIfModifiedSinceExample) {
    EXPECT_EQ(Format(Utc(2013, 8, 7, 13, 40, 32)), "Wed, 07 Aug 2013 13:40:32 GMT");
}

TEST(FormatHttpDate, FieldsArePaddedAndSubSecondsDropped) {
    EXPECT_EQ(Format(Utc(2001, 2, 3, 4, 5, 6) + 9999999), "Sat, 03 Feb 2001 04:05:06 GMT");
    EXPECT_EQ(Format(0), "Mon, 01 Jan 1601 00:00:00 GMT");
    EXPECT_EQ(Format(Utc(9999, 12, 31, 23, 59, 59)), "Fri, 31 Dec 9999 23:59:59 GMT");
}

TEST(FormatHttpDate, EveryWeekdayAndMonthHasItsEnglishName) {
    const char* days[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    for (uint16_t d = 0; d < 7; ++d) // 6 January 2013 was a Sunday
        EXPECT_EQ(Format(Utc(2013, 1, 6 + d, 0, 0, 0)).substr(0, 4), std::string(days[d]) + ",");
    const char* months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (uint16_t m = 1; m <= 12; ++m)
        EXPECT_EQ(Format(Utc(2013, m, 15, 12, 0, 0)).substr(8, 3), months[m - 1]);
}

TEST(FormatHttpDate, RefusesTimesBeyondTheCalendarAndSmallBuffers) {
    char out[64] = "stale";
    EXPECT_FALSE(FormatHttpDate(UINT64_MAX, out, sizeof out));
    EXPECT_STREQ(out, "");
    char small[29] = "stale"; // one byte short of the 29 characters and terminator
    EXPECT_FALSE(FormatHttpDate(Utc(2013, 8, 7, 13, 40, 32), small, sizeof small));
    EXPECT_STREQ(small, "");
}

TEST(ParseHttpDate, ReadsTheFieldsByPosition) {
    uint64_t time = 0;
    ASSERT_TRUE(Parses("Thu, 08 Aug 2013 01:02:03 GMT", &time));
    EXPECT_EQ(time, Utc(2013, 8, 8, 1, 2, 3));
    // Weekday and zone are not looked at; the text may end after the seconds.
    ASSERT_TRUE(Parses("???, 29 Feb 2012 23:59:59", &time));
    EXPECT_EQ(time, Utc(2012, 2, 29, 23, 59, 59));
}

TEST(ParseHttpDate, MonthNamesInAnyLetterCase) {
    uint64_t upper = 0, lower = 0, mixed = 0;
    ASSERT_TRUE(Parses("Thu, 08 AUG 2013 01:02:03 GMT", &upper));
    ASSERT_TRUE(Parses("thu, 08 aug 2013 01:02:03 gmt", &lower));
    ASSERT_TRUE(Parses("Thu, 08 aUg 2013 01:02:03 GMT", &mixed));
    EXPECT_EQ(upper, Utc(2013, 8, 8, 1, 2, 3));
    EXPECT_EQ(lower, upper);
    EXPECT_EQ(mixed, upper);
    for (const char* month :
         {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"})
        EXPECT_TRUE(Parses(std::string("Mon, 01 ") + month + " 2001 00:00:00 GMT")) << month;
}

TEST(ParseHttpDate, ShortTextsFailAtEveryLength) {
    const std::string full = "Thu, 08 Aug 2013 01:02:03 GMT";
    for (size_t n = 0; n < 25; ++n)
        EXPECT_FALSE(Parses(std::string_view(full).substr(0, n))) << n;
    EXPECT_TRUE(Parses(std::string_view(full).substr(0, 25)));
}

TEST(ParseHttpDate, RefusesBadFieldsAndImpossibleDates) {
    uint64_t time = 42;
    for (const char* text : {
             "Thu, 8  Aug 2013 01:02:03 GMT",  // day not two digits
             "Thu, 08 Agu 2013 01:02:03 GMT",  // no such month
             "Thu, 08 Aug 13   01:02:03 GMT",  // two-digit year
             "Thu, 08 Aug 2013 1:02:03  GMT",  // hour not two digits
             "Thu, 08 Aug 2013 01:02:+3 GMT",  // sign in a field
             "Thu, 29 Feb 2013 01:02:03 GMT",  // not a leap year
             "Thu, 31 Apr 2013 01:02:03 GMT",  // April has 30 days
             "Thu, 00 Aug 2013 01:02:03 GMT",  // day 0
             "Thu, 08 Aug 2013 24:00:00 GMT",  // hour 24
             "Thu, 08 Aug 2013 23:60:00 GMT",  // minute 60
             "Thu, 08 Aug 2013 23:59:60 GMT",  // leap second
             "Thu, 08 Aug 1600 01:02:03 GMT",  // before file times begin
             "2013-08-08T01:02:03Z          ", // another format
         })
        EXPECT_FALSE(ParseHttpDate(text, &time)) << text;
    EXPECT_EQ(time, 42u);
}

} // namespace
