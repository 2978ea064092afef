// Not a test: on the METAR page under Wine, the time from a click on a
// display check box (the button pressed and released; the pointer's move
// before it is not counted) to the new text in the output box, twenty times,
// against the sample weather service. Run by tools/bench/metar_bench.sh.
#include "tests/e2e/cumulon_fixture.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kUpdate = 5007, kList = 5013, kOutput = 5008, kRawMetar = 5085, kMetarTab = 6;

class MetarBench : public CumulonTest {};

TEST_F(MetarBench, CheckBoxClickToNewText) {
    ASSERT_NE(SampleServicePort(), 0) << "the sample weather service is not running";
    ASSERT_TRUE(WriteTextFile(folder_ + "\\links.dat", SampleCatalog()));
    ASSERT_TRUE(SeedListFile("Cumulon 3.0.7.143\r\n\r\n[METAR]\r\nKORD\xBBKORD Chicago\r\n\r\n"));
    HWND main = Start(), page = nullptr;
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(ClickTab(GetDlgItem(main, kTabControl), kMetarTab));
    ASSERT_TRUE(
        WaitUntil([&] { return (page = VisiblePage(main)) && GetDlgItem(page, kRawMetar); }, 5000));
    HWND list = GetDlgItem(page, kList), output = GetDlgItem(page, kOutput);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(list) == 1; }, 5000));
    ASSERT_TRUE(ClickListRow(list, 0));
    ClickControl(page, kUpdate);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(output).find("Raw Metar") != std::string::npos; },
                          20000));

    std::vector<double> milliseconds;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    for (int run = 0; run < 20; ++run) {
        const std::string before = WindowText(output);
        ClickControl(page, kRawMetar); // returns once the press and release are sent
        QueryPerformanceCounter(&start);
        while (WindowText(output) == before)
            Sleep(1);
        QueryPerformanceCounter(&end);
        milliseconds.push_back(1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart);
        Sleep(100);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("check box click to new text: median %.1f ms, min %.1f ms, max %.1f ms (20 runs)\n",
                (milliseconds[9] + milliseconds[10]) / 2, milliseconds.front(),
                milliseconds.back());
}

} // namespace
