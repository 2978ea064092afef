#include "services/feed_page.h"

#include "resources/resource_ids.h"
#include "services/dialog_texture.h"
#include "services/dpi.h"
#include "services/feed_catalog.h"
#include "services/file_io.h"
#include "services/help.h"
#include "services/http_fetch.h"
#include "services/http_request.h"
#include "services/list_view.h"
#include "services/local_time.h"
#include "services/registry.h"
#include "services/saved_lists_file.h"
#include "services/text_buffer.h"
#include "services/text_scan.h"
#include "services/time_format.h"

#include <commctrl.h>

#include <memory>

const ToolbarEntry kPointPageToolbar[8] = {
    {IDC_UPDATE, "update"}, {IDC_ADD, "add"},   {IDC_EDIT, "edit"},       {IDC_DELETE, "delete"},
    {IDC_UP, "up"},         {IDC_DOWN, "down"}, {IDC_HELP_TOPIC, "help"}, {IDC_STOP, "stop"}};
const ToolbarEntry kStationPageToolbar[8] = {
    {IDC_UPDATE, "update"}, {IDC_INDEX, "index"}, {IDC_EDIT, "edit"},       {IDC_DELETE, "delete"},
    {IDC_UP, "up"},         {IDC_DOWN, "down"},   {IDC_HELP_TOPIC, "help"}, {IDC_STOP, "stop"}};
const ToolbarEntry kImageViewToolbar[3] = {
    {IDC_UPDATE, "update"}, {IDC_HELP_TOPIC, "help"}, {IDC_STOP, "stop"}};

namespace {

const FeedPage* PageOf(HWND window) {
    return reinterpret_cast<const FeedPage*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

HWND List(HWND window) {
    return GetDlgItem(window, IDC_LIST);
}

// --- status line ----------------------------------------------------------------

// Left: neither horizontal alignment bit; right: SS_RIGHT; centred: SS_CENTER.
void ApplyStatusAlignment(const FeedPage& page, HWND window) {
    HWND status = GetDlgItem(window, IDC_STATUS);
    LONG_PTR style =
        GetWindowLongPtrA(status, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_CENTER | SS_RIGHT);
    const uint32_t flags = page.State->Flags;
    if (flags & page.StatusRightBit)
        style |= SS_RIGHT;
    else if (!(flags & page.StatusLeftBit))
        style |= SS_CENTER;
    SetWindowLongPtrA(status, GWL_STYLE, style);
    InvalidateRect(status, nullptr, TRUE);
}

// Centred, then right, then left, then centred again.
void CycleStatusAlignment(const FeedPage& page, HWND window) {
    const uint32_t flags = page.State->Flags;
    const bool left = flags & page.StatusLeftBit, right = flags & page.StatusRightBit;
    SetPageFlag(page, page.StatusLeftBit, right);
    SetPageFlag(page, page.StatusRightBit, !left && !right);
    ApplyStatusAlignment(page, window);
}

bool PointInControl(HWND window, int id, LPARAM clientPoint) {
    POINT point = {static_cast<short>(LOWORD(clientPoint)),
                   static_cast<short>(HIWORD(clientPoint))};
    ClientToScreen(window, &point);
    RECT rect;
    HWND control = GetDlgItem(window, id);
    return control && GetWindowRect(control, &rect) && PtInRect(&rect, point);
}

// --- the worker -----------------------------------------------------------------

struct WorkerJob {
    const FeedPage* Page;
    PageRow Row;
    uint32_t Flags;
};

void PostFetched(const FeedPage& page) {
    if (HWND window = PageWindow(page.State))
        PostMessageA(window, WM_PAGE_FETCHED, 0, 0);
}

// One target: published for Stop while it runs. True when the fetch replaced
// the cache file. Stop marks the page, then aborts the published request: a
// Stop that came before the request was published is seen here, one after it
// aborts the request.
bool FetchTarget(const FeedPage& page, const FeedTarget& target) {
    auto request = std::make_unique<FetchRequest>();
    InitFetchRequest(request.get());
    SetFetchTarget(request.get(), target.Url.c_str(), target.CachePath.c_str(), page.Conditional);
    PublishFetch(&page.State->Request, request.get());
    int result = PageStopped(page.State) ? -1 : HttpFetch(request.get());
    RetireFetch(&page.State->Request); // no Stop can reach the request after this
    return result == 0 && (request->Flags.load() & kFetchReplaced);
}

DWORD WINAPI FeedPageWorker(void* argument) {
    std::unique_ptr<WorkerJob> job(static_cast<WorkerJob*>(argument));
    const FeedPage& page = *job->Page;
    std::vector<FeedTarget> targets;
    if (page.Targets(job->Row, job->Flags, &targets) != 0)
        return static_cast<DWORD>(-1); // no catalog: the page is not touched
    // A section without a usable "url=" line leaves nothing to fetch; the page
    // still goes through "Loading..." and shows again what its cache holds
    // ("no data" where no cache file name could be formed).
    std::erase_if(targets,
                  [](const FeedTarget& t) { return t.Url.empty() || t.CachePath.empty(); });

    SetRuntimeFlag(page.BusyBit);
    PostFetched(page); // "Loading..."
    for (const FeedTarget& target : targets) {
        if (PageStopped(page.State) || (page.StopBit && (PageFlags(page.State) & page.StopBit)))
            break;
        if (FetchTarget(page, target) && page.AfterFetch)
            page.AfterFetch(target);
    }
    ClearRuntimeFlag(page.BusyBit);
    PostFetched(page);
    return 0;
}

// Update: one worker per page. The user-interface thread alone starts
// workers, so a worker that is still running (its busy bit may not be set
// yet) refuses a second one; the handle of an ended worker is replaced. The
// row and the flags are taken here, at the click.
void StartWorker(const FeedPage& page, HWND window) {
    HANDLE& worker = page.State->Worker;
    if (RuntimeFlagSet(page.BusyBit) || (worker && WaitForSingleObject(worker, 0) == WAIT_TIMEOUT))
        return;
    PageRow row;
    if (page.ListSection) {
        row = SelectedRow(page, window);
        if (row.Index < 0)
            return;
    }
    if (page.StopBit)
        SetPageFlag(page, page.StopBit, false);
    std::atomic_ref<uint32_t>(page.State->Stopped).store(0);
    if (worker)
        CloseHandle(worker);
    auto job = std::make_unique<WorkerJob>(WorkerJob{&page, std::move(row), page.State->Flags});
    worker = CreateThread(nullptr, 0, FeedPageWorker, job.get(), 0, nullptr);
    if (worker)
        job.release(); // the worker owns it now
}

// --- messages -------------------------------------------------------------------

void InsertColumns(HWND list, const PageColumn* columns, int count) {
    for (int c = 0; c < count; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(columns[c].Caption);
        column.cx = ScaleForWindow(list, columns[c].Width); // widths are 96-DPI pixels
        SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
}

void OnInitDialog(const FeedPage& page, HWND window) {
    SetPageWindow(page.State, window);
    if (page.Modal) {
        EnableDialogTexture(window, true);
        RestoreWindowPosition(window, page.PositionValue);
    }
    for (int i = 0; i < page.ToolbarCount; ++i) {
        page.Icons[i] = {};
        SetUpToolbarIcon(&page.Icons[i], GetDlgItem(window, page.Toolbar[i].Id),
                         page.Toolbar[i].Tooltip);
    }
    CheckFlagControls(page, window);
    ApplyStatusAlignment(page, window);
    if (page.BoldOutput && BoldFont)
        SendDlgItemMessageA(window, IDC_OUTPUT, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont),
                            FALSE);
    if (page.ListSection) {
        HWND list = List(window);
        if (ListFont)
            SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(ListFont), FALSE);
        SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, page.ListStyles, page.ListStyles);
        InsertColumns(list, page.Columns, page.ColumnCount);
        PostMessageA(window, WM_COMMAND, IDC_DEFERRED_START, 0);
    }
    if (page.Modal)
        SetFocus(window);
}

void LoadList(const FeedPage& page, HWND window) {
    HWND list = List(window);
    LoadSavedListSection(list, page.ListSection);
    int remembered = Selected[page.SelectedSlot];
    if (remembered >= 0 && remembered < ListRowCount(list))
        SelectListRow(list, remembered);
    if (IsWindowVisible(window))
        SetFocus(list);
}

const FlagControl* FindFlagControl(const FeedPage& page, int id) {
    for (int i = 0; i < page.FlagControlCount; ++i)
        if (page.FlagControls[i].Id == id)
            return &page.FlagControls[i];
    return nullptr;
}

void OnFlagControl(const FeedPage& page, HWND window, const FlagControl& control) {
    if (control.Group) {
        SetPageFlag(page, control.Group, false);
        SetPageFlag(page, control.Bit, true);
    } else {
        SetPageFlag(page, control.Bit, IsDlgButtonChecked(window, control.Id) == BST_CHECKED);
    }
    page.Display(page, window);
}

bool OnCommand(const FeedPage& page, HWND window, int id, int notification) {
    HWND list = List(window);
    if (page.ListSection && id == page.AddCommand) {
        if (page.OpenAdd)
            page.OpenAdd(window, page);
        return true;
    }
    if (const FlagControl* control = FindFlagControl(page, id)) {
        if (notification == BN_CLICKED)
            OnFlagControl(page, window, *control);
        return true;
    }
    switch (id) {
    case IDC_DEFERRED_START:
        if (page.ListSection)
            LoadList(page, window);
        return true;
    case IDC_UPDATE:
        StartWorker(page, window);
        return true;
    case IDC_EDIT:
        if (page.ListSection && page.OpenEdit && GetSelectedIndex(list) >= 0)
            page.OpenEdit(window, page);
        return true;
    case IDC_DELETE:
        if (page.ListSection) {
            DeleteSelectedItems(list);
            Selected[page.SelectedSlot] = -1;
        }
        return true;
    case IDC_UP:
    case IDC_DOWN:
        if (page.ListSection) {
            int moved = MoveListItem(list, page.ColumnCount, id == IDC_UP ? -1 : +1);
            if (moved >= 0)
                Selected[page.SelectedSlot] = moved;
        }
        return true;
    case IDC_HELP_TOPIC:
        OpenHelpTopic(page.HelpTopic, page.HelpWindow);
        return true;
    case IDCANCEL: // Esc closes a modal view the way its close box does
        if (page.Modal)
            SendMessageA(window, WM_CLOSE, 0, 0);
        return true;
    case IDC_STOP:
        if (page.StopBit)
            SetPageFlag(page, page.StopBit, true);
        StopPageWorker(page.State);
        return true;
    }
    return false;
}

INT_PTR HandleMessage(const FeedPage& page, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return OnCommand(page, window, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (page.ListSection && header->idFrom == IDC_LIST && header->code == LVN_ITEMCHANGED &&
            SendMessageA(header->hwndFrom, LVM_GETSELECTEDCOUNT, 0, 0) > 0)
            page.Display(page, window);
        return TRUE;
    }
    case WM_PAGE_FETCHED:
        page.Display(page, window);
        return TRUE;
    case WM_SETCURSOR:
        for (int i = 0; i < page.ToolbarCount; ++i)
            HoverToolbarIcon(&page.Icons[i], reinterpret_cast<HWND>(wParam));
        return FALSE;
    case WM_LBUTTONDBLCLK:
        if (PointInControl(window, IDC_STATUS, lParam))
            CycleStatusAlignment(page, window);
        return TRUE;
    case WM_MOVE:
        if (page.PositionValue)
            SaveWindowPosition(window, page.PositionValue);
        return TRUE;
    case WM_CLOSE:
        if (page.Modal) {
            StopPageWorker(page.State); // the worker ends on its own
            EndDialog(window, 0);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        if (PageWindow(page.State) == window)
            SetPageWindow(page.State, nullptr);
        return FALSE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK FeedPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        OnInitDialog(*reinterpret_cast<const FeedPage*>(lParam), window);
    }
    const FeedPage* page = PageOf(window);
    if (!page)
        return FALSE;
    if (page->OnMessage) {
        bool handled = false;
        INT_PTR result = page->OnMessage(*page, window, message, wParam, lParam, &handled);
        if (handled)
            return result;
    }
    if (message == WM_INITDIALOG)
        return page->Modal ? FALSE : TRUE;
    return HandleMessage(*page, window, message, wParam, lParam);
}

PageRow SelectedRow(const FeedPage& page, HWND window) {
    PageRow row;
    HWND list = List(window);
    row.Index = GetSelectedIndex(list);
    if (row.Index >= 0)
        for (int c = 0; c < page.ColumnCount; ++c)
            row.Columns.push_back(ListItemText(list, row.Index, c));
    return row;
}

PageRow TakeSelectedRow(const FeedPage& page, HWND window) {
    PageRow row = SelectedRow(page, window);
    if (page.SelectedSlot < 0)
        return row;
    HWND list = List(window);
    const int remembered = Selected[page.SelectedSlot];
    if (row.Index >= 0)
        Selected[page.SelectedSlot] = row.Index;
    else if (SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) > 1 && remembered >= 0 &&
             remembered < ListRowCount(list)) {
        row.Index = remembered;
        for (int c = 0; c < page.ColumnCount; ++c)
            row.Columns.push_back(ListItemText(list, remembered, c));
    }
    return row;
}

void StopPageWorker(PageState* state) {
    std::atomic_ref<uint32_t>(state->Stopped).store(1);
    StopFetch(&state->Request);
}

void SetPageFlag(const FeedPage& page, uint32_t bit, bool on) {
    SetPageFlags(page.State, bit, on);
}

void ReplacePageFlags(const FeedPage& page, uint32_t flags) {
    const uint32_t old = PageFlags(page.State);
    SetPageFlag(page, old & ~flags, false);
    SetPageFlag(page, flags & ~old, true);
}

void CheckFlagControls(const FeedPage& page, HWND window) {
    for (int i = 0; i < page.FlagControlCount; ++i) {
        const FlagControl& control = page.FlagControls[i];
        CheckDlgButton(window, control.Id,
                       page.State->Flags & control.Bit ? BST_CHECKED : BST_UNCHECKED);
    }
}

bool CachePathOf(const FeedPage& page, const PageRow& row, std::string* path) {
    path->clear();
    std::vector<FeedTarget> targets;
    if (page.Targets(row, page.State->Flags, &targets) != 0)
        return false;
    if (!targets.empty())
        *path = targets.front().CachePath;
    return true;
}

void ShowFeedText(const FeedPage& page, HWND window) {
    const bool report = page.Style == TextStyle::Report;
    if (RuntimeFlagSet(page.BusyBit)) {
        if (report)
            SetDlgItemTextA(window, IDC_STATUS, "");
        SetDlgItemTextA(window, IDC_OUTPUT, "Loading...");
        return;
    }
    PageRow row = TakeSelectedRow(page, window);
    std::string path;
    if (row.Index < 0 || !CachePathOf(page, row, &path)) {
        // Nothing selected, or no catalog: the page stays as it is, but for
        // the "Loading..." of a download that has ended.
        char shown[16] = "";
        GetDlgItemTextA(window, IDC_OUTPUT, shown, sizeof shown);
        if (std::string_view(shown) == "Loading...")
            SetDlgItemTextA(window, IDC_OUTPUT, "");
        return;
    }
    // A cache file that cannot be read (too large, locked) is shown as none,
    // never left under "Loading..."; so is an empty one, the service's "204
    // No Content" for a station without a report.
    std::string fileTime, document;
    if (path.empty() || !FileExists(path.c_str()) ||
        (!report && !FormatFileTime(path.c_str(), &fileTime)) ||
        !ReadWholeFile(path.c_str(), &document) || document.empty()) {
        SetDlgItemTextA(window, IDC_STATUS, report ? "" : "no data");
        SetDlgItemTextA(window, IDC_OUTPUT, report ? "no data" : "");
        return;
    }
    PageText text;
    page.Render(document, row, page.State->Flags, &text);
    // A report without a time of its own leaves the status line empty, never
    // another row's time.
    if (text.SetStatus || report)
        SetDlgItemTextA(window, IDC_STATUS, text.SetStatus ? text.Status.c_str() : "");
    else
        SetDlgItemTextA(window, IDC_STATUS, fileTime.c_str());
    if (text.Output.empty() && page.NotAvailable)
        SetDlgItemTextA(window, IDC_STATUS, page.NotAvailable);
    SetDlgItemTextA(window, IDC_OUTPUT, text.Output.c_str());
}

int CodeFeedTarget(const char* section, std::string_view code, std::string_view run,
                   bool lowerCaseUrl, std::vector<FeedTarget>* targets) {
    std::string catalog;
    if (!LoadCatalogFile(kCatalogFileName, &catalog))
        return -1;
    code = code.substr(0, run.size());
    if (code.size() < run.size() || code.find_first_of("\\/:*?\"<>|.") != std::string_view::npos)
        return 0; // it would leave '#' in the name, or put a path into it
    CatalogEntry entry;
    char cacheFolder[MAX_PATH];
    FeedTarget target;
    if (!FindSingleFeed(catalog, section, &entry) ||
        !GetUserDataPath(cacheFolder, sizeof cacheFolder, "cache") ||
        !BuildCodeFeedNames(entry, run, code, run, code, cacheFolder, &target.Url,
                            &target.CachePath))
        return 0;
    if (lowerCaseUrl)
        for (char& c : target.Url)
            c = LowerAscii(c);
    targets->push_back(std::move(target));
    return 0;
}

void SetStatusTime(PageText* text, const CalendarTime& local) {
    char formatted[kFormattedTimeSize];
    FormatTime(local, TextOf(GlobalSettings.TimeFormat), formatted, sizeof formatted);
    text->Status = formatted;
    text->SetStatus = true;
}

bool FormatFileTime(const char* path, std::string* text) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME written;
    bool ok = GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    CalendarTime local;
    int64_t ticks = (static_cast<int64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    if (!ok || !UtcTicksToLocal(ticks, &local))
        return false;
    char formatted[kFormattedTimeSize];
    FormatTime(local, GlobalSettings.TimeFormat, formatted, sizeof formatted);
    *text = formatted;
    return true;
}

void OpenModalPage(const FeedPage& page, HWND owner) {
    if (HWND open = PageWindow(page.State)) {
        SetForegroundWindow(open);
        return;
    }
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(page.DialogId), owner, FeedPageProc,
                    reinterpret_cast<LPARAM>(&page));
}
