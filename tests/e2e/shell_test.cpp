// The shell as a user meets it: one copy per desktop, the data-file check,
// the start-up clean-up, the tabbed main window, the settings written at the
// end, closing to the tray, the tray menu's Exit, and the saved lists kept.
#include "tests/e2e/cumulon_fixture.h"

namespace {

using Shell = CumulonTest;

// A second copy ends at once with 0 and the first runs on; minimised, the
// main window closes to the tray, and the tray click reopens it in place.
TEST_F(Shell, OneCopyAtATimeAndTheTrayClickReopensTheWindowInPlace) {
    ASSERT_NE(Start(), nullptr);
    RunningProgram second = StartProgram(Exe());
    DWORD code = 1234;
    ASSERT_TRUE(second.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(TopWindows(second.info.dwProcessId, nullptr, nullptr).empty());
    second.Kill();
    EXPECT_TRUE(program_.Running() && IsWindowVisible(main_));

    RECT before, after;
    GetWindowRect(main_, &before);
    ReopenFromTray();
    EXPECT_TRUE(program_.Running());
    GetWindowRect(main_, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(TabCaptions(GetDlgItem(main_, IDC_TAB)).size(), 8u);

    // A second click while it is open only brings it to the front.
    PostMessageA(HiddenWindow(), WM_TRAY_CALLBACK, 0, WM_LBUTTONUP);
    Sleep(500);
    EXPECT_TRUE(IsWindow(main_));
    EXPECT_EQ(TopWindows(program_.info.dwProcessId, "#32770", "Cumulon").size(), 1u);
}

TEST_F(Shell, MissingDataFilesReportOnlyTheFirstAndQuit) {
    ASSERT_TRUE(PrepareProgramFolder(folder_, {"radar.trv", "zipcodes.dat"}));
    Start(0);
    HWND box = Dialog("Missing File", 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(TopWindows(program_.info.dwProcessId, "#32770", "Missing File").size(), 1u);
    EXPECT_EQ(StaticTexts(box).back(), "radar.trv");
    ClickControl(box, IDOK); // on top of the main window, in the mouse's reach
    EXPECT_TRUE(EndsWithZero());
}

// The settings table is tested on its own (win32 tests); here the real
// program's first exit creates the key.
TEST_F(Shell, AFirstRunClearsAStaleQueueShowsTheEightPagesAndWritesTheSettingsAtExit) {
    const std::string queue = folder_ + "\\ticker.$$$", cache = UserDataFolder() + "\\cache";
    ASSERT_TRUE(WriteTextFile(queue, ""));
    ASSERT_NE(Start(), nullptr);
    HWND tab = GetDlgItem(main_, IDC_TAB);
    EXPECT_EQ(TabCaptions(tab), (std::vector<std::string>{"Point Forecast", "Hourly Point Forecast",
                                                          "Current Observations", "Alerts", "Radar",
                                                          "Satellite", "Metar", "River Gauges"}));
    EXPECT_EQ(TabSelection(tab), 0);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return !FileExists(queue) &&
                   (GetFileAttributesA(cache.c_str()) & FILE_ATTRIBUTE_DIRECTORY) &&
                   FileExists(cache);
        },
        10000));
    DWORD flags = 0, current = 9;
    EXPECT_FALSE(ReadSettingDword("SettingsFlags", &flags));
    Sleep(500); // let the window finish painting
    EXPECT_TRUE(SaveScreenshot(main_, "main-window"));

    ASSERT_TRUE(CloseMainWindow());
    std::vector<BYTE> selected;
    EXPECT_TRUE(ReadSettingDword("SettingsFlags", &flags) && ReadSettingDword("CurTab", &current) &&
                ReadSettingBinary("Selected", &selected));
    EXPECT_EQ(flags, 3u);
    EXPECT_EQ(current, 0u);
    EXPECT_EQ(selected, std::vector<BYTE>(28, 0xFF));
}

// The saved lists are the user's only copy of their places: whatever pages
// exist, a start and a close give back the file as it was.
TEST_F(Shell, EverySeededListSurvivesAStartAndAClose) {
    const std::string seeded = Separated("Cumulon 3.0.7.143\r\n\r\n"
                                         "[ALERTS]\r\n1»ILZ014»Cook County\r\n0»INZ001»Lake\r\n\r\n"
                                         "[POINTFORECAST]\r\nHome»38.25»-85.76\r\n\r\n"
                                         "[HOURLYPOINTFORECAST]\r\nCabin»45.1»-93.2\r\n\r\n"
                                         "[RADAR]\r\nKLOT»KLOT Chicago\r\n\r\n"
                                         "[OBSERVATIONS]\r\nKORD»KORD O'Hare\r\n\r\n"
                                         "[METAR]\r\nKMDW»KMDW Midway\r\n\r\n"
                                         "[RIVERGAUGES]\r\nLOUK2»Ohio River at Louisville\r\n\r\n");
    ASSERT_TRUE(SeedListFile(seeded));
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(ReadTextFile(UserDataFolder() + "\\list.dat"), seeded);
}

// The tray menu's items clicked with the mouse: Auto Alerts switched on and
// Exit; the next start finds Auto Alerts on from the saved flag.
TEST_F(Shell, TrayExitEndsTheProgramAndAutoAlertsStayOnThroughARestart) {
    ASSERT_NE(Start(), nullptr);
    EXPECT_FALSE(TrayMenu(kTrayAutoAlerts));
    EXPECT_TRUE(TrayMenu(kTrayExit));
    ASSERT_TRUE(EndsWithZero());
    DWORD flags = 0;
    ASSERT_TRUE(ReadSettingDword("AlertFlags", &flags));
    EXPECT_EQ(flags, 0x237u | 0x400u);

    ASSERT_NE(Start(), nullptr);
    EXPECT_TRUE(TrayMenu(kTrayAutoAlerts)); // on at start; the click switches it off
    ASSERT_TRUE(CloseMainWindow());
    ASSERT_TRUE(ReadSettingDword("AlertFlags", &flags));
    EXPECT_EQ(flags, 0x237u);
}

} // namespace
