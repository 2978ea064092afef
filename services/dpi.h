// Sizes the program gives in pixels (list columns, fonts, icons) are sizes at
// 96 DPI; on a denser screen they grow with the screen's DPI so they keep
// their proportion to the dialogs, which grow with their font.
#ifndef CUMULON_DPI_H
#define CUMULON_DPI_H

#include <windows.h>

constexpr int kBaseDpi = 96;

// The DPI of the screen `window` is on (the screen's when `window` is null):
// GetDpiForWindow where the system has it, else the screen's LOGPIXELSY.
int WindowDpi(HWND window);
// A 96-DPI size at `dpi`.
int ScaleToDpi(int size, int dpi);
// A 96-DPI size at the DPI of `window`'s screen.
int ScaleForWindow(HWND window, int size);

// Icon `id` of the program at `size` pixels, drawn from the nearest image of
// the icon file (scaled down from a larger one, never up from a small one
// where the system can). Icons are kept for the whole run and shared: the
// caller never destroys one.
HICON ProgramIcon(int id, int size);

#endif
