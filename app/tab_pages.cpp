#include "app/tab_pages.h"

#include "resources/resource_ids.h"
#include "services/dialog_texture.h"
#include "services/shared_state.h"

#include <commctrl.h>

namespace {

constexpr char kCurrentPageProperty[] = "TabCtrlCurWnd";
constexpr int kSatelliteTab = 5; // the satellite page has no list to focus

struct TabItem {
    TCITEMHEADERA header;
    HWND page;
};

bool ReadTabItem(HWND tab, int index, HWND* page, int* image) {
    TabItem item{};
    item.header.mask = TCIF_PARAM | TCIF_IMAGE;
    if (!SendMessageA(tab, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)))
        return false;
    *page = item.page;
    *image = item.header.iImage;
    return true;
}

RECT RectInPage(HWND page, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A page grown or shrunk by `grown` pixels in height keeps its bottom margin:
// its bottom-most stretchable control (the output box; the list where the
// output area is a picture, which keeps its own size) takes the difference,
// and the controls below it move with its bottom edge.
void StretchPage(HWND page, int grown) {
    HWND stretched = nullptr;
    for (int id : {IDC_OUTPUT, IDC_LIST}) {
        HWND control = GetDlgItem(page, id);
        char className[16] = "";
        if (control && GetClassNameA(control, className, sizeof className) &&
            lstrcmpiA(className, "Static") != 0) {
            stretched = control;
            break;
        }
    }
    if (!stretched || !grown)
        return;
    const RECT area = RectInPage(page, stretched);
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT rect = RectInPage(page, child);
        if (child == stretched)
            SetWindowPos(child, nullptr, 0, 0, rect.right - rect.left,
                         rect.bottom - rect.top + grown,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        else if (rect.top >= area.bottom)
            SetWindowPos(child, nullptr, rect.left, rect.top + grown, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace

int AddTabPage(HWND tab, HWND page, const char* caption, int index) {
    // The item data carries the page window: widen the per-item extra bytes.
    SendMessageA(tab, TCM_SETITEMEXTRA, sizeof(HWND), 0);
    TabItem item{};
    item.header.mask = TCIF_TEXT | TCIF_PARAM;
    item.header.pszText = const_cast<char*>(caption);
    item.header.iImage = -1;
    item.page = nullptr;
    int at = index == -1 ? static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0)) : index;
    int inserted =
        static_cast<int>(SendMessageA(tab, TCM_INSERTITEMA, at, reinterpret_cast<LPARAM>(&item)));
    if (inserted == -1)
        return -1;
    if (page)
        AttachTabPage(tab, inserted, page);
    return inserted;
}

bool AttachTabPage(HWND tab, int index, HWND page) {
    TabItem item{};
    item.header.mask = TCIF_PARAM;
    item.page = page;
    if (!SendMessageA(tab, TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item)))
        return false;
    RECT area;
    GetWindowRect(tab, &area);
    MapWindowPoints(nullptr, GetParent(tab), reinterpret_cast<POINT*>(&area), 2);
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    RECT before;
    GetClientRect(page, &before);
    SetWindowPos(page, HWND_BOTTOM, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_HIDEWINDOW | SWP_NOACTIVATE);
    RECT after;
    GetClientRect(page, &after);
    StretchPage(page, after.bottom - before.bottom);
    if (!GetPropA(tab, kCurrentPageProperty))
        SetPropA(tab, kCurrentPageProperty, page);
    EnableDialogTexture(page, true);
    return true;
}

int SelectTab(HWND tab, int index) {
    if (index == -1) {
        index = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
        GlobalSettings.CurTab = index;
    }
    HWND page;
    int image;
    if (!ReadTabItem(tab, index, &page, &image) || !page)
        return -1;
    HWND shown = static_cast<HWND>(GetPropA(tab, kCurrentPageProperty));
    if (shown)
        ShowWindow(shown, SW_HIDE);
    SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetPropA(tab, kCurrentPageProperty, page);
    SendMessageA(tab, TCM_SETCURSEL, index, 0);
    if (index != kSatelliteTab)
        SetFocus(GetDlgItem(page, IDC_LIST));
    return index;
}

bool RemoveTabPage(HWND tab, int index) {
    HWND page;
    int image;
    if (!ReadTabItem(tab, index, &page, &image))
        return false;
    int selected = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    if (!SendMessageA(tab, TCM_DELETEITEM, index, 0))
        return false;
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(tab, TCM_GETIMAGELIST, 0, 0));
    if (image != -1 && images)
        SendMessageA(tab, TCM_REMOVEIMAGE, image, 0);
    int remaining = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    if (remaining == 0) {
        if (page)
            ShowWindow(page, SW_HIDE);
        if (images) {
            ImageList_Destroy(images);
            SendMessageA(tab, TCM_SETIMAGELIST, 0, 0);
        }
        RemovePropA(tab, kCurrentPageProperty);
    } else if (index == selected) {
        SelectTab(tab, index < remaining ? index : remaining - 1);
    }
    if (page)
        EnableDialogTexture(page, false);
    return true;
}

bool RemoveAllTabPages(HWND tab) {
    bool all = true;
    for (int i = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0)) - 1; i >= 0; --i)
        all = RemoveTabPage(tab, i) && all;
    return all;
}
