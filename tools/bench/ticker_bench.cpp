// Ticker benchmark (not a test): starts Ticker.exe on a long message and,
// from the screen, measures how fast the text moves over a window of time,
// normally and with the left button held on the bar. Runs under Wine beside
// the program; the files "measuring" and "measured" in the work folder mark
// the normal window for the script, which counts the processor time (Wine
// does not count another process's time).
//   ticker_bench.exe [SECONDS]
#include "tests/e2e/driver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr double kNominalPixelsPerSecond = 1000.0 / 18;

// The leftmost column of the bar showing a pixel of the text colour, or -1.
int LeadingEdge(const RECT& bar, COLORREF text) {
    std::vector<COLORREF> pixels = ScreenPixels(bar);
    int width = bar.right - bar.left, edge = -1;
    for (size_t i = 0; i < pixels.size(); ++i)
        if (pixels[i] == text && (edge < 0 || static_cast<int>(i) % width < edge))
            edge = static_cast<int>(i) % width;
    return edge;
}

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / frequency.QuadPart;
}

struct Sample {
    double Pixels, Seconds;
};

Sample Measure(const RECT& bar, DWORD ms, const char* startMark = nullptr,
               const char* endMark = nullptr) {
    if (startMark)
        WriteTextFile(WorkFolder() + "\\" + startMark, "");
    int from = LeadingEdge(bar, RGB(0, 0, 0));
    double start = Now();
    Sleep(ms);
    int to = LeadingEdge(bar, RGB(0, 0, 0));
    double elapsed = Now() - start;
    if (endMark)
        WriteTextFile(WorkFolder() + "\\" + endMark, "");
    return {static_cast<double>(from - to), elapsed};
}

} // namespace

int main(int argc, char** argv) {
    DWORD seconds = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 10;
    std::string folder = WorkFolder() + "\\ticker";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string exe = folder + "\\Ticker.exe";
    if (!CopyFileA((BuiltProgramsFolder() + "\\Ticker.exe").c_str(), exe.c_str(), FALSE) ||
        !WriteTextFile(folder + "\\bench.que", "0\xBB\xBB"
                                               "Bench\xBB" +
                                                   std::string(400, 'W') + "\r\n"))
        return 1;
    RunningProgram ticker = StartProgram(exe, "-fbench.que -tb");
    RECT bar{};
    bool shown = WaitUntil(
        [&] {
            for (HWND window : TopWindows(ticker.info.dwProcessId, "#32770", nullptr)) {
                GetWindowRect(window, &bar);
                if (bar.bottom - bar.top == 30)
                    return LeadingEdge(bar, RGB(0, 0, 0)) > 0;
            }
            return false;
        },
        10000);
    if (!shown) {
        std::printf("the ticker showed no text\n");
        ticker.Kill();
        return 1;
    }
    Sleep(1000); // past the start
    Sample normal = Measure(bar, seconds * 1000, "measuring", "measured");
    MoveMouseTo({bar.left + 50, bar.top + 15});
    PressMouseButton(false, true);
    Sample fast = Measure(bar, 1000);
    PressMouseButton(false, false);
    SaveScreenshot(nullptr, "ticker-bench");
    ticker.Kill();

    double speed = normal.Pixels / normal.Seconds;
    std::printf("scrolling over %.1f s: %.0f pixels, %.1f px/s (nominal %.1f, %.0f%%)\n",
                normal.Seconds, normal.Pixels, speed, kNominalPixelsPerSecond,
                100 * speed / kNominalPixelsPerSecond);
    std::printf("time per frame (1 px a frame): %.2f ms (nominal 18)\n",
                1000 * normal.Seconds / normal.Pixels);
    std::printf("left button held: %.1f px/s (nominal %.1f), %.1f times the normal speed\n",
                fast.Pixels / fast.Seconds, 8 * kNominalPixelsPerSecond,
                fast.Pixels / fast.Seconds / speed);
    return 0;
}
