// Not a test: under Wine, opening Add Location on the largest station tree
// file, ten times, from the click on "index" to the dialog on screen with its
// tree filled. Run by tools/bench/station_bench.sh.
#include "tests/e2e/cumulon_fixture.h"
#include "tools/bench/click_bench.h"

namespace {

using StationBench = CumulonTest;

TEST_F(StationBench, OpeningTheLargestTree) {
    std::string largest, text;
    for (const char* name :
         {"observations.trv", "radar.trv", "alert.trv", "metar.trv", "river.trv"}) {
        std::string file = ReadTextFile(BuiltProgramsFolder() + "\\" + name);
        if (file.size() > text.size())
            largest = name, text = file;
    }
    ASSERT_TRUE(WriteTextFile(folder_ + "\\observations.trv", text));
    StartOnTab(kObservationsTab);
    std::vector<double> milliseconds;
    LRESULT items = 0;
    for (int run = 0; run < 10; ++run) {
        const LARGE_INTEGER start = Now();
        ClickControl(page_, IDC_INDEX);
        HWND picker = nullptr;
        while (!picker || !IsWindowVisible(picker))
            picker = FindWindowA("#32770", "Add Location");
        milliseconds.push_back(MillisecondsSince(start));
        items = SendDlgItemMessageA(picker, IDC_STATION_TREE, TVM_GETCOUNT, 0, 0);
        PostMessageA(picker, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }, 5000));
    }
    const std::string what = "opening Add Location on " + largest + " (" +
                             std::to_string(text.size()) + " bytes, " + std::to_string(items) +
                             " items)";
    PrintTimes(what.c_str(), milliseconds);
}

} // namespace
