// The hourly point forecast page against the sample weather service.
#include "tests/e2e/cumulon_fixture.h"

#include <commctrl.h>

namespace {

const std::vector<std::string> kAllColumns = {"Time", "WX",  "T\xB0", "WC",  "HI", "DP", "PoP",
                                              "WS",   "GST", "WD",    "CLD", "RH", "QPF"};
enum MenuItem { kChangeFont, kDefaultFont, kEditTimeFormat };

class HourlyForecast : public CumulonTest {
  protected:
    void StartOnPage() { StartOnTab(kHourlyTab, 3); }
    HWND Table() const { return GetDlgItem(page_, IDC_OUTPUT); }
    std::string Cell(int row, int column) const { return ListItemText(Table(), row, column); }
    // The rows that fit the table: another number with another font.
    int RowsPerPage() const {
        return static_cast<int>(SendMessageA(Table(), LVM_GETCOUNTPERPAGE, 0, 0));
    }
    size_t Columns() const { return ListColumnCaptions(Table()).size(); }
};

TEST_F(HourlyForecast, TheTableItsColumnsTimeFormatAndFontFromTheCacheAndThroughARestart) {
    UseSampleCatalog();
    ASSERT_TRUE(
        SeedListFile(ListFile("HOURLYPOINTFORECAST",
                              {"Chicago»41.88»-87.63", "Never»40.1»-100.2", "At sea»30.0»-40.0"})));
    StartOnPage();
    Select(1);
    ASSERT_TRUE(WaitUntil([&] { return Status() == "no data"; }, 5000));
    Update(2);
    EXPECT_TRUE(
        WaitUntil([&] { return Status() == "forecast not available for this area"; }, 20000))
        << Status();
    EXPECT_EQ(ListItemCount(Table()), 0);

    Update(0);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(Table()) == 72; }, 20000)) << Status();
    EXPECT_EQ(ListColumnCaptions(Table()), kAllColumns);
    EXPECT_NE(Status().find("Chicago IL -- "), std::string::npos) << Status();
    const std::string first = Cell(0, 2);
    EXPECT_NE(first.find("\xB0"), std::string::npos) << first;

    UseCatalog("[HOURLYPOINTFORECAST]\r\nurl=http://127.0.0.1:1/?lat=#&lon=#\xBBhourly_#.xml\r\n");
    ClickControl(page_, IDC_HOURLY_WEATHER);
    ASSERT_TRUE(WaitUntil([&] { return Columns() == 12; }, 5000));
    EXPECT_EQ(ListColumnCaptions(Table())[1], "T\xB0");
    EXPECT_EQ(Cell(0, 1), first);
    ClickControl(page_, IDC_HOURLY_WEATHER);
    ASSERT_TRUE(WaitUntil([&] { return ListColumnCaptions(Table()) == kAllColumns; }, 5000));
    EXPECT_EQ(ListItemCount(Table()), 72);
    Snapshot(main_, "hourly-forecast");

    ChooseFromMenu(Table(), kEditTimeFormat, 3);
    HWND dialog = Dialog("Hourly Point Forecast Time Display");
    ASSERT_NE(dialog, nullptr);
    HWND format = GetDlgItem(dialog, IDC_TIME_FORMAT);
    EXPECT_EQ(WindowText(format), "%Dow; %dd;, %hh; %ampm;");
    SetText(format, "");
    TypeText(format, "%HH;h");
    const std::regex hour(R"(\d\dh)");
    EXPECT_TRUE(
        WaitUntil([&] { return std::regex_match(TextOf(dialog, IDC_STATUS), hour); }, 5000));
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return std::regex_match(Cell(0, 0), hour); }, 5000)) << Cell(0, 0);

    // "Change Font" takes the font the font dialog offers: stored whole, it
    // changes the rows that fit.
    const int defaultRows = RowsPerPage();
    ChooseFromMenu(Table(), kChangeFont, 3);
    HWND fonts = Dialog("Font");
    ASSERT_NE(fonts, nullptr);
    ClickControl(fonts, IDOK);
    std::vector<BYTE> font;
    EXPECT_TRUE(
        WaitUntil([&] { return ReadSetting("HourlyPointForecastDataFont", &font); }, 5000));
    EXPECT_EQ(font.size(), sizeof(LOGFONTA));
    ASSERT_TRUE(WaitUntil([&] { return RowsPerPage() != defaultRows; }, 5000));
    ClickControl(page_, IDC_HOURLY_PRECIPITATION);
    ASSERT_TRUE(WaitUntil([&] { return Columns() == 12; }, 5000));

    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(Setting("HourlyPointForecastFlags"), 0x0FFCu);
    StartOnPage();
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(Table()) == 72; }, 5000)) << Status();
    EXPECT_TRUE(std::regex_match(Cell(0, 0), hour)) << Cell(0, 0);
    EXPECT_EQ(ListColumnCaptions(Table()).back(), "RH");
    EXPECT_FALSE(Checked(IDC_HOURLY_PRECIPITATION));
    EXPECT_NE(RowsPerPage(), defaultRows);
    Snapshot(main_, "hourly-forecast-font");
    ChooseFromMenu(Table(), kDefaultFont, 3);
    EXPECT_TRUE(
        WaitUntil([&] { return !ReadSetting("HourlyPointForecastDataFont", &font); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return RowsPerPage() == defaultRows; }, 5000));
}

} // namespace
