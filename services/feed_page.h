// The skeleton every page shares: the icon toolbar with tooltips and hover
// highlight, the list commands and the deferred list load, the check boxes and
// radio buttons tied to flag bits, the status-line alignment, the worker with
// its busy bit and Stop, and the display path. A page is one FeedPage record:
// how its selected row becomes feed addresses and cache files, and how a
// cached document becomes what it shows. Its dialog procedure is FeedPageProc,
// created with the record as its parameter.
//
// Displays run on the user-interface thread only: a worker never draws; when
// its fetch starts and ends it posts WM_PAGE_FETCHED to the page window that
// is current at that moment (PageState::Window), and the page redisplays its
// selected row. So a page reopened during a download shows the result, and a
// row click can never interleave with a worker's display.
#ifndef CUMULON_FEED_PAGE_H
#define CUMULON_FEED_PAGE_H

#include "services/shared_state.h"
#include "services/toolbar_icon.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Posted by a worker to the current page window when its fetch starts or ends.
constexpr UINT WM_PAGE_FETCHED = WM_APP + 1;

struct PageColumn {
    const char* Caption;
    int Width; // 0 hides the column
};

struct ToolbarEntry {
    int Id;
    const char* Tooltip;
};

// A check box or radio button tied to the page's flags word. A check box
// (Group 0) sets or clears Bit with its check mark; a radio button clears the
// bits of its Group and sets Bit. A click redisplays from the cache.
struct FlagControl {
    int Id;
    uint32_t Bit;
    uint32_t Group;
};

// The texts of the selected row, read on the user-interface thread.
struct PageRow {
    int Index = -1;
    std::vector<std::string> Columns;
};

// One download of an update: the feed's address and its cache file. An empty
// address or cache path means nothing to download.
struct FeedTarget {
    std::string Url;
    std::string CachePath;
};

// What a text page shows for a cached document: the output text, and the
// status line when the document gave one (a report's own time).
struct PageText {
    std::string Output;
    std::string Status;
    bool SetStatus = false;
};

struct CalendarTime;
// Puts a report's own time on the status line, in the user's time format.
void SetStatusTime(PageText* text, const CalendarTime& local);

// Where a text page shows what it has. Forecast: "no data" and "not
// available" on the status line, the file's time as status. Report: "no
// data" in the output with the status line emptied, the document's own time
// as status (an empty status line when the document has none).
enum class TextStyle { Forecast, Report };

struct FeedPage;
using PageDialogOpener = void (*)(HWND pageWindow, const FeedPage& page);
using PageMessageHook = INT_PTR (*)(const FeedPage& page, HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam, bool* handled);

struct FeedPage {
    int DialogId;
    PageState* State;
    uint32_t BusyBit;      // RuntimeFlags bit while the worker downloads
    int SelectedSlot = -1; // entry of Selected; -1 for a page without a list
    const char* HelpTopic; // "pointforecast.html"

    const ToolbarEntry* Toolbar;
    int ToolbarCount;
    ToolbarIcon* Icons; // ToolbarCount records, process-wide

    uint32_t StatusLeftBit;
    uint32_t StatusRightBit;
    const FlagControl* FlagControls = nullptr;
    int FlagControlCount = 0;
    uint32_t StopBit = 0; // flags bit set by Stop: the worker fetches no further target

    // The list; ListSection null for a page without one.
    const char* ListSection = nullptr;
    const PageColumn* Columns = nullptr;
    int ColumnCount = 0; // also the columns that travel with up and down
    DWORD ListStyles = 0;
    int AddCommand = 0; // IDC_ADD (point dialogs) or IDC_INDEX (station tree)
    PageDialogOpener OpenAdd = nullptr;
    PageDialogOpener OpenEdit = nullptr;
    const char* TreeFile = nullptr; // the station tree of Add Location

    // The feed: the targets of an update for the selected row (none for a page
    // without a list) and the flags; -1 when the catalog cannot be read.
    int (*Targets)(const PageRow& row, uint32_t flags, std::vector<FeedTarget>* targets) = nullptr;
    bool Conditional = false;
    // Runs on the worker, inside the busy time, after a fetch that replaced
    // the cache file (never after a failed, stopped or refused one).
    void (*AfterFetch)(const FeedTarget& target) = nullptr;

    // The display, on the user-interface thread only.
    void (*Display)(const FeedPage& page, HWND window) = nullptr;
    // Text pages (Display = ShowFeedText): the cached document turned into
    // what the page shows, with the page's flags and the selected row.
    void (*Render)(std::string_view document, const PageRow& row, uint32_t flags,
                   PageText* text) = nullptr;
    TextStyle Style = TextStyle::Report;
    const char* NotAvailable = nullptr; // shown when Render gives no output (forecast pages)
    bool BoldOutput = true;             // the output area takes the main window's bold font

    // Modal dialogs that follow the page pattern (the satellite wide view, the
    // alert map): their position value; Close stops the download first.
    const char* PositionValue = nullptr;
    bool Modal = false;
    // The help file's window for HelpTopic (the alert map's legend has its own).
    const char* HelpWindow = "MainWindow";

    // Messages the page handles itself before the skeleton does (set *handled).
    PageMessageHook OnMessage = nullptr;
};

// The dialog procedure of every page; the FeedPage record is the creation
// parameter (CreateDialogParam, DialogBoxParam).
INT_PTR CALLBACK FeedPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opens a modal page (a view with its own window) owned by `owner`; when it
// is open already, brings it to the front instead.
void OpenModalPage(const FeedPage& page, HWND owner);

// The display of text pages: "Loading..." while busy; "no data" without a
// cache file or with one that cannot be read (too large, locked); otherwise
// the file's time or the document's, and the rendered text.
void ShowFeedText(const FeedPage& page, HWND window);

// The single selected row's texts (Index -1 when not exactly one is selected).
PageRow SelectedRow(const FeedPage& page, HWND window);
// Returns the single selected row and remembers it in the page's Selected
// entry; with several rows selected the entry keeps the row remembered last.
PageRow TakeSelectedRow(const FeedPage& page, HWND window);

// Stop, from the user-interface thread: the page's worker fetches no further
// target, and the download it runs or is about to start is aborted, even
// while it still reads the catalog.
void StopPageWorker(PageState* state);

// Sets or clears flag bits of the page from the user-interface thread.
void SetPageFlag(const FeedPage& page, uint32_t bit, bool on);
// Makes the page's flags word `flags` (a saved value put right at opening).
void ReplacePageFlags(const FeedPage& page, uint32_t flags);
// Puts the check marks of the page's flag controls from its flags word.
void CheckFlagControls(const FeedPage& page, HWND window);

// The first cache path of the row's targets; empty when there is none. False
// when the catalog cannot be read.
bool CachePathOf(const FeedPage& page, const PageRow& row, std::string* path);

// The one "url=" feed of a code section: `run` (a run of '#') in the address
// and in the cache file name filled with the first characters of `code`. A
// code shorter than the run, or one that would put a path into the file name,
// gives no target. `lowerCaseUrl`: the whole address in lower case.
int CodeFeedTarget(const char* section, std::string_view code, std::string_view run,
                   bool lowerCaseUrl, std::vector<FeedTarget>* targets);

// The formatted local last-write time of a file, with the global time format;
// false when the file cannot be opened.
bool FormatFileTime(const char* path, std::string* text);

// Toolbars: the eight icons of a list page (the second is `addId`, "add" or
// "index") and the three of an image view.
extern const ToolbarEntry kPointPageToolbar[8];
extern const ToolbarEntry kStationPageToolbar[8];
extern const ToolbarEntry kImageViewToolbar[3];

#endif
