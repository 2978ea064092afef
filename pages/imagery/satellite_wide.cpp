#include "pages/imagery/satellite_wide.h"

#include "pages/imagery/picture.h"
#include "resources/resource_ids.h"

namespace {

constexpr char kSection[] = "[SATELLITEWIDE]";
constexpr int kWidth = 1120, kHeight = 480;
constexpr uint32_t kRegions = 0x3, kTypes = 0x1C, kColours = 0x1FE0;

ToolbarIcon Icons[3];

const FlagControl kFlagControls[] = {
    {IDC_WIDE_ATLANTIC, 0x1, kRegions},    {IDC_WIDE_PACIFIC, 0x2, kRegions},
    {IDC_SAT_VISIBLE, 0x4, kTypes},        {IDC_SAT_INFRARED, 0x8, kTypes},
    {IDC_SAT_WATER_VAPOR, 0x10, kTypes},   {IDC_SAT_AVIATION, 0x20, kColours},
    {IDC_SAT_SHORTWAVE, 0x40, kColours},   {IDC_SAT_DVORAK, 0x80, kColours},
    {IDC_SAT_UNENHANCED, 0x100, kColours}, {IDC_SAT_JSL, 0x200, kColours},
    {IDC_SAT_RGB, 0x400, kColours},        {IDC_SAT_FUNKTOP, 0x800, kColours},
    {IDC_SAT_RAINBOW, 0x1000, kColours},
};

int Targets(const PageRow&, uint32_t flags, std::vector<FeedTarget>* targets) {
    return CatalogPictureTarget(kSection, SatelliteKeys(kSatelliteWideChoices, flags), targets);
}

PictureSpec Spec(const FeedPage& page, HWND) {
    return CatalogPictureSpec(kSection, SatelliteKeys(kSatelliteWideChoices, page.State->Flags),
                              {0, 0, kWidth, kHeight});
}

const PictureView kView = {kWidth, kHeight, Spec};

void Display(const FeedPage& page, HWND window) {
    ShowPicture(page, window, kView);
}

INT_PTR OnMessage(const FeedPage& page, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                  bool* handled) {
    return PictureViewMessage(page, kView, window, message, wParam, lParam, handled);
}

const FeedPage SatelliteWideFeed = {
    .DialogId = IDD_SATELLITE_WIDE,
    .State = &SatelliteWidePage,
    .BusyBit = kBusySatelliteWide,
    .HelpTopic = "satellite.html",
    .Toolbar = kImageViewToolbar,
    .ToolbarCount = 3,
    .Icons = Icons,
    .StatusLeftBit = 0x2000,
    .StatusRightBit = 0x4000,
    .FlagControls = kFlagControls,
    .FlagControlCount = sizeof kFlagControls / sizeof kFlagControls[0],
    .Targets = Targets,
    .Conditional = true,
    .Display = Display,
    .BoldOutput = false,
    .PositionValue = "SatelliteWideXY",
    .Modal = true,
    .OnMessage = OnMessage,
};

} // namespace

void OpenSatelliteWideView(HWND owner) {
    OpenModalPage(SatelliteWideFeed, owner);
}
