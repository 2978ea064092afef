// The alerts page and the alert path end to end against the sample weather
// service: the auto-alert marks and their limit, Auto Alerts switched from the
// page with the tray item following, a check's queue and command line seen by
// a ticker stand-in, Test Ticker's queue, and the real Ticker.exe.
#include "tests/e2e/alert_path_fixture.h"

#include "pages/alerts/alert_queue.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr int kAlertsTab = 3, kList = 5013, kStatus = 5009, kOutput = 5008;
constexpr int kGetAutoAlerts = 5132, kTestTicker = 5111, kBackColour = 5110, kSample = 5101;
constexpr int kWarning = 5112, kSevereLoop = 5129, kShortMessage = 5124, kAlertMap = 5131;
constexpr int kColourRed = 706, kColourGreen = 707, kColourBlue = 708; // the colour dialog's
constexpr int kTickerSkip = 7201, kTickerExit = 7202, kTickerCounter = 7203, kTickerLocation = 7205;

class Alerts : public AlertPath {
  protected:
    HWND main_ = nullptr;
    HWND page_ = nullptr;

    void StartOnAlertsPage() {
        main_ = Start();
        ASSERT_NE(main_, nullptr);
        ASSERT_TRUE(ClickTab(GetDlgItem(main_, kTabControl), kAlertsTab));
        ASSERT_TRUE(WaitUntil(
            [&] {
                page_ = VisiblePage(main_);
                return page_ && GetDlgItem(page_, kGetAutoAlerts);
            },
            5000));
    }
    HWND List() const { return GetDlgItem(page_, kList); }
    bool Checked(int id) const {
        return SendMessageA(GetDlgItem(page_, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    std::string Marks() const {
        std::string marks;
        for (int row = 0; row < ListItemCount(List()); ++row)
            marks += ListItemChecked(List(), row) ? '1' : '0';
        return marks;
    }
    // Scrolls a row into view as a user does; a click where the last one
    // went is no double click.
    void ScrollTo(int row) {
        LRESULT top = SendMessageA(List(), LVM_GETTOPINDEX, 0, 0);
        SendMessageA(List(), LVM_ENSUREVISIBLE, row, FALSE);
        if (SendMessageA(List(), LVM_GETTOPINDEX, 0, 0) != top)
            Sleep(GetDoubleClickTime() + 100);
    }
    // A click on a row's check box, at the left end of the row.
    void ToggleMark(int row) {
        bool before = ListItemChecked(List(), row);
        ScrollTo(row);
        ASSERT_TRUE(ClickListRow(List(), row));
        ASSERT_TRUE(WaitUntil([&] { return ListItemChecked(List(), row) != before; }, 5000));
    }
    // A click on a row's name selects it.
    void SelectRow(int row) {
        ScrollTo(row);
        RECT rect{LVIR_BOUNDS, 0, 0, 0};
        DWORD pid = 0;
        GetWindowThreadProcessId(List(), &pid);
        HANDLE process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        void* remote = VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
        bool read = remote && WriteProcessMemory(process, remote, &rect, sizeof rect, nullptr) &&
                    SendMessageA(List(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote)) &&
                    ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        CloseHandle(process);
        ASSERT_TRUE(read);
        ASSERT_TRUE(ClickAt(List(), 200, (rect.top + rect.bottom) / 2));
        ASSERT_TRUE(WaitUntil([&] { return ListItemSelected(List(), row); }, 5000));
    }
    // A visible dialog of the real ticker (not Cumulon's): the bar is 30
    // pixels high, the toolbar 18.
    HWND TickerWindow(int height) const {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w && !found;
                     w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
                    DWORD pid = 0;
                    GetWindowThreadProcessId(w, &pid);
                    RECT rect;
                    GetWindowRect(w, &rect);
                    if (pid != program_.info.dwProcessId && IsWindowVisible(w) &&
                        rect.bottom - rect.top == height)
                        found = w;
                }
                return found != nullptr;
            },
            10000);
        return found;
    }
    std::string CacheFile(const std::string& code) const {
        return UserDataFolder() + "\\cache\\alerts_" + code + ".xml";
    }
};

TEST_F(Alerts, TenMarksAtMostWithANoticeAndTheMarksSurviveARestart) {
    std::vector<std::string> zones;
    for (int i = 0; i < 11; ++i)
        zones.push_back("0»KYZ0" + std::to_string(10 + i) + "»Zone " + std::to_string(i));
    ASSERT_TRUE(SeedListFile(AlertList(zones)));
    StartOnAlertsPage();
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 11; }, 5000));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page_, kAlertMap)));
    for (int row = 0; row < 10; ++row)
        ToggleMark(row);
    ScrollTo(10);
    ASSERT_TRUE(ClickListRow(List(), 10));
    HWND notice = Dialog("Notice");
    ASSERT_NE(notice, nullptr);
    std::vector<std::string> texts = StaticTexts(notice);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Auto Alert Maximum Reached"), texts.end());
    EXPECT_EQ(Marks(), "11111111110");
    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(notice); }, 5000));

    ToggleMark(3);
    ToggleMark(10);
    EXPECT_EQ(Marks(), "11101111111");
    EXPECT_EQ(Dialog("Notice", 1000), nullptr);
    // The marks reach the saved lists a few seconds later, while Cumulon runs.
    const std::string list = UserDataFolder() + "\\list.dat";
    EXPECT_TRUE(WaitUntil(
        [&] { return ReadTextFile(list).find(Separated("1»KYZ020»Zone 10")) != std::string::npos; },
        10000));

    ASSERT_TRUE(CloseMainWindow(main_));
    StartOnAlertsPage();
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 11; }, 5000));
    EXPECT_EQ(Marks(), "11101111111");
}

// Marked zones in list order, each with its name; the unmarked zone and the
// code too short for an address are never downloaded.
TEST_F(Alerts, AutoAlertsSwitchedOnFromThePageShowTheMarkedZonesAlertsWithTheTicker) {
    UseTickerStandIn();
    ASSERT_TRUE(SeedListFile(
        AlertList({"1»KYZ030»KYZ030 Jefferson County", "0»ILZ103»ILZ103 Northern Cook County",
                   "1»KY»Too Short", "1»TXZ103»TXZ103 Denton County", "1»XXZ999»Hostile Feed"})));
    StartOnAlertsPage();
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 5; }, 5000));
    EXPECT_FALSE(TrayItemChecked());
    ASSERT_TRUE(ClickControl(page_, kGetAutoAlerts));
    const DWORD switchedOn = GetTickCount();
    ASSERT_TRUE(WaitUntil([&] { return RunStarted(1); }, 20000));
    const DWORD firstCheck = GetTickCount() - switchedOn;
    EXPECT_GE(firstCheck, 4500u);
    EXPECT_LE(firstCheck, 9000u);

    EXPECT_EQ(RunCommandLine(1), "Ticker.exe -fticker.$$$ -txFFFFFF -bk80 -tb -tt");
    AlertSettingsSnapshot defaults;
    defaults.Flags = 0x237 | 0x400;
    defaults.WarningSound = "sounds\\alarm.wav";
    defaults.SevereSound = "sounds\\severe.wav";
    defaults.NotifySound = "sounds\\beepbeep.wav";
    std::string expected;
    EXPECT_EQ(AppendAlertRecords(ReadTextFile(CacheFile("KYZ030")), "KYZ030 Jefferson County",
                                 defaults, &expected),
              2);
    EXPECT_EQ(AppendAlertRecords(ReadTextFile(CacheFile("TXZ103")), "TXZ103 Denton County",
                                 defaults, &expected),
              2);
    // The hostile feed's separators cannot shift a record's fields.
    EXPECT_EQ(
        AppendAlertRecords(ReadTextFile(CacheFile("XXZ999")), "Hostile Feed", defaults, &expected),
        3);
    std::string queue = RunQueue(1);
    EXPECT_EQ(queue, expected);
    EXPECT_NE(queue.find(Separated("0»sounds\\severe.wav»Hostile Feed»FIRST LINE SECOND LINE   "
                                   "EFFECTED AREA... NORTH SOUTH; EAST\r\n")),
              std::string::npos);
    EXPECT_EQ(queue.rfind(Separated("0»sounds\\severe.wav»KYZ030 Jefferson County»..."), 0), 0u)
        << queue;
    EXPECT_EQ(ReadTextFile(CacheFile("ILZ103")), "");
    EXPECT_TRUE(WaitUntil([&] { return RunEnded(1); }, 5000));
    EXPECT_FALSE(GetFileAttributesA((folder_ + "\\ticker.$$$").c_str()) != INVALID_FILE_ATTRIBUTES);

    // The page shows what the check downloaded; the tray item follows the
    // page, and the page follows the tray item.
    SelectRow(0);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return WindowText(GetDlgItem(page_, kOutput)).find("\r\n...Severity: Severe\r\n") !=
                   std::string::npos;
        },
        5000));
    EXPECT_NE(WindowText(GetDlgItem(page_, kStatus)), "");
    Sleep(300);
    SaveScreenshot(main_, "alerts-page");
    EXPECT_TRUE(TrayItemChecked());
    ClickTrayAutoAlerts();
    EXPECT_TRUE(WaitUntil([&] { return !Checked(kGetAutoAlerts); }, 5000));
    ASSERT_TRUE(CloseMainWindow(main_));
    DWORD flags = 0;
    ASSERT_TRUE(ReadSettingDword("AlertFlags", &flags));
    EXPECT_EQ(flags, 0x237u);
}

// The choices on the page reach the next run: the test queue follows the
// alarm classes and the message choice, the command line the colour chosen in
// the colour dialog, which the sample shows at once.
TEST_F(Alerts, TestTickerQueueAndCommandLineFollowThePagesChoices) {
    UseTickerStandIn();
    StartOnAlertsPage();
    for (int id : {kWarning, kSevereLoop, kShortMessage})
        ASSERT_TRUE(ClickControl(page_, id));
    ASSERT_TRUE(ClickControl(page_, kBackColour));
    HWND dialog = Dialog("Color");
    ASSERT_NE(dialog, nullptr);
    SetText(GetDlgItem(dialog, kColourRed), "0");
    SetText(GetDlgItem(dialog, kColourGreen), "96");
    SetText(GetDlgItem(dialog, kColourBlue), "0");
    ASSERT_TRUE(ClickControl(dialog, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    RECT sample;
    GetWindowRect(GetDlgItem(page_, kSample), &sample);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return ScreenPixels({sample.left + 2, sample.top + 2, sample.left + 3,
                                 sample.top + 3}) == std::vector<COLORREF>{RGB(0, 96, 0)};
        },
        5000));

    ASSERT_TRUE(ClickControl(page_, kTestTicker));
    ASSERT_TRUE(WaitUntil([&] { return RunEnded(1); }, 10000));
    EXPECT_EQ(RunCommandLine(1), "Ticker.exe -ftest.que -txFFFFFF -bk6000 -tb -tt");
    EXPECT_EQ(RunQueue(1), Separated("0»sounds\\beepbeep.wav»Location 1»TEST MESSAGE 1\r\n"
                                     "»»Location 2»TEST MESSAGE 2\r\n"
                                     "1»sounds\\severe.wav»Location 3»TEST MESSAGE 3\r\n"));
    ASSERT_TRUE(CloseMainWindow(main_));
    DWORD flags = 0, background = 0;
    ASSERT_TRUE(ReadSettingDword("AlertFlags", &flags));
    ASSERT_TRUE(ReadSettingDword("AlertBackColor", &background));
    EXPECT_EQ(flags, 0x32Eu);
    EXPECT_EQ(background, 0x6000u);
}

TEST_F(Alerts, TestTickerShowsItsQueueWithTheRealTickerAndIsFreeAgainWhenItEnds) {
    ASSERT_TRUE(CopyFileA((BuiltProgramsFolder() + "\\Ticker.exe").c_str(),
                          (folder_ + "\\Ticker.exe").c_str(), FALSE));
    StartOnAlertsPage();
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(ClickControl(page_, kTestTicker));
        HWND bar = TickerWindow(30), toolbar = TickerWindow(18);
        ASSERT_TRUE(bar && toolbar) << "round " << round;
        auto shows = [&](int id, const char* text) {
            return WaitUntil([&] { return WindowText(GetDlgItem(toolbar, id)) == text; }, 5000);
        };
        EXPECT_TRUE(shows(kTickerLocation, "Location 1"));
        EXPECT_TRUE(shows(kTickerCounter, "1/3"));
        if (round == 0) {
            EXPECT_EQ(ReadTextFile(folder_ + "\\test.que"),
                      Separated("0»sounds\\beepbeep.wav»Location 1»TEST MESSAGE 1\r\n"
                                "0»sounds\\alarm.wav»Location 2»TEST MESSAGE 2\r\n"
                                "0»sounds\\severe.wav»Location 3»TEST MESSAGE 3\r\n"));
            // White text scrolls on dark red, the colours of the command line.
            RECT rect;
            GetWindowRect(bar, &rect);
            EXPECT_TRUE(WaitUntil(
                [&] {
                    std::vector<COLORREF> pixels = ScreenPixels(rect);
                    return !pixels.empty() && pixels.front() == RGB(128, 0, 0) &&
                           std::count(pixels.begin(), pixels.end(), RGB(255, 255, 255)) > 20;
                },
                10000));
            Sleep(2500); // the first message well inside the bar
            SaveScreenshot(nullptr, "ticker-scrolling");
            ASSERT_TRUE(ClickControl(toolbar, kTickerSkip));
            EXPECT_TRUE(shows(kTickerLocation, "Location 2"));
            EXPECT_TRUE(shows(kTickerCounter, "2/3"));
        }
        ASSERT_TRUE(ClickControl(toolbar, kTickerExit));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(bar); }, 10000));
        EXPECT_TRUE(WaitUntil(
            [&] {
                return GetFileAttributesA((folder_ + "\\test.que").c_str()) ==
                       INVALID_FILE_ATTRIBUTES;
            },
            5000));
    }
}

} // namespace
