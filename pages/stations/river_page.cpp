#include "pages/stations/river_page.h"

#include "pages/stations/river_report.h"
#include "resources/resource_ids.h"
#include "services/file_io.h"
#include "services/http_fetch.h"
#include "services/http_request.h"
#include "services/station_picker.h"
#include "services/text_buffer.h"

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

// The RSS feed writes "<", ">", "'" and "&" of its descriptions as character
// references; the labelled lines end at the next "<", so the cache file is
// decoded in place. Only a file this fetch has just written: decoding a file
// twice would turn the feed's own "&#x26;#x3C;" into a "<" that cuts a line.
// The gauge JSON is UTF-8 and stays as it came: the decoding step drops every
// byte 0x95, a continuation byte of UTF-8.
void AfterFetch(const FeedTarget& target) {
    std::string document;
    if (!ReadWholeFile(target.CachePath.c_str(), &document) || IsRiverGaugeJson(document))
        return;
    auto request = std::make_unique<FetchRequest>();
    InitFetchRequest(request.get());
    if (SetFetchTarget(request.get(), target.Url, target.CachePath, false))
        DecodeCharacterReferences(request.get());
}

void Render(std::string_view document, const PageRow&, uint32_t, PageText* text) {
    RiverGaugeText gauge = RenderRiverGauge(document, TextOf(GlobalSettings.TimeFormat));
    text->Output = std::move(gauge.Output);
    text->Status = std::move(gauge.Status);
    text->SetStatus = gauge.HasStatus;
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
