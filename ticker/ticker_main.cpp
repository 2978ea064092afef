// Entry point of Ticker.exe: one ticker at a time, the hidden window that owns
// the frame timer and ends the program, and the record loading.
#include "resources/ticker/ticker_ids.h"
#include "ticker/ticker_app.h"
#include "ticker/ticker_bar.h"
#include "ticker/ticker_toolbar.h"

#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <new>
#include <string>
#include <utility>

TickerApp Ticker;

namespace {

constexpr UINT_PTR kFrameTimer = 501;

void StartFrameTimer(UINT periodMs = kTickerFrameMs) {
    SetTimer(Ticker.Hidden, kFrameTimer, periodMs, nullptr);
}

// Command 5000: everything closes and the message loop ends.
void OnEnd() {
    KillTimer(Ticker.Hidden, kFrameTimer);
    if (Ticker.Bar)
        DestroyWindow(Ticker.Bar); // takes the toolbar with it
    Ticker.Bar = nullptr;
    DestroyWindow(Ticker.Hidden);
    Ticker.Hidden = nullptr;
    PostQuitMessage(0);
}

LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kFrameTimer)
            DrawTickerFrame();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_TICKER_END)
            OnEnd();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool CreateHiddenWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = HiddenWindowProc;
    windowClass.hInstance = Ticker.Instance;
    windowClass.hIcon = LoadIconA(Ticker.Instance, MAKEINTRESOURCEA(IDI_TICKER));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "MainWindow";
    if (!RegisterClassExA(&windowClass))
        return false;
    Ticker.Hidden = CreateWindowExA(0, "MainWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    Ticker.Instance, nullptr);
    if (!Ticker.Hidden)
        return false;
    ShowWindow(Ticker.Hidden, SW_HIDE);
    return true;
}

// The whole queue file, read through a handle that stays open until the end.
bool ReadQueueFile(HANDLE file, std::string* text) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF)
        return false;
    try {
        text->resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return false;
    }
    DWORD read = 0;
    if (!text->empty() &&
        !ReadFile(file, text->data(), static_cast<DWORD>(text->size()), &read, nullptr))
        return false;
    text->resize(read);
    return true;
}

void CloseWindows() {
    if (Ticker.Hidden) {
        PostMessageA(Ticker.Hidden, WM_COMMAND, IDC_TICKER_END, 0);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
    }
}

// Start-up, the message loop and the clean-up; the caller ends with code 0.
void RunTicker(const char* commandLine) {
    if (!commandLine || !*commandLine)
        return;
    Ticker.Options = ParseTickerOptions(commandLine);
    const char* queueName = Ticker.Options.QueueFile;
    if (!*queueName || GetFileAttributesA(queueName) == INVALID_FILE_ATTRIBUTES)
        return;

    if (Ticker.Options.HasBackgroundColour)
        Ticker.BackgroundBrush = CreateSolidBrush(OptionColour(Ticker.Options.BackgroundColour));
    // Pitch and family 16 (FF_ROMAN, default pitch): the face name still
    // makes it Arial.
    if (HDC screen = GetDC(nullptr)) {
        Ticker.Dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    if (Ticker.Dpi <= 0)
        Ticker.Dpi = kTickerBaseDpi;
    Ticker.ToolbarFont = CreateFontA(TickerPixels(14), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                     ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, "Arial");
    Ticker.Speed = kTickerNormalSpeed;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    if (CreateHiddenWindow() && InitCommonControlsEx(&controls))
        Ticker.Bar = CreateTickerBar();

    HANDLE file = Ticker.Bar ? CreateFileA(queueName, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                             : INVALID_HANDLE_VALUE;
    std::string text;
    bool shown = file != INVALID_HANDLE_VALUE && ReadQueueFile(file, &text) && PrepareBackBuffer();
    if (shown) {
        OpenTickerQueue(&Ticker.Queue, std::move(text));
        RECT bar;
        GetClientRect(Ticker.Bar, &bar);
        Ticker.ScrollLeft = bar.right;
        LoadNextRecord();
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
    } else {
        CloseWindows();
    }

    PlaySoundA(nullptr, nullptr, 0);
    ReleaseBackBuffer();
    if (Ticker.BackgroundBrush)
        DeleteObject(Ticker.BackgroundBrush);
    if (Ticker.ToolbarFont)
        DeleteObject(Ticker.ToolbarFont);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (shown) // a queue that could not be read stays for the next run
        DeleteFileA(queueName);
}

} // namespace

void LoadNextRecord() {
    if (!NextTickerRecord(&Ticker.Queue)) {
        Ticker.Queue.Message = {};
        Ticker.MessageWidth = 0;
        EndTicker();
        return;
    }
    if (Ticker.Queue.Sound[0])
        PlaySoundA(Ticker.Queue.Sound, nullptr,
                   SND_FILENAME | SND_ASYNC | SND_NODEFAULT | (Ticker.Queue.Loops ? SND_LOOP : 0));
    ShowRecordOnToolbar();
    Ticker.MessageWidth = MeasureMessage(Ticker.Queue.Message);
    StartFrameTimer();
}

void SkipRecord() {
    RECT bar;
    GetClientRect(Ticker.Bar, &bar);
    Ticker.ScrollLeft = bar.right;
    LoadNextRecord();
}

void MuteSound() {
    PlaySoundA(nullptr, nullptr, 0);
}

void EndTicker() {
    if (Ticker.Hidden)
        PostMessageA(Ticker.Hidden, WM_COMMAND, IDC_TICKER_END, 0);
}

void EnableThemedTexture(HWND dialog) {
    struct VersionInfo {
        DWORD size, major, minor, build, platform;
    };
    using GetVersionFn = HRESULT(CALLBACK*)(VersionInfo*);
    using TextureFn = HRESULT(WINAPI*)(HWND, DWORD);
    constexpr DWORD kTextureEnableTab = 6;
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    auto getVersion = comctl ? reinterpret_cast<GetVersionFn>(
                                   reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")))
                             : nullptr;
    VersionInfo info{};
    info.size = sizeof info;
    if (!getVersion || FAILED(getVersion(&info)) || info.major < 6)
        return;
    HMODULE uxtheme = GetModuleHandleA("uxtheme.dll"); // used only when already loaded
    auto enableTexture = uxtheme ? reinterpret_cast<TextureFn>(reinterpret_cast<void*>(
                                       GetProcAddress(uxtheme, "EnableThemeDialogTexture")))
                                 : nullptr;
    if (enableTexture)
        enableTexture(dialog, kTextureEnableTab);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    Ticker.Instance = instance;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "TickerMutex");
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) { // another ticker is showing
        CloseHandle(mutex);
        return 0;
    }
    RunTicker(commandLine);
    if (mutex)
        CloseHandle(mutex);
    return 0;
}
