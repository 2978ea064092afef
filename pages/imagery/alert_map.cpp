#include "pages/imagery/alert_map.h"

#include "pages/imagery/picture.h"
#include "resources/resource_ids.h"

namespace {

constexpr char kSection[] = "[ALERTMAPS]";

ToolbarIcon Icons[3];

const FlagControl kFlagControls[] = {
    {IDC_MAP_UNITED_STATES, 0x1, kAlertMapAreas},
    {IDC_MAP_ALASKA, 0x2, kAlertMapAreas},
    {IDC_HAWAII, 0x4, kAlertMapAreas},
    {IDC_MAP_GUAM, 0x8, kAlertMapAreas},
    {IDC_MAP_PUERTO_RICO, 0x10, kAlertMapAreas},
    {IDC_MAP_AMERICAN_SAMOA, 0x20, kAlertMapAreas},
};

int Targets(const PageRow&, uint32_t flags, std::vector<FeedTarget>* targets) {
    return CatalogPictureTarget(kSection, AlertMapKeys(flags), targets);
}

PictureSpec Spec(const FeedPage& page, HWND) {
    return CatalogPictureSpec(kSection, AlertMapKeys(page.State->Flags),
                              AlertMapArea(page.State->Flags));
}

const PictureView kView = {kAlertMapWidth, kAlertMapHeight, Spec};

void Display(const FeedPage& page, HWND window) {
    ShowPicture(page, window, kView);
}

INT_PTR OnMessage(const FeedPage& page, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                  bool* handled) {
    return PictureViewMessage(page, kView, window, message, wParam, lParam, handled);
}

const FeedPage AlertMapFeed = {
    .DialogId = IDD_ALERT_MAP,
    .State = &AlertMapPage,
    .BusyBit = kBusyAlertMap,
    .HelpTopic = "alertmaplegend.html",
    .Toolbar = kImageViewToolbar,
    .ToolbarCount = 3,
    .Icons = Icons,
    .StatusLeftBit = 0x40,
    .StatusRightBit = 0x80,
    .FlagControls = kFlagControls,
    .FlagControlCount = sizeof kFlagControls / sizeof kFlagControls[0],
    .Targets = Targets,
    .Conditional = true,
    .Display = Display,
    .BoldOutput = false,
    .PositionValue = "AlertMapXY",
    .Modal = true,
    .HelpWindow = "AlertMapLegend", // the map's colours
    .OnMessage = OnMessage,
};

} // namespace

void OpenAlertMap(HWND owner) {
    OpenModalPage(AlertMapFeed, owner);
}
