// Tab hosting for the main window.
#ifndef CUMULON_TAB_PAGES_H
#define CUMULON_TAB_PAGES_H

#include <windows.h>

// Inserts a tab (at `index`, or at the end for -1) carrying `page` as its item
// data and fits the page into the tab's display area, hidden: the page's
// output box (its list beside a picture) takes the height the page gains, so
// the bottom margin stays. Returns the new item's index or -1. A null page
// leaves the tab without one until AttachTabPage gives it its page.
int AddTabPage(HWND tab, HWND page, const char* caption, int index);
bool AttachTabPage(HWND tab, int index, HWND page);
// Shows the page of tab `index` (-1: the current selection, which is also
// stored as CurTab). Returns the index, or -1 when the item cannot be read or
// has no page yet.
int SelectTab(HWND tab, int index);
bool RemoveTabPage(HWND tab, int index);
bool RemoveAllTabPages(HWND tab);

#endif
