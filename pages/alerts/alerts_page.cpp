#include "pages/alerts/alerts_page.h"

#include "pages/alerts/alert_feed.h"
#include "pages/alerts/alert_queue.h"
#include "pages/alerts/auto_alerts.h"
#include "pages/imagery/alert_map.h"
#include "resources/resource_ids.h"
#include "services/list_view.h"
#include "services/station_picker.h"
#include "services/text_buffer.h"
#include "services/time_format.h"

#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>

#include <string>

namespace {

constexpr char kSection[] = "[ALERTS]";
constexpr int kMostMarks = 10;

// The name column fills the list without a horizontal scroll bar.
const PageColumn kColumns[] = {{"", 100}, {"", 556}};

const ToolbarEntry kToolbar[] = {{IDC_UPDATE, "update"},
                                 {IDC_INDEX, "index"},
                                 {IDC_EDIT, "edit"},
                                 {IDC_DELETE, "delete"},
                                 {IDC_UP, "up"},
                                 {IDC_DOWN, "down"},
                                 {IDC_HELP_TOPIC, "help"},
                                 {IDC_STOP, "stop"},
                                 {IDC_NOTIFY_OPEN, "open"},
                                 {IDC_NOTIFY_PLAY, "play"},
                                 {IDC_WARNING_OPEN, "open"},
                                 {IDC_WARNING_PLAY, "play"},
                                 {IDC_SEVERE_OPEN, "open"},
                                 {IDC_SEVERE_PLAY, "play"}};
constexpr int kToolbarCount = sizeof kToolbar / sizeof kToolbar[0];
ToolbarIcon Icons[kToolbarCount];

constexpr uint32_t kMessageChoice = kAlertShortMessage | kAlertLongMessage;
// The boxes checked from AlertFlags when the page opens; a click on a "Loop"
// box reaches the page's own handler first (see LoopBit).
const FlagControl kFlagControls[] = {{IDC_WARNING_ALARM, kAlertWarningOn, 0},
                                     {IDC_SEVERE_ALARM, kAlertSevereOn, 0},
                                     {IDC_NOTIFY_ALARM, kAlertNotifyOn, 0},
                                     {IDC_SHORT_MESSAGE, kAlertShortMessage, kMessageChoice},
                                     {IDC_LONG_MESSAGE, kAlertLongMessage, kMessageChoice},
                                     {IDC_EFFECTED_AREA, kAlertWithArea, 0},
                                     {IDC_NOTIFY_LOOP, kAlertNotifyLoop, 0},
                                     {IDC_WARNING_LOOP, kAlertWarningLoop, 0},
                                     {IDC_SEVERE_LOOP, kAlertSevereLoop, 0},
                                     {IDC_TICKER_TOOLBAR, kAlertTickerToolbar, 0}};

// The three alarm sounds: the read-only edit showing the file name, the open
// and play icons, and the setting holding the path.
struct SoundSlot {
    int Edit;
    int Open;
    int Play;
    char* Path;
    size_t Size;
};
const SoundSlot kSounds[] = {
    {IDC_NOTIFY_SOUND, IDC_NOTIFY_OPEN, IDC_NOTIFY_PLAY, AlertNotifyAlarm, sizeof AlertNotifyAlarm},
    {IDC_WARNING_SOUND, IDC_WARNING_OPEN, IDC_WARNING_PLAY, AlertWarningAlarm,
     sizeof AlertWarningAlarm},
    {IDC_SEVERE_SOUND, IDC_SEVERE_OPEN, IDC_SEVERE_PLAY, AlertSevereAlarm,
     sizeof AlertSevereAlarm}};

// The brush that paints the ticker sample in the background colour: one for
// each colour, released when the colour changes or the page closes.
HBRUSH SampleBrush;

// The framework command running inside this page's own handling of it (the
// list load, up, down, delete): check marks it loads or moves are not the
// user's clicks.
int FrameworkCommand;

int Targets(const PageRow& row, uint32_t, std::vector<FeedTarget>* targets) {
    return AlertZoneTarget(row.Columns.at(0), targets);
}

void Render(std::string_view document, const PageRow&, uint32_t, PageText* text) {
    text->Output = RenderAlertFeed(document);
    CalendarTime local;
    std::string_view updated = AlertFeedUpdated(document);
    if (!updated.empty() && ParseIsoTime(updated, &local))
        SetStatusTime(text, local);
}

void SaveListsSoon() {
    SendMessageA(HiddenWindow, WM_SHELL_SAVE_LISTS_SOON, 0, 0);
}

// The current directory is the program's folder, on which every relative path
// of the program depends (links.dat, the sounds, the queue files); a common
// dialog may move it while the user browses. Each one runs through this.
template <typename CommonDialog> BOOL KeepingCurrentDirectory(CommonDialog dialog) {
    char folder[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    const BOOL result = dialog();
    if (length > 0 && length < sizeof folder)
        SetCurrentDirectoryA(folder);
    return result;
}

// --- sounds -------------------------------------------------------------------

void ShowSoundName(HWND window, const SoundSlot& slot) {
    std::string_view path = std::string_view(slot.Path, BoundedLength(slot.Path, slot.Size));
    size_t slash = path.rfind('\\');
    std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
    SetDlgItemTextA(window, slot.Edit, name.c_str());
}

void ChooseSound(HWND window, const SoundSlot& slot) {
    std::string current(slot.Path, BoundedLength(slot.Path, slot.Size));
    std::string folder = current.substr(0, current.rfind('\\') + 1);
    char full[MAX_PATH] = "";
    if (!folder.empty())
        GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
    char file[260] = "";
    OPENFILENAMEA open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = window;
    open.lpstrFilter = "WAV Files\0*.wav\0";
    open.lpstrFile = file;
    open.nMaxFile = sizeof file;
    open.lpstrInitialDir = full[0] ? full : nullptr;
    open.lpstrTitle = "Sound Files";
    open.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    if (!KeepingCurrentDirectory([&] { return GetOpenFileNameA(&open); }))
        return; // cancel changes nothing
    CopyText(slot.Path, slot.Size, file);
    ShowSoundName(window, slot);
}

void PlaySoundOf(const SoundSlot& slot) {
    if (slot.Path[0])
        PlaySoundA(slot.Path, nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
}

// --- colours ------------------------------------------------------------------

void ReleaseSampleBrush() {
    if (SampleBrush)
        DeleteObject(SampleBrush);
    SampleBrush = nullptr;
}

INT_PTR PaintSample(HDC dc) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, AlertBackColor);
    SetTextColor(dc, AlertTextColor);
    if (!SampleBrush)
        SampleBrush = CreateSolidBrush(AlertBackColor);
    return reinterpret_cast<INT_PTR>(SampleBrush);
}

void ChooseTickerColour(HWND window, COLORREF* colour) {
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = window;
    choose.rgbResult = *colour;
    choose.lpCustColors = GlobalSettings.CustomColors;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!KeepingCurrentDirectory([&] { return ChooseColorA(&choose); }) ||
        choose.rgbResult == *colour)
        return;
    *colour = choose.rgbResult;
    ReleaseSampleBrush(); // the next paint makes the brush of the new colour
    InvalidateRect(GetDlgItem(window, IDC_TICKER_SAMPLE), nullptr, TRUE);
}

// --- Test Ticker ----------------------------------------------------------------

// Nothing while the auto-alert check or an earlier test runs.
void OnTestTicker() {
    if (AutoAlertThread && WaitForSingleObject(AutoAlertThread, 0) == WAIT_TIMEOUT)
        return;
    if (!TakeRuntimeFlag(kAutoAlertRunning))
        return;
    HANDLE thread = StartTestTickerThread();
    if (!thread) {
        ClearRuntimeFlag(kAutoAlertRunning);
        return;
    }
    // The shell waits for this handle at exit and timer 500 retires it.
    if (AutoAlertThread)
        CloseHandle(AutoAlertThread);
    AutoAlertThread = thread;
}

// --- the auto-alert marks -----------------------------------------------------

int CountMarks(HWND list) {
    int marks = 0;
    for (int row = ListRowCount(list) - 1; row >= 0; --row)
        marks += ListRowChecked(list, row);
    return marks;
}

// Every change of a row (its mark, its selection, its text) saves the lists
// a few seconds later. Only a mark the user sets counts against the limit: a
// mark loaded from the file or moved with its row is not a new one (a notice
// in the middle of the load would let that save catch the list half filled).
void OnItemChanged(HWND window, const NMLISTVIEW& change) {
    const bool newMark = (change.uChanged & LVIF_STATE) &&
                         ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) &&
                         (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    HWND list = change.hdr.hwndFrom;
    if (newMark && FrameworkCommand == 0 && CountMarks(list) > kMostMarks) {
        SetListRowChecked(list, change.iItem, false);
        MessageBoxA(window, "Auto Alert Maximum Reached", "Notice", MB_OK | MB_ICONWARNING);
    }
    SaveListsSoon();
}

// --- messages -------------------------------------------------------------------

void OnInitDialog(HWND window) {
    CheckDlgButton(window, IDC_GET_AUTO_ALERTS,
                   AlertsPage.Flags & kAutoAlertsOn ? BST_CHECKED : BST_UNCHECKED);
    for (const SoundSlot& slot : kSounds)
        ShowSoundName(window, slot);
    if (BoldFont)
        SendDlgItemMessageA(window, IDC_TICKER_SAMPLE, WM_SETFONT,
                            reinterpret_cast<WPARAM>(BoldFont), FALSE);
}

// Each "Loop" box turns its bit over on a click, whatever its check mark.
uint32_t LoopBit(int id) {
    switch (id) {
    case IDC_NOTIFY_LOOP:
        return kAlertNotifyLoop;
    case IDC_WARNING_LOOP:
        return kAlertWarningLoop;
    case IDC_SEVERE_LOOP:
        return kAlertSevereLoop;
    }
    return 0;
}

bool OnCommand(const FeedPage& page, HWND window, int id, int notification) {
    if (const uint32_t loop = LoopBit(id)) {
        if (notification == BN_CLICKED) {
            SetPageFlag(page, loop, !(PageFlags(page.State) & loop));
            page.Display(page, window);
        }
        return true;
    }
    for (const SoundSlot& slot : kSounds) {
        if (id == slot.Open || id == slot.Play) {
            if (notification == STN_CLICKED)
                id == slot.Open ? ChooseSound(window, slot) : PlaySoundOf(slot);
            return true;
        }
    }
    switch (id) {
    case IDC_GET_AUTO_ALERTS:
        if (notification == BN_CLICKED)
            SendMessageA(HiddenWindow, WM_SHELL_AUTO_ALERTS,
                         IsDlgButtonChecked(window, IDC_GET_AUTO_ALERTS) == BST_CHECKED, 0);
        return true;
    case IDC_TICKER_TEXT_COLOR:
        ChooseTickerColour(window, &AlertTextColor);
        return true;
    case IDC_TICKER_BACK_COLOR:
        ChooseTickerColour(window, &AlertBackColor);
        return true;
    case IDC_TEST_TICKER:
        OnTestTicker();
        return true;
    case IDC_ALERT_MAP_BUTTON:
        if (notification == BN_CLICKED)
            OpenAlertMap(window);
        return true;
    }
    return false;
}

INT_PTR OnMessage(const FeedPage& page, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                  bool* handled) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(window); // after the framework's own set-up
        return FALSE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if ((id == IDC_DEFERRED_START || id == IDC_UP || id == IDC_DOWN || id == IDC_DELETE) &&
            FrameworkCommand == 0) {
            FrameworkCommand = id; // the framework runs it in the nested call
            INT_PTR result = FeedPageProc(window, message, wParam, lParam);
            FrameworkCommand = 0;
            if (id == IDC_DELETE)
                SaveListsSoon();
            *handled = true;
            return result;
        }
        *handled = OnCommand(page, window, id, HIWORD(wParam));
        return TRUE;
    }
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_LIST && header->code == LVN_ITEMCHANGED)
            OnItemChanged(window, *reinterpret_cast<const NMLISTVIEW*>(lParam));
        return FALSE; // the framework shows the selected row
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(window, IDC_TICKER_SAMPLE)) {
            *handled = true;
            return PaintSample(reinterpret_cast<HDC>(wParam));
        }
        return FALSE;
    case WM_DESTROY:
        ReleaseSampleBrush();
        return FALSE;
    }
    return FALSE;
}

} // namespace

const FeedPage AlertsFeed = {
    .DialogId = IDD_ALERTS,
    .State = &AlertsPage,
    .BusyBit = kBusyAlerts,
    .SelectedSlot = kSelectedAlerts,
    .HelpTopic = "alert.html",
    .Toolbar = kToolbar,
    .ToolbarCount = kToolbarCount,
    .Icons = Icons,
    .StatusLeftBit = 0x800,
    .StatusRightBit = 0x1000,
    .FlagControls = kFlagControls,
    .FlagControlCount = sizeof kFlagControls / sizeof kFlagControls[0],
    .ListSection = kSection,
    .Columns = kColumns,
    .ColumnCount = 2,
    .ListStyles = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
    .AddCommand = IDC_INDEX,
    .OpenAdd = OpenAddLocation,
    .OpenEdit = OpenEditLocation,
    .TreeFile = "alert.trv",
    .Targets = Targets,
    .Display = ShowFeedText,
    .Render = Render,
    .Style = TextStyle::Report,
    .OnMessage = OnMessage,
};
