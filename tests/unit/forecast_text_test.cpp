#include "pages/forecast/forecast_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

// The document in a heap block of exactly its size, with no terminator after
// it, so the sanitizer catches any read past its end.
std::string Render(std::string_view document) {
    std::vector<char> bytes(document.begin(), document.end());
    return RenderPointForecast(std::string_view(bytes.data(), bytes.size()));
}

std::string Period(std::string_view valid, std::string_view text) {
    std::string period = "<period>";
    period.append("<valid>").append(valid).append("</valid>");
    period.append("<text>").append(text).append("</text>");
    period.append("</period>");
    return period;
}

const char kDocument[] =
    "<?xml version=\"1.0\"?>\n"
    "<Forecast location=\"Louisville KY\" elevation=\"463 ft\">\n"
    "  <creationTime>2:41 pm EDT Jun 3, 2024</creationTime>\n"
    "  <period><valid>Tonight</valid><text>Clear, low 61.</text></period>\n"
    "  <period><valid>Tuesday</valid><text>Sunny &amp; warm, high 88.</text></period>\n"
    "</Forecast>\n";

// --- The heading lines ---------------------------------------------------

TEST(ForecastHeading, WholeDocumentReadsLineByLine) {
    EXPECT_EQ(Render(kDocument), "Louisville KY\r\n"
                                 "Elevation: 463 ft\r\n"
                                 "2:41 pm EDT Jun 3, 2024\r\n"
                                 "\r\n"
                                 "Tonight: Clear, low 61.\r\n\r\n"
                                 "Tuesday: Sunny &amp; warm, high 88.\r\n\r\n");
}

TEST(ForecastHeading, NoHeadingMeansNoBlankLineAndPeriodsStartAtTheTop) {
    std::string document = "<Forecast location=\"\">" + Period("Tonight", "Rain.") + "</Forecast>";
    EXPECT_EQ(Render(document), "Tonight: Rain.\r\n\r\n");
}

TEST(ForecastHeading, EachHeadingLineStandsAlone) {
    EXPECT_EQ(Render("<Forecast location=\"Here\">"), "Here\r\n\r\n");
    EXPECT_EQ(Render("<Forecast elevation=\"12 m\">"), "Elevation: 12 m\r\n\r\n");
    EXPECT_EQ(Render("<creationTime>now</creationTime>"), "now\r\n\r\n");
    EXPECT_EQ(Render("<creationTime>now</creationTime><Forecast location=\"Here\">"),
              "Here\r\nnow\r\n\r\n");
}

TEST(ForecastHeading, ValueStartsOnePastTheNameWhateverStandsThere) {
    // The character after "=" is skipped as the opening quote, even when it is not one.
    EXPECT_EQ(Render("<Forecast location='Paducah KY\">"), "Paducah KY\r\n\r\n");
    EXPECT_EQ(Render("<Forecast location=Paducah KY\">"), "aducah KY\r\n\r\n");
    EXPECT_EQ(Render("x elevation=(100\" y"), "Elevation: 100\r\n\r\n");
    // The value ends at the next double quote, not at the single quote that opened it.
    EXPECT_EQ(Render("<Forecast location='A' elevation=\"5\">"),
              "A' elevation=\r\nElevation: 5\r\n\r\n");
}

TEST(ForecastHeading, EmptyValuesWriteNothing) {
    EXPECT_EQ(Render("<Forecast location=\"\" elevation=\"\"><creationTime></creationTime>"), "");
}

TEST(ForecastHeading, ElevationIsTheFirstOneAnywhereInTheDocument) {
    std::string document = "<Forecast location=\"Home\">" +
                           Period("Today", "Snow elevation=\"9000 ft\" up high.") +
                           "<Forecast elevation=\"463\">";
    EXPECT_EQ(
        Render(document),
        "Home\r\nElevation: 9000 ft\r\n\r\nToday: Snow elevation=\"9000 ft\" up high.\r\n\r\n");
}

TEST(ForecastHeading, LetterCaseMustMatchExactly) {
    EXPECT_EQ(Render("<forecast location=\"Here\" Elevation=\"1\"><CreationTime>t</CreationTime>"),
              "");
}

TEST(ForecastHeading, CreationTimeIsCopiedUnchangedUpToItsFirstClosingTag) {
    EXPECT_EQ(Render("<creationTime> 2024-06-03T14:41:00 &lt;EDT&gt;\n</creationTime>"),
              " 2024-06-03T14:41:00 &lt;EDT&gt;\n\r\n\r\n");
    EXPECT_EQ(Render("<creationTime>a</creationTime>b</creationTime>"), "a\r\n\r\n");
    // A closing tag before the opening one does not end it.
    EXPECT_EQ(Render("</creationTime><creationTime>late</creationTime>"), "late\r\n\r\n");
}

// --- The periods ---------------------------------------------------------

TEST(ForecastPeriods, ComeInDocumentOrderAndIgnoreTextBetweenThem) {
    std::string document = "junk<valid>not me</valid>" + Period("A", "one") +
                           "between<text>no</text>" + Period("B", "two") + Period("C", "three") +
                           "<text>after</text>";
    EXPECT_EQ(Render(document), "A: one\r\n\r\nB: two\r\n\r\nC: three\r\n\r\n");
}

TEST(ForecastPeriods, ValidWithoutTextRunsIntoTheNextPeriod) {
    std::string document = "<period><valid>Tonight</valid></period>" + Period("Tuesday", "Sunny.");
    EXPECT_EQ(Render(document), "Tonight: Tuesday: Sunny.\r\n\r\n");
}

TEST(ForecastPeriods, TextWithoutValidStandsAlone) {
    EXPECT_EQ(Render("<period><text>Windy.</text></period>"), "Windy.\r\n\r\n");
}

TEST(ForecastPeriods, TagsOfALaterPeriodAreNotUsed) {
    // The first period has no <valid>: the one found from its start lies in the
    // second period, after the first </period>.
    std::string document = "<period><text>First.</text></period>" + Period("Second", "Later.");
    EXPECT_EQ(Render(document), "First.\r\n\r\nSecond: Later.\r\n\r\n");
    document = "<period><valid>First</valid></period>" + Period("Second", "Later.");
    EXPECT_EQ(Render(document), "First: Second: Later.\r\n\r\n");
}

TEST(ForecastPeriods, APartMustCloseInsideItsPeriod) {
    std::string document =
        "<period><valid>Open<text>Here.</text></period><period></valid></period>";
    EXPECT_EQ(Render(document), "Here.\r\n\r\n");
    document = "<period><valid>Now</valid><text>Runs on</period><period></text></period>";
    EXPECT_EQ(Render(document), "Now: ");
}

TEST(ForecastPeriods, EmptyPartsAndClosingTagsBeforeOpeningOnesGiveNothing) {
    EXPECT_EQ(Render("<period><valid></valid><text></text></period>"), "");
    // Both tags are searched from the period's start: an earlier </valid> hides the later one.
    EXPECT_EQ(Render("<period></valid><valid>Late</valid><text>Kept.</text></period>"),
              "Kept.\r\n\r\n");
    EXPECT_EQ(Render("<period></text><text>Gone.</text><valid>V</valid></period>"), "V: ");
}

TEST(ForecastPeriods, FirstPartTagsWinInsideOnePeriod) {
    EXPECT_EQ(
        Render("<period><valid>a</valid><valid>b</valid><text>x</text><text>y</text></period>"),
        "a: x\r\n\r\n");
}

TEST(ForecastPeriods, PartsMayComeInEitherOrderAndHoldLineBreaks) {
    EXPECT_EQ(Render("<period><text>Fog\r\nlifting.</text><valid>Dawn</valid></period>"),
              "Dawn: Fog\r\nlifting.\r\n\r\n");
}

TEST(ForecastPeriods, AnUnfinishedPeriodEndsTheWalk) {
    std::string document = Period("A", "one") + "<period><valid>B</valid><text>two</text>";
    EXPECT_EQ(Render(document), "A: one\r\n\r\n");
    EXPECT_EQ(Render("<period><valid>A</valid><text>one</text>"), "");
    EXPECT_EQ(Render("<Forecast location=\"X\"><period><valid>A</valid><text>one</text>"),
              "X\r\n\r\n");
}

TEST(ForecastPeriods, ANestedPeriodTagIsPartOfTheOuterPeriod) {
    std::string document = "<period><valid>Outer</valid><period><text>Inner.</text></period>" +
                           Period("Next", "Day.") + "</period>";
    EXPECT_EQ(Render(document), "Outer: Inner.\r\n\r\nNext: Day.\r\n\r\n");
}

TEST(ForecastPeriods, ClosingPeriodTagBeforeTheFirstOpeningOneIsIgnored) {
    EXPECT_EQ(Render("</period>" + Period("A", "one")), "A: one\r\n\r\n");
}

// --- Documents that hold nothing to show -----------------------------------

TEST(ForecastNothing, DocumentsWithoutTheSearchedPartsGiveEmptyText) {
    EXPECT_EQ(Render(""), "");
    EXPECT_EQ(Render("<html><body><h1>503 Service Unavailable</h1></body></html>"), "");
    EXPECT_EQ(Render("<Forecast><period></period><period><valid></valid></period></Forecast>"), "");
    EXPECT_EQ(Render("<dwml><data><location><point latitude=\"38.25\"/></location></data></dwml>"),
              "");
}

// --- Hostile input -----------------------------------------------------------

TEST(ForecastHostile, UnfinishedAttributesAtTheVeryEnd) {
    EXPECT_EQ(Render("<Forecast location="), "");
    EXPECT_EQ(Render("<Forecast location=\""), "");
    EXPECT_EQ(Render("<Forecast location=\"Louisville"), "");
    EXPECT_EQ(Render("elevation="), "");
    EXPECT_EQ(Render("elevation=\""), "");
    EXPECT_EQ(Render("<creationTime>x</creationTime>elevation=\"463"), "x\r\n\r\n");
    // A quote that closes the value of the other attribute is still the next quote.
    EXPECT_EQ(Render("<Forecast location=\"A elevation=\"5"), "A elevation=\r\n\r\n");
}

TEST(ForecastHostile, UnfinishedTagsAtTheVeryEnd) {
    EXPECT_EQ(Render("<creationTime>"), "");
    EXPECT_EQ(Render("<creationTime>today</creationTim"), "");
    EXPECT_EQ(Render("<period>"), "");
    EXPECT_EQ(Render("<period><valid>a</valid><text>b</text></perio"), "");
    EXPECT_EQ(Render(Period("A", "one") + "<per"), "A: one\r\n\r\n");
    EXPECT_EQ(Render("<period><valid>a</valid><text>b</text"), "");
}

TEST(ForecastHostile, TheDocumentEndsAtItsFirstNul) {
    std::string document = "<Forecast location=\"Home\">";
    document += '\0';
    document += "elevation=\"5\"" + Period("A", "one");
    EXPECT_EQ(Render(document), "Home\r\n\r\n");

    // A NUL inside a value leaves the value unfinished.
    document = "<Forecast location=\"Ho";
    document += '\0';
    document += "me\">" + Period("A", "one");
    EXPECT_EQ(Render(document), "");

    document = Period("A", "one") + "<period><valid>B";
    document += '\0';
    document += "</valid><text>two</text></period>";
    EXPECT_EQ(Render(document), "A: one\r\n\r\n");
    EXPECT_EQ(Render(std::string(1, '\0') + kDocument), "");
}

TEST(ForecastHostile, HighBytesAndControlCharactersPassThrough) {
    std::string document =
        "<Forecast location=\"Saint-J\xE9r\xF4me \x01\xFF\">" + Period("\xB0", "\x7F\x80");
    EXPECT_EQ(Render(document), "Saint-J\xE9r\xF4me \x01\xFF\r\n\r\n\xB0: \x7F\x80\r\n\r\n");
}

TEST(ForecastHostile, AMegabyteOfPeriodsRendersInLinearTime) {
    // Periods without <valid>: a search of the rest of the document for each
    // period would read it thousands of times over.
    std::string document = "<Forecast location=\"Big\">";
    std::string period = "<period><text>" + std::string(40, 'r') + "</text></period>\n";
    size_t count = 0;
    while (document.size() < (1u << 20)) {
        document += period;
        ++count;
    }
    ASSERT_GT(count, 10000u);
    auto started = std::chrono::steady_clock::now();
    std::string text = Render(document);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_EQ(text.size(), std::string("Big\r\n\r\n").size() + count * (40 + 4));
    EXPECT_EQ(text.substr(text.size() - 6), "rr\r\n\r\n");
    EXPECT_LT(seconds, 10.0);
}

TEST(ForecastHostile, ThousandsOfUnfinishedPeriodTagsStopAtTheFirst) {
    std::string document = Period("A", "one");
    for (int i = 0; i < 100000; ++i)
        document += "<period><valid>x</valid>";
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Render(document), "A: one\r\n\r\n");
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
              10.0);
}

TEST(ForecastHostile, AHugeSinglePeriodIsCopiedWhole) {
    std::string body(1 << 20, 'w');
    EXPECT_EQ(Render(Period("Week", body)), "Week: " + body + "\r\n\r\n");
}

} // namespace
