#include "app/tray_window.h"

#include "app/about_dialog.h"
#include "app/data_files.h"
#include "app/main_window.h"
#include "app/saved_lists.h"
#include "app/settings_dialog.h"
#include "pages/alerts/auto_alerts.h"
#include "resources/resource_ids.h"
#include "services/help.h"
#include "services/shared_state.h"
#include "services/text_buffer.h"

#include <shellapi.h>

namespace {

NOTIFYICONDATAA TrayIcon;

void BuildTrayMenu() {
    TrayMenu = CreatePopupMenu();
    AppendMenuA(TrayMenu, MF_STRING, IDC_HELP_TOPIC, "Help");
    AppendMenuA(TrayMenu, MF_STRING, IDM_AUTO_ALERTS, "Auto Alerts");
    AppendMenuA(TrayMenu, MF_STRING, IDC_SETTINGS, "Settings");
    AppendMenuA(TrayMenu, MF_STRING, IDC_ABOUT, "About");
    AppendMenuA(TrayMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(TrayMenu, MF_STRING, IDM_EXIT, "Exit");
}

void AddTrayIcon(HWND window) {
    TrayIcon = {};
    TrayIcon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    TrayIcon.hWnd = window;
    TrayIcon.uID = 0;
    TrayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    TrayIcon.uCallbackMessage = WM_TRAY_CALLBACK;
    TrayIcon.hIcon = static_cast<HICON>(LoadImageA(AppInstance, MAKEINTRESOURCEA(IDI_APP),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0));
    CopyText(TrayIcon.szTip, "Cumulon");
    TrayIcon.szInfo[0] = '\0';
    TrayIcon.uTimeout = 15000;
    Shell_NotifyIconA(NIM_ADD, &TrayIcon);
}

void ShowTrayMenu(HWND window) {
    POINT cursor;
    GetCursorPos(&cursor);
    SetForegroundWindow(window);
    TrackPopupMenu(TrayMenu, TPM_RIGHTALIGN, cursor.x, cursor.y, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0); // lets the menu close when the user clicks elsewhere
}

void OnStartUp(HWND window) {
    if (CheckDataFiles() == -1) {
        PostQuitMessage(0);
        return;
    }
    if (AlertsPage.Flags & kAutoAlertsOn) {
        CheckMenuItem(TrayMenu, IDM_AUTO_ALERTS, MF_BYCOMMAND | MF_CHECKED);
        SetTimer(window, kAutoAlertTimer, kTimerPeriods.AutoAlertFirstMs, ShellTimerProc);
    }
}

void OnCommand(HWND window, int command) {
    switch (command) {
    case IDC_DEFERRED_START:
        OnStartUp(window);
        break;
    case IDC_HELP_TOPIC:
        OpenHelpTopic("intro.html");
        break;
    case IDM_AUTO_ALERTS:
        SetAutoAlerts(!(AlertsPage.Flags & kAutoAlertsOn));
        break;
    case IDC_SETTINGS:
        ShowSettingsDialog(window);
        break;
    case IDC_ABOUT:
        ShowAboutDialog(window);
        break;
    case IDM_EXIT:
        PostQuitMessage(0);
        break;
    }
}

void OnAutoAlertTimer(HWND window) {
    if (RuntimeFlagSet(kAutoAlertRunning) || RuntimeFlagSet(kSavingLists)) {
        SetTimer(window, kAutoAlertTimer, kTimerPeriods.AutoAlertFirstMs, ShellTimerProc);
        return;
    }
    if (AutoAlertThread) {
        // The previous check has cleared its bit as its very last step; if its
        // thread has not quite ended yet, try again shortly rather than wait
        // on this thread, which would freeze every window.
        if (WaitForSingleObject(AutoAlertThread, 0) == WAIT_TIMEOUT) {
            SetTimer(window, kAutoAlertTimer, kTimerPeriods.AutoAlertFirstMs, ShellTimerProc);
            return;
        }
        CloseHandle(AutoAlertThread);
        AutoAlertThread = nullptr;
    }
    SetRuntimeFlag(kAutoAlertRunning);
    AutoAlertThread = StartAutoAlertThread();
    if (!AutoAlertThread)
        ClearRuntimeFlag(kAutoAlertRunning); // or every later tick would only re-arm
    if (AlertsPage.Flags & kAutoAlertsOn)
        SetTimer(window, kAutoAlertTimer, kTimerPeriods.AutoAlertPeriodMs, ShellTimerProc);
    else
        KillTimer(window, kAutoAlertTimer);
}

void OnSaveListsTimer(HWND window) {
    if (RuntimeFlagSet(kAutoAlertRunning))
        return; // fires again in 5 seconds
    WriteSavedLists();
    KillTimer(window, kSaveListsTimer);
}

} // namespace

void CALLBACK ShellTimerProc(HWND window, UINT, UINT_PTR id, DWORD) {
    if (id == kAutoAlertTimer)
        OnAutoAlertTimer(window);
    else if (id == kSaveListsTimer)
        OnSaveListsTimer(window);
}

void SetAutoAlerts(bool on) {
    if (on)
        AlertsPage.Flags |= kAutoAlertsOn;
    else
        AlertsPage.Flags &= ~kAutoAlertsOn;
    CheckMenuItem(TrayMenu, IDM_AUTO_ALERTS, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    if (AlertsPage.Window)
        CheckDlgButton(AlertsPage.Window, IDC_GET_AUTO_ALERTS, on ? BST_CHECKED : BST_UNCHECKED);
    if (on)
        SetTimer(HiddenWindow, kAutoAlertTimer, kTimerPeriods.AutoAlertFirstMs, ShellTimerProc);
    else
        KillTimer(HiddenWindow, kAutoAlertTimer);
}

void OpenMainWindow() {
    if (!MainWindow || !IsWindowVisible(MainWindow))
        MainWindow =
            CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc, 0);
    if (!MainWindow)
        return;
    constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOCOPYBITS;
    SetWindowPos(MainWindow, HWND_TOPMOST, 0, 0, 0, 0, kKeepPlace);
    SetWindowPos(MainWindow, HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlace);
}

void RemoveTrayIcon() {
    Shell_NotifyIconA(NIM_DELETE, &TrayIcon);
    if (TrayIcon.hIcon)
        DestroyIcon(TrayIcon.hIcon);
    TrayIcon.hIcon = nullptr;
}

LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        BuildTrayMenu();
        AddTrayIcon(window);
        PostMessageA(window, WM_COMMAND, IDC_DEFERRED_START, 0);
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    case WM_SHELL_AUTO_ALERTS:
        SetAutoAlerts(wParam != 0);
        return 0;
    case WM_SHELL_SAVE_LISTS_SOON:
        SetTimer(window, kSaveListsTimer, kTimerPeriods.SaveListsMs, ShellTimerProc);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE; // nothing here keeps the session from ending
    case WM_ENDSESSION:
        // The process may be ended as soon as this returns: the shutdown runs
        // now, and the message loop then ends as it does after Exit.
        if (wParam) {
            ShutDown(true);
            PostQuitMessage(0);
        }
        return 0;
    case WM_TRAY_CALLBACK:
        if (lParam == WM_LBUTTONUP)
            OpenMainWindow();
        else if (lParam == WM_RBUTTONUP)
            ShowTrayMenu(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
