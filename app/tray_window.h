// The hidden top-level window "MainWindow": notification-area icon, tray menu,
// deferred start-up and the two timers of the program.
#ifndef CUMULON_TRAY_WINDOW_H
#define CUMULON_TRAY_WINDOW_H

#include <windows.h>

constexpr UINT_PTR kAutoAlertTimer = 500;
constexpr UINT_PTR kSaveListsTimer = 501;
constexpr UINT kAutoAlertFirstDelayMs = 5000;
constexpr UINT kAutoAlertPeriodMs = 600000;
constexpr UINT kSaveListsDelayMs = 5000;

void CALLBACK ShellTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Switches Auto Alerts on or off: AlertFlags bit, tray menu check mark, the
// alerts page's check box and timer 500 always change together.
void SetAutoAlerts(bool on);

// Creates the main window unless it is visible, then brings it to the front.
void OpenMainWindow();

void RemoveTrayIcon();

#endif
