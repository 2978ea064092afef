// Add Location (7014) and Edit Location (7015): the station tree picker of
// every page whose places come from a tree file (the page record names it).
// Add Location appends the chosen leaves to the page's list; Edit Location
// renames the selected row. Both open modally over the page.
#ifndef CUMULON_STATION_PICKER_H
#define CUMULON_STATION_PICKER_H

#include "services/feed_page.h"

void OpenAddLocation(HWND pageWindow, const FeedPage& page);
// Only when exactly one row of the page's list is selected.
void OpenEditLocation(HWND pageWindow, const FeedPage& page);

#endif
