// The shell as a user meets it: one copy, the data-file check, the tray.
#include "tests/e2e/cumulon_fixture.h"

namespace {

using Shell = CumulonTest;

TEST_F(Shell, OneCopyTheTrayReopensInPlaceAndItsMenuExitsKeepingAutoAlerts) {
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
    GetWindowRect(main_, &after);
    EXPECT_TRUE(after.left == before.left && after.top == before.top);
    // A second click while it is open only brings it to the front.
    PostMessageA(HiddenWindow(), WM_TRAY_CALLBACK, 0, WM_LBUTTONUP);
    Sleep(500);
    EXPECT_TRUE(IsWindow(main_));
    EXPECT_EQ(TopWindows(program_.info.dwProcessId, "#32770", "Cumulon").size(), 1u);

    EXPECT_FALSE(TrayMenu(kTrayAutoAlerts));
    EXPECT_TRUE(TrayMenu(kTrayExit));
    ASSERT_TRUE(EndsWithZero());
    EXPECT_EQ(Setting("AlertFlags"), 0x237u | 0x400u);
    ASSERT_NE(Start(), nullptr);
    EXPECT_TRUE(TrayMenu(kTrayNone));
}

TEST_F(Shell, MissingDataFilesReportOnlyTheFirstAndQuit) {
    ASSERT_TRUE(PrepareProgramFolder(folder_, {"radar.trv", "zipcodes.dat"}));
    Start(0);
    HWND box = Dialog("Missing File", 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(TopWindows(program_.info.dwProcessId, "#32770", "Missing File").size(), 1u);
    EXPECT_EQ(StaticTexts(box).back(), "radar.trv");
    // The main window opened at start too; a click on it, whenever it came,
    // does not bring it over the box, which then takes the click on OK.
    ASSERT_NE(main_ = MainWindow(), nullptr);
    ClickAt(main_, 40, 12);
    Sleep(500);
    SaveScreenshot(nullptr, "missing-file");
    ClickControl(box, IDOK);
    EXPECT_TRUE(EndsWithZero());
}

// The saved lists are the user's only copy of their places: a start and a
// close give back the file with all seven sections as it was.
TEST_F(Shell, AFirstRunShowsTheEightPagesWritesTheSettingsAtExitAndKeepsEverySavedList) {
    const std::string seeded = Separated("Cumulon 3.0.7.143\r\n\r\n"
                                         "[ALERTS]\r\n1»ILZ014»Cook County\r\n0»INZ001»Lake\r\n\r\n"
                                         "[POINTFORECAST]\r\nHome»38.25»-85.76\r\n\r\n"
                                         "[HOURLYPOINTFORECAST]\r\nCabin»45.1»-93.2\r\n\r\n"
                                         "[RADAR]\r\nKLOT»KLOT Chicago\r\n\r\n"
                                         "[OBSERVATIONS]\r\nKORD»KORD O'Hare\r\n\r\n"
                                         "[METAR]\r\nKMDW»KMDW Midway\r\n\r\n"
                                         "[RIVERGAUGES]\r\nLOUK2»Ohio River at Louisville\r\n\r\n");
    ASSERT_TRUE(SeedListFile(seeded));
    const std::string queue = folder_ + "\\ticker.$$$", cache = UserDataFolder() + "\\cache";
    ASSERT_TRUE(WriteTextFile(queue, ""));
    ASSERT_NE(Start(), nullptr);
    HWND tab = GetDlgItem(main_, IDC_TAB);
    EXPECT_EQ(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 8);
    EXPECT_EQ(TabCtrl_GetCurSel(tab), 0);
    EXPECT_TRUE(WaitUntil(
        [&] {
            DWORD attributes = GetFileAttributesA(cache.c_str());
            return !FileExists(queue) && attributes != INVALID_FILE_ATTRIBUTES &&
                   (attributes & FILE_ATTRIBUTE_DIRECTORY);
        },
        10000));
    EXPECT_EQ(Setting("SettingsFlags"), kMissing);
    Snapshot(main_, "main-window");

    ASSERT_TRUE(CloseMainWindow());
    std::vector<BYTE> selected;
    EXPECT_EQ(Setting("SettingsFlags"), 3u);
    EXPECT_EQ(Setting("CurTab"), 0u);
    EXPECT_TRUE(ReadSetting("Selected", &selected));
    EXPECT_EQ(selected, std::vector<BYTE>(28, 0xFF));
    EXPECT_EQ(ReadTextFile(UserDataFolder() + "\\list.dat"), seeded);
}

} // namespace
