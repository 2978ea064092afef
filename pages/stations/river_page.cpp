#include "pages/stations/river_page.h"

#include "pages/stations/river_report.h"
#include "resources/resource_ids.h"
#include "services/http_fetch.h"
#include "services/http_request.h"
#include "services/station_picker.h"

#include <commctrl.h>

#include <memory>

namespace {

constexpr char kSection[] = "[RIVERGAUGES]";

const PageColumn kColumns[] = {{"", 0}, {"", 873}};
ToolbarIcon Icons[8];

// The address carries the identifier in lower case; the cache file name keeps
// the list's spelling. An identifier shorter than five characters gives no
// target: no download and "no data".
int Targets(const PageRow& row, uint32_t, std::vector<FeedTarget>* targets) {
    return CodeFeedTarget(kSection, row.Columns[0], "#####", true, targets);
}

// The feed writes "<", ">", "'" and "&" of its descriptions as character
// references; the labelled lines end at the next "<", so the cache file is
// decoded in place. Only a file this fetch has just written: decoding a file
// twice would turn the feed's own "&#x26;#x3C;" into a "<" that cuts a line.
void AfterFetch(const FeedTarget& target) {
    auto request = std::make_unique<FetchRequest>();
    InitFetchRequest(request.get());
    if (SetFetchTarget(request.get(), target.Url, target.CachePath, false))
        DecodeCharacterReferences(request.get());
}

void Render(std::string_view document, const PageRow&, uint32_t, PageText* text) {
    text->Output = BuildRiverReport(document);
    CalendarTime built;
    if (RiverBuildTime(document, &built))
        SetStatusTime(text, built);
}

} // namespace

const FeedPage RiverFeed = {
    .DialogId = IDD_RIVER,
    .State = &RiverPage,
    .BusyBit = kBusyRiver,
    .SelectedSlot = kSelectedRiver,
    .HelpTopic = "river.html",
    .Toolbar = kStationPageToolbar,
    .ToolbarCount = 8,
    .Icons = Icons,
    .StatusLeftBit = kRiverStatusLeft,
    .StatusRightBit = kRiverStatusRight,
    .ListSection = kSection,
    .Columns = kColumns,
    .ColumnCount = 2,
    .ListStyles = LVS_EX_FULLROWSELECT,
    .AddCommand = IDC_INDEX,
    .OpenAdd = OpenAddLocation,
    .OpenEdit = OpenEditLocation,
    .TreeFile = "river.trv",
    .Targets = Targets,
    .AfterFetch = AfterFetch,
    .Display = ShowFeedText,
    .Render = Render,
    .Style = TextStyle::Report,
};
