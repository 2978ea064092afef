// "Hourly Point Forecast Time Display" (dialog 7018): edits the time format of
// the hourly table's "Time" column, with a live preview of the present time.
// Every keystroke applies at once; there is no OK or Cancel.
#ifndef CUMULON_HOURLY_TIME_FORMAT_DIALOG_H
#define CUMULON_HOURLY_TIME_FORMAT_DIALOG_H

#include <windows.h>

// Modal over `owner`; returns when the dialog is closed.
void ShowHourlyTimeFormatDialog(HWND owner);

#endif
