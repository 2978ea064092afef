#include "ticker/ticker_toolbar.h"

#include "resources/ticker/ticker_ids.h"
#include "ticker/ticker_app.h"

#include <commctrl.h>

namespace {

constexpr int kToolbarWidth = 400;
constexpr int kToolbarHeight = 18;
constexpr int kIconSize = 16;
constexpr int kLocationWidth = 300;
constexpr int kCounterWidth = 45;
constexpr UINT_PTR kHoverCheckTimer = 1;
constexpr UINT kHoverCheckMs = 100;

struct ToolbarIconSpec {
    int Id;
    int Icon;
    int X;
    const char* Tip;
};
constexpr ToolbarIconSpec kIcons[] = {
    {IDC_TICKER_SKIP, IDI_TICKER_SKIP, 346, "skip"},
    {IDC_TICKER_MUTE, IDI_TICKER_MUTE, 364, "mute"},
    {IDC_TICKER_EXIT, IDI_TICKER_EXIT, 382, "exit"},
};
constexpr int kIconCount = sizeof kIcons / sizeof kIcons[0];

// Icons under the hover highlight; only one toolbar exists at a time.
bool Hot[kIconCount];

// Sizes in 96-DPI pixels, placed at the screen's DPI.
void PlaceControl(HWND toolbar, int id, int x, int y, int width, int height) {
    MoveWindow(GetDlgItem(toolbar, id), TickerPixels(x), TickerPixels(y), TickerPixels(width),
               TickerPixels(height), FALSE);
}

// Icons at the screen's size, loaded once for the run (the toolbar comes and
// goes with right clicks): scaled down from the icon file's nearest larger
// image where the system can, never stretched up from a small one.
HICON TickerIcon(int id) {
    using ScaleDownFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static struct {
        int Id;
        HICON Icon;
    } loaded[8];
    for (auto& entry : loaded)
        if (entry.Id == id)
            return entry.Icon;
    HMODULE controls = GetModuleHandleA("comctl32.dll");
    auto scaleDown = controls ? reinterpret_cast<ScaleDownFn>(reinterpret_cast<void*>(
                                    GetProcAddress(controls, "LoadIconWithScaleDown")))
                              : nullptr;
    const int size = TickerPixels(kIconSize);
    HICON icon = nullptr;
    if (!scaleDown || FAILED(scaleDown(Ticker.Instance, MAKEINTRESOURCEW(id), size, size, &icon)))
        icon = static_cast<HICON>(
            LoadImageA(Ticker.Instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    for (auto& entry : loaded)
        if (!entry.Id) {
            entry = {id, icon};
            break;
        }
    return icon;
}

void AddTooltips(HWND toolbar) {
    HWND tooltip =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, toolbar, nullptr, Ticker.Instance, nullptr);
    if (!tooltip)
        return;
    for (const ToolbarIconSpec& icon : kIcons) {
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = toolbar;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(toolbar, icon.Id));
        tool.hinst = Ticker.Instance;
        tool.lpszText = const_cast<char*>(icon.Tip);
        SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void OnInitDialog(HWND toolbar) {
    EnableThemedTexture(toolbar);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = TickerPixels(kToolbarWidth), height = TickerPixels(kToolbarHeight);
    SetWindowPos(toolbar, HWND_TOPMOST, work.right - width,
                 work.bottom - TickerPixels(kTickerBarHeight) - height, width, height,
                 SWP_NOACTIVATE);
    PlaceControl(toolbar, IDC_TICKER_LOCATION, 0, 0, kLocationWidth, kToolbarHeight);
    PlaceControl(toolbar, IDC_TICKER_COUNTER, kLocationWidth, 0, kCounterWidth, kToolbarHeight);
    for (int id : {IDC_TICKER_LOCATION, IDC_TICKER_COUNTER})
        SendDlgItemMessageA(toolbar, id, WM_SETFONT, reinterpret_cast<WPARAM>(Ticker.ToolbarFont),
                            FALSE);
    for (int i = 0; i < kIconCount; ++i) {
        Hot[i] = false;
        SendDlgItemMessageA(toolbar, kIcons[i].Id, STM_SETIMAGE, IMAGE_ICON,
                            reinterpret_cast<LPARAM>(TickerIcon(kIcons[i].Icon)));
        PlaceControl(toolbar, kIcons[i].Id, kIcons[i].X, 1, kIconSize, kIconSize);
    }
    if (Ticker.Options.Tooltips)
        AddTooltips(toolbar);
}

// Draws the highlight over the icon the cursor has entered and takes it off
// the icons the cursor has left (checked again while one is lit, since the
// cursor may leave the toolbar altogether).
void UpdateHover(HWND toolbar, HWND underCursor) {
    POINT cursor;
    GetCursorPos(&cursor);
    HWND atCursor = WindowFromPoint(cursor);
    bool anyHot = false;
    for (int i = 0; i < kIconCount; ++i) {
        HWND icon = GetDlgItem(toolbar, kIcons[i].Id);
        if (icon == underCursor && !Hot[i]) {
            const int size = TickerPixels(kIconSize);
            if (HDC dc = GetDC(icon)) {
                DrawIconEx(dc, 0, 0, TickerIcon(IDI_TICKER_HOVER), size, size, 0, nullptr,
                           DI_NORMAL);
                ReleaseDC(icon, dc);
            }
            Hot[i] = true;
        } else if (Hot[i] && icon != underCursor && icon != atCursor) {
            InvalidateRect(icon, nullptr, TRUE);
            Hot[i] = false;
        }
        anyHot = anyHot || Hot[i];
    }
    if (anyHot)
        SetTimer(toolbar, kHoverCheckTimer, kHoverCheckMs, nullptr);
    else
        KillTimer(toolbar, kHoverCheckTimer);
}

void OnCommand(WORD id, WORD code) {
    if (code != STN_CLICKED && code != STN_DBLCLK) // each click of a double click counts
        return;
    switch (id) {
    case IDC_TICKER_SKIP:
        SkipRecord();
        break;
    case IDC_TICKER_MUTE:
        MuteSound();
        break;
    case IDC_TICKER_EXIT:
        EndTicker();
        break;
    }
}

INT_PTR CALLBACK ToolbarProc(HWND toolbar, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(toolbar);
        return FALSE; // no focus: the toolbar must not take the keyboard from the user's program
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_SETCURSOR:
        UpdateHover(toolbar, reinterpret_cast<HWND>(wParam));
        return FALSE;
    case WM_TIMER:
        if (wParam == kHoverCheckTimer)
            UpdateHover(toolbar, nullptr);
        return TRUE;
    case WM_CLOSE: // Alt+F4 on the toolbar
        EndTicker();
        return TRUE;
    }
    return FALSE;
}

} // namespace

HWND CreateTickerToolbar() {
    HWND toolbar = CreateDialogParamA(Ticker.Instance, MAKEINTRESOURCEA(IDD_TICKER_TOOLBAR),
                                      Ticker.Hidden, ToolbarProc, 0);
    if (!toolbar)
        return nullptr;
    Ticker.Toolbar = toolbar;
    ShowWindow(toolbar, SW_SHOWNOACTIVATE);
    return toolbar;
}

void ShowRecordOnToolbar() {
    if (!Ticker.Toolbar || Ticker.Queue.CurrentRecord == 0)
        return;
    char counter[kTickerCounterSize];
    FormatTickerCounter(counter, Ticker.Queue.CurrentRecord, Ticker.Queue.RecordCount);
    SetDlgItemTextA(Ticker.Toolbar, IDC_TICKER_LOCATION, Ticker.Queue.Location);
    SetDlgItemTextA(Ticker.Toolbar, IDC_TICKER_COUNTER, counter);
}
