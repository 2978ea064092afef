// Entry point and the fixed shutdown order of Cumulon.
#include "app/main_window.h"
#include "app/saved_lists.h"
#include "app/settings_store.h"
#include "app/tray_window.h"
#include "resources/resource_ids.h"
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

// Waits for a thread while still answering the messages other threads send to
// this thread's windows: a worker may be in the middle of showing its result.
void WaitForThread(HANDLE thread) {
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void ShutDown() {
    KillTimer(HiddenWindow, kAutoAlertTimer);
    WSACleanup();
    WriteSavedLists(); // does nothing unless the main window is visible
    for (HWND* window : kWindowsToClose)
        if (*window)
            ShowWindow(*window, SW_HIDE);
    RemoveTrayIcon();
    // No time limit: a worker blocked in a download ends at the latest when its
    // watchdog gives up.
    for (HANDLE* thread : kThreadsToWaitFor)
        if (*thread)
            WaitForThread(*thread);
    WriteAllSettings();
    GdiplusShutdown(GdiplusToken);
    for (HWND* window : kWindowsToClose)
        if (*window)
            PostMessageA(*window, WM_CLOSE, 0, 0);
    DestroyMenu(TrayMenu);
    DestroyWindow(HiddenWindow);
}

} // namespace

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

    ShutDown();
    return static_cast<int>(message.wParam);
}
