// The skeleton every page of the main window shares: the icon toolbar with
// tooltips and hover highlight, the list commands, the deferred list load, the
// status-line alignment, the busy bit, the worker protocol and Stop. A page
// plugs in with one FeedPage record, a worker routine and a display routine;
// its dialog procedure hands every message to HandleFeedPageMessage.
#ifndef CUMULON_FEED_PAGE_H
#define CUMULON_FEED_PAGE_H

#include "app/app_state.h"
#include "services/toolbar_icon.h"

#include <windows.h>

#include <cstdint>

struct PageColumn {
    const char* Caption;
    int Width;
};

constexpr int kToolbarIconCount = 8;

struct FeedPage {
    int DialogId;
    PageState* State;
    uint32_t BusyBit;          // RuntimeFlags bit while the worker downloads
    int SelectedSlot;          // entry of Selected, -1 for pages without a list
    const char* ListSection;   // saved-lists section ("[POINTFORECAST]")
    const char* CatalogSection;
    const PageColumn* Columns; // list columns; width 0 hides a column
    int ColumnCount;           // also the columns that travel with up and down
    DWORD ListStyles;          // extended list view styles
    int AddCommand;            // IDC_ADD (point dialogs) or IDC_INDEX (station tree)
    int AddDialogId;
    DLGPROC AddDialogProc;
    int EditDialogId;
    DLGPROC EditDialogProc;
    const char* HelpTopic;      // "pointforecast.html"
    uint32_t StatusLeftBit;     // flags-word bits of the status-line alignment
    uint32_t StatusRightBit;
    LPTHREAD_START_ROUTINE Worker; // started with the page window
    int (*Display)(HWND page);     // shows the selected row's cache file
    ToolbarIcon* Icons;            // kToolbarIconCount records, process-wide
    bool* IconsReset;              // set once the records have been reset this run
};

INT_PTR HandleFeedPageMessage(const FeedPage& page, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The worker's download: publishes a request for Stop, sets the busy bit and
// shows "Loading...", fetches `url` into `cachePath`, retires the request,
// clears the busy bit and shows the cache file. The display steps run only
// while the page is visible. Returns the fetch's result.
int RunPageDownload(const FeedPage& page, HWND window, const char* url, const char* cachePath, bool conditional);

// The formatted local last-write time of a file, with the global time format;
// false when the file cannot be opened.
bool FormatFileTime(const char* path, char* text, size_t size);


#endif
