// The hidden top-level window "MainWindow": notification-area icon, tray menu,
// deferred start-up and the two timers of the program.
#ifndef CUMULON_TRAY_WINDOW_H
#define CUMULON_TRAY_WINDOW_H

#include <windows.h>

constexpr UINT_PTR kAutoAlertTimer = 500;
constexpr UINT_PTR kSaveListsTimer = 501;

// The timers' periods: the first auto-alert check 5 s after Auto Alerts is
// switched on (and every retry while a check is busy), then one every ten
// minutes; the lists saved 5 s after a check mark changed. Defined in
// app/timer_periods.cpp; a test build of the program links shorter ones.
struct TimerPeriods {
    UINT AutoAlertFirstMs;
    UINT AutoAlertPeriodMs;
    UINT SaveListsMs;
};
extern const TimerPeriods kTimerPeriods;

void CALLBACK ShellTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Switches Auto Alerts on or off: AlertFlags bit, tray menu check mark, the
// alerts page's check box and timer 500 always change together.
void SetAutoAlerts(bool on);

// Creates the main window unless it is visible, then brings it to the front.
void OpenMainWindow();

void RemoveTrayIcon();

// The shutdown of every road out (app/main.cpp): Exit, the main window's
// close, a missing data file, and the end of the Windows session, which
// aborts the downloads and waits for the threads a few seconds at most. It
// runs once; a second call returns at once.
void ShutDown(bool sessionEnding);

#endif
