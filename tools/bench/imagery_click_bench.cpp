// Not a test: on the radar page under Wine against the sample weather
// service, the time from the update click to the composited picture on
// screen with every overlay on, the cache emptied before each click; and the
// redraw from the cache when a check box is clicked. Twenty times each. Run
// by tools/bench/imagery_bench.sh.
#include "tests/e2e/cumulon_fixture.h"
#include "tools/bench/click_bench.h"

#include <algorithm>

namespace {

class RadarBench : public CumulonTest {
  protected:
    std::vector<COLORREF> Picture() const {
        RECT area{};
        GetWindowRect(GetDlgItem(page_, IDC_OUTPUT), &area);
        return ScreenPixels(area);
    }
    // "Loading..." is white text in the top left corner of the black area.
    bool ShowsLoading() const {
        RECT area{};
        GetWindowRect(GetDlgItem(page_, IDC_OUTPUT), &area);
        std::vector<COLORREF> pixels =
            ScreenPixels({area.left, area.top, area.left + 75, area.top + 20});
        return std::count_if(pixels.begin(), pixels.end(), [](COLORREF c) {
                   return GetRValue(c) > 215 && GetGValue(c) > 215 && GetBValue(c) > 215;
               }) > 20;
    }
};

TEST_F(RadarBench, UpdateAndRedraw) {
    UseSampleCatalog();
    ASSERT_TRUE(SeedListFile(ListFile("RADAR", {"KLOT»KLOT Chicago, IL"})));
    StartOnTab(kRadarTab);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 1; }, 5000));
    Select(0);
    ClickControl(page_, IDC_UPDATE); // the service makes the pictures once
    ASSERT_TRUE(WaitUntil([&] { return IsFileTime(Status()); }, 60000));
    std::vector<double> update, redraw;
    for (int run = 0; run < 20; ++run) {
        Sleep(300);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(CachePath("radar_KLOT_*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
            DeleteFileA(CachePath(found.cFileName).c_str());
        FindClose(search);
        const LARGE_INTEGER start = Now();
        ClickControl(page_, IDC_UPDATE);
        bool loading = false;
        while (!(loading && IsFileTime(Status()) && !ShowsLoading()) &&
               MillisecondsSince(start) < 60000) {
            loading = loading || Status().empty();
            Sleep(1);
        }
        update.push_back(MillisecondsSince(start));
    }
    for (int run = 0; run < 20; ++run) {
        Sleep(300);
        const std::vector<COLORREF> before = Picture();
        const LARGE_INTEGER start = Now();
        ClickControl(page_, IDC_RADAR_CITIES);
        while (Picture() == before && MillisecondsSince(start) < 10000)
            Sleep(1);
        redraw.push_back(MillisecondsSince(start));
    }
    PrintTimes("radar update click to composited picture on screen (8 layers, cache emptied)",
               update);
    PrintTimes("check box click to redrawn picture from the cache", redraw);
}

} // namespace
