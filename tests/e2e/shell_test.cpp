// The shell as a user meets it: one copy per desktop, the data-file check,
// the per-user folders, the tabbed main window, closing to the tray and ending.
#include "tests/e2e/cumulon_fixture.h"

#include <gtest/gtest.h>

namespace {

using Shell = CumulonTest;

TEST_F(Shell, SecondCopyEndsAtOnceWithZeroAndTheFirstRunsOn) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    RunningProgram second = StartProgram(Exe());
    DWORD code = 1234;
    ASSERT_TRUE(second.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(TopWindows(second.info.dwProcessId, nullptr, nullptr).empty());
    second.Kill();
    EXPECT_TRUE(program_.Running());
    EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(Shell, MissingDataFilesReportOnlyTheFirstAndQuit) {
    ASSERT_TRUE(PrepareProgramFolder(folder_, {"radar.trv", "zipcodes.dat"}));
    program_ = StartProgram(Exe());
    HWND box = WaitForTopWindow(program_.info.dwProcessId, "#32770", "Missing File", 20000);
    ASSERT_NE(box, nullptr);
    std::vector<std::string> texts = StaticTexts(box);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "radar.trv");
    EXPECT_EQ(TopWindows(program_.info.dwProcessId, "#32770", "Missing File").size(), 1u);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 1234;
    ASSERT_TRUE(program_.WaitForExit(20000, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(Shell, StartUpDeletesAStaleTickerQueueAndMakesTheUserFolders) {
    std::string queue = folder_ + "\\ticker.$$$";
    HANDLE file = CreateFileA(queue.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    ASSERT_NE(Start(), nullptr);
    EXPECT_TRUE(WaitUntil(
        [&] { return GetFileAttributesA(queue.c_str()) == INVALID_FILE_ATTRIBUTES; }, 10000));
    std::string cache = UserDataFolder() + "\\cache";
    EXPECT_TRUE(WaitUntil(
        [&] {
            DWORD attributes = GetFileAttributesA(cache.c_str());
            return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        },
        10000));
}

TEST_F(Shell, MainWindowHostsTheEightPagesInOrder) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND tab = GetDlgItem(main, kTabControl);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(TabCaptions(tab), (std::vector<std::string>{"Point Forecast", "Hourly Point Forecast",
                                                          "Current Observations", "Alerts", "Radar",
                                                          "Satellite", "Metar", "River Gauges"}));
    EXPECT_EQ(TabSelection(tab), 0);
    Sleep(500); // let the window finish painting
    EXPECT_TRUE(SaveScreenshot(main, "main-window"));
}

TEST_F(Shell, MinimisingClosesToTheTrayAndTheTrayClickReopensInPlace) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    RECT before;
    GetWindowRect(main, &before);
    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(main); }, 10000));
    Sleep(300);
    EXPECT_TRUE(program_.Running());
    EXPECT_EQ(MainWindow(500), nullptr);

    HWND hidden = HiddenWindow();
    ASSERT_NE(hidden, nullptr);
    PostMessageA(hidden, kTrayCallback, 0, WM_LBUTTONUP);
    HWND reopened = MainWindow();
    ASSERT_NE(reopened, nullptr);
    RECT after;
    GetWindowRect(reopened, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(TabCaptions(GetDlgItem(reopened, kTabControl)).size(), 8u);

    // A second click while it is open only brings it to the front.
    PostMessageA(hidden, kTrayCallback, 0, WM_LBUTTONUP);
    Sleep(500);
    EXPECT_TRUE(IsWindow(reopened));
    EXPECT_EQ(TopWindows(program_.info.dwProcessId, "#32770", "Cumulon").size(), 1u);
}

TEST_F(Shell, TheCloseBoxEndsTheProgramWithZeroAndSavesTheSettings) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(SettingsKeyExists() && [] {
        DWORD flags;
        return ReadSettingDword("SettingsFlags", &flags);
    }());
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 1234;
    ASSERT_TRUE(program_.WaitForExit(20000, &code));
    EXPECT_EQ(code, 0u);
    DWORD flags = 0, tab = 99;
    EXPECT_TRUE(ReadSettingDword("SettingsFlags", &flags));
    EXPECT_EQ(flags, 3u);
    EXPECT_TRUE(ReadSettingDword("CurTab", &tab));
    EXPECT_EQ(tab, 0u);
}

// The saved lists are the user's only copy of their places: whatever pages
// exist, a start and a close give back the file as it was.
TEST_F(Shell, EverySeededListSurvivesAStartAndAClose) {
    const std::string list = UserDataFolder() + "\\list.dat";
    const std::string seeded = "Cumulon 3.0.7.143\r\n\r\n"
                               "[ALERTS]\r\n1\xBBILZ014\xBB"
                               "Cook County\r\n0\xBBINZ001\xBBLake\r\n\r\n"
                               "[POINTFORECAST]\r\nHome\xBB"
                               "38.25\xBB-85.76\r\n\r\n"
                               "[HOURLYPOINTFORECAST]\r\nCabin\xBB"
                               "45.1\xBB-93.2\r\n\r\n"
                               "[RADAR]\r\nKLOT\xBBKLOT Chicago\r\n\r\n"
                               "[OBSERVATIONS]\r\nKORD\xBBKORD O'Hare\r\n\r\n"
                               "[METAR]\r\nKMDW\xBBKMDW Midway\r\n\r\n"
                               "[RIVERGAUGES]\r\nLOUK2\xBBOhio River at Louisville\r\n\r\n";
    ASSERT_TRUE(SeedListFile(seeded));
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(CloseMainWindow(main));
    EXPECT_EQ(ReadTextFile(list), seeded);
}

} // namespace

namespace {

TEST_F(Shell, TrayExitEndsTheProgramAndAutoAlertsSurviveInTheAlertFlags) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND hidden = HiddenWindow();
    ASSERT_NE(hidden, nullptr);
    constexpr WPARAM kAutoAlerts = 5102, kExit = 5003;
    PostMessageA(hidden, WM_COMMAND, kAutoAlerts, 0);
    PostMessageA(hidden, WM_COMMAND, kExit, 0);
    DWORD code = 1234;
    ASSERT_TRUE(program_.WaitForExit(20000, &code));
    EXPECT_EQ(code, 0u);
    DWORD flags = 0;
    ASSERT_TRUE(ReadSettingDword("AlertFlags", &flags));
    EXPECT_EQ(flags, 0x237u | 0x400u);

    // Switched on at start from the saved flag; the tray item turns it off.
    main = Start();
    ASSERT_NE(main, nullptr);
    PostMessageA(HiddenWindow(), WM_COMMAND, kAutoAlerts, 0);
    ASSERT_TRUE(CloseMainWindow(main));
    ASSERT_TRUE(ReadSettingDword("AlertFlags", &flags));
    EXPECT_EQ(flags, 0x237u);
}

} // namespace
