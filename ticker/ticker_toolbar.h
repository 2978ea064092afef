// The small toolbar above the right end of the bar (dialog 7200): the
// record's location, the counter, and the skip, mute and exit icons.
#ifndef CUMULON_TICKER_TOOLBAR_H
#define CUMULON_TICKER_TOOLBAR_H

#include <windows.h>

// Creates and shows the toolbar, topmost, without taking the focus. Its
// location and counter stay empty until the next record is loaded.
HWND CreateTickerToolbar();

// Puts the current record's location and counter on the toolbar, if shown.
void ShowRecordOnToolbar();

#endif
