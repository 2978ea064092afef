// Not a test: on the METAR page under Wine, the time from a click on a
// display check box (the button pressed and released; the pointer's move
// before it is not counted) to the new text in the output box, twenty times,
// against the sample weather service. Run by tools/bench/metar_bench.sh.
#include "tests/e2e/cumulon_fixture.h"
#include "tools/bench/click_bench.h"

namespace {

using MetarBench = CumulonTest;

TEST_F(MetarBench, CheckBoxClickToNewText) {
    UseSampleCatalog();
    ASSERT_TRUE(SeedListFile(ListFile("METAR", {"KORD»KORD Chicago"})));
    StartOnTab(kMetarTab);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 1; }, 5000));
    Select(0);
    ClickControl(page_, IDC_UPDATE);
    ASSERT_TRUE(WaitUntil([&] { return Shows("Raw Metar"); }, 20000));

    std::vector<double> milliseconds;
    for (int run = 0; run < 20; ++run) {
        const std::string before = Output();
        ClickControl(page_, IDC_METAR_RAW); // returns once the press and release are sent
        const LARGE_INTEGER start = Now();
        while (Output() == before)
            Sleep(1);
        milliseconds.push_back(MillisecondsSince(start));
        Sleep(100);
    }
    PrintTimes("check box click to new text", milliseconds);
}

} // namespace
