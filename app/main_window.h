// The main window (dialog 7000): the tab control with the eight pages.
#ifndef CUMULON_MAIN_WINDOW_H
#define CUMULON_MAIN_WINDOW_H

#include <windows.h>

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
