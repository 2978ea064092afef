// Settings as a user changes them.
#include "services/text_buffer.h"
#include "tests/e2e/cumulon_fixture.h"

#include <commctrl.h>

#include <tuple>
#include <utility>

namespace {

constexpr const char* kDefaultFormat = "%Dow; %Mon; %dd; %yyyy; - %hh;:%mm; %ampm;";

class Settings : public CumulonTest {
  protected:
    HWND OpenSettings() {
        ClickControl(main_, IDC_SETTINGS);
        return Dialog("Settings");
    }
    static std::string Sample(HWND dialog) { return TextOf(dialog, IDC_STATUS); }
    // The tools of every tooltip window of the process.
    int Tooltips() const {
        int tools = 0;
        for (HWND tip : TopWindows(program_.info.dwProcessId, "tooltips_class32", nullptr, false))
            tools += static_cast<int>(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
        return tools;
    }
};

// Opened again from the tray menu, About and Settings stay one dialog each;
// the dialog's place is kept even when the program is killed with it open.
TEST_F(Settings, OneAboutOneSettingsAndTheTimeFormatRunValueAndDialogsPlaceSurvive) {
    ASSERT_NE(Start(), nullptr);
    HWND dialog = nullptr;
    for (auto [button, item, title] :
         {std::tuple{IDC_ABOUT, kTrayAbout, "About"}, {IDC_SETTINGS, kTraySettings, "Settings"}}) {
        ClickControl(main_, button);
        ASSERT_NE(dialog = Dialog(title), nullptr);
        TrayMenu(item);
        Sleep(1000);
        EXPECT_EQ(TopWindows(program_.info.dwProcessId, "#32770", title).size(), 1u) << title;
        if (button == IDC_ABOUT) {
            EXPECT_EQ(TextOf(dialog, IDC_WEB_LINK), "quillmoor.example");
            SaveScreenshot(dialog, "about-dialog");
            CloseDialog(dialog);
        }
    }
    EXPECT_TRUE(IsWindowVisible(main_));
    HWND field = GetDlgItem(dialog, IDC_TIME_FORMAT);
    EXPECT_EQ(WindowText(field), kDefaultFormat);
    SYSTEMTIME now;
    GetLocalTime(&now);
    char year[8];
    FormatText(year, sizeof year, "Y%02u", static_cast<unsigned>(now.wYear % 100));
    for (auto [typed, sample] : {std::pair<std::string, std::string>{"", ""},
                                 {"Y%yy", "Y%yy"}, // an unfinished token stays as typed
                                 {";%x;", year}}) {
        if (typed.empty())
            SetText(field, "");
        TypeText(field, typed);
        EXPECT_TRUE(WaitUntil([&] { return Sample(dialog) == sample; }, 5000))
            << "after typing " << typed << " the sample is " << Sample(dialog);
    }

    std::vector<BYTE> run;
    auto readRun = [&] {
        return ReadSetting("Quillmoor - Cumulon", &run,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    };
    ClickControl(dialog, IDC_START_WITH_WINDOWS);
    ASSERT_TRUE(WaitUntil(readRun, 5000));
    EXPECT_STREQ(reinterpret_cast<const char*>(run.data()),
                 ("\"" + folder_ + "\\Cumulon.exe\"").c_str()); // quoted: it may hold spaces
    ClickControl(dialog, IDC_START_WITH_WINDOWS);
    EXPECT_TRUE(WaitUntil([&] { return !readRun(); }, 5000));
    CloseDialog(dialog);
    ASSERT_TRUE(CloseMainWindow());

    for (int run = 0; run < 2; ++run) {
        ASSERT_NE(Start(), nullptr);
        ASSERT_NE(dialog = OpenSettings(), nullptr);
        EXPECT_EQ(TextOf(dialog, IDC_TIME_FORMAT), "Y%yy;%x;");
        EXPECT_EQ(Sample(dialog), year);
        RECT rect;
        GetWindowRect(dialog, &rect);
        if (run == 0) {
            SetWindowPos(dialog, nullptr, 137, 91, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            Sleep(500);
            program_.Kill(); // ended without closing the dialog
        } else {
            EXPECT_TRUE(rect.left == 137 && rect.top == 91) << rect.left << "," << rect.top;
            SaveScreenshot(dialog, "settings-dialog");
        }
    }
}

// Without tooltips the mouse over an icon still draws its highlight.
TEST_F(Settings, StartUpTooltipsAndTheTabReachTheNextStart) {
    ASSERT_NE(Start(), nullptr);
    EXPECT_GE(Tooltips(), 8); // the eight icons of the first page
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    ClickControl(dialog, IDC_OPEN_MAIN_AT_START);
    ClickControl(dialog, IDC_SHOW_TOOLTIPS);
    Sleep(300);
    CloseDialog(dialog);
    ShowTab(kMetarTab);
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(Setting("CurTab"), 6u);

    EXPECT_EQ(Start(5000), nullptr);
    PostMessageA(HiddenWindow(), WM_TRAY_CALLBACK, 0, WM_LBUTTONUP);
    ASSERT_NE(main_ = MainWindow(), nullptr);
    EXPECT_EQ(TabCtrl_GetCurSel(GetDlgItem(main_, IDC_TAB)), kMetarTab);
    EXPECT_EQ(Tooltips(), 0);

    // The highlight's blue frame over the update icon; leaving it repaints
    // the icon. A paint of the window just opened may cover a highlight
    // drawn too early: the pointer then leaves and comes back.
    RECT icon;
    GetWindowRect(GetDlgItem(VisiblePage(main_), IDC_UPDATE), &icon);
    auto edge = [&] { return ScreenPixel(icon.left + 7, icon.top); };
    auto hover = [&](bool over) {
        MoveMouseTo({icon.left + (over ? 5 : 100), icon.top + (over ? 5 : 100)});
    };
    hover(false);
    Sleep(500);
    const COLORREF before = edge();
    auto highlighted = [&] {
        return edge() != before && GetBValue(edge()) > GetRValue(edge()) + 40;
    };
    const bool lit = WaitUntil(
        [&] {
            hover(true);
            if (WaitUntil(highlighted, 500))
                return true;
            hover(false);
            return false;
        },
        5000);
    EXPECT_TRUE(lit) << std::hex << edge();
    hover(false);
    EXPECT_TRUE(WaitUntil([&] { return edge() == before; }, 5000));
}

} // namespace
