// What the alert path's end-to-end tests share: Cumulon against the sample
// weather service with saved alert zones, a ticker stand-in in the program
// folder that records each start, and the tray menu's "Auto Alerts" item.
#ifndef CUMULON_E2E_ALERT_PATH_FIXTURE_H
#define CUMULON_E2E_ALERT_PATH_FIXTURE_H

#include "tests/e2e/cumulon_fixture.h"
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// "»" in a text stands for the separator byte.
inline std::string Separated(std::string text) {
    for (size_t at; (at = text.find("»")) != std::string::npos;)
        text.replace(at, 2, 1, '\xBB');
    return text;
}

// A saved-lists file whose "[ALERTS]" section holds `lines` ("1»KYZ030»Name").
inline std::string AlertList(const std::vector<std::string>& lines) {
    std::string file = "Cumulon 3.0.7.143\r\n\r\n[ALERTS]\r\n";
    for (const std::string& line : lines)
        file += Separated(line) + "\r\n";
    return file + "\r\n";
}

class AlertPath : public CumulonTest {
  protected:
    void SetUp() override {
        CumulonTest::SetUp();
        ASSERT_NE(SampleServicePort(), 0) << "the sample weather service is not running";
        ASSERT_TRUE(WriteTextFile(folder_ + "\\links.dat", SampleCatalog()));
    }

    // A program built with the tests, from the folder of this test program.
    static std::string TestProgram(const char* name) {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::string folder(path);
        return folder.substr(0, folder.rfind('\\') + 1) + name;
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
    bool RunStarted(int run) const {
        return GetFileAttributesA(RunFile(run).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    bool RunEnded(int run) const {
        return GetFileAttributesA(RunFile(run, ".end").c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // The command line of a stand-in run, and the queue it was given.
    std::string RunCommandLine(int run) const {
        std::string text = ReadTextFile(RunFile(run));
        return text.substr(0, text.find('\n'));
    }
    std::string RunQueue(int run) const {
        std::string text = ReadTextFile(RunFile(run));
        size_t at = text.find('\n');
        return at == std::string::npos ? "" : text.substr(at + 1);
    }

    // Opens the tray menu as a right click on the icon does.
    HWND OpenTrayMenu() {
        MoveMouseTo({1100, 300});
        PostMessageA(HiddenWindow(), kTrayCallback, 0, WM_RBUTTONUP);
        return WaitForTopWindow(program_.info.dwProcessId, "#32768", nullptr, 5000);
    }
    // The vertical centres of the menu's item texts, top to bottom.
    static std::vector<int> MenuTextRows(HWND menu) {
        RECT rect;
        GetWindowRect(menu, &rect);
        const int width = rect.right - rect.left;
        std::vector<COLORREF> pixels = ScreenPixels(rect);
        std::vector<int> centres;
        int bandStart = -1;
        for (int y = 0; y <= rect.bottom - rect.top; ++y) {
            bool text = false;
            for (int x = 24; y < rect.bottom - rect.top && x < width - 4 && !text; ++x) {
                COLORREF c = pixels[y * width + x];
                text = GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80;
            }
            if (text && bandStart < 0)
                bandStart = y;
            if (!text && bandStart >= 0) {
                centres.push_back(rect.top + (bandStart + y) / 2);
                bandStart = -1;
            }
        }
        return centres;
    }
    // Whether a check mark is drawn in the menu's check column.
    static bool MenuShowsACheckMark(HWND menu) {
        RECT rect;
        GetWindowRect(menu, &rect);
        rect.left += 2;
        rect.right = rect.left + 16;
        for (COLORREF c : ScreenPixels(rect))
            if (GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80)
                return true;
        return false;
    }
    // Clicks "Auto Alerts" (true) or outside the menu (false), which closes it.
    void CloseTrayMenu(HWND menu, bool chooseAutoAlerts) {
        RECT rect;
        GetWindowRect(menu, &rect);
        std::vector<int> rows = MenuTextRows(menu);
        ASSERT_EQ(rows.size(), 5u) << "Help, Auto Alerts, Settings, About, Exit";
        if (chooseAutoAlerts)
            ClickAt(GetDesktopWindow(), (rect.left + rect.right) / 2, rows[1]);
        else
            ClickAt(GetDesktopWindow(), rect.left - 200, rect.bottom + 100);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
    }
    // Whether the tray menu shows "Auto Alerts" checked; the menu is closed again.
    bool TrayItemChecked() {
        HWND menu = OpenTrayMenu();
        EXPECT_NE(menu, nullptr);
        if (!menu)
            return false;
        Sleep(300);
        bool checked = MenuShowsACheckMark(menu);
        CloseTrayMenu(menu, false);
        return checked;
    }
    void ClickTrayAutoAlerts() {
        HWND menu = OpenTrayMenu();
        ASSERT_NE(menu, nullptr);
        Sleep(300);
        CloseTrayMenu(menu, true);
    }
};

#endif
