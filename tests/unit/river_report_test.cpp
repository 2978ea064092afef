#include "pages/stations/river_report.h"

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

} // namespace
