// Ticker.exe as the main program starts it, from the test's program folder.
#include "resources/ticker/ticker_ids.h"
#include "tests/e2e/cumulon_fixture.h"

namespace {

class Ticker : public CumulonTest {
  protected:
    void SetUp() override {
        CumulonTest::SetUp();
        ASSERT_TRUE(CopyFileA((BuiltProgramsFolder() + "\\Ticker.exe").c_str(),
                              (folder_ + "\\Ticker.exe").c_str(), FALSE));
    }
    RunningProgram Run(const std::string& queueName, const std::string& queue,
                       const std::string& options) {
        EXPECT_TRUE(WriteTextFile(folder_ + "\\" + queueName, Separated(queue)));
        return StartProgram(folder_ + "\\Ticker.exe", "-f" + queueName + options);
    }
    // The ticker's bar (30 pixels high) or toolbar (18).
    HWND Window(int height, DWORD timeoutMs = 10000) {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND window : TopWindows(program_.info.dwProcessId, "#32770", nullptr))
                    if (Rect(window).bottom - Rect(window).top == height)
                        found = window;
                return found != nullptr;
            },
            timeoutMs);
        return found;
    }
    bool ShowsText(HWND dialog, int id, const std::string& text) {
        return WaitUntil([&] { return WindowText(GetDlgItem(dialog, id)) == text; }, 5000);
    }
    static RECT Rect(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }
    // The leftmost column of the bar holding a pixel of `colour`, or -1.
    static int LeadingEdge(HWND bar, COLORREF colour) {
        RECT rect = Rect(bar);
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
        return (from - LeadingEdge(bar, text)) * 1000.0 / (GetTickCount() - start);
    }
};

TEST_F(Ticker, BarAndToolbarSitAtTheBottomInTheirColoursAndTheIconsSkipAndExit) {
    program_ = Run(
        "q.que",
        "1»sounds\\missing.wav»Lake»FIRST MESSAGE\r\n\r\n\r\n0»»Cook»SECOND\r\n\r\n»»»THIRD\r\n",
        " -tx00FFFF -bk800000 -tb -tt");
    HWND bar = Window(30), toolbar = Window(18);
    ASSERT_TRUE(bar && toolbar);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const RECT barRect = Rect(bar), toolbarRect = Rect(toolbar);
    const RECT barWanted = {work.left, work.bottom - 30, work.right, work.bottom},
               toolbarWanted = {work.right - 400, work.bottom - 48, work.right, work.bottom - 30};
    EXPECT_TRUE(EqualRect(&barRect, &barWanted) && EqualRect(&toolbarRect, &toolbarWanted));
    for (HWND window : {bar, toolbar})
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(ShowsText(toolbar, IDC_TICKER_LOCATION, "Lake"));
    EXPECT_TRUE(ShowsText(toolbar, IDC_TICKER_COUNTER, "1/3"));

    EXPECT_TRUE(WaitUntil([&] { return LeadingEdge(bar, RGB(0xFF, 0xFF, 0)) > 0; }, 5000));
    EXPECT_EQ(ScreenPixel(barRect.left, barRect.top), RGB(0, 0, 0x80));
    MoveMouseTo({toolbarRect.left + 355, toolbarRect.top + 9}); // over "skip"
    EXPECT_TRUE(WaitUntil(
        [&] {
            std::vector<HWND> tips =
                TopWindows(program_.info.dwProcessId, "tooltips_class32", nullptr);
            return !tips.empty() && WindowText(tips.front()) == "skip";
        },
        5000));
    SaveScreenshot(nullptr, "ticker-with-toolbar");

    ClickControl(toolbar, IDC_TICKER_SKIP);
    EXPECT_TRUE(ShowsText(toolbar, IDC_TICKER_COUNTER, "2/3"));
    EXPECT_TRUE(ShowsText(toolbar, IDC_TICKER_LOCATION, "Cook"));
    ClickControl(toolbar, IDC_TICKER_EXIT);
    EXPECT_TRUE(EndsWithZero() && !FileExists(folder_ + "\\q.que")); // the queue deleted
}

TEST_F(Ticker, OneAtATimeTheButtonSpeedsItUpAndRightClickShowsTheToolbar) {
    program_ = Run("q.que", "0»»Zone»" + std::string(60, 'W') + "\r\n", "");
    HWND bar = Window(30);
    ASSERT_NE(bar, nullptr);
    RunningProgram second = Run("second.que", "0»»»OTHER\r\n", " -tb");
    DWORD code = 1;
    EXPECT_TRUE(second.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    second.Kill();
    EXPECT_TRUE(FileExists(folder_ + "\\second.que"));
    EXPECT_EQ(Window(18, 500), nullptr);

    // Black on white without colours; the left button held on the bar makes
    // it faster until it is released, even outside the bar.
    const COLORREF black = RGB(0, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return LeadingEdge(bar, black) > 0; }, 5000));
    const RECT barRect = Rect(bar);
    EXPECT_EQ(ScreenPixel(barRect.left, barRect.top), RGB(255, 255, 255));
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

    ClickWindow(bar, true);
    HWND toolbar = Window(18);
    ASSERT_NE(toolbar, nullptr);
    Sleep(500); // opened mid-record: empty until the next record, and this is the last
    EXPECT_EQ(WindowText(GetDlgItem(toolbar, IDC_TICKER_COUNTER)), "");
    EXPECT_EQ(WindowText(GetDlgItem(toolbar, IDC_TICKER_LOCATION)), "");
    ClickControl(toolbar, IDC_TICKER_SKIP); // skip on the last record ends it
    EXPECT_TRUE(EndsWithZero() && !FileExists(folder_ + "\\q.que")); // the queue deleted
}

} // namespace
