// The state of the one ticker window set and the program's actions, shared by
// the entry point, the bar and the toolbar. One thread uses all of it.
#ifndef CUMULON_TICKER_APP_H
#define CUMULON_TICKER_APP_H

#include "ticker/ticker_options.h"
#include "ticker/ticker_queue.h"

#include <windows.h>

constexpr UINT kTickerFrameMs = 18;   // one scrolling step
constexpr int kTickerNormalSpeed = 1; // pixels per step
constexpr int kTickerFastSpeed = 8;   // while the left button is held on the bar
constexpr int kTickerBarHeight = 30;  // pixels at 96 DPI, like every size of the ticker
constexpr int kTickerBaseDpi = 96;

struct TickerApp {
    HINSTANCE Instance;
    TickerOptions Options;
    TickerQueue Queue;
    HWND Hidden;
    HWND Bar;
    HWND Toolbar; // null while the toolbar is not shown
    HFONT ToolbarFont;
    HBRUSH BackgroundBrush; // null without a background colour
    int Speed;
    int ScrollLeft;   // where the message starts, in the bar's client pixels
    int MessageWidth; // measured once per record
    int Dpi;          // the screen's, read at start
};

extern TickerApp Ticker;

// Loads the next record into the bar and the toolbar and starts its sound; at
// the end of the queue the program ends.
void LoadNextRecord();
// Drops the current message and shows the next one at once.
void SkipRecord();
void MuteSound();
// Ends the program after the current message.
void EndTicker();

// The tab-style dialog texture, where the common controls draw themed.
void EnableThemedTexture(HWND dialog);

// A size given in pixels at 96 DPI, on the ticker's screen.
inline int TickerPixels(int size) {
    return MulDiv(size, Ticker.Dpi, kTickerBaseDpi);
}

// COLORREF of an option colour: only the red, green and blue bytes count.
inline COLORREF OptionColour(uint32_t value) {
    return static_cast<COLORREF>(value & 0x00FFFFFF);
}

#endif
