// Both programs on screens of 96, 144 and 192 DPI: the sizes given in pixels
// grow with the screen, the pictures keep their own pixels and fit their
// page. Screenshots of every page, a dialog and the ticker are left as
// dpiNNN-*.png for a look.
#include "resources/ticker/ticker_ids.h"
#include "tests/e2e/cumulon_fixture.h"

namespace {

class Dpi : public CumulonTest, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        CumulonTest::SetUp();
        UseDpi(GetParam());
        UseSampleCatalog();
        std::string lists = "Cumulon 3.0.7.143\r\n\r\n";
        for (const auto& [section, line] : std::vector<std::pair<std::string, std::string>>{
                 {"POINTFORECAST", "Louisville, KY»38.25»-85.76"},
                 {"HOURLYPOINTFORECAST", "Louisville, KY»38.25»-85.76"},
                 {"OBSERVATIONS", "KORD»KORD Chicago"},
                 {"ALERTS", "1»KYZ030»KYZ030 Jefferson County"},
                 {"RADAR", "KLOT»KLOT Chicago, IL"},
                 {"METAR", "KSDF»KSDF Louisville"},
                 {"RIVERGAUGES", "MLUK2»MLUK2 Ohio River at Louisville"}})
            lists += "[" + section + "]\r\n" + Separated(line) + "\r\n\r\n";
        ASSERT_TRUE(SeedListFile(lists));
        // The hourly table's font, chosen at 96 DPI: Arial 12 points.
        LOGFONTA font{};
        font.lfHeight = -16;
        font.lfWeight = FW_NORMAL;
        std::memcpy(font.lfFaceName, "Arial", 6);
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Quillmoor\\Cumulon",
                                  "HourlyPointForecastDataFont", REG_BINARY, &font, sizeof font),
                  ERROR_SUCCESS);
    }
    std::string Shot(const char* what) const {
        return "dpi" + std::to_string(GetParam()) + "-" + what;
    }
    static SIZE SizeOf(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }
    // Updates the shown page (its first row) and waits for the download to end.
    void UpdatePage(bool hasList) {
        if (hasList)
            Select(0, Scaled(60)); // right of the alerts list's check box
        const std::string before = Status();
        ClickControl(page_, IDC_UPDATE);
        WaitUntil([&] { return Status() != before && Output() != "Loading..."; }, 15000);
        Sleep(500);
    }
};

TEST_P(Dpi, PagesGrowWithTheScreenAndThePicturesFit) {
    ASSERT_NE(Start(), nullptr);
    ShowTab(kPointTab);
    // The columns and toolbar icons given in 96-DPI pixels.
    for (auto [column, width] : {std::pair{0, 634}, {1, 120}, {2, 120}})
        EXPECT_NEAR(SendMessageA(List(), LVM_GETCOLUMNWIDTH, column, 0), Scaled(width), 1)
            << "column " << column;
    for (int id : {IDC_UPDATE, IDC_ADD, IDC_STOP}) {
        SIZE icon = SizeOf(GetDlgItem(page_, id));
        EXPECT_EQ(icon.cx, Scaled(16)) << id;
        EXPECT_EQ(icon.cy, Scaled(16)) << id;
    }
    const int tabs[] = {kPointTab, kHourlyTab,    kObservationsTab, kAlertsTab,
                        kRadarTab, kSatelliteTab, kMetarTab,        kRiverTab};
    for (int tab : tabs) {
        ShowTab(tab);
        UpdatePage(tab != kSatelliteTab);
        Snapshot(main_, Shot(("tab" + std::to_string(tab)).c_str()).c_str());
        if (tab == kHourlyTab) { // the chosen font keeps its 12 points: 16 pixels at 96 DPI
            RECT row = {LVIR_BOUNDS, 0, 0, 0};
            EXPECT_TRUE(ControlRect(GetDlgItem(page_, IDC_OUTPUT), LVM_GETITEMRECT, 0, &row));
            EXPECT_GE(row.bottom - row.top, Scaled(16));
            EXPECT_LT(row.bottom - row.top, Scaled(16) * 3 / 2);
        }
        if (tab == kRadarTab) {
            // The radar picture's 600 x 550 pixels inside the page, unscaled.
            RECT area{}, page{};
            GetWindowRect(GetDlgItem(page_, IDC_OUTPUT), &area);
            GetWindowRect(page_, &page);
            EXPECT_GE(area.right - area.left, 600);
            EXPECT_GE(area.bottom - area.top, 550);
            RECT inside{};
            EXPECT_TRUE(IntersectRect(&inside, &area, &page) && EqualRect(&inside, &area));
        }
    }
    // A dialog: Add Point.
    ShowTab(kPointTab);
    ASSERT_TRUE(ClickControl(page_, IDC_ADD));
    HWND add = Dialog("Add Point");
    ASSERT_NE(add, nullptr);
    SetText(GetDlgItem(add, 5089), "Louisville"); // a search, to fill the results' columns
    ASSERT_TRUE(ClickControl(add, 5091));
    WaitUntil([&] { return ListItemCount(GetDlgItem(add, IDC_LIST)) > 0; }, 5000);
    Snapshot(add, Shot("add-point").c_str());
    CloseDialog(add);
    EXPECT_TRUE(CloseMainWindow());
}

TEST_P(Dpi, TickerBarAndToolbarGrowWithTheScreen) {
    ASSERT_TRUE(CopyFileA((BuiltProgramsFolder() + "\\Ticker.exe").c_str(),
                          (folder_ + "\\Ticker.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteTextFile(folder_ + "\\ticker.$$$",
                              Separated("0»»KYZ030 Jefferson County»Tornado Warning for "
                                        "Jefferson County until 5:45 PM EDT\r\n")));
    program_ = StartProgram(folder_ + "\\Ticker.exe", "-fticker.$$$ -tx0 -bkFFFFC0 -tb -tt");
    HWND bar = nullptr, toolbar = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND window : TopWindows(program_.info.dwProcessId, "#32770", nullptr))
                (SizeOf(window).cx == Scaled(400) ? toolbar : bar) = window;
            return bar && toolbar;
        },
        10000));
    EXPECT_EQ(SizeOf(bar).cy, Scaled(30));
    EXPECT_EQ(SizeOf(toolbar).cy, Scaled(18));
    EXPECT_EQ(SizeOf(GetDlgItem(toolbar, IDC_TICKER_SKIP)).cx, Scaled(16));
    Sleep(2500); // the message well into the bar
    SaveScreenshot(bar, Shot("ticker-bar"));
    SaveScreenshot(toolbar, Shot("ticker-toolbar"));
}

INSTANTIATE_TEST_SUITE_P(Screens, Dpi, ::testing::Values(96, 144, 192),
                         [](const auto& info) { return std::to_string(info.param); });

} // namespace
