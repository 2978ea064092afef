// A test of Cumulon.exe started from a fresh program folder with no settings
// and no saved lists; a failing test leaves a screenshot of the whole screen.
#ifndef CUMULON_E2E_FIXTURE_H
#define CUMULON_E2E_FIXTURE_H

#include "resources/resource_ids.h"
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <regex>
#include <string>
#include <vector>

// The tabs of the main window, left to right.
constexpr int kPointTab = 0, kHourlyTab = 1, kObservationsTab = 2, kAlertsTab = 3, kRadarTab = 4,
              kSatelliteTab = 5, kMetarTab = 6, kRiverTab = 7;
enum TrayItem { kTrayNone = -1, kTrayHelp, kTrayAutoAlerts, kTraySettings, kTrayAbout, kTrayExit };

// "»" in a text stands for the separator byte.
inline std::string Separated(std::string text) {
    for (size_t at; (at = text.find("»")) != std::string::npos;)
        text.replace(at, 2, 1, '\xBB');
    return text;
}

// A saved-lists file with one section of `lines` ("KORD»KORD Chicago").
inline std::string ListFile(const std::string& section, const std::vector<std::string>& lines) {
    std::string file = "Cumulon 3.0.7.143\r\n\r\n[" + section + "]\r\n";
    for (const std::string& line : lines)
        file += Separated(line) + "\r\n";
    return file + "\r\n";
}

// A file time in the default format: "Wednesday Aug 07 2013 - 01:40 pm".
inline bool IsFileTime(const std::string& text) {
    static const std::regex time(R"([A-Z][a-z]+day [A-Z][a-z]{2} \d\d \d{4} - \d\d:\d\d [ap]m)");
    return std::regex_match(text, time);
}

// Items of a tree view, read across processes.
inline HTREEITEM TreeItem(HWND tree, UINT relation, HTREEITEM from = nullptr) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
}
inline bool TreeItemExpanded(HWND tree, HTREEITEM item) {
    return SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
           TVIS_EXPANDED;
}
// Clicks a shown tree item at its centre, `clicks` times.
inline bool ClickTreeItem(HWND tree, HTREEITEM item, int clicks = 1) {
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item); // the message reads the item from the rectangle
    return ControlRect(tree, TVM_GETITEMRECT, TRUE, &rect) && rect.bottom > rect.top &&
           ClickAt(tree, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, false, clicks);
}

class CumulonTest : public ::testing::Test {
  protected:
    std::string folder_;
    RunningProgram program_;
    HWND main_ = nullptr; // the main window
    HWND page_ = nullptr; // the page shown in it
    int dpi_ = 96;        // the screen's, for the programs the test starts

    void SetUp() override {
        ForgetUserState();
        folder_ = WorkFolder() + "\\program";
        ASSERT_TRUE(PrepareProgramFolder(folder_));
    }

    void TearDown() override {
        DWORD code = 0;
        if (HasFailure() && program_.WaitForExit(0, &code))
            ADD_FAILURE() << "the program had ended with 0x" << std::hex << code;
        if (HasFailure())
            SaveScreenshot(nullptr,
                           std::string("failed-") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        program_.Kill();
        if (dpi_ != 96)
            UseScreenDpi(96);
    }

    // The programs started from now on run on a screen of `dpi`.
    void UseDpi(int dpi) {
        ASSERT_TRUE(UseScreenDpi(dpi));
        dpi_ = dpi;
    }
    // A size given in pixels at 96 DPI, on the test's screen.
    int Scaled(int size) const { return MulDiv(size, dpi_, 96); }

    std::string Exe() const { return folder_ + "\\Cumulon.exe"; }

    // Starts Cumulon and returns its main window (null when none appears).
    HWND Start(DWORD timeoutMs = 20000) {
        program_.Kill();
        program_ = StartProgram(Exe());
        DWORD code = 0, error = GetLastError();
        EXPECT_TRUE(program_.Running()) << "not started (error " << error << ") or ended with "
                                        << (program_.WaitForExit(0, &code), code);
        return main_ = timeoutMs ? MainWindow(timeoutMs) : nullptr;
    }
    // Starts Cumulon, shows the page of `tab` and (unless -1) waits for `rows` rows in its list.
    void StartOnTab(int tab, int rows = -1) {
        ASSERT_NE(Start(), nullptr);
        ShowTab(tab);
        ASSERT_TRUE(rows < 0 || WaitUntil([&] { return ListItemCount(List()) == rows; }, 5000));
    }
    void ShowTab(int tab) {
        HWND tabs = GetDlgItem(main_, IDC_TAB);
        ASSERT_TRUE(ClickTab(tabs, tab));
        ASSERT_TRUE(WaitUntil(
            [&] { return TabCtrl_GetCurSel(tabs) == tab && (page_ = VisiblePage(main_)); }, 5000));
    }

    HWND MainWindow(DWORD timeoutMs = 20000) {
        return WaitForTopWindow(program_.info.dwProcessId, "#32770", "Cumulon", timeoutMs);
    }
    HWND HiddenWindow() {
        return WaitForTopWindow(program_.info.dwProcessId, "MainWindow", nullptr, 20000, false);
    }
    HWND Dialog(const char* title, DWORD timeoutMs = 10000) {
        return WaitForTopWindow(program_.info.dwProcessId, "#32770", title, timeoutMs);
    }
    static bool Gone(HWND window) {
        return WaitUntil([&] { return !IsWindow(window); }, 5000);
    }
    static void CloseDialog(HWND dialog) {
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(Gone(dialog));
    }
    static std::string TextOf(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
    // The text of a message box, then closed with its OK button; empty when none came.
    std::string MessageOf(const char* title) {
        HWND box = Dialog(title, 5000);
        std::vector<std::string> texts = box ? StaticTexts(box) : std::vector<std::string>{"?"};
        if (box && (!ClickControl(box, IDOK) || !Gone(box)))
            ADD_FAILURE() << title << " stays open";
        return box ? texts.back() : "";
    }
    // A DWORD under the settings key; kMissing when there is none.
    static constexpr DWORD kMissing = 0xBAADF00D;
    static DWORD Setting(const char* name) {
        std::vector<BYTE> bytes;
        DWORD value = kMissing;
        if (ReadSetting(name, &bytes) && bytes.size() == sizeof value)
            std::memcpy(&value, bytes.data(), sizeof value);
        return value;
    }
    // The window after a moment to finish painting, saved as NAME.png.
    static void Snapshot(HWND window, const char* name) {
        Sleep(300);
        SaveScreenshot(window, name);
    }

    // Waits for the program's end with 0.
    bool EndsWithZero() {
        DWORD code = 1;
        return program_.WaitForExit(20000, &code) && code == 0;
    }
    // Ends the program through its close box and waits for it.
    bool CloseMainWindow() {
        PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
        return EndsWithZero();
    }
    // Minimises the main window (it closes to the tray) and reopens it with the tray icon.
    void ReopenFromTray() {
        PostMessageA(main_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(main_); }, 10000));
        PostMessageA(HiddenWindow(), WM_TRAY_CALLBACK, 0, WM_LBUTTONUP);
        ASSERT_NE(main_ = MainWindow(), nullptr);
        page_ = VisiblePage(main_);
    }

    void UseCatalog(const std::string& text) {
        ASSERT_TRUE(WriteTextFile(folder_ + "\\links.dat", text));
    }
    void UseSampleCatalog() {
        ASSERT_NE(SampleServicePort(), 0) << "the sample weather service is not running";
        UseCatalog(SampleCatalog());
    }
    std::string Service() const {
        return "http://127.0.0.1:" + std::to_string(SampleServicePort());
    }
    std::string CachePath(const std::string& name) const {
        return UserDataFolder() + "\\cache\\" + name;
    }

    // The page's controls.
    HWND List() const { return GetDlgItem(page_, IDC_LIST); }
    std::string Text(int id) const { return WindowText(GetDlgItem(page_, id)); }
    std::string Status() const { return Text(IDC_STATUS); }
    std::string Output() const { return Text(IDC_OUTPUT); }
    bool Shows(const std::string& text) const { return Output().find(text) != std::string::npos; }
    static bool Checked(HWND dialog, int id) {
        return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    bool Checked(int id) const { return Checked(page_, id); }
    // Clicks a row of the page's list (`x` pixels into it: right of a check
    // box, its name) and waits for it to be selected.
    void Select(int row, int x = 8) {
        ASSERT_TRUE(ClickListRow(List(), row, x));
        ASSERT_TRUE(WaitUntil([&] { return ListItemSelected(List(), row); }, 5000));
    }
    void Update(int row, int x = 8) {
        Select(row, x);
        ClickControl(page_, IDC_UPDATE);
    }
    // The row's cells joined by "|".
    std::string Row(int row, int columns) const {
        std::string cells;
        for (int column = 0; column < columns; ++column)
            cells.append(column ? "|" : "").append(ListItemText(List(), row, column));
        return cells;
    }

    // Right-clicks `window` and clicks item `item` of the `count` items of its menu.
    void ChooseFromMenu(HWND window, int item, int count) {
        ASSERT_TRUE(ClickWindow(window, true));
        HWND menu = WaitForTopWindow(program_.info.dwProcessId, "#32768", nullptr, 5000);
        ASSERT_NE(menu, nullptr);
        RECT client{};
        GetClientRect(menu, &client);
        ASSERT_TRUE(ClickAt(menu, client.right / 2, client.bottom * (2 * item + 1) / (2 * count)));
    }

    // Opens the tray menu, tells whether "Auto Alerts" shows its check mark
    // (dark pixels in the left column; the five texts are dark rows), and
    // clicks item `choose` (or beside the menu). It opens where Cumulon last
    // saw the pointer: one that opens elsewhere is asked for again.
    bool TrayMenu(TrayItem choose) {
        HWND menu = nullptr;
        RECT r{};
        for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
            MoveMouseTo({1150, 300});
            Sleep(100);
            PostMessageA(HiddenWindow(), WM_TRAY_CALLBACK, 0, WM_RBUTTONUP);
            menu = WaitForTopWindow(program_.info.dwProcessId, "#32768", nullptr, 5000);
            if (menu && (!GetWindowRect(menu, &r) || r.right < 1140)) {
                PressKey(VK_ESCAPE);
                WaitUntil([&] { return !IsWindowVisible(menu); }, 2000);
                menu = nullptr;
            }
        }
        if (!menu) {
            ADD_FAILURE() << "no tray menu at the pointer";
            return false;
        }
        Sleep(300);
        const int width = r.right - r.left, height = r.bottom - r.top;
        std::vector<COLORREF> pixels = ScreenPixels(r);
        bool checked = false;
        std::vector<int> texts; // the rows where a text starts
        for (int y = 0, previous = 0; y < height; ++y) {
            bool text = false;
            for (int x = 2; x < width - 4; ++x) {
                COLORREF c = pixels[y * width + x];
                if (GetRValue(c) >= 80 || GetGValue(c) >= 80 || GetBValue(c) >= 80)
                    continue;
                checked = checked || x < 18;
                text = text || x >= 24;
            }
            if (text && !previous)
                texts.push_back(y);
            previous = text;
        }
        EXPECT_EQ(texts.size(), 5u) << "Help, Auto Alerts, Settings, About, Exit";
        if (choose != kTrayNone && texts.size() == 5)
            ClickAt(GetDesktopWindow(), (r.left + r.right) / 2, r.top + texts[choose] + 4);
        else
            ClickAt(GetDesktopWindow(), r.right + 60, r.top + 10);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
        return checked;
    }

    // A program built beside this test program.
    static std::string TestProgram(const char* name) {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::string own(path);
        return own.substr(0, own.rfind('\\') + 1) + name;
    }
    // Ticker.exe of the program folder becomes the stand-in, busy for `busyMs`.
    void UseTickerStandIn(DWORD busyMs = 0) {
        ASSERT_TRUE(CopyFileA(TestProgram("TickerStandIn.exe").c_str(),
                              (folder_ + "\\Ticker.exe").c_str(), FALSE));
        ASSERT_TRUE(WriteTextFile(folder_ + "\\stand-in-busy-ms.txt", std::to_string(busyMs)));
    }
    std::string RunFile(int run, const char* extension = ".txt") const {
        return folder_ + "\\ticker-run-" + std::to_string(run) + extension;
    }
    // A stand-in run's command line or (`queue`) the queue it was given.
    std::string RunRecord(int run, bool queue) const {
        std::string text = ReadTextFile(RunFile(run));
        size_t end = text.find('\n');
        return queue ? text.substr(std::min(text.size(), end + 1)) : text.substr(0, end);
    }
};

#endif
