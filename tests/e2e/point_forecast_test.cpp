// The point forecast page against the sample weather service.
#include "tests/e2e/cumulon_fixture.h"

namespace {

constexpr int kName = 5086, kLatitude = 5087, kLongitude = 5088, kSearchText = 5089,
              kClearList = 5090, kSearch = 5091, kResults = IDC_LIST;

class PointForecast : public CumulonTest {
  protected:
    void SetUp() override {
        CumulonTest::SetUp();
        UseSampleCatalog();
    }
    // Starts with the saved places ("name»latitude»longitude").
    void StartWith(const std::vector<std::string>& places) {
        ASSERT_TRUE(SeedListFile(ListFile("POINTFORECAST", places)));
        StartOnTab(kPointTab, int(places.size()));
    }
    void Restart() {
        ASSERT_TRUE(CloseMainWindow());
        StartOnTab(kPointTab);
    }
    // A catalog whose point forecast comes from `path` of the service (with its two "#").
    void UseForecastPath(const std::string& path) {
        UseCatalog("[POINTFORECAST]\r\nurl=" + Service() + path +
                   "\xBBpointforecast_#.xml\r\n\r\n");
    }
    std::string Names() const {
        std::string names;
        for (int row = 0; row < ListItemCount(List()); ++row)
            names.append(row ? "|" : "").append(ListItemText(List(), row, 0));
        return names;
    }
    static void Fill(HWND dialog, const std::string& name, const std::string& latitude,
                     const std::string& longitude) {
        SetText(GetDlgItem(dialog, kName), name);
        SetText(GetDlgItem(dialog, kLatitude), latitude);
        SetText(GetDlgItem(dialog, kLongitude), longitude);
    }
    bool ShowsForecast() const {
        return Shows("Elevation: ") && Shows("\r\n\r\n") && IsFileTime(Status());
    }
};

TEST_F(PointForecast, AddSearchAndEditPointsRefusingBadInput) {
    StartOnTab(kPointTab);
    ClickControl(page_, IDC_ADD);
    HWND dialog = Dialog("Add Point"), results = GetDlgItem(dialog, kResults);
    ASSERT_NE(dialog, nullptr);
    Fill(dialog, "Newark", "40,5", "-74.2");
    ClickControl(dialog, IDC_ADD);
    EXPECT_EQ(MessageOf("Error"), "invalid characters in latitude field");
    EXPECT_EQ(ListItemCount(List()), 0);
    SetText(GetDlgItem(dialog, kLatitude), "40.5");
    ClickControl(dialog, IDC_ADD);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 1; }, 5000));
    EXPECT_EQ(Row(0, 3), "Newark|40.5|-74.2");
    EXPECT_EQ(TextOf(dialog, kLatitude), "40.5"); // the fields are kept

    SetText(GetDlgItem(dialog, kSearchText), "Louisville KY");
    ClickControl(dialog, kSearch);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(results) > 0; }, 10000));
    const int found = ListItemCount(results);
    EXPECT_GT(found, 30); // every post office of the town in the shipped table
    const std::string display = ListItemText(results, 0, 0), latitude = ListItemText(results, 0, 1);
    EXPECT_NE(display.find("Louisville, KY 4"), std::string::npos) << display;
    // Choosing a row copies it into the fields; a double click adds it as it is.
    ASSERT_TRUE(ClickListRow(results, 0));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(dialog, kName) == display; }, 5000));
    EXPECT_EQ(TextOf(dialog, kLatitude), latitude);
    ASSERT_TRUE(ClickListRow(results, 0, 8, 2));
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 2; }, 5000));
    EXPECT_EQ(Row(1, 3), display + "|" + latitude + "|" + ListItemText(results, 0, 2));
    // A second search puts its matches above the first one's; Clear List empties.
    SetText(GetDlgItem(dialog, kSearchText), "springfield il");
    ClickControl(dialog, kSearch);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(results) > found; }, 10000));
    EXPECT_NE(ListItemText(results, 0, 0).find("Springfield, IL"), std::string::npos);
    EXPECT_EQ(ListItemText(results, ListItemCount(results) - found, 0), display);
    Snapshot(dialog, "add-point-search");
    ClickControl(dialog, kClearList);
    EXPECT_TRUE(WaitUntil([&] { return ListItemCount(results) == 0; }, 5000));
    CloseDialog(dialog);

    Select(0);
    ClickControl(page_, IDC_EDIT);
    ASSERT_NE(dialog = Dialog("Edit Point"), nullptr);
    EXPECT_EQ(TextOf(dialog, kName), "Newark");
    Fill(dialog, "", "38.26", "-85.75");
    ClickControl(dialog, IDC_SAVE);
    ASSERT_TRUE(Gone(dialog));
    EXPECT_EQ(Row(0, 3), "Unnamed Location|38.26|-85.75");
}

// The window closed to the tray during a download and opened again shows the
// download's result, not "Loading..." for ever; so does a page with two rows
// selected when the download ends.
TEST_F(PointForecast, UpdateStopReopenDuringADownloadAndTheCacheWithoutTheService) {
    StartWith({"Louisville, KY»38.25»-85.76", "Chicago, IL»41.88»-87.63"});
    Update(0);
    ASSERT_TRUE(WaitUntil([&] { return ShowsForecast(); }, 20000)) << Status() << "\n" << Output();
    EXPECT_EQ(Output().rfind("Louisville", 0), 0u) << Output(); // the place comes first
    const std::string forecast = Output(), time = Status();
    Snapshot(main_, "point-forecast");
    Select(1);
    ASSERT_TRUE(WaitUntil([&] { return Status() == "no data" && Output().empty(); }, 5000));

    UseForecastPath("/test/trickle?seconds=60&lat=#&lon=#");
    Update(0);
    ASSERT_TRUE(WaitUntil([&] { return Output() == "Loading..."; }, 10000));
    ClickControl(page_, IDC_UPDATE); // refused while busy: still one download
    Sleep(1000);
    EXPECT_EQ(Output(), "Loading...");
    const DWORD stopped = GetTickCount();
    ClickControl(page_, IDC_STOP);
    ASSERT_TRUE(WaitUntil([&] { return Output() == forecast; }, 10000)) << Output();
    EXPECT_LT(GetTickCount() - stopped, 5000u);
    EXPECT_EQ(Status(), time);

    UseForecastPath("/test/trickle?seconds=4&lat=#&lon=#");
    Update(1);
    ASSERT_TRUE(WaitUntil([&] { return Output() == "Loading..."; }, 10000));
    ReopenFromTray();
    EXPECT_TRUE(
        WaitUntil([&] { return Status() == "forecast not available for this area"; }, 15000))
        << Status();
    EXPECT_EQ(Output(), "");

    // Two rows selected when a download ends: the page shows the updated row,
    // the one it showed before, the way the radar page keeps its picture.
    Update(1);
    ASSERT_TRUE(WaitUntil([&] { return Output() == "Loading..."; }, 10000));
    ClickListRow(List(), 0, 8, 1, VK_CONTROL);
    ASSERT_TRUE(WaitUntil([&] { return ListItemSelected(List(), 0); }, 5000));
    EXPECT_TRUE(ListItemSelected(List(), 1));
    EXPECT_TRUE(WaitUntil([&] { return Output() != "Loading..."; }, 15000));
    EXPECT_EQ(Output(), "");
    EXPECT_EQ(Status(), "forecast not available for this area");

    UseCatalog("[POINTFORECAST]\r\nurl=http://127.0.0.1:1/?lat=#&lon=#\xBBpointforecast_#.xml\r\n");
    Select(0);
    ASSERT_TRUE(WaitUntil([&] { return Output() == forecast && Status() == time; }, 5000));
    ClickControl(page_, IDC_UPDATE);
    Sleep(2000);
    EXPECT_TRUE(WaitUntil([&] { return Output() == forecast && Status() == time; }, 10000));
}

// A double click on the status line cycles its alignment: centre, right, left.
TEST_F(PointForecast, ListOrderSelectionAndAlignmentSurviveReopenAndRestart) {
    StartWith({"A»1»1", "B»2»2", "C»3»3"});
    auto expectKept = [&](const char* order, int selected) {
        EXPECT_TRUE(WaitUntil([&] { return Names() == order; }, 5000)) << Names();
        EXPECT_TRUE(WaitUntil([&] { return ListItemSelected(List(), selected); }, 5000)) << order;
        EXPECT_EQ(Status(), "no data"); // the re-selected row is shown
    };
    struct Move {
        int from, command, to;
        const char* order;
    } moves[] = {{0, IDC_UP, 2, "B|C|A"}, {2, IDC_DOWN, 0, "A|B|C"}};
    for (const Move& move : moves) {
        Select(move.from);
        ClickControl(page_, move.command);
        ASSERT_TRUE(WaitUntil(
            [&] { return ListItemSelected(List(), move.to) && Names() == move.order; }, 5000))
            << Names();
        if (move.command == IDC_UP) {
            ReopenFromTray();
            expectKept(move.order, move.to);
        }
        Restart();
        expectKept(move.order, move.to);
    }

    HWND status = GetDlgItem(page_, IDC_STATUS);
    auto alignment = [&] { return GetWindowLongA(status, GWL_STYLE) & (SS_CENTER | SS_RIGHT); };
    EXPECT_EQ(alignment(), SS_CENTER);
    for (LONG next : {SS_RIGHT, SS_LEFT, SS_CENTER, SS_RIGHT}) {
        ClickWindow(status, false, 2);
        ASSERT_TRUE(WaitUntil([&] { return alignment() == next; }, 5000)) << next;
    }
    Select(0);
    ClickControl(page_, IDC_DELETE);
    ASSERT_TRUE(WaitUntil([&] { return Names() == "B|C"; }, 5000)) << Names();
    Restart();
    status = GetDlgItem(page_, IDC_STATUS);
    EXPECT_EQ(alignment(), SS_RIGHT);
    EXPECT_TRUE(WaitUntil([&] { return Names() == "B|C"; }, 5000)) << Names();
    EXPECT_EQ(Setting("PointForecastFlags"), 2u);
}

} // namespace
