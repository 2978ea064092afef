#include "services/local_time.h"
#include "services/time_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

// Wednesday 7 August 2013, 13:40:05
constexpr CalendarTime kSample = {2013, 8, 3, 7, 13, 40, 5, 0};

std::string Format(std::string_view format, CalendarTime time = kSample) {
    char out[kFormattedTimeSize];
    FormatTime(time, format, out, sizeof out);
    return out;
}

CalendarTime At(uint16_t hour, uint16_t year = 2013) {
    CalendarTime t = kSample;
    t.hour = hour;
    t.year = year;
    return t;
}

int64_t Utc(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute,
            uint16_t second) {
    int64_t ticks = 0;
    EXPECT_TRUE(CalendarToTicks({year, month, 0, day, hour, minute, second, 0}, &ticks));
    return ticks;
}

TEST(FormatTime, TokensRenderTheirFieldsAndEverythingElseStaysAsWritten) {
    const struct {
        const char* format;
        const char* text;
        CalendarTime time = kSample;
    } cases[] = {
        {"%Dow;|%DOW;|%dow;|%Dw;|%DW;|%dw;", "Wednesday|WEDNESDAY|wednesday|Wed|WED|wed"},
        {"%Month;|%MONTH;|%month;|%Mon;|%MON;|%mon;", "August|AUGUST|august|Aug|AUG|aug"},
        {"%M;|%MM;|%d;|%dd;|%yyyy;|%yy;", "8|08|7|07|2013|13"},
        {"%h;|%hh;|%H;|%HH;|%m;|%mm;|%s;|%ss;|%AMPM;|%ampm;", "1|01|13|13|40|40|5|05|PM|pm"},
        // The twelve-hour clock at its edges.
        {"%h;%ampm;|%hh;%AMPM;", "12am|12AM", At(0)},
        {"%h;%ampm;", "11am", At(11)},
        {"%h;%ampm;|%AMPM;", "12pm|PM", At(12)},
        {"%hh; %H;", "11 23", At(23)},
        {"%yy;", "99", At(13, 1999)},
        {"%yy;", "05", At(13, 2005)},
        {"[%Dow;][%Mon;][%month;]", "[][][]", {2013, 13, 9, 7, 13, 40, 5, 0}},
        // Unknown, empty and miscased names vanish; a "%" without a later ";" is literal.
        {"[%DoW;][%AmPm;][%YYYY;]", "[][][]"},
        {"a%x;b%;c", "abc"},
        {"", ""},
        {"100%", "100%"},
        // The search resumes right after the "%": "x%Dow" vanishes, then "%Dow;"
        // ends at the same ";", and the text between the two "%" is not repeated.
        {"<%x%Dow;>", "<Wednesday>"},
        {"a%bc%dd;e", "a07e"},
        {"%%dd;", "07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.format, c.time), c.text) << c.format;
}

TEST(FormatTime, OutputIsCutToItsBufferAndTheLongestFormatFits) {
    char small[8];
    FormatTime(kSample, "%Dow; %Month;", small, sizeof small);
    EXPECT_STREQ(small, "Wednesd");
    char tiny[1] = {'x'};
    FormatTime(kSample, "%Dow;", tiny, sizeof tiny);
    EXPECT_EQ(tiny[0], '\0');
    std::string format;
    while (format.size() + 7 <= kTimeFormatMax)
        format += "%MONTH;";
    EXPECT_EQ(Format(format).size(), format.size() / 7 * 6);
}

TEST(CalendarTicks, RoundTripWithTheWeekdayWithinTheYears1601To30827) {
    EXPECT_EQ(Utc(1970, 1, 1, 0, 0, 0), 116444736000000000LL); // the Unix epoch
    const int64_t last = Utc(30827, 12, 31, 23, 59, 59);
    const struct {
        int64_t ticks;
        const char* text;
    } cases[] = {
        {Utc(2013, 8, 7, 13, 40, 32), "2013-08-07 13:40:32 Wed"},
        {0, "1601-01-01 00:00:00 Mon"},
        {Utc(2024, 2, 29, 23, 59, 59), "2024-02-29 23:59:59 Thu"},
        {last, "30827-12-31 23:59:59 Fri"},
        {last + kTicksPerSecond, "(refused)"},
        {-1, "(refused)"},
    };
    for (const auto& c : cases) {
        CalendarTime t{};
        bool valid = TicksToCalendar(c.ticks, &t);
        EXPECT_EQ(valid ? Format("%yyyy;-%MM;-%dd; %HH;:%mm;:%ss; %Dw;", t) : "(refused)", c.text);
    }
}

TEST(CalendarTicks, ImpossibleDatesAreRefused) {
    int64_t ticks;
    for (CalendarTime t : std::vector<CalendarTime>{{2013, 2, 0, 29, 0, 0, 0, 0},
                                                    {2013, 13, 0, 1, 0, 0, 0, 0},
                                                    {2013, 1, 0, 1, 24, 0, 0, 0},
                                                    {1600, 12, 0, 31, 0, 0, 0, 0},
                                                    {1900, 2, 0, 29, 0, 0, 0, 0}})
        EXPECT_FALSE(CalendarToTicks(t, &ticks)) << t.year << "-" << t.month << "-" << t.day;
    EXPECT_TRUE(CalendarToTicks({2000, 2, 0, 29, 0, 0, 0, 0}, &ticks));
}

// The time stamp, in a heap block of exactly its size so that the sanitizer
// catches a read past its end, parsed to UTC; -1 when refused, and then the
// result is untouched.
int64_t Parsed(bool (*parse)(std::string_view, int64_t*), std::string_view text) {
    std::vector<char> bytes(text.begin(), text.end());
    int64_t ticks = -1;
    if (!parse(std::string_view(bytes.data(), bytes.size()), &ticks)) {
        EXPECT_EQ(ticks, -1) << text;
    }
    return ticks;
}

TEST(ParseIsoTime, OffsetsOfBothSignsNoneOrZForUtcAndFixedPositions) {
    const int64_t utc = Utc(2013, 8, 7, 13, 40, 32);
    const struct {
        const char* text;
        int64_t ticks;
    } cases[] = {
        {"2013-08-07T13:40:32-05:00", Utc(2013, 8, 7, 18, 40, 32)},
        {"2013-08-07T13:40:32+05:30", Utc(2013, 8, 7, 8, 10, 32)},
        {"2013-12-31T22:00:00-05:00", Utc(2014, 1, 1, 3, 0, 0)},
        {"2013-08-07T13:40:32Z", utc},
        {"2013-08-07T13:40:32", utc},
        {"2013-08-07T13:40:32-05:0", utc}, // an offset is read only when whole
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parsed(ParseIsoTimeUtc, c.text), c.ticks) << c.text;
    for (const char* text :
         {"", "2013", "2013-08-07T13:40:3", "2013-13-07T13:40:32Z",
          "2013-02-30T13:40:32Z", "2013-08-07T25:40:32Z", "2013-08-07T13:40:32-5x:00",
          "2013-08-07T13:40:32-24:00", "0000-01-01T00:00:00Z", "20a3-08-07T13:40:32Z"})
        EXPECT_EQ(Parsed(ParseIsoTimeUtc, text), -1) << text;
    CalendarTime local = kSample;
    EXPECT_FALSE(ParseIsoTime("2013-08-07", &local));
    EXPECT_EQ(Format("%yyyy; %HH;", local), "2013 13");
}

TEST(ParseRfc822Time, NumericOffsetsLetterZonesAsUtcAndExactMonthNames) {
    const int64_t utc = Utc(2013, 8, 7, 13, 40, 32);
    const struct {
        const char* text;
        int64_t ticks;
    } cases[] = {
        {"Wed, 07 Aug 2013 13:40:32 -0500", Utc(2013, 8, 7, 18, 40, 32)},
        {"Wed, 07 Aug 2013 13:40:32 +0100", Utc(2013, 8, 7, 12, 40, 32)},
        {"Wed, 07 Aug 2013 13:40:32 GMT", utc},
        {"Wed, 07 Aug 2013 13:40:32 EDT", utc},
        {"Sun, 01 Dec 2013 00:00:00 GMT", Utc(2013, 12, 1, 0, 0, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parsed(ParseRfc822TimeUtc, c.text), c.ticks) << c.text;
    for (const char* text :
         {"Sun, 01 DEC 2013 00:00:00 GMT", "Sun, 01 Xyz 2013 00:00:00 GMT", "", "Wed, 07 Aug",
          "Wed, 07 Aug 2013 13:40:3", "Wed, 7 Aug 2013 13:40:32 GMT",
          "Wed, 31 Sep 2013 13:40:32 GMT", "Wed, 07 Aug 2013 13:40:32 -05xx"})
        EXPECT_EQ(Parsed(ParseRfc822TimeUtc, text), -1) << text;
}

#ifndef _WIN32
// Natively the local zone comes from TZ.
TEST(LocalTime, TimesMoveIntoTheComputersZoneWithItsSummerTime) {
    const char* central = "CST6CDT,M3.2.0,M11.1.0";
    const struct {
        const char *zone, *text, *local;
    } cases[] = {
        {"UTC0", "2013-08-07T13:40:32-05:00", "2013-08-07 18:40 Wed"},
        {central, "Wed, 07 Aug 2013 13:40:32 GMT", "2013-08-07 08:40 Wed"}, // summer: UTC-5
        {central, "2013-01-01T03:00:00Z", "2012-12-31 21:00 Mon"}, // winter: UTC-6, the day before
    };
    for (const auto& c : cases) {
        setenv("TZ", c.zone, 1);
        tzset();
        CalendarTime t{};
        EXPECT_TRUE(c.text[0] == 'W' ? ParseRfc822Time(c.text, &t) : ParseIsoTime(c.text, &t));
        EXPECT_EQ(Format("%yyyy;-%MM;-%dd; %HH;:%mm; %Dw;", t), c.local) << c.zone << " " << c.text;
    }
    unsetenv("TZ");
    tzset();
}
#endif

} // namespace
