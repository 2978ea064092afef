// A test that starts Cumulon.exe from a fresh program folder with no
// settings and no saved lists, and ends it afterwards. A failing test leaves
// a screenshot of the whole screen.
#ifndef CUMULON_E2E_FIXTURE_H
#define CUMULON_E2E_FIXTURE_H

#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

constexpr int kTabControl = 5068;
constexpr int kSettingsButton = 5004;
constexpr UINT kTrayCallback = 5002;

class CumulonTest : public ::testing::Test {
  protected:
    std::string folder_;
    RunningProgram program_;

    void SetUp() override {
        ForgetUserState();
        folder_ = WorkFolder() + "\\program";
        ASSERT_TRUE(PrepareProgramFolder(folder_));
    }

    void TearDown() override {
        if (HasFailure())
            SaveScreenshot(nullptr, std::string("failed-") +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
        program_.Kill();
    }

    std::string Exe() const { return folder_ + "\\Cumulon.exe"; }

    // Starts Cumulon and returns its main window (null when none appears).
    HWND Start(DWORD timeoutMs = 20000) {
        program_.Kill();
        program_ = StartProgram(Exe());
        EXPECT_TRUE(program_.Running());
        return timeoutMs ? MainWindow(timeoutMs) : nullptr;
    }

    HWND MainWindow(DWORD timeoutMs = 20000) {
        return WaitForTopWindow(program_.info.dwProcessId, "#32770", "Cumulon", timeoutMs);
    }

    HWND HiddenWindow() {
        HWND window = nullptr;
        WaitUntil(
            [&] {
                std::vector<HWND> found = TopWindows(program_.info.dwProcessId, "MainWindow", nullptr, false);
                window = found.empty() ? nullptr : found.front();
                return window != nullptr;
            },
            20000);
        return window;
    }

    HWND Dialog(const char* title, DWORD timeoutMs = 10000) {
        return WaitForTopWindow(program_.info.dwProcessId, "#32770", title, timeoutMs);
    }

    // Ends the program through its close box and waits for it.
    bool CloseMainWindow(HWND main) {
        PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        DWORD code = 1;
        return program_.WaitForExit(20000, &code) && code == 0;
    }
};

#endif
