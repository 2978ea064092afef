#include "ticker/ticker_bar.h"

#include "resources/ticker/ticker_ids.h"
#include "ticker/ticker_app.h"
#include "ticker/ticker_toolbar.h"

#include <windowsx.h>

#include <climits>

namespace {

constexpr int kScrollFontHeight = 16; // the memory context's default font at 96 DPI

// The back buffer, the size of the bar's surface, with the background brush
// and the text colour selected.
struct BackBuffer {
    HDC Memory;
    HBITMAP Bitmap;
    HGDIOBJ OldBitmap;
    HGDIOBJ OldBrush;
    HFONT Font; // null at 96 DPI: the context's own font
    HGDIOBJ OldFont;
    int Width;
    int Height;
};
BackBuffer Back;

int TextLength(std::string_view text) {
    return text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
}

void OnInitDialog(HWND bar) {
    EnableThemedTexture(bar);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int width = work.right - work.left, height = TickerPixels(kTickerBarHeight);
    SetWindowPos(bar, HWND_TOPMOST, work.left, work.bottom - height, width, height, SWP_NOACTIVATE);
    MoveWindow(GetDlgItem(bar, IDC_TICKER_TEXT), 0, 0, width, height, FALSE);
    if (Ticker.Options.ShowToolbar)
        Ticker.Toolbar = CreateTickerToolbar();
}

void ToggleToolbar() {
    if (Ticker.Toolbar) {
        DestroyWindow(Ticker.Toolbar);
        Ticker.Toolbar = nullptr;
        Ticker.Options.ShowToolbar = false;
    } else {
        Ticker.Options.ShowToolbar = true;
        Ticker.Toolbar = CreateTickerToolbar();
    }
}

bool InsideBar(HWND bar, LPARAM position) {
    RECT client;
    GetClientRect(bar, &client);
    POINT at = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    return PtInRect(&client, at) != 0;
}

// Colours of the bar and its surface until the first frame covers them.
INT_PTR OnControlColour(UINT message, HDC dc, HWND control) {
    if (message == WM_CTLCOLORSTATIC) {
        if (GetDlgCtrlID(control) != IDC_TICKER_TEXT)
            return FALSE;
        if (Ticker.Options.HasBackgroundColour)
            SetBkColor(dc, OptionColour(Ticker.Options.BackgroundColour));
        if (Ticker.Options.HasTextColour) {
            SetTextColor(dc, OptionColour(Ticker.Options.TextColour));
            SetBkMode(dc, TRANSPARENT);
        }
    }
    return reinterpret_cast<INT_PTR>(Ticker.BackgroundBrush);
}

INT_PTR CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(bar);
        return FALSE; // no focus: the bar must not take the keyboard from the user's program
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
        return OnControlColour(message, reinterpret_cast<HDC>(wParam),
                               reinterpret_cast<HWND>(lParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Ticker.Speed = kTickerFastSpeed;
        SetCapture(bar);
        return TRUE;
    case WM_LBUTTONUP: // wherever it is released: the capture brings it here
        Ticker.Speed = kTickerNormalSpeed;
        if (GetCapture() == bar)
            ReleaseCapture();
        return TRUE;
    case WM_CAPTURECHANGED:
        Ticker.Speed = kTickerNormalSpeed;
        return TRUE;
    case WM_RBUTTONUP:
        if (InsideBar(bar, lParam))
            ToggleToolbar();
        return TRUE;
    case WM_CLOSE: // Alt+F4 on the bar
        EndTicker();
        return TRUE;
    case WM_DESTROY:
        if (Ticker.Toolbar)
            DestroyWindow(Ticker.Toolbar);
        Ticker.Toolbar = nullptr;
        return TRUE;
    }
    return FALSE;
}

// The button may be released where the bar never hears of it (when the
// ticker is not the foreground program its capture does not hold): the frame
// looks at the button itself.
void CheckFastButton() {
    if (Ticker.Speed == kTickerNormalSpeed)
        return;
    int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    if (GetAsyncKeyState(button) & 0x8000)
        return;
    Ticker.Speed = kTickerNormalSpeed;
    if (GetCapture() == Ticker.Bar)
        ReleaseCapture();
}

} // namespace

HWND CreateTickerBar() {
    HWND bar = CreateDialogParamA(Ticker.Instance, MAKEINTRESOURCEA(IDD_TICKER_BAR), Ticker.Hidden,
                                  BarProc, 0);
    if (bar)
        ShowWindow(bar, SW_SHOWNOACTIVATE);
    return bar;
}

bool PrepareBackBuffer() {
    HWND surface = GetDlgItem(Ticker.Bar, IDC_TICKER_TEXT);
    RECT client;
    GetClientRect(surface, &client);
    HDC screen = GetDC(surface);
    if (!screen)
        return false;
    Back.Width = client.right;
    Back.Height = client.bottom;
    Back.Memory = CreateCompatibleDC(screen);
    Back.Bitmap = Back.Memory ? CreateCompatibleBitmap(screen, Back.Width, Back.Height) : nullptr;
    ReleaseDC(surface, screen);
    if (!Back.Bitmap)
        return false;
    Back.OldBitmap = SelectObject(Back.Memory, Back.Bitmap);
    Back.OldBrush = Ticker.BackgroundBrush ? SelectObject(Back.Memory, Ticker.BackgroundBrush)
                                           : SelectObject(Back.Memory, GetStockObject(WHITE_BRUSH));
    SetMapMode(Back.Memory, MM_TEXT);
    // The scroll text is drawn in the memory context's default font; on a
    // denser screen that font is made again at the screen's size.
    LOGFONTA font{};
    if (Ticker.Dpi != kTickerBaseDpi &&
        GetObjectA(GetStockObject(SYSTEM_FONT), sizeof font, &font) == sizeof font) {
        font.lfHeight = TickerPixels(kScrollFontHeight);
        font.lfWidth = 0;
        if ((Back.Font = CreateFontIndirectA(&font)))
            Back.OldFont = SelectObject(Back.Memory, Back.Font);
    }
    // Always transparent: an opaque text background would box the letters in
    // white on a coloured bar.
    SetBkMode(Back.Memory, TRANSPARENT);
    SetTextColor(Back.Memory, Ticker.Options.HasTextColour ? OptionColour(Ticker.Options.TextColour)
                                                           : RGB(0, 0, 0));
    return true;
}

void ReleaseBackBuffer() {
    if (Back.Memory) {
        if (Back.OldBrush)
            SelectObject(Back.Memory, Back.OldBrush);
        if (Back.OldFont)
            SelectObject(Back.Memory, Back.OldFont);
        if (Back.OldBitmap)
            SelectObject(Back.Memory, Back.OldBitmap);
        DeleteDC(Back.Memory);
    }
    if (Back.Bitmap)
        DeleteObject(Back.Bitmap);
    if (Back.Font)
        DeleteObject(Back.Font);
    Back = {};
}

int MeasureMessage(std::string_view message) {
    SIZE size{};
    if (!Back.Memory || message.empty() ||
        !GetTextExtentPoint32A(Back.Memory, message.data(), TextLength(message), &size))
        return 0;
    return size.cx;
}

void DrawTickerFrame() {
    if (!Back.Memory)
        return;
    CheckFastButton();
    PatBlt(Back.Memory, 0, 0, Back.Width, Back.Height, PATCOPY);
    RECT scroll = {Ticker.ScrollLeft, 0, Back.Width, Back.Height};
    std::string_view message = Ticker.Queue.Message;
    if (!message.empty())
        DrawTextA(Back.Memory, message.data(), TextLength(message), &scroll,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    HWND surface = GetDlgItem(Ticker.Bar, IDC_TICKER_TEXT);
    if (HDC screen = GetDC(surface)) {
        BitBlt(screen, 0, 0, Back.Width, Back.Height, Back.Memory, 0, 0, SRCCOPY);
        ReleaseDC(surface, screen);
    }
    if (0 - Ticker.MessageWidth >= Ticker.ScrollLeft) { // the message has left the bar
        Ticker.ScrollLeft = Back.Width;
        LoadNextRecord();
    }
    Ticker.ScrollLeft -= Ticker.Speed;
}
