// The alerts page and the alert path end to end against the sample weather
// service: the auto-alert marks and their limit, Auto Alerts switched from the
// page with the tray item following, a check's queue and command line seen by
// a ticker stand-in, Test Ticker's queue and the real Ticker.exe it starts.
#include "tests/e2e/alert_path_fixture.h"

#include "pages/alerts/alert_queue.h"

#include <commctrl.h>

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

constexpr int kList = 5013, kStatus = 5009, kOutput = 5008, kTestTicker = 5111, kBackColour = 5110,
              kSample = 5101, kWarning = 5112, kSevereLoop = 5129, kShortMessage = 5124,
              kDown = 5015;
constexpr int kColourRed = 706, kColourGreen = 707, kColourBlue = 708; // of the colour dialog
constexpr int kTickerExit = 7202, kTickerCounter = 7203, kTickerLocation = 7205;

class Alerts : public AlertPath {
  protected:
    HWND List() const { return GetDlgItem(page_, kList); }
    std::string Marks() const {
        std::string marks;
        for (int row = 0; row < ListItemCount(List()); ++row)
            marks += ListItemChecked(List(), row) ? '1' : '0';
        return marks;
    }
    // Scrolls to a row and clicks it: on its check box or on its name. A
    // click where the last one went after scrolling would be a double click.
    void ClickRow(int row, bool onName) {
        LRESULT top = SendMessageA(List(), LVM_GETTOPINDEX, 0, 0);
        SendMessageA(List(), LVM_ENSUREVISIBLE, row, FALSE);
        if (SendMessageA(List(), LVM_GETTOPINDEX, 0, 0) != top)
            Sleep(GetDoubleClickTime() + 100);
        ASSERT_TRUE(ClickListRow(List(), row, onName ? 200 : 8));
        if (onName) {
            ASSERT_TRUE(WaitUntil([&] { return ListItemSelected(List(), row); }, 5000));
        }
    }
    void ToggleMark(int row) {
        bool before = ListItemChecked(List(), row);
        ClickRow(row, false);
        ASSERT_TRUE(WaitUntil([&] { return ListItemChecked(List(), row) != before; }, 5000));
    }
    std::string Text(int id) const { return WindowText(GetDlgItem(page_, id)); }
    std::string Cached(const std::string& code) const {
        return ReadTextFile(UserDataFolder() + "\\cache\\alerts_" + code + ".xml");
    }
    // A visible dialog of the real ticker: the bar is 30 pixels high, the toolbar 18.
    HWND TickerWindow(int height) const {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w && !found;
                     w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
                    RECT rect;
                    GetWindowRect(w, &rect);
                    if (IsWindowVisible(w) && rect.bottom - rect.top == height && w != main_)
                        found = w;
                }
                return found != nullptr;
            },
            10000);
        return found;
    }
};

TEST_F(Alerts, TenMarksAtMostWithANoticeAndTheMarksSurviveARestart) {
    std::vector<std::string> zones;
    for (int i = 10; i <= 20; ++i)
        zones.push_back("0»KYZ0" + std::to_string(i) + "»Zone " + std::to_string(i));
    ASSERT_TRUE(SeedListFile(AlertList(zones)));
    StartOnAlertsPage();
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 11; }, 5000));
    for (int row = 0; row < 10; ++row)
        ToggleMark(row);
    ClickRow(10, false);
    HWND notice = Dialog("Notice");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(StaticTexts(notice).back(), "Auto Alert Maximum Reached");
    EXPECT_EQ(Marks(), "11111111110");
    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(notice); }, 5000));

    ToggleMark(3);
    ToggleMark(10);
    // Moving a marked row past the ends copies its mark before the old row
    // goes: no notice for a move.
    ClickRow(10, true);
    ASSERT_TRUE(ClickControl(page_, kDown));
    ASSERT_TRUE(WaitUntil([&] { return ListItemText(List(), 0, 0) == "KYZ020"; }, 5000));
    EXPECT_EQ(Dialog("Notice", 1000), nullptr);
    // The marks reach the saved lists a few seconds later, while Cumulon runs.
    EXPECT_TRUE(WaitUntil(
        [&] {
            return ReadTextFile(UserDataFolder() + "\\list.dat").find(Separated("1»KYZ020»")) !=
                   std::string::npos;
        },
        10000));
    ASSERT_TRUE(CloseMainWindow(main_));
    StartOnAlertsPage();
    ASSERT_TRUE(WaitUntil([&] { return Marks() == "11110111111"; }, 5000)) << Marks();
}

// Marked zones in list order with their names; the unmarked zone and a code
// too short for an address are never downloaded; the hostile feed's
// separators cannot shift a record's fields; the page redisplays its row.
TEST_F(Alerts, AutoAlertsSwitchedOnFromThePageShowTheMarkedZonesAlertsWithTheTicker) {
    UseTickerStandIn();
    ASSERT_TRUE(SeedListFile(
        AlertList({"1»KYZ030»KYZ030 Jefferson County", "0»ILZ103»ILZ103", "1»KY»Too Short",
                   "1»TXZ103»TXZ103 Denton County", "1»XXZ999»Hostile Feed"})));
    StartOnAlertsPage();
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 5; }, 5000));
    ClickRow(0, true);
    ASSERT_TRUE(WaitUntil([&] { return Text(kOutput) == "no data"; }, 5000));
    EXPECT_FALSE(TrayMenu(false));
    ASSERT_TRUE(ClickControl(page_, kGetAutoAlerts));
    const DWORD switchedOn = GetTickCount();
    ASSERT_TRUE(WaitUntil([&] { return RunStarted(1); }, 20000));
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
    EXPECT_EQ(expected.rfind(Separated("0»sounds\\severe.wav»KYZ030 Jefferson County»..."), 0), 0u);
    EXPECT_NE(expected.find(Separated("0»sounds\\severe.wav»Hostile Feed»FIRST LINE SECOND LINE"
                                      "   EFFECTED AREA... NORTH SOUTH; EAST\r\n")),
              std::string::npos);
    EXPECT_EQ(Cached("ILZ103"), "");
    EXPECT_TRUE(WaitUntil([&] { return RunEnded(1) && !Exists(folder_ + "\\ticker.$$$"); }, 5000));
    EXPECT_TRUE(WaitUntil(
        [&] { return Text(kOutput).find("...Severity: Severe\r\n") != std::string::npos; }, 5000))
        << Text(kOutput);
    EXPECT_NE(Text(kStatus), "");
    Sleep(300);
    SaveScreenshot(main_, "alerts-page");

    EXPECT_TRUE(TrayMenu(true)); // checked; the click switches it off
    EXPECT_TRUE(WaitUntil(
        [&] { return !SendDlgItemMessageA(page_, kGetAutoAlerts, BM_GETCHECK, 0, 0); }, 5000));
    ASSERT_TRUE(CloseMainWindow(main_));
    DWORD flags = 0;
    ASSERT_TRUE(ReadSettingDword("AlertFlags", &flags));
    EXPECT_EQ(flags, 0x237u);
}

// The choices on the page reach the next run: the queue follows the alarm and
// message choices, the command line the colour chosen in the colour dialog,
// which the sample shows at once. Once that ticker has ended, Test Ticker
// starts the real one, which shows the queue in those colours.
TEST_F(Alerts, TestTickerFollowsThePagesChoicesAndShowsThemWithTheRealTicker) {
    UseTickerStandIn();
    StartOnAlertsPage();
    for (int id : {kWarning, kSevereLoop, kShortMessage, kBackColour})
        ASSERT_TRUE(ClickControl(page_, id));
    HWND dialog = Dialog("Color");
    ASSERT_NE(dialog, nullptr);
    for (auto [id, value] : {std::pair{kColourRed, "0"}, {kColourGreen, "96"}, {kColourBlue, "0"}})
        SetText(GetDlgItem(dialog, id), value);
    ASSERT_TRUE(ClickControl(dialog, IDOK));
    RECT sample;
    GetWindowRect(GetDlgItem(page_, kSample), &sample);
    const std::vector<COLORREF> green{RGB(0, 96, 0)};
    EXPECT_TRUE(WaitUntil(
        [&] {
            return ScreenPixels(
                       {sample.left + 2, sample.top + 2, sample.left + 3, sample.top + 3}) == green;
        },
        5000));
    ASSERT_TRUE(ClickControl(page_, kTestTicker));
    ASSERT_TRUE(WaitUntil([&] { return RunEnded(1); }, 10000));
    EXPECT_EQ(RunRecord(1, false), "Ticker.exe -ftest.que -txFFFFFF -bk6000 -tb -tt");
    const std::string queue = Separated("0»sounds\\beepbeep.wav»Location 1»TEST MESSAGE 1\r\n"
                                        "»»Location 2»TEST MESSAGE 2\r\n"
                                        "1»sounds\\severe.wav»Location 3»TEST MESSAGE 3\r\n");
    EXPECT_EQ(RunRecord(1, true), queue);

    ASSERT_TRUE(CopyFileA((BuiltProgramsFolder() + "\\Ticker.exe").c_str(),
                          (folder_ + "\\Ticker.exe").c_str(), FALSE));
    Sleep(GetDoubleClickTime() + 100);
    ASSERT_TRUE(ClickControl(page_, kTestTicker));
    HWND bar = TickerWindow(30), toolbar = TickerWindow(18);
    ASSERT_TRUE(bar && toolbar);
    EXPECT_TRUE(
        WaitUntil([&] { return WindowText(GetDlgItem(toolbar, kTickerCounter)) == "1/3"; }, 5000));
    EXPECT_EQ(WindowText(GetDlgItem(toolbar, kTickerLocation)), "Location 1");
    EXPECT_EQ(ReadTextFile(folder_ + "\\test.que"), queue);
    RECT rect;
    GetWindowRect(bar, &rect);
    EXPECT_TRUE(WaitUntil( // white text scrolls in on green
        [&] {
            std::vector<COLORREF> pixels = ScreenPixels(rect);
            return !pixels.empty() && pixels.front() == green[0] &&
                   std::count(pixels.begin(), pixels.end(), RGB(255, 255, 255)) > 20;
        },
        10000));
    Sleep(2500); // the first message well inside the bar
    SaveScreenshot(nullptr, "ticker-scrolling");
    ASSERT_TRUE(ClickControl(toolbar, kTickerExit));
    EXPECT_TRUE(
        WaitUntil([&] { return !IsWindow(bar) && !Exists(folder_ + "\\test.que"); }, 10000));

    ASSERT_TRUE(CloseMainWindow(main_));
    DWORD flags = 0, background = 0;
    ASSERT_TRUE(ReadSettingDword("AlertFlags", &flags) &&
                ReadSettingDword("AlertBackColor", &background));
    EXPECT_EQ(flags, 0x32Eu);
    EXPECT_EQ(background, 0x6000u);
}

} // namespace
