// Every feed page against the sample service's live catalog: today's
// addresses with only scheme, host and port changed, answered in today's
// formats (dwmlByDay, the 2024 current_obs layout, the aviation data API and
// its 204, the gauge JSON, the API's ATOM with CAP 1.2).
#include "tests/e2e/cumulon_fixture.h"

#include <cstdlib>

namespace {

class TodayFeeds : public CumulonTest {
  protected:
    void SetUp() override {
        CumulonTest::SetUp();
        const char* state = std::getenv("SAMPLE_SERVICE_STATE");
        ASSERT_NE(state, nullptr);
        std::string catalog = ReadTextFile(WindowsPath(state) + "\\today-links.dat");
        ASSERT_NE(catalog.find("[POINTFORECAST]"), std::string::npos)
            << "the sample weather service is not running";
        UseCatalog(catalog);
    }
    // Starts on the page of `tab` with the rows of `section`, and updates `row`.
    void UpdateOn(int tab, const char* section, const std::vector<std::string>& rows, int row) {
        ASSERT_TRUE(SeedListFile(ListFile(section, rows)));
        StartOnTab(tab, int(rows.size()));
        Update(row);
    }
    // The whole output box (WindowText reads up to 1023 characters).
    std::string FullOutput() const {
        HWND output = GetDlgItem(page_, IDC_OUTPUT);
        std::string text(size_t(SendMessageA(output, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
        text.resize(size_t(
            SendMessageA(output, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
        return text;
    }
    bool ShowsWithTime(const std::string& start) const {
        return Output().rfind(start, 0) == 0 && IsFileTime(Status());
    }
};

// The place, its elevation, the creation time, then one paragraph per
// period, "name: text", in the worded forecast's order; a point the service
// has no grid forecast for gets its HTML page.
TEST_F(TodayFeeds, PointForecastFromTheDwmlByDayDocument) {
    UpdateOn(kPointTab, "POINTFORECAST", {"Louisville»38.25»-85.76", "At sea»30»-40"}, 0);
    ASSERT_TRUE(WaitUntil([&] { return ShowsWithTime("2 Miles NNW Louisville KY\r\n"); }, 30000))
        << Output();
    static const std::regex layout(
        "2 Miles NNW Louisville KY\r\nElevation: \\d+ ft\r\n"
        "[^\r]*\\d\\d:\\d\\d[^\r]*\r\n\r\n" // the creation time
        "((This Afternoon|Today|Tonight|Overnight|[A-Z][a-z]+day( Night)?): [^\r]+\\.\r\n\r\n)"
        "{14}");
    EXPECT_TRUE(std::regex_match(FullOutput(), layout)) << FullOutput();
    Snapshot(main_, "today-point-forecast");
    Update(1);
    EXPECT_TRUE(WaitUntil(
        [&] { return Status() == "forecast not available for this area" && Output().empty(); },
        30000))
        << Status();
}

// The 2024 layout (no indentation, several elements on a line, "Last Update
// on") reads as the old one did.
TEST_F(TodayFeeds, ObservationsFromThe2024Layout) {
    UpdateOn(kObservationsTab, "OBSERVATIONS", {"KSDF»KSDF Louisville"}, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return ShowsWithTime("KSDF Standiford Field, KY\r\n\r\n"); }, 30000))
        << Output();
    for (const char* line : {"\r\nWeather: ", "\260F\r\n", " in\r\n", " mph"})
        EXPECT_TRUE(Shows(line)) << line << " in " << Output();
}

// The API's one-line XML: "METAR " report, milliseconds in the time, "10+"
// kept.
TEST_F(TodayFeeds, MetarFromTheDataApi) {
    UpdateOn(kMetarTab, "METAR", {"KORD»KORD Chicago"}, 0);
    ASSERT_TRUE(WaitUntil([&] { return Shows("Raw Metar: METAR KORD "); }, 30000)) << Output();
    EXPECT_EQ(Output().rfind("KORD Chicago (41.98 -87.92)\r\n", 0), 0u) << Output();
    EXPECT_TRUE(IsFileTime(Status())) << Status();
    if (ReadTextFile(CachePath("metar_KORD.xml")).find("<visibility_statute_mi>10+<") !=
        std::string::npos) {
        EXPECT_TRUE(Shows("\r\nVisibility: 10+ mi\r\n")) << Output();
    }
}

// A station without a report answers 204: the cache file becomes empty and
// the page shows "no data", not the report it had before.
TEST_F(TodayFeeds, AStationWithoutAReportShowsNoDataNotItsOldReport) {
    const std::string old = "<response><data num_results=\"1\"><METAR><raw_text>METAR QQQQ "
                            "071253Z 29011KT 10SM CLR M06/M11 A2994</raw_text><station_id>QQQQ"
                            "</station_id></METAR></data></response>";
    ASSERT_TRUE(SeedListFile(ListFile("METAR", {"QQQQ»QQQQ Nowhere"})));
    StartOnTab(kMetarTab, 1);
    ASSERT_TRUE(WriteTextFile(CachePath("metar_QQQQ.xml"), old));
    Select(0);
    ASSERT_TRUE(WaitUntil([&] { return Shows("Raw Metar: METAR QQQQ "); }, 5000)) << Output();
    ClickControl(page_, IDC_UPDATE);
    EXPECT_TRUE(WaitUntil([&] { return Output() == "no data"; }, 30000)) << Output();
    EXPECT_TRUE(FileExists(CachePath("metar_QQQQ.xml")));
    EXPECT_EQ(ReadTextFile(CachePath("metar_QQQQ.xml")), "");
}

// The gauge JSON in the page's layout; -999 leaves its line out.
TEST_F(TodayFeeds, RiverGaugesFromTheGaugeJson) {
    UpdateOn(kRiverTab, "RIVERGAUGES", {"MLUK2»MLUK2 Louisville", "PEOI2»PEOI2 Peoria"}, 0);
    ASSERT_TRUE(WaitUntil([&] { return ShowsWithTime("MLUK2 - Ohio River at Louisville"); }, 30000))
        << Output();
    for (const char* line : {", KY (", "\r\nObservation Time: ", "\r\nFlood Stage: ",
                             "\r\nLatest Observation: ", "\r\nFlood Category: ", "\r\nForecast: "})
        EXPECT_TRUE(Shows(line)) << line << " in " << Output();
    EXPECT_FALSE(Shows("-999")) << Output();
    Snapshot(main_, "today-river");
    Update(1); // a gauge without a forecast
    ASSERT_TRUE(
        WaitUntil([&] { return ShowsWithTime("PEOI2 - Illinois River at Peoria, IL ("); }, 30000))
        << Output();
    EXPECT_TRUE(Shows("\r\nLatest Observation: ") && !Shows("Forecast: ")) << Output();
}

// The API's ATOM: entries in the page's layout; a zone without alerts is a
// feed with no entry at all. The API answers ATOM only when asked for it.
TEST_F(TodayFeeds, AlertsFromTheApiAtomAndAZoneWithoutAlerts) {
    ASSERT_TRUE(SeedListFile(ListFile("ALERTS", {"0»ILZ103»ILZ103 Chicago", "0»FLZ173»Miami"})));
    StartOnTab(kAlertsTab, 2);
    Update(0, 200); // by its name: the first column holds the check boxes
    ASSERT_TRUE(WaitUntil([&] { return Shows("...Severity: Extreme\r\n"); }, 30000)) << Output();
    const std::string shown = FullOutput();
    for (const char* severity : {"Severe", "Minor"})
        EXPECT_NE(shown.find(std::string("...Severity: ") + severity + "\r\n"), std::string::npos)
            << shown;
    EXPECT_FALSE(Status().empty());
    Snapshot(main_, "today-alerts");
    Update(1, 200);
    EXPECT_TRUE(WaitUntil(
        [&] { return Shows("There are no active watches, warnings or advisories"); }, 30000))
        << Output();
}

} // namespace
