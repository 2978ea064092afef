#include "pages/stations/metar_page.h"

#include "pages/stations/metar_report.h"
#include "resources/resource_ids.h"
#include "services/feed_catalog.h"
#include "services/file_io.h"
#include "services/station_picker.h"
#include "services/time_format.h"

#include <commctrl.h>

namespace {

constexpr char kSection[] = "[METAR]";
constexpr std::string_view kRun = "####";
constexpr size_t kIdentifierLength = 4;

const PageColumn kColumns[] = {{"", 0}, {"", 760}};
ToolbarIcon Icons[8];

const FlagControl kFlagControls[] = {
    {IDC_METAR_LATLON, kMetarLatLon, 0},
    {IDC_METAR_ELEVATION, kMetarElevation, 0},
    {IDC_METAR_WEATHER, kMetarWeather, 0},
    {IDC_METAR_TEMPERATURE, kMetarTemperature, 0},
    {IDC_METAR_MINMAX_TEMP, kMetarMinMaxTemp, 0},
    {IDC_METAR_DEWPOINT, kMetarDewpoint, 0},
    {IDC_METAR_WIND, kMetarWind, 0},
    {IDC_METAR_PRESSURE, kMetarPressure, 0},
    {IDC_METAR_VISIBILITY, kMetarVisibility, 0},
    {IDC_METAR_SKY_COVER, kMetarSkyCover, 0},
    {IDC_METAR_PRECIPITATION, kMetarPrecipitation, 0},
    {IDC_METAR_SNOW, kMetarSnow, 0},
    {IDC_METAR_ALTIMETER, kMetarAltimeter, 0},
    {IDC_METAR_FLIGHT_CATEGORY, kMetarFlightCategory, 0},
    {IDC_METAR_TYPE, kMetarType, 0},
    {IDC_METAR_RAW, kMetarRaw, 0},
    {IDC_METAR_FAHRENHEIT, kMetarFahrenheit, kMetarFahrenheit | kMetarCelsius},
    {IDC_METAR_CELSIUS, kMetarCelsius, kMetarFahrenheit | kMetarCelsius},
    {IDC_METAR_MPH, kMetarMph, kMetarMph | kMetarKnots},
    {IDC_METAR_KNOTS, kMetarKnots, kMetarMph | kMetarKnots},
    {IDC_METAR_INCHES, kMetarInches, kMetarInches | kMetarMillibars},
    {IDC_METAR_MILLIBARS, kMetarMillibars, kMetarInches | kMetarMillibars},
    {IDC_METAR_FEET, kMetarFeet, kMetarFeet | kMetarMeters},
    {IDC_METAR_METERS, kMetarMeters, kMetarFeet | kMetarMeters},
};

// The station identifier: the first four characters of column 0. One that
// could put a path, a wildcard or a blank into the cache name or the address
// is not used.
std::string_view Identifier(const PageRow& row) {
    if (row.Columns.empty())
        return {};
    std::string_view identifier = std::string_view(row.Columns[0]).substr(0, kIdentifierLength);
    for (char c : identifier)
        if (static_cast<unsigned char>(c) <= ' ' ||
            std::string_view("\\/:*?\"<>|.").find(c) != std::string_view::npos)
            return {};
    return identifier;
}

// The first "####" of `text` replaced by the identifier, whatever its length,
// so the rest of the template stays as written.
bool FillIdentifier(std::string* text, std::string_view identifier) {
    size_t at = text->find(kRun);
    if (at == std::string::npos)
        return false;
    text->replace(at, kRun.size(), identifier);
    return true;
}

// The unconditional fetch of the "[METAR]" "url=" feed. No identifier, no
// "url=" line or a template without its placeholder: nothing to download (the
// display then shows "no data").
int Targets(const PageRow& row, uint32_t, std::vector<FeedTarget>* targets) {
    std::string catalog;
    if (!LoadCatalogFile(kCatalogFileName, &catalog))
        return -1;
    std::string_view identifier = Identifier(row);
    CatalogEntry entry;
    char cacheFolder[MAX_PATH];
    if (identifier.empty() || !FindSingleFeed(catalog, kSection, &entry) ||
        !GetUserDataPath(cacheFolder, sizeof cacheFolder, "cache"))
        return 0;
    // The file name is filled before it is joined to the folder, so a "#" in
    // the folder's own path is never taken for the placeholder.
    FeedTarget target{entry.UrlTemplate, entry.FileTemplate};
    if (!FillIdentifier(&target.Url, identifier) || !FillIdentifier(&target.CachePath, identifier))
        return 0;
    target.CachePath = JoinPath(cacheFolder, target.CachePath);
    if (target.Url.size() > kFeedNameMax || target.CachePath.size() > kFeedNameMax)
        return 0;
    targets->push_back(std::move(target));
    return 0;
}

// The report, and the observation time in the status line when it parses
// (otherwise the status line keeps its text).
void Render(std::string_view document, const PageRow& row, uint32_t flags, PageText* text) {
    MetarReport report =
        BuildMetarReport(document, flags, row.Columns.size() > 1 ? row.Columns[1] : "");
    CalendarTime observed;
    if (ParseIsoTime(report.ObservationTime, &observed))
        SetStatusTime(text, observed);
    text->Output = std::move(report.Output);
}

// A "MetarFlags" value with both or neither bit of a unit pair (edited by
// hand) shows, and keeps, the unit the report uses.
INT_PTR OnMessage(const FeedPage& page, HWND window, UINT message, WPARAM, LPARAM, bool*) {
    if (message == WM_INITDIALOG) {
        const uint32_t flags = PageFlags(page.State), units = NormalizeMetarUnits(flags);
        if (units != flags) {
            ReplacePageFlags(page, units);
            CheckFlagControls(page, window);
        }
    }
    return FALSE;
}

} // namespace

const FeedPage MetarFeed = {
    .DialogId = IDD_METAR,
    .State = &MetarPage,
    .BusyBit = kBusyMetar,
    .SelectedSlot = kSelectedMetar,
    .HelpTopic = "metar.html",
    .Toolbar = kStationPageToolbar,
    .ToolbarCount = 8,
    .Icons = Icons,
    .StatusLeftBit = kMetarStatusLeft,
    .StatusRightBit = kMetarStatusRight,
    .FlagControls = kFlagControls,
    .FlagControlCount = sizeof kFlagControls / sizeof kFlagControls[0],
    .ListSection = kSection,
    .Columns = kColumns,
    .ColumnCount = 2,
    .ListStyles = LVS_EX_FULLROWSELECT,
    .AddCommand = IDC_INDEX,
    .OpenAdd = OpenAddLocation,
    .OpenEdit = OpenEditLocation,
    .TreeFile = "metar.trv",
    .Targets = Targets,
    .Display = ShowFeedText,
    .Render = Render,
    .Style = TextStyle::Report,
    .OnMessage = OnMessage,
};
