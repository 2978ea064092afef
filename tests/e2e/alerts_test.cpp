// The alerts page and the alert path against the sample weather service; a
// ticker stand-in records each start of Ticker.exe.
#include "tests/e2e/cumulon_fixture.h"

#include "pages/alerts/alert_queue.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

constexpr int kColourRed = 706, kColourGreen = 707, kColourBlue = 708; // of the colour dialog
constexpr int kByName = 200; // a click on a row's name, away from its check box

class Alerts : public CumulonTest {
  protected:
    void SetUp() override {
        CumulonTest::SetUp();
        UseSampleCatalog();
    }
    std::string Marks() const {
        std::string marks;
        for (int row = 0; row < ListItemCount(List()); ++row)
            marks += ListItemChecked(List(), row) ? '1' : '0';
        return marks;
    }
    // Scrolls to a row and clicks its check box. A click where the last one
    // went after scrolling would be a double click.
    void ClickMark(int row) {
        LRESULT top = SendMessageA(List(), LVM_GETTOPINDEX, 0, 0);
        SendMessageA(List(), LVM_ENSUREVISIBLE, row, FALSE);
        if (SendMessageA(List(), LVM_GETTOPINDEX, 0, 0) != top)
            Sleep(GetDoubleClickTime() + 100);
        ASSERT_TRUE(ClickListRow(List(), row));
    }
    void ToggleMark(int row) {
        bool before = ListItemChecked(List(), row);
        ClickMark(row);
        ASSERT_TRUE(WaitUntil([&] { return ListItemChecked(List(), row) != before; }, 5000));
    }
    static bool SavedListsHold(const char* line) {
        return ReadTextFile(UserDataFolder() + "\\list.dat").find(Separated(line)) !=
               std::string::npos;
    }
    std::string Cached(const std::string& code) const {
        return ReadTextFile(CachePath("alerts_" + code + ".xml"));
    }
    // The zones' feeds from `address` (holding the zone's "######").
    void UseAlertFeeds(const std::string& address) {
        UseCatalog("[ALERTS]\r\nurl=" + address + "\xBB" + "alerts_######.xml\r\n");
    }
    // The row the page remembers for the next start, as written at exit.
    static int RememberedRow() {
        std::vector<BYTE> selected;
        int32_t row = -2;
        if (ReadSetting("Selected", &selected) && selected.size() == 28)
            std::memcpy(&row, &selected[4 * 3], sizeof row); // the alerts page's entry
        return row;
    }
};

TEST_F(Alerts, TenMarksAtMostWithANoticeAndTheMarksSurviveARestart) {
    std::vector<std::string> zones;
    for (int i = 10; i <= 20; ++i)
        zones.push_back("0»KYZ0" + std::to_string(i) + "»Zone " + std::to_string(i));
    ASSERT_TRUE(SeedListFile(ListFile("ALERTS", zones)));
    StartOnTab(kAlertsTab, 11);
    for (int row = 0; row < 10; ++row)
        ToggleMark(row);
    ClickMark(10);
    EXPECT_EQ(MessageOf("Notice"), "Auto Alert Maximum Reached");
    EXPECT_EQ(Marks(), "11111111110");

    ToggleMark(3);
    ToggleMark(10);
    // Moving a marked row past the ends copies its mark before the old row
    // goes: no notice for a move.
    Select(10, kByName);
    ASSERT_TRUE(ClickControl(page_, IDC_DOWN));
    ASSERT_TRUE(WaitUntil([&] { return ListItemText(List(), 0, 0) == "KYZ020"; }, 5000));
    EXPECT_EQ(Dialog("Notice", 1000), nullptr);
    // The marks reach the saved lists a few seconds later, while Cumulon runs.
    EXPECT_TRUE(WaitUntil([&] { return SavedListsHold("1»KYZ020»"); }, 10000));
    ASSERT_TRUE(CloseMainWindow());
    StartOnTab(kAlertsTab);
    ASSERT_TRUE(WaitUntil([&] { return Marks() == "11110111111"; }, 5000)) << Marks();
}

// Marked zones in list order with their names, the hostile feed's among
// them; the unmarked zone and a code too short for an address are never
// downloaded; the page redisplays its row.
TEST_F(Alerts, AutoAlertsSwitchedOnFromThePageShowTheMarkedZonesAlertsWithTheTicker) {
    UseTickerStandIn();
    ASSERT_TRUE(SeedListFile(
        ListFile("ALERTS", {"1»KYZ030»KYZ030 Jefferson County", "0»ILZ103»ILZ103", "1»KY»Too Short",
                            "1»TXZ103»TXZ103 Denton County", "1»XXZ999»Hostile Feed"})));
    StartOnTab(kAlertsTab, 5);
    ASSERT_TRUE(ClickListRow(List(), 0, 200));
    ASSERT_TRUE(WaitUntil([&] { return Output() == "no data"; }, 5000));
    EXPECT_FALSE(TrayMenu(kTrayNone));
    ASSERT_TRUE(ClickControl(page_, IDC_GET_AUTO_ALERTS));
    const DWORD switchedOn = GetTickCount();
    ASSERT_TRUE(WaitUntil([&] { return FileExists(RunFile(1)); }, 20000));
    EXPECT_GE(GetTickCount() - switchedOn, 4500u); // the first check comes 5 s later
    EXPECT_LE(GetTickCount() - switchedOn, 9000u);

    EXPECT_EQ(RunRecord(1, false), "Ticker.exe -fticker.$$$ -txFFFFFF -bk80 -tb -tt");
    AlertSettingsSnapshot defaults{0x637, "sounds\\alarm.wav", "sounds\\severe.wav",
                                   "sounds\\beepbeep.wav"};
    std::string expected;
    for (auto [code, name, count] : {std::tuple{"KYZ030", "KYZ030 Jefferson County", 2},
                                     {"TXZ103", "TXZ103 Denton County", 2},
                                     {"XXZ999", "Hostile Feed", 3}})
        EXPECT_EQ(AppendAlertRecords(Cached(code), name, defaults, &expected), count) << code;
    EXPECT_EQ(RunRecord(1, true), expected);
    EXPECT_EQ(Cached("ILZ103"), "");
    EXPECT_TRUE(WaitUntil(
        [&] { return FileExists(RunFile(1, ".end")) && !FileExists(folder_ + "\\ticker.$$$"); },
        5000));
    EXPECT_TRUE(WaitUntil([&] { return Shows("...Severity: Severe\r\n"); }, 5000)) << Output();
    EXPECT_NE(Status(), "");
    Snapshot(main_, "alerts-page");

    EXPECT_TRUE(TrayMenu(kTrayAutoAlerts)); // checked; the click switches it off
    EXPECT_TRUE(WaitUntil([&] { return !Checked(IDC_GET_AUTO_ALERTS); }, 5000));
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(Setting("AlertFlags"), 0x237u);
}

TEST_F(Alerts, TestTickerFollowsThePagesChoices) {
    UseTickerStandIn();
    StartOnTab(kAlertsTab);
    for (int id : {IDC_WARNING_ALARM, IDC_SEVERE_LOOP, IDC_SHORT_MESSAGE, IDC_TICKER_BACK_COLOR})
        ASSERT_TRUE(ClickControl(page_, id));
    HWND dialog = Dialog("Color");
    ASSERT_NE(dialog, nullptr);
    for (auto [id, value] : {std::pair{kColourRed, "0"}, {kColourGreen, "96"}, {kColourBlue, "0"}})
        SetText(GetDlgItem(dialog, id), value);
    ASSERT_TRUE(ClickControl(dialog, IDOK));
    RECT sample{};
    GetWindowRect(GetDlgItem(page_, IDC_TICKER_SAMPLE), &sample);
    EXPECT_TRUE(WaitUntil(
        [&] { return ScreenPixel(sample.left + 2, sample.top + 2) == RGB(0, 96, 0); }, 5000));
    ASSERT_TRUE(ClickControl(page_, IDC_TEST_TICKER));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(RunFile(1, ".end")); }, 10000));
    EXPECT_EQ(RunRecord(1, false), "Ticker.exe -ftest.que -txFFFFFF -bk6000 -tb -tt");
    EXPECT_EQ(RunRecord(1, true), Separated("0»sounds\\beepbeep.wav»Location 1»TEST MESSAGE 1\r\n"
                                            "»»Location 2»TEST MESSAGE 2\r\n"
                                            "1»sounds\\severe.wav»Location 3»TEST MESSAGE 3\r\n"));

    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(Setting("AlertFlags"), 0x32Eu);
    EXPECT_EQ(Setting("AlertBackColor"), 0x6000u);
}

// Each row shows its own cache file: a feed without a time of its own leaves
// the status line empty, and a file that cannot be read shows "no data" once
// its update has failed. Two rows selected keep the row remembered before.
TEST_F(Alerts, EachRowShowsItsOwnCacheAndTwoSelectedRowsKeepTheRememberedOne) {
    UseAlertFeeds("http://127.0.0.1:1/?z=######"); // every download fails at once
    ASSERT_TRUE(SeedListFile(
        ListFile("ALERTS", {"0»KYZ030»With Time", "0»ILZ103»Without Time", "0»TXZ103»Locked"})));
    StartOnTab(kAlertsTab, 3);
    const std::string entry = "<entry><title>Flood Watch</title></entry></feed>";
    for (const char* code : {"ILZ103", "TXZ103"})
        ASSERT_TRUE(
            WriteTextFile(CachePath("alerts_" + std::string(code) + ".xml"), "<feed>" + entry));
    ASSERT_TRUE(WriteTextFile(CachePath("alerts_KYZ030.xml"),
                              "<feed><updated>2013-08-07T13:40:05-05:00</updated>" + entry));
    HANDLE lock = CreateFileA(CachePath("alerts_TXZ103.xml").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr); // shared with nobody
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Select(0, kByName);
    ASSERT_TRUE(WaitUntil([&] { return IsFileTime(Status()) && Shows("Flood Watch"); }, 5000))
        << Status();
    Select(1, kByName);
    EXPECT_TRUE(WaitUntil([&] { return Status().empty() && Shows("Flood Watch"); }, 5000))
        << Status();
    Update(2, kByName);
    EXPECT_TRUE(WaitUntil([&] { return Output() == "no data" && Status().empty(); }, 10000))
        << Output();
    CloseHandle(lock);

    // A frame dragged from below the rows over the third row alone, then up
    // over the second: one row shown, then two.
    RECT third{LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(ControlRect(List(), LVM_GETITEMRECT, 2, &third));
    const int height = third.bottom - third.top;
    POINT at{200, third.bottom + 3 * height + height / 2};
    ClientToScreen(List(), &at);
    MoveMouseTo(at);
    PressMouseButton(false, true);
    for (int row : {2, 1}) {
        for (int step = 0; step < (row == 2 ? 4 : 1); ++step) {
            at.y -= height;
            MoveMouseTo(at);
        }
        ASSERT_TRUE(WaitUntil(
            [&] {
                return ListItemSelected(List(), 2) && ListItemSelected(List(), 1) == (row == 1);
            },
            5000));
    }
    PressMouseButton(false, false);
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(RememberedRow(), 2);
}

TEST_F(Alerts, EndingTheSessionAbortsTheDownloadAndKeepsTheSettingsAndLists) {
    UseAlertFeeds(Service() + "/test/trickle?seconds=300&z=######");
    ASSERT_TRUE(SeedListFile(ListFile("ALERTS", {"0»KYZ030»Jefferson", "0»ILZ103»Cook"})));
    StartOnTab(kAlertsTab, 2);
    ToggleMark(0);
    ASSERT_TRUE(ClickControl(page_, IDC_SEVERE_LOOP));
    Update(1, kByName);
    ASSERT_TRUE(WaitUntil([&] { return Output() == "Loading..."; }, 10000));
    RunningProgram session = StartProgram("C:\\windows\\system32\\wineboot.exe", "--end-session");
    const DWORD asked = GetTickCount();
    EXPECT_TRUE(program_.WaitForExit(20000));
    EXPECT_LT(GetTickCount() - asked, 8000u);
    EXPECT_TRUE(session.WaitForExit(10000));
    session.Kill();
    EXPECT_EQ(Setting("CurTab"), static_cast<DWORD>(kAlertsTab));
    EXPECT_EQ(Setting("AlertFlags"), 0x237u | 0x100u);
    EXPECT_EQ(RememberedRow(), 1);
    EXPECT_TRUE(SavedListsHold("1»KYZ030»Jefferson"));
}

TEST_F(Alerts, ExitDuringACheckAbortsItsDownloadAndStartsNoTicker) {
    UseTickerStandIn();
    UseAlertFeeds(Service() + "/test/trickle?seconds=300&z=######");
    ASSERT_TRUE(SeedListFile(ListFile("ALERTS", {"1»KYZ030»Jefferson", "1»ILZ103»Cook"})));
    StartOnTab(kAlertsTab, 2);
    ASSERT_TRUE(ClickControl(page_, IDC_GET_AUTO_ALERTS));
    Sleep(8000); // the check began 5 s after the click and is still downloading
    EXPECT_TRUE(TrayMenu(kTrayExit));
    const DWORD exited = GetTickCount();
    EXPECT_TRUE(EndsWithZero());
    EXPECT_LT(GetTickCount() - exited, 5000u);
    Sleep(1000);
    EXPECT_FALSE(FileExists(RunFile(1)));
    EXPECT_EQ(Setting("AlertFlags"), 0x237u | 0x400u);
}

// A new start is not kept out by the ending program.
TEST_F(Alerts, ExitLeavesARunningTickerAloneAndEndsAtOnce) {
    UseTickerStandIn(12000);
    StartOnTab(kAlertsTab);
    ASSERT_TRUE(ClickControl(page_, IDC_TEST_TICKER));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(RunFile(1)); }, 10000));
    const DWORD exited = GetTickCount();
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_LT(GetTickCount() - exited, 5000u);
    EXPECT_FALSE(FileExists(RunFile(1, ".end")));
    ASSERT_NE(Start(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(RunFile(1, ".end")); }, 15000));
    EXPECT_FALSE(FileExists(RunFile(2)));
    ASSERT_TRUE(CloseMainWindow());
}

// The program still finds its own files by their bare names (the catalog)
// after the open dialog browsed elsewhere, which moves the current directory
// on Windows whatever its flags say.
TEST_F(Alerts, ASoundFromAnotherFolderLeavesTheProgramInItsFolder) {
    const std::string chimes = WorkFolder() + "\\chimes";
    CreateDirectoryA(chimes.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((BuiltProgramsFolder() + "\\sounds\\severe.wav").c_str(),
                          (chimes + "\\siren.wav").c_str(), FALSE));
    ASSERT_TRUE(SeedListFile(ListFile("ALERTS", {"0»KYZ030»Jefferson"})));
    StartOnTab(kAlertsTab, 1);
    ASSERT_TRUE(ClickControl(page_, IDC_NOTIFY_OPEN));
    HWND dialog = Dialog("Sound Files");
    ASSERT_NE(dialog, nullptr);
    HWND name = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM found) -> BOOL {
            char kind[16] = "";
            GetClassNameA(child, kind, sizeof kind);
            if (lstrcmpiA(kind, "Edit") == 0 && IsWindowVisible(child))
                *reinterpret_cast<HWND*>(found) = child;
            return *reinterpret_cast<HWND*>(found) == nullptr;
        },
        reinterpret_cast<LPARAM>(&name));
    ASSERT_NE(name, nullptr);
    for (const std::string& typed : {chimes, std::string("siren.wav")}) {
        SetText(name, typed);
        ASSERT_TRUE(ClickControl(dialog, IDOK));
        Sleep(1000);
    }
    ASSERT_TRUE(Gone(dialog));
    EXPECT_EQ(TextOf(page_, IDC_NOTIFY_SOUND), "siren.wav");
    Update(0, kByName);
    EXPECT_TRUE(WaitUntil([&] { return Shows("...Severity: "); }, 15000)) << Output();
}

} // namespace
