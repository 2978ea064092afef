// The alerts page and the alert path against the sample weather service; a
// ticker stand-in records each start of Ticker.exe.
#include "tests/e2e/cumulon_fixture.h"

#include "pages/alerts/alert_queue.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

constexpr int kColourRed = 706, kColourGreen = 707, kColourBlue = 708; // of the colour dialog

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
    std::string Cached(const std::string& code) const {
        return ReadTextFile(CachePath("alerts_" + code + ".xml"));
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
    ASSERT_TRUE(ClickListRow(List(), 10, 200));
    ASSERT_TRUE(WaitUntil([&] { return ListItemSelected(List(), 10); }, 5000));
    ASSERT_TRUE(ClickControl(page_, IDC_DOWN));
    ASSERT_TRUE(WaitUntil([&] { return ListItemText(List(), 0, 0) == "KYZ020"; }, 5000));
    EXPECT_EQ(Dialog("Notice", 1000), nullptr);
    // The marks reach the saved lists a few seconds later, while Cumulon runs.
    EXPECT_TRUE(WaitUntil(
        [&] {
            return ReadTextFile(UserDataFolder() + "\\list.dat").find(Separated("1»KYZ020»")) !=
                   std::string::npos;
        },
        10000));
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
    RECT sample;
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

} // namespace
