// Add Point (7009) and Edit Point (7010): the dialogs that fill the lists of
// the two forecast pages with places by name, latitude and longitude, and
// find places in the ZIP code table. Opened modally over a page.
#ifndef CUMULON_POINT_DIALOGS_H
#define CUMULON_POINT_DIALOGS_H

#include "services/feed_page.h"

void OpenAddPoint(HWND pageWindow, const FeedPage& page);
// Only when exactly one row of the page's list is selected.
void OpenEditPoint(HWND pageWindow, const FeedPage& page);

#endif
