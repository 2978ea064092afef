// Not a test: on the point forecast page under Wine against the sample
// weather service, the time from the update click to the forecast on screen,
// twenty times. Run by tools/bench/forecast_bench.sh.
#include "tests/e2e/cumulon_fixture.h"
#include "tools/bench/click_bench.h"

namespace {

using ForecastBench = CumulonTest;

TEST_F(ForecastBench, UpdateClickToForecastOnScreen) {
    UseSampleCatalog();
    ASSERT_TRUE(SeedListFile(ListFile("POINTFORECAST", {"Louisville, KY»38.25»-85.76"})));
    StartOnTab(kPointTab);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 1; }, 5000));
    Select(0);
    auto shown = [&] { return Shows("Elevation: ") && Shows("\r\n\r\n"); };
    std::vector<double> milliseconds;
    for (int run = -1; run < 20; ++run) { // the first run makes the service's answer once
        SetText(GetDlgItem(page_, IDC_OUTPUT), "");
        const LARGE_INTEGER start = Now();
        ClickControl(page_, IDC_UPDATE);
        while (!shown() && MillisecondsSince(start) < 30000)
            Sleep(1);
        ASSERT_TRUE(shown());
        if (run >= 0)
            milliseconds.push_back(MillisecondsSince(start));
        Sleep(200); // the worker has ended before the next click
    }
    PrintTimes("update click to forecast on screen", milliseconds);
}

} // namespace
