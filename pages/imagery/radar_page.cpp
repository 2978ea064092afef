#include "pages/imagery/radar_page.h"

#include "pages/imagery/picture.h"
#include "pages/imagery/radar_layers.h"
#include "resources/resource_ids.h"
#include "services/feed_catalog.h"
#include "services/file_io.h"
#include "services/station_picker.h"

#include <commctrl.h>

namespace {

constexpr int kWidth = 600, kHeight = 550;

const PageColumn kColumns[] = {{"Site", 0}, {"Name", 258}};
ToolbarIcon Icons[8];

// Short Range and Long Range are handled here, not by the skeleton: they
// also change which product buttons can be chosen.
const FlagControl kFlagControls[] = {
    {IDC_RADAR_TOPOGRAPHY, kRadarTopography, 0},
    {IDC_RADAR_RIVERS, kRadarRivers, 0},
    {IDC_RADAR_HIGHWAYS, kRadarHighways, 0},
    {IDC_RADAR_BOUNDARIES, kRadarBoundaries, 0},
    {IDC_RADAR_CITIES, kRadarCities, 0},
    {IDC_RADAR_WARNINGS, kRadarWarnings, 0},
    {IDC_RADAR_IMAGE, kRadarImage, 0},
    {IDC_RADAR_LEGEND, kRadarLegend, 0},
    {IDC_RADAR_BASE_REFLECTIVITY, kRadarBaseReflectivity, kRadarProducts},
    {IDC_RADAR_STORM_RELATIVE_MOTION, kRadarStormRelativeMotion, kRadarProducts},
    {IDC_RADAR_BASE_VELOCITY, kRadarBaseVelocity, kRadarProducts},
    {IDC_RADAR_ONE_HOUR_PRECIPITATION, kRadarOneHourPrecipitation, kRadarProducts},
    {IDC_RADAR_COMPOSITE_REFLECTIVITY, kRadarCompositeReflectivity, kRadarProducts},
    {IDC_RADAR_STORM_TOTAL_PRECIPITATION, kRadarStormTotalPrecipitation, kRadarProducts},
};
constexpr int kFlagControlCount = sizeof kFlagControls / sizeof kFlagControls[0];

// The site of a row: column 0, exactly four letters or digits.
std::string SiteOf(const PageRow& row) {
    return row.Index >= 0 && !row.Columns.empty() && IsRadarSiteCode(row.Columns[0])
               ? row.Columns[0]
               : std::string();
}

// -1 without a catalog, else 0 with the enabled layers (none without a site).
int Layers(const std::string& site, uint32_t flags, std::vector<RadarLayer>* layers) {
    std::string catalog;
    char cacheFolder[MAX_PATH];
    if (!LoadCatalogFile(kCatalogFileName, &catalog))
        return -1;
    if (!site.empty() && GetUserDataPath(cacheFolder, sizeof cacheFolder, "cache"))
        *layers = RadarLayers(catalog, flags, site, cacheFolder);
    return 0;
}

int Targets(const PageRow& row, uint32_t flags, std::vector<FeedTarget>* targets) {
    std::vector<RadarLayer> layers;
    if (Layers(SiteOf(row), flags, &layers) != 0)
        return -1;
    for (RadarLayer& layer : layers)
        targets->push_back({std::move(layer.Url), std::move(layer.CachePath)});
    return 0;
}

// The site whose picture the page shows. While several rows are selected the
// page keeps showing it (a click with Shift or Ctrl adds a row); with no row
// selected the area is black.
std::string ShownSite;

PictureSpec Spec(const FeedPage& page, HWND window) {
    PictureSpec spec;
    const PageRow row = TakeSelectedRow(page, window);
    if (row.Index >= 0)
        ShownSite = SiteOf(row);
    else if (SendDlgItemMessageA(window, IDC_LIST, LVM_GETSELECTEDCOUNT, 0, 0) < 2)
        ShownSite.clear();
    const std::string site = ShownSite;
    std::vector<RadarLayer> layers;
    if (site.empty() || Layers(site, page.State->Flags, &layers) != 0)
        return spec; // a row that names no site counts as no selection
    spec.Shown = true;
    spec.MissingTimedBlanks = true;
    spec.Target = {0, 0, kWidth, kHeight};
    for (const RadarLayer& layer : layers)
        spec.Layers.push_back({layer.CachePath, layer.IsRadar});
    return spec;
}

const PictureView kView = {kWidth, kHeight, Spec};

void Display(const FeedPage& page, HWND window) {
    ShowPicture(page, window, kView);
}

// Short Range offers the six products, the flags' choice checked. Long Range
// offers base reflectivity only (its product bit is always set): the other
// five are greyed and Base Reflectivity shows checked. The short-range choice
// stays in the flags and returns with Short Range.
void ShowRange(HWND window, uint32_t flags) {
    const bool longRange = flags & kRadarLongRange;
    CheckRadioButton(window, IDC_RADAR_SHORT_RANGE, IDC_RADAR_LONG_RANGE,
                     longRange ? IDC_RADAR_LONG_RANGE : IDC_RADAR_SHORT_RANGE);
    for (int i = 0; i < 6; ++i) {
        const int id = IDC_RADAR_BASE_REFLECTIVITY + i;
        const bool checked = longRange ? i == 0 : (flags & (kRadarBaseReflectivity << i)) != 0;
        CheckDlgButton(window, id, checked ? BST_CHECKED : BST_UNCHECKED);
        if (i > 0)
            EnableWindow(GetDlgItem(window, id), !longRange);
    }
}

void ChooseRange(const FeedPage& page, HWND window, uint32_t range) {
    SetPageFlag(page, kRadarRanges, false);
    SetPageFlag(page, range, true);
    ShowRange(window, page.State->Flags);
    Display(page, window);
}

INT_PTR OnMessage(const FeedPage& page, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                  bool* handled) {
    if (message == WM_INITDIALOG) {
        ShownSite.clear();
        // A saved value is read with exactly one range and the long-range product.
        ReplacePageFlags(page, NormalizeRadarFlags(PageFlags(page.State)));
        CheckFlagControls(page, window);
        ShowRange(window, page.State->Flags);
    } else if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
               (LOWORD(wParam) == IDC_RADAR_SHORT_RANGE ||
                LOWORD(wParam) == IDC_RADAR_LONG_RANGE)) {
        ChooseRange(page, window,
                    LOWORD(wParam) == IDC_RADAR_LONG_RANGE ? kRadarLongRange : kRadarShortRange);
        *handled = true;
        return TRUE;
    }
    return PictureViewMessage(page, kView, window, message, wParam, lParam, handled);
}

} // namespace

const FeedPage RadarFeed = {
    .DialogId = IDD_RADAR,
    .State = &RadarPage,
    .BusyBit = kBusyRadar,
    .SelectedSlot = kSelectedRadar,
    .HelpTopic = "radar.html",
    .Toolbar = kStationPageToolbar,
    .ToolbarCount = 8,
    .Icons = Icons,
    .StatusLeftBit = kRadarStatusLeft,
    .StatusRightBit = kRadarStatusRight,
    .FlagControls = kFlagControls,
    .FlagControlCount = kFlagControlCount,
    .StopBit = kRadarStop,
    .ListSection = kRadarSection,
    .Columns = kColumns,
    .ColumnCount = 2,
    .ListStyles = LVS_EX_FULLROWSELECT,
    .AddCommand = IDC_INDEX,
    .OpenAdd = OpenAddLocation,
    .OpenEdit = OpenEditLocation,
    .TreeFile = "radar.trv",
    .Targets = Targets,
    .Conditional = true,
    .Display = Display,
    .BoldOutput = false,
    .OnMessage = OnMessage,
};
