// The Settings dialog (7012): time display format with a live sample, start-up
// options and tooltips.
#ifndef CUMULON_SETTINGS_DIALOG_H
#define CUMULON_SETTINGS_DIALOG_H

#include <windows.h>

void ShowSettingsDialog(HWND owner);

#endif
