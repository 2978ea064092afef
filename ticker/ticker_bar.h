// The scrolling bar along the bottom of the work area (dialog 7100) and the
// back buffer its frames are drawn into.
#ifndef CUMULON_TICKER_BAR_H
#define CUMULON_TICKER_BAR_H

#include <windows.h>

#include <string_view>

// Creates and shows the bar, topmost, without taking the focus; it creates
// the toolbar when the toolbar option is set. Null on failure.
HWND CreateTickerBar();

// The back buffer: a memory copy of the bar's surface in its colours.
bool PrepareBackBuffer();
void ReleaseBackBuffer();

// The message's width in the back buffer's font.
int MeasureMessage(std::string_view message);

// One scrolling step: draws the frame, copies it to the screen, moves the
// message by the current speed and loads the next record once it has left.
void DrawTickerFrame();

#endif
