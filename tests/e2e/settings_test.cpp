// Settings as a user changes them: the first run's registry key, the Settings
// dialog's time format, start-up options and position, and the remembered tab.
#include "services/text_buffer.h"
#include "tests/e2e/cumulon_fixture.h"

#include <gtest/gtest.h>

namespace {

constexpr int kSample = 5009;
constexpr int kFormatField = 5098;
constexpr int kOpenMainAtStart = 5100;
constexpr int kStartWithWindows = 5103;

class Settings : public CumulonTest {
  protected:
    HWND OpenSettings(HWND main) {
        ClickControl(main, kSettingsButton);
        return Dialog("Settings");
    }

    static std::string Sample(HWND dialog) { return WindowText(GetDlgItem(dialog, kSample)); }

    static bool WaitForSample(HWND dialog, const std::string& expected) {
        return WaitUntil([&] { return Sample(dialog) == expected; }, 5000);
    }
};

TEST_F(Settings, FirstRunCreatesTheKeyAtExitWithEveryValue) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(SettingsKeyExists() && [] {
        DWORD flags;
        return ReadSettingDword("RadarFlags", &flags);
    }());
    ASSERT_TRUE(CloseMainWindow(main));

    struct DwordValue {
        const char* name;
        DWORD value;
    };
    for (const DwordValue& expected : {DwordValue{"SettingsFlags", 3},
                                       {"CurTab", 0},
                                       {"PointForecastFlags", 0},
                                       {"HourlyPointForecastFlags", 0x1FFC},
                                       {"ObservationsFlags", 0x15},
                                       {"RadarFlags", 0x105FF},
                                       {"SatelliteFlags", 0x28020},
                                       {"SatelliteWideFlags", 0x29},
                                       {"AlertFlags", 0x237},
                                       {"AlertTextColor", 0xFFFFFF},
                                       {"AlertBackColor", 0x000080},
                                       {"AlertMapFlags", 1},
                                       {"MetarFlags", 0x7FFFD5},
                                       {"RiverFlags", 0}}) {
        DWORD value = 0xDEAD;
        EXPECT_TRUE(ReadSettingDword(expected.name, &value)) << expected.name;
        EXPECT_EQ(value, expected.value) << expected.name;
    }
    struct StringValue {
        const char* name;
        const char* value;
    };
    for (const StringValue& expected :
         {StringValue{"TimeFormat", "%Dow; %Mon; %dd; %yyyy; - %hh;:%mm; %ampm;"},
          {"HourlyPointForecastTimeFormat", "%Dow; %dd;, %hh; %ampm;"},
          {"AlertWarningAlarm", "sounds\\alarm.wav"},
          {"AlertSevereAlarm", "sounds\\severe.wav"},
          {"AlertNotifyAlarm", "sounds\\beepbeep.wav"}}) {
        std::string value;
        EXPECT_TRUE(ReadSettingString(expected.name, &value)) << expected.name;
        EXPECT_EQ(value, expected.value) << expected.name;
    }
    std::vector<BYTE> selected, colors;
    ASSERT_TRUE(ReadSettingBinary("Selected", &selected));
    EXPECT_EQ(selected, std::vector<BYTE>(28, 0xFF));
    ASSERT_TRUE(ReadSettingBinary("CustomColors", &colors));
    EXPECT_EQ(colors, std::vector<BYTE>(64, 0));
}

TEST_F(Settings, TypedTimeFormatChangesTheSampleAtEachKeystrokeAndSurvivesARestart) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND dialog = OpenSettings(main);
    ASSERT_NE(dialog, nullptr);
    HWND field = GetDlgItem(dialog, kFormatField);
    EXPECT_EQ(WindowText(field), "%Dow; %Mon; %dd; %yyyy; - %hh;:%mm; %ampm;");
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    ASSERT_TRUE(WaitForSample(dialog, "")); // an empty format gives an empty sample

    SYSTEMTIME now;
    GetLocalTime(&now);
    char shortYear[8];
    FormatText(shortYear, sizeof shortYear, "Y%02u", static_cast<unsigned>(now.wYear % 100));
    const std::string yy = shortYear; // "Y" and the year's last two digits
    const std::pair<const char*, std::string> steps[] = {
        {"Y", "Y"}, {"%", "Y%"},     {"y", "Y%y"},     {"y", "Y%yy"},
        {";", yy},  {"%", yy + "%"}, {"x", yy + "%x"}, {";", yy}};
    for (const auto& [key, sample] : steps) {
        TypeText(field, key);
        EXPECT_TRUE(WaitForSample(dialog, sample))
            << "after typing " << key << " the sample is " << Sample(dialog);
    }
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(CloseMainWindow(main));

    main = Start();
    ASSERT_NE(main, nullptr);
    dialog = OpenSettings(main);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kFormatField)), "Y%yy;%x;");
    EXPECT_EQ(Sample(dialog), yy);
}

TEST_F(Settings, StartWithWindowsOnThenOffLeavesNoRunValue) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND dialog = OpenSettings(main);
    ASSERT_NE(dialog, nullptr);
    ClickControl(dialog, kStartWithWindows);
    std::string command;
    ASSERT_TRUE(WaitUntil([&] { return ReadRunValue(&command); }, 5000));
    std::string quoted = Exe();
    quoted.insert(quoted.begin(), '"');
    quoted.push_back('"');
    EXPECT_EQ(command, quoted); // quoted: the path may hold spaces
    ClickControl(dialog, kStartWithWindows);
    EXPECT_TRUE(WaitUntil([&] { return !ReadRunValue(&command); }, 5000));
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(CloseMainWindow(main));
    DWORD flags = 0;
    ASSERT_TRUE(ReadSettingDword("SettingsFlags", &flags));
    EXPECT_EQ(flags & 0x4, 0u);
}

TEST_F(Settings, AMovedSettingsDialogReopensThereEvenAfterTheProgramWasKilled) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND dialog = OpenSettings(main);
    ASSERT_NE(dialog, nullptr);
    SetWindowPos(dialog, nullptr, 137, 91, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(500);
    program_.Kill(); // ended without closing the dialog

    main = Start();
    ASSERT_NE(main, nullptr);
    dialog = OpenSettings(main);
    ASSERT_NE(dialog, nullptr);
    RECT rect;
    GetWindowRect(dialog, &rect);
    EXPECT_EQ(rect.left, 137);
    EXPECT_EQ(rect.top, 91);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kFormatField)),
              "%Dow; %Mon; %dd; %yyyy; - %hh;:%mm; %ampm;");
    EXPECT_FALSE(Sample(dialog).empty());
    Sleep(500); // let it paint
    SaveScreenshot(dialog, "settings-dialog");
}

TEST_F(Settings, WithoutOpenMainDialogTheNextStartShowsOnlyTheTrayIcon) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND dialog = OpenSettings(main);
    ASSERT_NE(dialog, nullptr);
    ClickControl(dialog, kOpenMainAtStart);
    Sleep(300);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(CloseMainWindow(main));

    EXPECT_EQ(Start(5000), nullptr);
    HWND hidden = HiddenWindow();
    ASSERT_NE(hidden, nullptr);
    PostMessageA(hidden, kTrayCallback, 0, WM_LBUTTONUP);
    EXPECT_NE(MainWindow(), nullptr);
}

TEST_F(Settings, TheSelectedTabSurvivesARestart) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND tab = GetDlgItem(main, kTabControl);
    ASSERT_TRUE(ClickTab(tab, 6));
    ASSERT_TRUE(WaitUntil([&] { return TabSelection(tab) == 6; }, 5000));
    ASSERT_TRUE(CloseMainWindow(main));
    DWORD stored = 0;
    ASSERT_TRUE(ReadSettingDword("CurTab", &stored));
    EXPECT_EQ(stored, 6u);

    main = Start();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(TabSelection(GetDlgItem(main, kTabControl)), 6);
}

} // namespace

namespace {

TEST_F(Settings, AboutDialogOpensFromTheMainWindowAndCloses) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    ClickControl(main, 5001);
    HWND about = Dialog("About");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(about, 5094)), "www.quillmoor.example");
    Sleep(500); // let it paint
    SaveScreenshot(about, "about-dialog");
    PostMessageA(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));
    EXPECT_TRUE(IsWindowVisible(main));
}

} // namespace

namespace {

int TooltipCount(DWORD processId) {
    return static_cast<int>(TopWindows(processId, "tooltips_class32", nullptr, false).size());
}

TEST_F(Settings, ToolbarTooltipsFollowTheSettingAndTheHoverHighlightWorksWithout) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    EXPECT_GE(TooltipCount(program_.info.dwProcessId), 8); // the eight icons of the first page

    HWND dialog = OpenSettings(main);
    ASSERT_NE(dialog, nullptr);
    ClickControl(dialog, 5099); // "Show Tooltips" off
    Sleep(300);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    // The setting applies to windows made afterwards: reopen the main window.
    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(main); }, 10000));
    PostMessageA(HiddenWindow(), kTrayCallback, 0, WM_LBUTTONUP);
    main = MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(TooltipCount(program_.info.dwProcessId), 0);

    // The mouse over the update icon draws the highlight's blue frame on it;
    // leaving it repaints the icon.
    HWND page = VisiblePage(main);
    HWND update = GetDlgItem(page, 5007);
    RECT icon;
    GetWindowRect(update, &icon);
    SetCursorPos(icon.left + 100, icon.top + 100);
    Sleep(300);
    HDC screen = GetDC(nullptr);
    COLORREF before = GetPixel(screen, icon.left + 7, icon.top);
    SetCursorPos(icon.left + 5, icon.top + 5);
    bool highlighted = WaitUntil(
        [&] {
            COLORREF now = GetPixel(screen, icon.left + 7, icon.top);
            return now != before && GetBValue(now) > GetRValue(now) + 40;
        },
        5000);
    EXPECT_TRUE(highlighted) << std::hex << GetPixel(screen, icon.left + 7, icon.top);
    SetCursorPos(icon.left + 100, icon.top + 100);
    EXPECT_TRUE(
        WaitUntil([&] { return GetPixel(screen, icon.left + 7, icon.top) == before; }, 5000));
    ReleaseDC(nullptr, screen);
}

} // namespace
