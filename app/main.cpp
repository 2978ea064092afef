// Entry point and the fixed shutdown order of Cumulon.
#include "app/main_window.h"
#include "app/saved_lists.h"
#include "app/settings_store.h"
#include "app/tray_window.h"
#include "pages/alerts/auto_alerts.h"
#include "resources/resource_ids.h"
#include "services/feed_page.h"
#include "services/shared_state.h"

#include <windows.h>
#include <commctrl.h>
#include <winsock2.h>

namespace {

// The GDI+ flat start-up entry and its input record (version 1, no debug
// callback, background thread and external codecs not suppressed).
struct GdiplusStartupInputRecord {
    UINT32 GdiplusVersion;
    void* DebugEventCallback;
    BOOL SuppressBackgroundThread;
    BOOL SuppressExternalCodecs;
};
extern "C" int WINAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInputRecord* input,
                                     void* output);
extern "C" void WINAPI GdiplusShutdown(ULONG_PTR token);

ULONG_PTR GdiplusToken;

bool RegisterHiddenWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = HiddenWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "MainWindow";
    return RegisterClassExA(&windowClass) != 0;
}

// The windows that may still be open when the program ends, in the order they
// are hidden and then sent their close message.
HWND* const kWindowsToClose[] = {
    &PointForecastPage.AddDialog,
    &PointForecastPage.EditDialog,
    &RadarPage.AddDialog,
    &RadarPage.EditDialog,
    &ObservationsPage.AddDialog,
    &ObservationsPage.EditDialog,
    &MetarPage.AddDialog,
    &MetarPage.EditDialog,
    &AlertsPage.AddDialog,
    &AlertsPage.EditDialog,
    &RiverPage.AddDialog,
    &RiverPage.EditDialog,
    &HourlyForecastPage.AddDialog,
    &HourlyForecastPage.EditDialog,
    &SatelliteWidePage.Window,
    &AlertMapPage.Window,
    &SettingsDialog,
    &AboutDialog,
    &MainWindow,
};

// Every worker and the auto-alert thread, in the order shutdown waits for them.
HANDLE* const kThreadsToWaitFor[] = {
    &AlertsPage.Worker,       &HourlyForecastPage.Worker, &MetarPage.Worker,
    &ObservationsPage.Worker, &PointForecastPage.Worker,  &RadarPage.Worker,
    &RiverPage.Worker,        &SatelliteWidePage.Worker,  &AlertMapPage.Worker,
    &SatellitePage.Worker,    &AutoAlertThread,
};

// Every page, for the aborts at the end of the session.
PageState* const kPages[] = {
    &AlertsPage, &HourlyForecastPage, &MetarPage,         &ObservationsPage, &PointForecastPage,
    &RadarPage,  &RiverPage,          &SatelliteWidePage, &AlertMapPage,     &SatellitePage};

// Windows gives a program a few seconds to end with the session; the
// threads, their downloads aborted, get this long in all.
constexpr DWORD kSessionEndWaitMs = 4000;

// Waits for a thread until `deadline` (a tick count; none when `limited` is
// false) while still answering the messages other threads send to this
// thread's windows: a worker may be in the middle of showing its result.
void WaitForThread(HANDLE thread, bool limited, DWORD deadline) {
    for (;;) {
        DWORD wait = INFINITE;
        if (limited) {
            const LONG left = static_cast<LONG>(deadline - GetTickCount());
            wait = left > 0 ? static_cast<DWORD>(left) : 0;
        }
        if (MsgWaitForMultipleObjects(1, &thread, FALSE, wait, QS_SENDMESSAGE) != WAIT_OBJECT_0 + 1)
            return;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool ShutDownDone;

} // namespace

void ShutDown(bool sessionEnding) {
    // The session may also end while an Exit waits for a download: its
    // downloads are aborted all the same.
    if (sessionEnding)
        for (PageState* page : kPages)
            StopPageWorker(page);
    if (ShutDownDone)
        return;
    ShutDownDone = true;
    KillTimer(HiddenWindow, kAutoAlertTimer);
    StopAutoAlerts(); // a check running now starts no ticker
    WSACleanup();
    WriteSavedLists(); // does nothing unless the main window is visible
    for (HWND* window : kWindowsToClose)
        if (*window)
            ShowWindow(*window, SW_HIDE);
    RemoveTrayIcon();
    // No time limit after Exit: a worker blocked in a download ends at the
    // latest when its watchdog gives up. At the end of the session the
    // downloads are aborted and the threads get a few seconds.
    const DWORD deadline = GetTickCount() + kSessionEndWaitMs;
    for (HANDLE* thread : kThreadsToWaitFor)
        if (*thread)
            WaitForThread(*thread, sessionEnding, deadline);
    WriteAllSettings();
    GdiplusShutdown(GdiplusToken);
    for (HWND* window : kWindowsToClose)
        if (*window)
            PostMessageA(*window, WM_CLOSE, 0, 0);
    DestroyMenu(TrayMenu);
    DestroyWindow(HiddenWindow);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CreateMutexA(nullptr, FALSE, "CumulonMutex");
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return 0; // a second copy ends silently
    AppInstance = instance;
    ReadAllSettings();

    if (!RegisterHiddenWindowClass(instance))
        return 0;
    HiddenWindow =
        CreateWindowExA(0, "MainWindow", "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!HiddenWindow)
        return 0;
    ShowWindow(HiddenWindow, SW_HIDE);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    if (GlobalSettings.SettingsFlags & kOpenMainWindowAtStart)
        MainWindow =
            CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc, 0);
    // GDI+ starts once the main window is on the screen (its library is loaded
    // only now), still before any page paints a picture.
    GdiplusStartupInputRecord gdiplus{1, nullptr, FALSE, FALSE};
    GdiplusStartup(&GdiplusToken, &gdiplus, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);

    ShutDown(false);
    return static_cast<int>(message.wParam);
}
