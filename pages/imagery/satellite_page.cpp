#include "pages/imagery/satellite_page.h"

#include "pages/imagery/picture.h"
#include "pages/imagery/satellite_wide.h"
#include "resources/resource_ids.h"

namespace {

constexpr char kSection[] = "[SATELLITE]";
constexpr int kWidth = 720, kHeight = 480;
constexpr uint32_t kSectors = 0x3FFF, kTypes = 0x1C000, kColours = 0x1FE0000;

ToolbarIcon Icons[3];

const FlagControl kFlagControls[] = {
    {IDC_SAT_WESTERN_ATLANTIC, 0x1, kSectors},
    {IDC_SAT_CENTRAL_ATLANTIC, 0x2, kSectors},
    {IDC_SAT_CARIBBEAN, 0x4, kSectors},
    {IDC_SAT_GULF_OF_MEXICO, 0x8, kSectors},
    {IDC_SAT_EASTERN_US, 0x10, kSectors},
    {IDC_SAT_CENTRAL_US, 0x20, kSectors},
    {IDC_SAT_NORTHWEST_ATLANTIC, 0x40, kSectors},
    {IDC_SAT_NORTH_ATLANTIC, 0x80, kSectors},
    {IDC_SAT_EASTERN_EAST_PACIFIC, 0x100, kSectors},
    {IDC_SAT_EAST_PACIFIC, 0x200, kSectors},
    {IDC_SAT_CENTRAL_PACIFIC, 0x400, kSectors},
    {IDC_HAWAII, 0x800, kSectors},
    {IDC_SAT_NORTHEAST_PACIFIC, 0x1000, kSectors},
    {IDC_SAT_WESTERN_US, 0x2000, kSectors},
    {IDC_SAT_VISIBLE, 0x4000, kTypes},
    {IDC_SAT_INFRARED, 0x8000, kTypes},
    {IDC_SAT_WATER_VAPOR, 0x10000, kTypes},
    {IDC_SAT_AVIATION, 0x20000, kColours},
    {IDC_SAT_SHORTWAVE, 0x40000, kColours},
    {IDC_SAT_DVORAK, 0x80000, kColours},
    {IDC_SAT_UNENHANCED, 0x100000, kColours},
    {IDC_SAT_JSL, 0x200000, kColours},
    {IDC_SAT_RGB, 0x400000, kColours},
    {IDC_SAT_FUNKTOP, 0x800000, kColours},
    {IDC_SAT_RAINBOW, 0x1000000, kColours},
};

int Targets(const PageRow&, uint32_t flags, std::vector<FeedTarget>* targets) {
    return CatalogPictureTarget(kSection, SatelliteKeys(kSatelliteChoices, flags), targets);
}

PictureSpec Spec(const FeedPage& page, HWND) {
    return CatalogPictureSpec(kSection, SatelliteKeys(kSatelliteChoices, page.State->Flags),
                              {0, 0, kWidth, kHeight});
}

const PictureView kView = {kWidth, kHeight, Spec};

void Display(const FeedPage& page, HWND window) {
    ShowPicture(page, window, kView);
}

INT_PTR OnMessage(const FeedPage& page, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                  bool* handled) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_WIDE_VIEW) {
        if (HIWORD(wParam) == BN_CLICKED)
            OpenSatelliteWideView(window);
        *handled = true;
        return TRUE;
    }
    return PictureViewMessage(page, kView, window, message, wParam, lParam, handled);
}

} // namespace

const FeedPage SatelliteFeed = {
    .DialogId = IDD_SATELLITE,
    .State = &SatellitePage,
    .BusyBit = kBusySatellite,
    .HelpTopic = "satellite.html",
    .Toolbar = kImageViewToolbar,
    .ToolbarCount = 3,
    .Icons = Icons,
    .StatusLeftBit = 0x2000000,
    .StatusRightBit = 0x4000000,
    .FlagControls = kFlagControls,
    .FlagControlCount = sizeof kFlagControls / sizeof kFlagControls[0],
    .Targets = Targets,
    .Conditional = true,
    .Display = Display,
    .BoldOutput = false,
    .OnMessage = OnMessage,
};
