#include "pages/forecast/point_forecast_page.h"

#include "app/app_state.h"
#include "pages/forecast/forecast_text.h"
#include "pages/forecast/point_dialogs.h"
#include "pages/forecast/point_feed.h"
#include "resources/resource_ids.h"
#include "services/feed_page.h"
#include "services/file_io.h"
#include "services/list_view.h"
#include "services/time_format.h"

#include <commctrl.h>

#include <string>

namespace {

constexpr char kSection[] = "[POINTFORECAST]";
constexpr uint32_t kStatusLeft = 0x1;
constexpr uint32_t kStatusRight = 0x2;

const PageColumn kColumns[] = {{"Location", 634}, {"Latitude", 120}, {"Longitude", 120}};
ToolbarIcon Icons[kToolbarIconCount];
bool IconsReset;

bool SelectedPlace(HWND page, int index, std::string* url, std::string* cachePath) {
    HWND list = GetDlgItem(page, IDC_LIST);
    std::string latitude = ListItemText(list, index, 1, kCoordinateReadMax);
    std::string longitude = ListItemText(list, index, 2, kCoordinateReadMax);
    return MakePointFeedNames(kSection, latitude, longitude, url, cachePath) == 0;
}

const FeedPage kPage = {
    IDD_POINT_FORECAST,
    &PointForecastPage,
    kBusyPointForecast,
    kSelectedPointForecast,
    kSection,
    kSection,
    kColumns,
    3,
    LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
    IDC_ADD,
    IDD_ADD_POINT,
    AddPointDialogProc,
    IDD_EDIT_POINT,
    EditPointDialogProc,
    "pointforecast.html",
    kStatusLeft,
    kStatusRight,
    PointForecastWorker,
    ShowPointForecast,
    Icons,
    &IconsReset,
};

} // namespace

INT_PTR CALLBACK PointForecastPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleFeedPageMessage(kPage, window, message, wParam, lParam);
}

DWORD WINAPI PointForecastWorker(void* pageWindow) {
    HWND page = static_cast<HWND>(pageWindow);
    int index = GetSelectedIndex(GetDlgItem(page, IDC_LIST));
    if (index < 0)
        return 0;
    std::string url, cachePath;
    if (!SelectedPlace(page, index, &url, &cachePath))
        return static_cast<DWORD>(-1); // no catalog: the page is not touched
    RunPageDownload(kPage, page, url.c_str(), cachePath.c_str(), false);
    return 0;
}

int ShowPointForecast(HWND page) {
    if (RuntimeFlagSet(kBusyPointForecast)) {
        SetDlgItemTextA(page, IDC_OUTPUT, "Loading...");
        return 0;
    }
    int index = GetSelectedIndex(GetDlgItem(page, IDC_LIST));
    Selected[kSelectedPointForecast] = index;
    if (index < 0)
        return -1;
    std::string url, cachePath;
    if (!SelectedPlace(page, index, &url, &cachePath))
        return -1;
    if (cachePath.empty() || !FileExists(cachePath.c_str())) {
        SetDlgItemTextA(page, IDC_STATUS, "no data");
        SetDlgItemTextA(page, IDC_OUTPUT, "");
        return 0;
    }
    char fileTime[kFormattedTimeSize];
    if (!FormatFileTime(cachePath.c_str(), fileTime, sizeof fileTime))
        return -1;
    SetDlgItemTextA(page, IDC_STATUS, fileTime);
    std::string document;
    if (!ReadWholeFile(cachePath.c_str(), &document))
        return -1;
    std::string text = RenderPointForecast(document);
    if (text.empty()) {
        SetDlgItemTextA(page, IDC_STATUS, "forecast not available for this area");
        SetDlgItemTextA(page, IDC_OUTPUT, "");
    } else {
        SetDlgItemTextA(page, IDC_OUTPUT, text.c_str());
    }
    return 0;
}
