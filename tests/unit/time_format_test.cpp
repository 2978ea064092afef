#include "services/local_time.h"
#include "services/time_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// Wednesday 7 August 2013, 13:40:05
constexpr CalendarTime kSample = {2013, 8, 3, 7, 13, 40, 5, 0};

std::string Format(std::string_view format, CalendarTime time = kSample) {
    char out[kFormattedTimeSize];
    FormatTime(time, format, out, sizeof out);
    return out;
}

CalendarTime AtHour(uint16_t hour) {
    CalendarTime t = kSample;
    t.hour = hour;
    return t;
}

int64_t Utc(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute, uint16_t second) {
    int64_t ticks = 0;
    EXPECT_TRUE(CalendarToTicks({year, month, 0, day, hour, minute, second, 0}, &ticks));
    return ticks;
}

TEST(FormatTime, DefaultFormatsRenderAsDocumented) {
    EXPECT_EQ(Format("%Dow; %Mon; %dd; %yyyy; - %hh;:%mm; %ampm;"), "Wednesday Aug 07 2013 - 01:40 pm");
    EXPECT_EQ(Format("%Dow; %dd;, %hh; %ampm;"), "Wednesday 07, 01 pm");
    EXPECT_EQ(Format("%DW; %M;/%d;/%yy; %HH;:%mm;:%ss;"), "WED 8/7/13 13:40:05");
}

TEST(FormatTime, EveryTokenRendersItsField) {
    EXPECT_EQ(Format("%Dow;|%DOW;|%dow;|%Dw;|%DW;|%dw;"), "Wednesday|WEDNESDAY|wednesday|Wed|WED|wed");
    EXPECT_EQ(Format("%Month;|%MONTH;|%month;|%Mon;|%MON;|%mon;"), "August|AUGUST|august|Aug|AUG|aug");
    EXPECT_EQ(Format("%M;|%MM;|%d;|%dd;|%yyyy;|%yy;"), "8|08|7|07|2013|13");
    EXPECT_EQ(Format("%h;|%hh;|%H;|%HH;|%m;|%mm;|%s;|%ss;|%AMPM;|%ampm;"), "1|01|13|13|40|40|5|05|PM|pm");
}

TEST(FormatTime, TwelveHourClockAtTheEdges) {
    EXPECT_EQ(Format("%h;%ampm;", AtHour(0)), "12am");
    EXPECT_EQ(Format("%hh;%AMPM;", AtHour(0)), "12AM");
    EXPECT_EQ(Format("%h;%ampm;", AtHour(11)), "11am");
    EXPECT_EQ(Format("%h;%ampm;", AtHour(12)), "12pm");
    EXPECT_EQ(Format("%hh; %H;", AtHour(23)), "11 23");
    EXPECT_EQ(Format("%hh; %HH;", AtHour(9)), "09 09");
}

TEST(FormatTime, NamesAreMatchedWithTheirLetterCase) {
    EXPECT_EQ(Format("[%DoW;]"), "[]");
    EXPECT_EQ(Format("[%AmPm;]"), "[]");
    EXPECT_EQ(Format("[%YYYY;]"), "[]");
}

TEST(FormatTime, UnknownAndEmptyNamesVanishAndKeepTheirSurroundings) {
    EXPECT_EQ(Format("a%x;b"), "ab");
    EXPECT_EQ(Format("a%;b"), "ab");
    EXPECT_EQ(Format(""), "");
    EXPECT_EQ(Format("no tokens at all"), "no tokens at all");
}

TEST(FormatTime, PercentWithoutSemicolonIsLiteral) {
    EXPECT_EQ(Format("100%"), "100%");
    EXPECT_EQ(Format("%dd; 50% off"), "07 50% off");
    EXPECT_EQ(Format("%"), "%");
}

TEST(FormatTime, SearchResumesRightAfterThePercent) {
    // "%x%Dow;" : the unknown name "x%Dow" vanishes, then "%Dow;" is found
    // again from just after the first "%" and ends at the same ";".
    EXPECT_EQ(Format("<%x%Dow;>"), "<Wednesday>");
    // The literal text between the two "%" is not repeated.
    EXPECT_EQ(Format("a%bc%dd;e"), "a07e");
    EXPECT_EQ(Format("%%dd;"), "07");
}

TEST(FormatTime, ShortYearDropsTheFirstTwoCharacters) {
    CalendarTime t = kSample;
    t.year = 1999;
    EXPECT_EQ(Format("%yy;", t), "99");
    t.year = 2005;
    EXPECT_EQ(Format("%yy;", t), "05");
}

TEST(FormatTime, OutOfRangeFieldsGiveEmptyNames) {
    CalendarTime t = kSample;
    t.dayOfWeek = 9;
    t.month = 13;
    EXPECT_EQ(Format("[%Dow;][%Mon;][%month;]", t), "[][][]");
}

TEST(FormatTime, OutputIsCutToItsBufferAndTerminated) {
    char small[8];
    FormatTime(kSample, "%Dow; %Month;", small, sizeof small);
    EXPECT_STREQ(small, "Wednesd");
    char tiny[1] = {'x'};
    FormatTime(kSample, "%Dow;", tiny, sizeof tiny);
    EXPECT_EQ(tiny[0], '\0');
}

TEST(FormatTime, LongestFormatFitsTheStandardBuffer) {
    std::string format;
    while (format.size() + 7 <= kTimeFormatMax)
        format += "%MONTH;";
    std::string out = Format(format);
    EXPECT_EQ(out.size(), format.size() / 7 * 6);
}

TEST(CalendarTicks, RoundTripsAndKnowsTheWeekday) {
    int64_t ticks = Utc(2013, 8, 7, 13, 40, 32);
    CalendarTime back;
    ASSERT_TRUE(TicksToCalendar(ticks, &back));
    EXPECT_EQ(back.year, 2013);
    EXPECT_EQ(back.month, 8);
    EXPECT_EQ(back.day, 7);
    EXPECT_EQ(back.dayOfWeek, 3);
    EXPECT_EQ(back.hour, 13);
    EXPECT_EQ(back.second, 32);
    // The Unix epoch as a Windows file time.
    EXPECT_EQ(Utc(1970, 1, 1, 0, 0, 0), 116444736000000000LL);
    ASSERT_TRUE(TicksToCalendar(0, &back));
    EXPECT_EQ(back.dayOfWeek, 1); // 1 January 1601 was a Monday
    ASSERT_TRUE(TicksToCalendar(Utc(2024, 2, 29, 23, 59, 59), &back));
    EXPECT_EQ(back.month, 2);
    EXPECT_EQ(back.day, 29);
}

TEST(CalendarTicks, RejectsImpossibleDates) {
    int64_t ticks;
    EXPECT_FALSE(CalendarToTicks({2013, 2, 0, 29, 0, 0, 0, 0}, &ticks));
    EXPECT_FALSE(CalendarToTicks({2013, 13, 0, 1, 0, 0, 0, 0}, &ticks));
    EXPECT_FALSE(CalendarToTicks({2013, 1, 0, 1, 24, 0, 0, 0}, &ticks));
    EXPECT_FALSE(CalendarToTicks({1600, 12, 0, 31, 0, 0, 0, 0}, &ticks));
    EXPECT_TRUE(CalendarToTicks({2000, 2, 0, 29, 0, 0, 0, 0}, &ticks));
    EXPECT_FALSE(CalendarToTicks({1900, 2, 0, 29, 0, 0, 0, 0}, &ticks));
}

TEST(ParseIsoTime, OffsetsOfBothSignsGiveUtc) {
    int64_t ticks;
    ASSERT_TRUE(ParseIsoTimeUtc("2013-08-07T13:40:32-05:00", &ticks));
    EXPECT_EQ(ticks, Utc(2013, 8, 7, 18, 40, 32));
    ASSERT_TRUE(ParseIsoTimeUtc("2013-08-07T13:40:32+05:30", &ticks));
    EXPECT_EQ(ticks, Utc(2013, 8, 7, 8, 10, 32));
    ASSERT_TRUE(ParseIsoTimeUtc("2013-12-31T22:00:00-05:00", &ticks));
    EXPECT_EQ(ticks, Utc(2014, 1, 1, 3, 0, 0));
}

TEST(ParseIsoTime, ZoneLetterOrNoOffsetMeansUtc) {
    int64_t ticks;
    ASSERT_TRUE(ParseIsoTimeUtc("2013-08-07T13:40:32Z", &ticks));
    EXPECT_EQ(ticks, Utc(2013, 8, 7, 13, 40, 32));
    ASSERT_TRUE(ParseIsoTimeUtc("2013-08-07T13:40:32", &ticks));
    EXPECT_EQ(ticks, Utc(2013, 8, 7, 13, 40, 32));
    // An offset is read only when the text is long enough to hold it whole.
    ASSERT_TRUE(ParseIsoTimeUtc("2013-08-07T13:40:32-05:0", &ticks));
    EXPECT_EQ(ticks, Utc(2013, 8, 7, 13, 40, 32));
}

TEST(ParseIsoTime, ShortAndGarbageTextsFailWithoutTouchingTheResult) {
    int64_t ticks = 42;
    for (const char* text : {"", "2013", "2013-08-07T13:40:3", "garbage garbage garbage!",
                             "2013-13-07T13:40:32Z", "2013-02-30T13:40:32Z", "2013-08-07T25:40:32Z",
                             "2013-08-07T13:40:32-5x:00", "2013-08-07T13:40:32-24:00",
                             "0000-01-01T00:00:00Z", "20a3-08-07T13:40:32Z"}) {
        EXPECT_FALSE(ParseIsoTimeUtc(text, &ticks)) << text;
        EXPECT_EQ(ticks, 42) << text;
    }
    CalendarTime local = kSample;
    EXPECT_FALSE(ParseIsoTime("2013-08-07", &local));
    EXPECT_EQ(local.year, kSample.year);
    EXPECT_EQ(local.hour, kSample.hour);
}

TEST(ParseIsoTime, NeverReadsPastTheGivenLength) {
    // The view ends before the offset: the bytes after it must not count.
    const char text[] = "2013-08-07T13:40:32-05:00";
    int64_t ticks;
    ASSERT_TRUE(ParseIsoTimeUtc(std::string_view(text, 19), &ticks));
    EXPECT_EQ(ticks, Utc(2013, 8, 7, 13, 40, 32));
    EXPECT_FALSE(ParseIsoTimeUtc(std::string_view(text, 18), &ticks));
}

TEST(ParseRfc822Time, OffsetsOfBothSignsGiveUtc) {
    int64_t ticks;
    ASSERT_TRUE(ParseRfc822TimeUtc("Wed, 07 Aug 2013 13:40:32 -0500", &ticks));
    EXPECT_EQ(ticks, Utc(2013, 8, 7, 18, 40, 32));
    ASSERT_TRUE(ParseRfc822TimeUtc("Wed, 07 Aug 2013 13:40:32 +0100", &ticks));
    EXPECT_EQ(ticks, Utc(2013, 8, 7, 12, 40, 32));
}

TEST(ParseRfc822Time, LetterZonesAreTakenAsUtc) {
    int64_t ticks;
    ASSERT_TRUE(ParseRfc822TimeUtc("Wed, 07 Aug 2013 13:40:32 GMT", &ticks));
    EXPECT_EQ(ticks, Utc(2013, 8, 7, 13, 40, 32));
    ASSERT_TRUE(ParseRfc822TimeUtc("Wed, 07 Aug 2013 13:40:32 EDT", &ticks));
    EXPECT_EQ(ticks, Utc(2013, 8, 7, 13, 40, 32));
}

TEST(ParseRfc822Time, MonthNamesAreMatchedExactly) {
    int64_t ticks;
    ASSERT_TRUE(ParseRfc822TimeUtc("Sun, 01 Dec 2013 00:00:00 GMT", &ticks));
    EXPECT_EQ(ticks, Utc(2013, 12, 1, 0, 0, 0));
    EXPECT_FALSE(ParseRfc822TimeUtc("Sun, 01 DEC 2013 00:00:00 GMT", &ticks));
    EXPECT_FALSE(ParseRfc822TimeUtc("Sun, 01 Xyz 2013 00:00:00 GMT", &ticks));
}

TEST(ParseRfc822Time, ShortAndGarbageTextsFail) {
    int64_t ticks = 7;
    for (const char* text : {"", "Wed, 07 Aug", "Wed, 07 Aug 2013 13:40:3", "Wed, 7 Aug 2013 13:40:32 GMT",
                             "Wed, 31 Sep 2013 13:40:32 GMT", "Wed, 07 Aug 2013 13:40:32 -05xx"}) {
        EXPECT_FALSE(ParseRfc822TimeUtc(text, &ticks)) << text;
        EXPECT_EQ(ticks, 7) << text;
    }
}

#ifndef _WIN32
// Natively the local zone comes from TZ; each test names its own.
class LocalZone : public ::testing::Test {
  protected:
    void Use(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }
    void TearDown() override {
        unsetenv("TZ");
        tzset();
    }
};

TEST_F(LocalZone, IsoTimeOnAComputerInUtc) {
    Use("UTC0");
    CalendarTime t{};
    ASSERT_TRUE(ParseIsoTime("2013-08-07T13:40:32-05:00", &t));
    EXPECT_EQ(Format("%yyyy;-%MM;-%dd; %HH;:%mm;:%ss; %Dw;", t), "2013-08-07 18:40:32 Wed");
    ASSERT_TRUE(ParseIsoTime("2013-08-07T13:40:32Z", &t));
    EXPECT_EQ(Format("%HH;:%mm;:%ss;", t), "13:40:32");
}

TEST_F(LocalZone, TimesMoveIntoTheComputersZoneWithItsSummerTime) {
    Use("CST6CDT,M3.2.0,M11.1.0");
    CalendarTime t{};
    ASSERT_TRUE(ParseRfc822Time("Wed, 07 Aug 2013 13:40:32 GMT", &t)); // summer: UTC-5
    EXPECT_EQ(Format("%HH;:%mm; %Dw;", t), "08:40 Wed");
    ASSERT_TRUE(ParseIsoTime("2013-01-01T03:00:00Z", &t)); // winter: UTC-6, the day before
    EXPECT_EQ(Format("%yyyy;-%MM;-%dd; %HH; %Dow;", t), "2012-12-31 21 Monday");
}
#endif

} // namespace
