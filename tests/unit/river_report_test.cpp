#include "pages/stations/river_report.h"
#include "tests/unit/today_documents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Report(std::string_view document) {
    std::vector<char> bytes(document.begin(), document.end()); // nothing after it to read
    return BuildRiverReport(std::string_view(bytes.data(), bytes.size()));
}

const std::string kLabels = "<description><div>Observation Time: Aug 07, 2013 02:00 PM EDT<br />"
                            "Flood Stage: 23 ft<br />Latest Observation: 12.10 ft<br />"
                            "Latest Observation Category: Normal</div></description>";
const std::string kLines = "Observation Time: Aug 07, 2013 02:00 PM EDT\r\nFlood Stage: 23 ft\r\n"
                           "Latest Observation: 12.10 ft\r\n";

TEST(RiverReport, TitleCoordinatesAndLabelledLines) {
    struct Case {
        std::string document, report;
    } cases[] = {
        {"<title>Ohio River</title><geo:lat>35.1</geo:lat><geo:long>-85.3</geo:long>" + kLabels,
         "Ohio River (35.1 -85.3)\r\n" + kLines},
        {"<title>Ohio River</title>" + kLabels, "Ohio River\r\n" + kLines},
        {"<title>T</title><geo:long>-85.3</geo:long>", "T -85.3)\r\n"},
        {"<title>T</title><geo:lat>35.1</geo:lat>", "T (35.1\r\n"},
        {"<title></title><geo:lat></geo:lat>" + kLabels, kLines},
        {"Observation Time: 2 PM<br/>Latest Observation: 9 ft<br/>",
         "Observation Time: 2 PM\r\nLatest Observation: 9 ft\r\n"},
        {"<title>T</title>Flood Stage: 23 ft", "T\r\n"}, // no "<" after the label
        {"", ""},
        {std::string("<title>T</title>\0Flood Stage: 1<", 32), "T\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Report(c.document), c.report) << c.document;
}

// Each label copies up to the next "<": overlapping lines make the report
// outgrow twice its file.
TEST(RiverReport, TheReportCanOutgrowTwiceItsFile) {
    std::string document =
        "Flood Stage:Observation Time:Latest Observation:" + std::string(40, 'x') + "<";
    EXPECT_GT(Report(document).size(), 2 * document.size());
}

TEST(RiverReport, TheBuildTimeIsAbsentUnlessItParses) {
    CalendarTime time{};
    for (const char* date : {"Wed, 07 Aug 2013 18:15:00 GMT", "Wed, 07 Aug 2013 13:15:00 -0500"}) {
        time = {};
        EXPECT_TRUE(
            RiverBuildTime(std::string("<lastBuildDate>") + date + "</lastBuildDate>", &time));
        EXPECT_EQ(time.minute, 15) << date;
    }
    for (const char* document :
         {"", "<lastBuildDate></lastBuildDate>", "<lastBuildDate>yesterday</lastBuildDate>",
          "<lastBuildDate>Wed, 07 Aug 2013 18:15:00 GMT"})
        EXPECT_FALSE(RiverBuildTime(document, &time)) << document;
}

// The page's display of a cached feed, in a block of exactly its size.
RiverGaugeText Gauge(std::string_view document) {
    std::vector<char> bytes(document.begin(), document.end());
    return RenderRiverGauge(std::string_view(bytes.data(), bytes.size()), "%HH;:%mm; %dd;");
}

// A time as the page shows it, in this computer's zone.
std::string Shown(const char* iso) {
    CalendarTime local{};
    EXPECT_TRUE(ParseIsoTime(iso, &local)) << iso;
    char text[kFormattedTimeSize];
    FormatTime(local, "%HH;:%mm; %dd;", text, sizeof text);
    return text;
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(RiverGauge, TodaysJsonInThePagesLayout) {
    const std::string observed = Shown("2026-03-06T21:15:00Z"), json(kGaugeJson);
    const std::string title = "ABNG1 - Flint River (GA) at Albany, GA (31.5941 -84.1441)\r\n";
    const std::string lines = "Flood Stage: 26.5 ft\r\nLatest Observation: 26.8 ft\r\n";
    const struct {
        std::string document, output;
    } cases[] = {
        {json, title + "Observation Time: " + observed + "\r\n" + lines +
                   "Flood Category: Minor\r\nForecast: 31.4 ft at " +
                   Shown("2026-03-07T00:00:00Z") + "\r\n"},
        // -999 is missing: its line, or its part of the title, goes; the
        // service's "0001-01-01" time is none.
        {Replaced(Replaced(json, "\"primary\": 31.4", "\"primary\": -999"), "26.5", "-999"),
         title + "Observation Time: " + observed +
             "\r\nLatest Observation: 26.8 ft\r\n"
             "Flood Category: Minor\r\n"},
        {Replaced(Replaced(json, "2026-03-07T00:00:00Z", "0001-01-01T00:00:00Z"), "-84.1441",
                  "-999"),
         "ABNG1 - Flint River (GA) at Albany, GA\r\nObservation Time: " + observed + "\r\n" +
             lines + "Flood Category: Minor\r\nForecast: 31.4 ft\r\n"},
        // Values of the wrong type count as missing; a number in a string is read.
        {R"({"lid": 5, "name": "N", "state": "GA", "latitude": "31.5", "longitude": -84,
             "status": {"observed": {"primary": "7.25", "primaryUnit": ["ft"], "validTime": 1,
             "floodCategory": "obs_not_current"}, "forecast": []}, "flood": {"categories": 3}})",
         "N (31.5 -84)\r\nLatest Observation: 7.25\r\nFlood Category: Observation Not Current\r\n"},
        {R"({"lid": "X", "status": {"observed": {"floodCategory": "no_flooding__"}}})",
         "X\r\nFlood Category: No Flooding\r\n"},
        // Not JSON, or broken JSON, or not an object: nothing, and no exception.
        {"{\"lid\": \"X\"", ""},
        {"{\"lid\": \"X\"}}", ""},
        {"\xEF\xBB\xBF  {\"lid\": \"X\"}", "X\r\n"},
        {"{\"lid\": \"R\xEDo\"}", ""}, // not UTF-8
        // Names in code page 1252, "?" for what it lacks, escapes too.
        {"{\"name\": \"R\xC3\xADo Piedras \xE2\x80\xA2 \xE4\xB8\xAD\", \"lid\": "
         "\"\\u00c9\\ud83d\\ude00\"}",
         "\xC9? - R\xEDo Piedras \x95 ?\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        RiverGaugeText text = Gauge(c.document);
        EXPECT_EQ(text.Output, c.output);
        EXPECT_EQ(text.HasStatus, c.output.find("Observation Time") != std::string::npos);
        if (text.HasStatus) {
            EXPECT_EQ(text.Status, observed);
        }
    }
}

TEST(RiverGauge, OnlyTheRssFormIsDecodedAndShowsItsBuildTime) {
    EXPECT_TRUE(IsRiverGaugeJson(" \r\n{"));
    EXPECT_TRUE(IsRiverGaugeJson("\xEF\xBB\xBF{"));
    for (const char* rss : {"", "<?xml?><rss>{", "\xEF\xBB", "[{}]"})
        EXPECT_FALSE(IsRiverGaugeJson(rss)) << rss;
    RiverGaugeText text =
        Gauge("<title>T</title><lastBuildDate>Wed, 07 Aug 2013 18:15:00 GMT</lastBuildDate>");
    EXPECT_EQ(text.Output, "T\r\n");
    EXPECT_TRUE(text.HasStatus);
    EXPECT_EQ(text.Status, Shown("2013-08-07T18:15:00Z"));
}

} // namespace
