#include "services/feed_page.h"

#include "app/help.h"
#include "app/saved_lists.h"
#include "resources/resource_ids.h"
#include "services/http_fetch.h"
#include "services/http_request.h"
#include "services/list_view.h"
#include "services/local_time.h"
#include "services/text_buffer.h"
#include "services/time_format.h"

#include <commctrl.h>

#include <memory>

namespace {

struct ToolbarEntry {
    int Id;
    const char* Tooltip;
};

// The icons of a list page in toolbar order; the second is the page's add
// command ("add" or "index").
const ToolbarEntry kToolbar[kToolbarIconCount] = {
    {IDC_UPDATE, "update"}, {0, nullptr},       {IDC_EDIT, "edit"},        {IDC_DELETE, "delete"},
    {IDC_UP, "up"},         {IDC_DOWN, "down"}, {IDC_HELP_TOPIC, "help"}, {IDC_STOP, "stop"}};

HWND List(HWND window) { return GetDlgItem(window, IDC_LIST); }

void SetFlag(PageState* state, uint32_t bit, bool on) {
    if (on)
        state->Flags |= bit;
    else
        state->Flags &= ~bit;
}

// Left: neither horizontal alignment bit; right: SS_RIGHT; centred: SS_CENTER.
void ApplyStatusAlignment(const FeedPage& page, HWND window) {
    HWND status = GetDlgItem(window, IDC_STATUS);
    LONG_PTR style = GetWindowLongPtrA(status, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_CENTER | SS_RIGHT);
    if (page.State->Flags & page.StatusRightBit)
        style |= SS_RIGHT;
    else if (!(page.State->Flags & page.StatusLeftBit))
        style |= SS_CENTER;
    SetWindowLongPtrA(status, GWL_STYLE, style);
    InvalidateRect(status, nullptr, TRUE);
}

// Centred, then right, then left, then centred again.
void CycleStatusAlignment(const FeedPage& page, HWND window) {
    const uint32_t flags = page.State->Flags;
    const bool left = flags & page.StatusLeftBit, right = flags & page.StatusRightBit;
    SetFlag(page.State, page.StatusLeftBit, right);
    SetFlag(page.State, page.StatusRightBit, !left && !right);
    ApplyStatusAlignment(page, window);
}

bool PointInControl(HWND window, int id, LPARAM clientPoint) {
    POINT point = {static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    ClientToScreen(window, &point);
    RECT rect;
    return GetWindowRect(GetDlgItem(window, id), &rect) && PtInRect(&rect, point);
}

void OnInitDialog(const FeedPage& page, HWND window) {
    if (!*page.IconsReset) {
        for (int i = 0; i < kToolbarIconCount; ++i)
            page.Icons[i] = {};
        *page.IconsReset = true;
    }
    for (int i = 0; i < kToolbarIconCount; ++i) {
        int id = i == 1 ? page.AddCommand : kToolbar[i].Id;
        const char* tooltip = i == 1 ? (page.AddCommand == IDC_INDEX ? "index" : "add") : kToolbar[i].Tooltip;
        SetUpToolbarIcon(&page.Icons[i], GetDlgItem(window, id), tooltip);
    }
    ApplyStatusAlignment(page, window);

    HWND list = List(window);
    if (BoldFont)
        SendDlgItemMessageA(window, IDC_OUTPUT, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont), FALSE);
    if (ListFont)
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(ListFont), FALSE);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, page.ListStyles, page.ListStyles);
    for (int c = 0; c < page.ColumnCount; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(page.Columns[c].Caption);
        column.cx = page.Columns[c].Width;
        SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    PostMessageA(window, WM_COMMAND, IDC_DEFERRED_START, 0);
}

void LoadList(const FeedPage& page, HWND window) {
    HWND list = List(window);
    if (!page.ListSection || page.SelectedSlot < 0)
        return; // an image view has no list
    LoadSavedLists(page.ListSection);
    int remembered = Selected[page.SelectedSlot];
    if (remembered >= 0 && remembered < ListRowCount(list))
        SelectListRow(list, remembered);
    if (IsWindowVisible(window))
        SetFocus(list);
}

// Update: one worker per page. The main thread alone starts workers, so a
// worker that is still running (its busy bit may not be set yet) refuses a
// second one; the handle of an ended worker is replaced.
void StartWorker(const FeedPage& page, HWND window) {
    HANDLE& worker = page.State->Worker;
    if (RuntimeFlagSet(page.BusyBit) || (worker && WaitForSingleObject(worker, 0) == WAIT_TIMEOUT))
        return;
    if (worker)
        CloseHandle(worker);
    worker = CreateThread(nullptr, 0, page.Worker, window, 0, nullptr);
}

void OpenDialog(HWND window, int dialogId, DLGPROC procedure, PageState* state) {
    if (procedure)
        DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(dialogId), window, procedure,
                        reinterpret_cast<LPARAM>(state));
}

bool OnCommand(const FeedPage& page, HWND window, int id) {
    HWND list = List(window);
    if (id == page.AddCommand) {
        OpenDialog(window, page.AddDialogId, page.AddDialogProc, page.State);
        return true;
    }
    switch (id) {
    case IDC_DEFERRED_START:
        LoadList(page, window);
        return true;
    case IDC_UPDATE:
        StartWorker(page, window);
        return true;
    case IDC_EDIT:
        if (GetSelectedIndex(list) >= 0)
            OpenDialog(window, page.EditDialogId, page.EditDialogProc, page.State);
        return true;
    case IDC_DELETE:
        DeleteSelectedItems(list);
        if (page.SelectedSlot >= 0)
            Selected[page.SelectedSlot] = -1;
        return true;
    case IDC_UP:
    case IDC_DOWN:
        MoveListItem(list, page.ColumnCount, id == IDC_UP ? -1 : +1);
        return true;
    case IDC_HELP_TOPIC:
        OpenHelpTopic(page.HelpTopic);
        return true;
    case IDC_STOP:
        StopFetch(&page.State->Request);
        return true;
    }
    return false;
}

} // namespace

INT_PTR HandleFeedPageMessage(const FeedPage& page, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page, window);
        return TRUE;
    case WM_COMMAND:
        return OnCommand(page, window, LOWORD(wParam));
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_LIST && header->code == LVN_ITEMCHANGED &&
            SendMessageA(header->hwndFrom, LVM_GETSELECTEDCOUNT, 0, 0) > 0)
            page.Display(window);
        return TRUE;
    }
    case WM_SETCURSOR:
        for (int i = 0; i < kToolbarIconCount; ++i)
            HoverToolbarIcon(&page.Icons[i], reinterpret_cast<HWND>(wParam));
        return FALSE;
    case WM_LBUTTONDBLCLK:
        if (PointInControl(window, IDC_STATUS, lParam))
            CycleStatusAlignment(page, window);
        return TRUE;
    }
    return FALSE;
}

int RunPageDownload(const FeedPage& page, HWND window, const char* url, const char* cachePath, bool conditional) {
    auto request = std::make_unique<FetchRequest>();
    InitFetchRequest(request.get());
    SetFetchTarget(request.get(), url, cachePath, conditional); // refused: the fetch fails at once
    PublishFetch(&page.State->Request, request.get());

    SetRuntimeFlag(page.BusyBit);
    if (IsWindowVisible(window))
        page.Display(window);
    int result = HttpFetch(request.get());
    RetireFetch(&page.State->Request); // no Stop can reach the request after this
    request.reset();
    ClearRuntimeFlag(page.BusyBit);
    if (IsWindowVisible(window))
        page.Display(window);
    return result;
}

bool FormatFileTime(const char* path, char* text, size_t size) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME written;
    bool ok = GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    CalendarTime local;
    int64_t ticks = (static_cast<int64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    if (!ok || !UtcTicksToLocal(ticks, &local))
        return false;
    FormatTime(local, GlobalSettings.TimeFormat, text, size);
    return true;
}
