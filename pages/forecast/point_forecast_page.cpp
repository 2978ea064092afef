#include "pages/forecast/point_forecast_page.h"

#include "pages/forecast/forecast_text.h"
#include "pages/forecast/point_dialogs.h"
#include "pages/forecast/point_feed.h"
#include "resources/resource_ids.h"
#include "services/text_buffer.h"

#include <commctrl.h>

namespace {

constexpr char kSection[] = "[POINTFORECAST]";

const PageColumn kColumns[] = {{"Location", 634}, {"Latitude", 120}, {"Longitude", 120}};
ToolbarIcon Icons[8];

int Targets(const PageRow& row, uint32_t, std::vector<FeedTarget>* targets) {
    return PointFeedTarget(kSection, row, targets);
}

void Render(std::string_view document, const PageRow&, uint32_t, PageText* text) {
    text->Output = RenderPointForecast(document, TextOf(GlobalSettings.TimeFormat));
}

} // namespace

const FeedPage PointForecastFeed = {
    .DialogId = IDD_POINT_FORECAST,
    .State = &PointForecastPage,
    .BusyBit = kBusyPointForecast,
    .SelectedSlot = kSelectedPointForecast,
    .HelpTopic = "pointforecast.html",
    .Toolbar = kPointPageToolbar,
    .ToolbarCount = 8,
    .Icons = Icons,
    .StatusLeftBit = 0x1,
    .StatusRightBit = 0x2,
    .ListSection = kSection,
    .Columns = kColumns,
    .ColumnCount = 3,
    .ListStyles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
    .AddCommand = IDC_ADD,
    .OpenAdd = OpenAddPoint,
    .OpenEdit = OpenEditPoint,
    .Targets = Targets,
    .Display = ShowFeedText,
    .Render = Render,
    .Style = TextStyle::Forecast,
    .NotAvailable = "forecast not available for this area",
};
