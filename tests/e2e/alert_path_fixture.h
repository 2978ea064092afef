// What the alert path's end-to-end tests share: Cumulon on its alerts page
// against the sample weather service, a ticker stand-in in the program folder
// that records each start, and the tray menu's "Auto Alerts" item.
#ifndef CUMULON_E2E_ALERT_PATH_FIXTURE_H
#define CUMULON_E2E_ALERT_PATH_FIXTURE_H

#include "tests/e2e/cumulon_fixture.h"

#include <string>
#include <vector>

constexpr int kAlertsTab = 3, kGetAutoAlerts = 5132;

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

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class AlertPath : public CumulonTest {
  protected:
    HWND main_ = nullptr;
    HWND page_ = nullptr;

    void SetUp() override {
        CumulonTest::SetUp();
        ASSERT_NE(SampleServicePort(), 0) << "the sample weather service is not running";
        ASSERT_TRUE(WriteTextFile(folder_ + "\\links.dat", SampleCatalog()));
    }
    void StartOnAlertsPage() {
        main_ = Start();
        ASSERT_NE(main_, nullptr);
        ASSERT_TRUE(ClickTab(GetDlgItem(main_, kTabControl), kAlertsTab));
        ASSERT_TRUE(WaitUntil(
            [&] { return (page_ = VisiblePage(main_)) && GetDlgItem(page_, kGetAutoAlerts); },
            5000));
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
    bool RunStarted(int run) const { return Exists(RunFile(run)); }
    bool RunEnded(int run) const { return Exists(RunFile(run, ".end")); }
    // The command line of a stand-in run (`queue` false) or the queue it was given.
    std::string RunRecord(int run, bool queue) const {
        std::string text = ReadTextFile(RunFile(run));
        size_t end = text.find('\n');
        return queue ? text.substr(std::min(text.size(), end + 1)) : text.substr(0, end);
    }

    // Opens the tray menu as a right click on the icon does, tells whether
    // "Auto Alerts" shows its check mark, and closes the menu by clicking that
    // item (`choose`) or beside the menu. Texts and the mark are dark pixels:
    // the mark in the left column, "Auto Alerts" the second of five texts.
    bool TrayMenu(bool choose) {
        // The menu opens at the pointer, well away from Cumulon's windows.
        SetCursorPos(1150, 300);
        WaitUntil(
            [] {
                POINT at;
                return GetCursorPos(&at) && at.x == 1150 && at.y == 300;
            },
            2000);
        PostMessageA(HiddenWindow(), kTrayCallback, 0, WM_RBUTTONUP);
        HWND menu = WaitForTopWindow(program_.info.dwProcessId, "#32768", nullptr, 5000);
        RECT r{};
        if (!menu || !GetWindowRect(menu, &r) || r.right < 1140) {
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
        if (choose && texts.size() == 5)
            ClickAt(GetDesktopWindow(), (r.left + r.right) / 2, r.top + texts[1] + 4);
        else
            ClickAt(GetDesktopWindow(), r.right + 60, r.top + 10);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
        return checked;
    }
};

#endif
