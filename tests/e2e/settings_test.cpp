// Settings as a user changes them: the first run's registry key, the Settings
// dialog's time format, start-up options and position, and the remembered tab.
#include "services/text_buffer.h"
#include "tests/e2e/cumulon_fixture.h"

#include <gtest/gtest.h>

#include <commctrl.h>

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

// The table of values is tested on its own (win32 tests); here the real
// program's exit creates the key with them.
TEST_F(Settings, FirstRunCreatesTheKeyAtExitWithEveryValue) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(SettingsKeyExists());
    ASSERT_TRUE(CloseMainWindow(main));
    DWORD radar = 0, tab = 9;
    EXPECT_TRUE(ReadSettingDword("RadarFlags", &radar) && ReadSettingDword("CurTab", &tab));
    EXPECT_EQ(radar, 0x105FFu);
    EXPECT_EQ(tab, 0u);
    std::string sound;
    EXPECT_TRUE(ReadSettingString("AlertNotifyAlarm", &sound));
    EXPECT_EQ(sound, "sounds\\beepbeep.wav");
    std::vector<BYTE> selected;
    ASSERT_TRUE(ReadSettingBinary("Selected", &selected));
    EXPECT_EQ(selected, std::vector<BYTE>(28, 0xFF));
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

// Opened from the main window and then from the tray menu, About and
// Settings each stay one dialog: the open one comes to the front.
TEST_F(Settings, OneAboutAndOneSettingsDialogWhereverTheyAreOpenedFrom) {
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND hidden = HiddenWindow();
    constexpr WPARAM kTrayAbout = 5001, kTraySettings = 5004;
    ClickControl(main, 5001);
    HWND about = Dialog("About");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(about, 5094)), "www.quillmoor.example");
    PostMessageA(hidden, WM_COMMAND, kTrayAbout, 0);
    Sleep(1000);
    EXPECT_EQ(TopWindows(program_.info.dwProcessId, "#32770", "About").size(), 1u);
    SaveScreenshot(about, "about-dialog");
    PostMessageA(about, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));

    HWND dialog = OpenSettings(main);
    ASSERT_NE(dialog, nullptr);
    PostMessageA(hidden, WM_COMMAND, kTraySettings, 0);
    Sleep(1000);
    EXPECT_EQ(TopWindows(program_.info.dwProcessId, "#32770", "Settings").size(), 1u);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    EXPECT_TRUE(IsWindowVisible(main));
}

} // namespace

namespace {

// The tools of every tooltip window of the process.
int TooltipCount(DWORD processId) {
    int tools = 0;
    for (HWND tooltip : TopWindows(processId, "tooltips_class32", nullptr, false))
        tools += static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    return tools;
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
