// Ticker.exe as the main program starts it: a queue file and colours on its
// command line, the bar along the bottom of the work area, the toolbar, and
// the mouse. Each test runs the ticker from a program folder of its own.
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kSkip = 7201, kExit = 7202, kCounter = 7203, kLocation = 7205;

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// "»" in a queue text stands for the separator byte.
std::string Queue(std::string text) {
    for (size_t at; (at = text.find("»")) != std::string::npos;)
        text.replace(at, 2, 1, '\xBB');
    return text;
}

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != 0;
}

class Ticker : public ::testing::Test {
  protected:
    std::string folder_ = WorkFolder() + "\\ticker";
    RunningProgram ticker_;

    void SetUp() override {
        CreateDirectoryA(folder_.c_str(), nullptr);
        ASSERT_TRUE(
            CopyFileA((BuiltProgramsFolder() + "\\Ticker.exe").c_str(), Exe().c_str(), FALSE));
    }
    void TearDown() override {
        if (HasFailure())
            SaveScreenshot(nullptr,
                           std::string("failed-") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ticker_.Kill();
    }
    std::string Exe() const { return folder_ + "\\Ticker.exe"; }

    RunningProgram Run(const std::string& queueName, const std::string& queue,
                       const std::string& options) {
        EXPECT_TRUE(WriteTextFile(folder_ + "\\" + queueName, Queue(queue)));
        return StartProgramWithArguments(Exe(), "-f" + queueName + options);
    }
    // The ticker's visible dialog of the given height (bar 30, toolbar 18).
    HWND Window(int height, DWORD timeoutMs = 10000) {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND window : TopWindows(ticker_.info.dwProcessId, "#32770", nullptr)) {
                    RECT rect;
                    GetWindowRect(window, &rect);
                    if (rect.bottom - rect.top == height)
                        found = window;
                }
                return found != nullptr;
            },
            timeoutMs);
        return found;
    }
    bool ShowsText(HWND dialog, int id, const std::string& text) {
        return WaitUntil([&] { return WindowText(GetDlgItem(dialog, id)) == text; }, 5000);
    }
    // The leftmost column of the bar holding a pixel of `colour`, or -1.
    static int LeadingEdge(HWND bar, COLORREF colour) {
        RECT rect;
        GetWindowRect(bar, &rect);
        std::vector<COLORREF> pixels = ScreenPixels(rect);
        int width = rect.right - rect.left, edge = -1;
        for (size_t i = 0; i < pixels.size(); ++i)
            if (pixels[i] == colour && (edge < 0 || static_cast<int>(i) % width < edge))
                edge = static_cast<int>(i) % width;
        return edge;
    }
    // Pixels per second the text moves over `ms`.
    static double Speed(HWND bar, COLORREF text, DWORD ms) {
        int from = LeadingEdge(bar, text);
        DWORD start = GetTickCount();
        Sleep(ms);
        int to = LeadingEdge(bar, text);
        return (from - to) * 1000.0 / (GetTickCount() - start);
    }
    bool EndsWithZero() {
        DWORD code = 1;
        return ticker_.WaitForExit(10000, &code) && code == 0;
    }
};

TEST_F(Ticker, BarAndToolbarSitAtTheBottomInTheirColoursAndTheIconsSkipAndExit) {
    ticker_ = Run(
        "q.que",
        "1»sounds\\missing.wav»Lake»FIRST MESSAGE\r\n\r\n\r\n0»»Cook»SECOND\r\n\r\n»»»THIRD\r\n",
        " -tx00FFFF -bk800000 -tb -tt");
    HWND bar = Window(30), toolbar = Window(18);
    ASSERT_TRUE(bar && toolbar);
    RECT work = WorkArea(), barRect, toolbarRect;
    GetWindowRect(bar, &barRect);
    GetWindowRect(toolbar, &toolbarRect);
    EXPECT_TRUE(barRect == RECT({work.left, work.bottom - 30, work.right, work.bottom}));
    EXPECT_TRUE(toolbarRect ==
                RECT({work.right - 400, work.bottom - 48, work.right, work.bottom - 30}));
    for (HWND window : {bar, toolbar})
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(ShowsText(toolbar, kLocation, "Lake"));
    EXPECT_TRUE(ShowsText(toolbar, kCounter, "1/3"));

    const COLORREF background = RGB(0, 0, 0x80), text = RGB(0xFF, 0xFF, 0);
    EXPECT_TRUE(WaitUntil([&] { return LeadingEdge(bar, text) > 0; }, 5000));
    EXPECT_EQ(ScreenPixels({barRect.left, barRect.top, barRect.left + 1, barRect.top + 1}),
              std::vector<COLORREF>{background});
    MoveMouseTo({toolbarRect.left + 355, toolbarRect.top + 9}); // over "skip"
    EXPECT_TRUE(WaitUntil(
        [&] {
            std::vector<HWND> tips =
                TopWindows(ticker_.info.dwProcessId, "tooltips_class32", nullptr);
            return !tips.empty() && WindowText(tips.front()) == "skip";
        },
        5000));
    SaveScreenshot(nullptr, "ticker-with-toolbar");

    ClickWindow(GetDlgItem(toolbar, kSkip));
    EXPECT_TRUE(ShowsText(toolbar, kCounter, "2/3"));
    EXPECT_TRUE(ShowsText(toolbar, kLocation, "Cook"));
    ClickWindow(GetDlgItem(toolbar, kExit));
    EXPECT_TRUE(EndsWithZero());
    EXPECT_FALSE(Exists(folder_ + "\\q.que"));
}

TEST_F(Ticker, OneAtATimeTheButtonSpeedsItUpAndRightClickShowsTheToolbar) {
    ticker_ = Run("q.que", "0»»Zone»" + std::string(60, 'W') + "\r\n", "");
    HWND bar = Window(30);
    ASSERT_NE(bar, nullptr);
    RunningProgram second = Run("second.que", "0»»»OTHER\r\n", " -tb");
    DWORD code = 1;
    EXPECT_TRUE(second.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    second.Kill();
    EXPECT_TRUE(Exists(folder_ + "\\second.que"));
    EXPECT_EQ(Window(18, 500), nullptr);

    // Black on white without colours; the left button held on the bar makes
    // it faster until it is released, even outside the bar.
    const COLORREF black = RGB(0, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return LeadingEdge(bar, black) > 0; }, 5000));
    RECT barRect;
    GetWindowRect(bar, &barRect);
    EXPECT_EQ(ScreenPixels({barRect.left, barRect.top, barRect.left + 1, barRect.top + 1}),
              std::vector<COLORREF>{RGB(255, 255, 255)});
    double normal = Speed(bar, black, 1000);
    MoveMouseTo({barRect.left + 100, barRect.top + 15});
    PressMouseButton(false, true);
    double fast = Speed(bar, black, 500);
    MoveMouseTo({barRect.left + 100, barRect.top - 100});
    PressMouseButton(false, false);
    double after = Speed(bar, black, 1000);
    EXPECT_GT(normal, 20);
    EXPECT_GT(fast, 4 * normal);
    EXPECT_LT(after, 2 * normal);

    RightClickWindow(bar);
    HWND toolbar = Window(18);
    ASSERT_NE(toolbar, nullptr);
    EXPECT_TRUE(ShowsText(toolbar, kCounter, "1/1"));
    EXPECT_TRUE(ShowsText(toolbar, kLocation, "Zone"));
    ClickWindow(GetDlgItem(toolbar, kSkip)); // skip on the last record ends it
    EXPECT_TRUE(EndsWithZero());
    EXPECT_FALSE(Exists(folder_ + "\\q.que"));
}

} // namespace
