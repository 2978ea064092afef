#include "pages/forecast/forecast_text.h"
#include "services/time_format.h"
#include "tests/unit/today_documents.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// The document in a heap block of exactly its size, with no terminator after
// it, so the sanitizer catches any read past its end.
std::string Render(std::string_view document) {
    std::vector<char> bytes(document.begin(), document.end());
    return RenderPointForecast(std::string_view(bytes.data(), bytes.size()));
}

std::string Period(std::string_view valid, std::string_view text) {
    return "<period><valid>"s.append(valid) + "</valid><text>"s.append(text) + "</text></period>";
}

struct Case {
    std::string document, text;
};

void ExpectTexts(std::initializer_list<Case> cases) {
    for (const Case& c : cases)
        EXPECT_EQ(Render(c.document), c.text) << testing::PrintToString(c.document);
}

TEST(ForecastHeading, LinesInAFixedOrderEachOnlyWithAValueTakenByPlainSearch) {
    ExpectTexts({
        {"<?xml version=\"1.0\"?>\n<Forecast location=\"Louisville KY\" elevation=\"463 ft\">\n"
         "  <creationTime>2:41 pm EDT Jun 3, 2024</creationTime>\n"
         "  <period><valid>Tonight</valid><text>Clear, low 61.</text></period>\n"
         "  <period><valid>Tuesday</valid><text>Sunny &amp; warm, high 88.</text></period>\n"
         "</Forecast>\n",
         "Louisville KY\r\nElevation: 463 ft\r\n2:41 pm EDT Jun 3, 2024\r\n\r\n"
         "Tonight: Clear, low 61.\r\n\r\nTuesday: Sunny &amp; warm, high 88.\r\n\r\n"},
        {"<Forecast location=\"\">" + Period("Tonight", "Rain."), "Tonight: Rain.\r\n\r\n"},
        {"<Forecast elevation=\"12 m\">", "Elevation: 12 m\r\n\r\n"},
        {"<creationTime>now</creationTime><Forecast location=\"Here\">", "Here\r\nnow\r\n\r\n"},
        {"<Forecast location=\"\" elevation=\"\"><creationTime></creationTime>", ""},
        {"<forecast location=\"Here\" Elevation=\"1\"><CreationTime>t</CreationTime>", ""},
        // The first elevation anywhere in the document, even inside a period.
        {"<Forecast location=\"H\">" + Period("Today", "Snow elevation=\"9000 ft\".") +
             "<Forecast elevation=\"463\">",
         "H\r\nElevation: 9000 ft\r\n\r\nToday: Snow elevation=\"9000 ft\".\r\n\r\n"},
        // An attribute value starts one past the "=", whatever stands there, and
        // ends at the next double quote.
        {"<Forecast location='Paducah KY\">", "Paducah KY\r\n\r\n"},
        {"<Forecast location=Paducah KY\">", "aducah KY\r\n\r\n"},
        {"<Forecast location='A' elevation=\"5\">", "A' elevation=\r\nElevation: 5\r\n\r\n"},
        // The creation time: unchanged, up to its first closing tag after the opening one.
        {"<creationTime> 2024-06-03T14:41 &lt;EDT&gt;\n</creationTime>",
         " 2024-06-03T14:41 &lt;EDT&gt;\n\r\n\r\n"},
        {"<creationTime>a</creationTime>b</creationTime>", "a\r\n\r\n"},
        {"</creationTime><creationTime>late</creationTime>", "late\r\n\r\n"},
    });
}

TEST(ForecastPeriods, EachPeriodGivesItsOwnValidAndText) {
    ExpectTexts({
        {"junk<valid>no</valid>" + Period("A", "one") + "between<text>no</text>" +
             Period("B", "two") + Period("C", "three") + "<text>after</text>",
         "A: one\r\n\r\nB: two\r\n\r\nC: three\r\n\r\n"},
        {"<period><valid>Tonight</valid></period>" + Period("Tue", "Sunny."),
         "Tonight: Tue: Sunny.\r\n\r\n"},
        {"<period><text>First.</text></period>" + Period("Second", "Later."),
         "First.\r\n\r\nSecond: Later.\r\n\r\n"},
        {"<period><text>Fog\r\nlifting.</text><valid>Dawn</valid></period>",
         "Dawn: Fog\r\nlifting.\r\n\r\n"},
        {"<period><valid>a</valid><valid>b</valid><text>x</text><text>y</text></period>",
         "a: x\r\n\r\n"},
        // A part counts only when it opens and closes inside its period.
        {"<period><valid>Open<text>Here.</text></period><period></valid></period>",
         "Here.\r\n\r\n"},
        {"<period><valid>Now</valid><text>Runs on</period><period></text></period>", "Now: "},
        {"<period><valid></valid><text></text></period>", ""},
        // Both tags are searched from the period's start: an earlier closing tag hides the part.
        {"<period></valid><valid>Late</valid><text>Kept.</text></period>", "Kept.\r\n\r\n"},
        {"<period></text><text>Gone.</text><valid>V</valid></period>", "V: "},
        // A nested "<period>" belongs to the outer period; a stray "</period>" is ignored.
        {"<period><valid>Out</valid><period><text>In.</text></period>" + Period("Next", "Day.") +
             "</period>",
         "Out: In.\r\n\r\nNext: Day.\r\n\r\n"},
        {"</period>" + Period("A", "one"), "A: one\r\n\r\n"},
        // An unfinished period ends the walk.
        {Period("A", "one") + "<period><valid>B</valid><text>two</text>", "A: one\r\n\r\n"},
        {"<Forecast location=\"X\"><period><valid>A</valid><text>one</text>", "X\r\n\r\n"},
    });
}

TEST(ForecastHostile, ForeignTruncatedAndBinaryDocumentsGiveOnlyWhatIsWhole) {
    std::string week(1 << 20, 'w');
    ExpectTexts({
        {"", ""},
        {"<html><body><h1>503 Service Unavailable</h1></body></html>", ""},
        // Cut off at the very end of the document.
        {"<Forecast location=", ""},
        {"<Forecast location=\"Louisville", ""},
        {"<creationTime>x</creationTime>elevation=\"463", "x\r\n\r\n"},
        {"<Forecast location=\"A elevation=\"5", "A elevation=\r\n\r\n"},
        {"<creationTime>", ""},
        {"<creationTime>today</creationTim", ""},
        {"<period>", ""},
        {"<period><valid>a</valid><text>b</text></perio", ""},
        {Period("A", "one") + "<per", "A: one\r\n\r\n"},
        // The document ends at its first NUL, even inside a value.
        {"<Forecast location=\"Home\">\0elevation=\"5\""s + Period("A", "one"), "Home\r\n\r\n"},
        {"<Forecast location=\"Ho\0me\">"s + Period("A", "one"), ""},
        {Period("A", "one") + "<period><valid>B\0</valid><text>two</text></period>"s,
         "A: one\r\n\r\n"},
        {"\0"s + Period("A", "one"), ""},
        {"<Forecast location=\"Saint-J\xE9r\xF4me \x01\xFF\">" + Period("\xB0", "\x7F\x80"),
         "Saint-J\xE9r\xF4me \x01\xFF\r\n\r\n\xB0: \x7F\x80\r\n\r\n"},
        {Period("Week", week), "Week: " + week + "\r\n\r\n"},
    });
}

TEST(ForecastHostile, LargeDocumentsRenderInLinearTime) {
    // Periods without <valid>, and unfinished periods: a search of the rest of
    // the document for each one would read it thousands of times over.
    std::string many = "<Forecast location=\"Big\">", unfinished = Period("A", "one");
    const std::string period = "<period><text>" + std::string(40, 'r') + "</text></period>\n";
    size_t count = 0;
    for (; many.size() < (1u << 20); ++count)
        many += period;
    for (int i = 0; i < 100000; ++i)
        unfinished += "<period><valid>x</valid>";
    auto started = std::chrono::steady_clock::now();
    std::string text = Render(many);
    EXPECT_EQ(Render(unfinished), "A: one\r\n\r\n");
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
              10.0);
    EXPECT_EQ(text.size(), "Big\r\n\r\n"s.size() + count * (40 + 4));
    EXPECT_EQ(text.substr(text.size() - 6), "rr\r\n\r\n");
}

// Built: a "dwmlByDay" skeleton around the parts a case changes.
std::string Dwml(std::string_view location, std::string_view layouts, std::string_view worded) {
    return "<dwml><data type=\"forecast\"><location>"s.append(location) + "</location>" +
           std::string(layouts) + "<parameters>" + std::string(worded) +
           "</parameters></data></dwml>";
}

TEST(ForecastDwml, TheCreationDateInTheUsersFormat) {
    CalendarTime local{};
    ASSERT_TRUE(ParseIsoTime("2025-11-22T16:13:22-05:00", &local));
    char shown[kFormattedTimeSize];
    FormatTime(local, "%dd;.%MM;. %HH;:%mm;", shown, sizeof shown);
    const std::string heading =
        "Ann Arbor, MI\r\nElevation: 856 ft\r\n" + std::string(shown) + "\r\n";
    EXPECT_EQ(RenderPointForecast(kDwmlByDay, "%dd;.%MM;. %HH;:%mm;").substr(0, heading.size()),
              heading);
    EXPECT_EQ(RenderPointForecast("<dwml><creation-date>soon</creation-date>", "%HH;"),
              "soon\r\n\r\n");
}

TEST(ForecastDwml, TodaysDocumentInThePagesLayout) {
    const std::string layout = "<time-layout><layout-key>k1</layout-key>"
                               "<start-valid-time period-name=\"Tonight\">t</start-valid-time>"
                               "<start-valid-time period-name='Monday'>t</start-valid-time>"
                               "</time-layout>";
    ExpectTexts({
        {std::string(kDwmlByDay),
         "Ann Arbor, MI\r\nElevation: 856 ft\r\n2025-11-22T16:13:22-05:00\r\n\r\n"
         "Tonight: Mostly cloudy, with a low around 34. South southwest wind 3 to 8 mph. \r\n\r\n"
         "Sunday: Mostly cloudy, then gradually becoming sunny, with a high near 50. \r\n\r\n"},
        // Without a description the place is "city, state".
        {Dwml("<city state=\"KY\">Louisville</city>", "", ""), "Louisville, KY\r\n\r\n"},
        {Dwml("<description></description><city>Louisville</city>", "", ""), "Louisville\r\n\r\n"},
        // Names come from the layout the worded forecast names, by position;
        // a text beyond the layout's names stands alone, an empty one is skipped.
        {Dwml("",
              "<time-layout><layout-key>k0</layout-key><start-valid-time period-name=\"No\">"
              "</start-valid-time></time-layout>" +
                  layout,
              "<wordedForecast time-layout=\"k1\"><text>Rain.</text><text></text><text/>"
              "<text>Fog.</text></wordedForecast>"),
         "Tonight: Rain.\r\n\r\nFog.\r\n\r\n"},
        {Dwml("", layout, "<wordedForecast time-layout=\"k9\"><text>A</text></wordedForecast>"),
         "A\r\n\r\n"},
        // Only the forecast block counts; an unfinished text ends the walk.
        {"<dwml><data type=\"current observations\"><location><description>Obs</description>"
         "</location></data></dwml>",
         ""},
        {Dwml("", layout, "<wordedForecast time-layout=\"k1\"><text>A</text><text>B"), ""},
        {Dwml("", layout,
              "<wordedForecast time-layout=\"k1\"><text>A</text><text>B</wordedForecast>"),
         "Tonight: A\r\n\r\n"},
        // Neither form: the redirect's HTML page gives nothing.
        {"<!DOCTYPE html><html><head><title>National Weather Service</title></head></html>", ""},
        {"<dwmlx><description>x</description>", ""},
    });
}

} // namespace
