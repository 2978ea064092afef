#include "app/main_window.h"

#include "app/about_dialog.h"
#include "app/saved_lists.h"
#include "app/settings_dialog.h"
#include "app/tab_pages.h"
#include "app/tray_window.h"
#include "pages/alerts/alerts_page.h"
#include "pages/forecast/hourly_forecast_page.h"
#include "pages/forecast/point_forecast_page.h"
#include "pages/stations/metar_page.h"
#include "pages/stations/observations_page.h"
#include "pages/stations/river_page.h"
#include "pages/imagery/picture.h"
#include "pages/imagery/radar_page.h"
#include "pages/imagery/satellite_page.h"
#include "resources/resource_ids.h"
#include "services/dpi.h"
#include "services/registry.h"
#include "services/shared_state.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// A page's dialog and state are its FeedPage record's.
struct PageEntry {
    const FeedPage* feed;
    const char* caption;
    int tabIndex;
    bool picture = false; // shows a picture at its own pixel size
};

// In the order the pages are created; tabIndex gives the order of the tabs.
const PageEntry kPages[] = {
    {&PointForecastFeed, "Point Forecast", 0},
    {&HourlyForecastFeed, "Hourly Point Forecast", 1},
    {&RadarFeed, "Radar", 4, true},
    {&ObservationsFeed, "Current Observations", 2},
    {&SatelliteFeed, "Satellite", 5, true},
    {&MetarFeed, "Metar", 6},
    {&AlertsFeed, "Alerts", 3},
    {&RiverFeed, "River Gauges", 7},
};
constexpr int kPageCount = sizeof kPages / sizeof kPages[0];

// The order in which the pages are destroyed when the window closes.
PageState* const kDestroyOrder[] = {&PointForecastPage, &HourlyForecastPage, &ObservationsPage,
                                    &AlertsPage,        &RadarPage,          &SatellitePage,
                                    &MetarPage,         &RiverPage};

HWND TabControl;
HICON SmallIcon;
HICON LargeIcon;

// Posted to itself while pages remain to be made.
constexpr UINT WM_MAKE_NEXT_PAGE = WM_APP + 20;

const PageEntry* EntryOfTab(int tab) {
    for (const PageEntry& page : kPages)
        if (page.tabIndex == tab)
            return &page;
    return nullptr;
}

// Makes the page unless it exists and puts it under its tab; its window, or
// null when it cannot be made.
HWND MakePage(const PageEntry& page) {
    PageState* state = page.feed->State;
    if (state->Window)
        return state->Window;
    HWND window = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(page.feed->DialogId), MainWindow,
                                     FeedPageProc, reinterpret_cast<LPARAM>(page.feed));
    state->Window = window;
    if (window)
        AttachTabPage(TabControl, page.tabIndex, window);
    return window;
}

// Makes the next page not made yet, in the order the pages are made (a page
// that cannot be made is tried once); false when none is left.
int NextPageToMake;
bool MakeNextPage() {
    while (NextPageToMake < kPageCount && kPages[NextPageToMake].feed->State->Window)
        ++NextPageToMake;
    if (NextPageToMake == kPageCount)
        return false;
    MakePage(kPages[NextPageToMake++]);
    return NextPageToMake < kPageCount;
}

// True while the window is being sized at opening: no position is saved.
bool Placing;

// Pages show their pictures at the pictures' own pixel size. Where a picture
// page is smaller than its picture needs (a smaller dialog font), the window
// grows by the most any page lacks, within the work area, keeping its centre;
// the tab grows with it, the Settings button and the About icon keep their
// corner, and the pages made so far take the tab's new size.
void GrowToHoldPictures(HWND window) {
    int across = 0, down = 0;
    for (const PageEntry& page : kPages) {
        if (HWND pageWindow = page.feed->State->Window) {
            const LRESULT lack = SendMessageA(pageWindow, WM_PICTURE_SHORTFALL, 0, 0);
            across = std::max<int>(across, LOWORD(lack));
            down = std::max<int>(down, HIWORD(lack));
        }
    }
    RECT frame, work;
    GetWindowRect(window, &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    across = std::min<int>(across,
                           std::max<int>(0, (work.right - work.left) - (frame.right - frame.left)));
    down = std::min<int>(down,
                         std::max<int>(0, (work.bottom - work.top) - (frame.bottom - frame.top)));
    if (!across && !down)
        return;
    const int width = frame.right - frame.left + across, height = frame.bottom - frame.top + down;
    const int left = std::clamp<int>(frame.left - across / 2, work.left, work.right - width);
    const int top = std::clamp<int>(frame.top - down / 2, work.top, work.bottom - height);
    Placing = true;
    SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Placing = false;
    RECT tab;
    GetWindowRect(TabControl, &tab);
    SetWindowPos(TabControl, nullptr, 0, 0, tab.right - tab.left + across,
                 tab.bottom - tab.top + down, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int id : {IDC_SETTINGS, IDC_ABOUT}) {
        HWND control = GetDlgItem(window, id);
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        SetWindowPos(control, nullptr, rect.left + across, rect.top + down, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const PageEntry& page : kPages)
        if (HWND pageWindow = page.feed->State->Window)
            AttachTabPage(TabControl, page.tabIndex, pageWindow);
}

// Height 16 at 96 DPI, in proportion on a denser screen.
HFONT MakeArialFont(HWND window, int weight) {
    return CreateFontA(ScaleForWindow(window, 16), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, "Arial");
}

void OnInitDialog(HWND window) {
    MainWindow = window;
    TabControl = GetDlgItem(window, IDC_TAB);
    BoldFont = MakeArialFont(window, FW_BOLD);
    ListFont = MakeArialFont(window, FW_NORMAL);

    // 16 and 32 pixels at 96 DPI: the sizes the screen asks for.
    SmallIcon = static_cast<HICON>(LoadImageA(AppInstance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
    LargeIcon =
        static_cast<HICON>(LoadImageA(AppInstance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(SmallIcon));
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LargeIcon));
    // The About icon, 32 pixels at 96 DPI, kept inside its place on a denser
    // screen, where the dialog's font does not grow quite as fast as the DPI.
    if (const int size = ScaleForWindow(window, 32); size != 32) {
        RECT place = {0, 0, 21, 20};
        MapDialogRect(window, &place);
        SendDlgItemMessageA(window, IDC_ABOUT, STM_SETICON,
                            reinterpret_cast<WPARAM>(
                                ProgramIcon(IDI_ABOUT_OPENER, std::min<int>(size, place.bottom))),
                            0);
    }

    // Every tab is there at once; the pages behind them are made one at a
    // time: the shown one now, the others once the window is on the screen.
    for (int tab = 0; tab < kPageCount; ++tab)
        AddTabPage(TabControl, nullptr, EntryOfTab(tab)->caption, tab);
    // The picture pages first: they decide the window's size.
    for (const PageEntry& page : kPages)
        if (page.picture)
            MakePage(page);
    GrowToHoldPictures(window);
    int current = GlobalSettings.CurTab >= 0 && GlobalSettings.CurTab < kPageCount
                      ? GlobalSettings.CurTab
                      : 0;
    if (!MakePage(*EntryOfTab(current)) || SelectTab(TabControl, current) == -1) {
        GlobalSettings.CurTab = 0; // a stored tab that does not exist
        MakePage(*EntryOfTab(0));
        SelectTab(TabControl, 0);
    }
    NextPageToMake = 0;
    PostMessageA(window, WM_MAKE_NEXT_PAGE, 0, 0);
    RestoreWindowPosition(window, "MainXY");
}

void OnClose(HWND window) {
    KillTimer(HiddenWindow, kSaveListsTimer);
    WriteSavedLists(); // still visible: the lists are written
    RemoveAllTabPages(TabControl);
    for (PageState* page : kDestroyOrder) {
        if (HWND pageWindow = page->Window) {
            SetPageWindow(page, nullptr); // a worker ending now posts nowhere
            DestroyWindow(pageWindow);
        }
    }
    DestroyWindow(window);
    MainWindow = nullptr;
    TabControl = nullptr;

    DestroyIcon(SmallIcon);
    DestroyIcon(LargeIcon);
    SmallIcon = LargeIcon = nullptr;
    for (HFONT* font : {&BoldFont, &ListFont, &HourlyDataFont}) {
        if (*font)
            DeleteObject(*font);
        *font = nullptr;
    }

    if (!RuntimeFlagSet(kClosingToTray))
        PostMessageA(HiddenWindow, WM_COMMAND, IDM_EXIT, 0);
    ClearRuntimeFlag(kClosingToTray);
}

} // namespace

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(window);
        return FALSE; // the focus is already on the shown page's list
    case WM_MOVE:
        if (!Placing && !IsIconic(window) && !IsZoomed(window))
            SaveWindowPosition(window, "MainXY");
        return TRUE;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            SetRuntimeFlag(kClosingToTray);
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_TAB && header->code == TCN_SELCHANGE) {
            int chosen = static_cast<int>(SendMessageA(TabControl, TCM_GETCURSEL, 0, 0));
            if (const PageEntry* page = EntryOfTab(chosen))
                MakePage(*page); // chosen before its turn came
            SelectTab(TabControl, -1);
        }
        return TRUE;
    }
    case WM_MAKE_NEXT_PAGE:
        if (MakeNextPage())
            PostMessageA(window, WM_MAKE_NEXT_PAGE, 0, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SETTINGS)
            ShowSettingsDialog(window);
        else if (LOWORD(wParam) == IDC_ABOUT)
            ShowAboutDialog(window);
        return TRUE;
    case WM_CLOSE:
        OnClose(window);
        return TRUE;
    }
    return FALSE;
}
