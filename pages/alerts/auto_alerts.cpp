#include "pages/alerts/auto_alerts.h"

#include "pages/alerts/alert_queue.h"
#include "services/feed_catalog.h"
#include "services/feed_page.h"
#include "services/file_io.h"
#include "services/http_fetch.h"
#include "services/http_request.h"
#include "services/saved_lists_file.h"
#include "services/saved_lists_format.h"
#include "services/shared_state.h"
#include "services/text_buffer.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr char kSection[] = "[ALERTS]";

// Shutdown's hand-shake with the two threads: Stopping is set once and never
// cleared; the lock keeps its setting apart from the test that precedes the
// start of a ticker, so no ticker starts once StopAutoAlerts has returned.
std::atomic<bool> Stopping{false};
std::mutex TickerStartLock;
// The check's download in progress, reached by StopAutoAlerts.
FetchRequest* CheckRequest;

// Set by StopAutoAlerts: ends a thread's wait for its ticker.
HANDLE StopEvent() {
    static HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    return event;
}

AlertSettingsSnapshot TakeSnapshot() {
    AlertSettingsSnapshot settings;
    settings.Flags = AlertsPage.Flags;
    settings.WarningSound = TextOf(AlertWarningAlarm);
    settings.SevereSound = TextOf(AlertSevereAlarm);
    settings.NotifySound = TextOf(AlertNotifyAlarm);
    settings.TextColour = AlertTextColor;
    settings.BackColour = AlertBackColor;
    settings.Tooltips = (GlobalSettings.SettingsFlags & kShowTooltips) != 0;
    return settings;
}

// Starts the ticker on a queue in the current (program) folder and waits for
// it to end. The system's search for "Ticker.exe" looks in the program's own
// folder first. False when it could not be started.
bool RunTicker(const char* queueFile, const AlertSettingsSnapshot& settings) {
    std::string commandLine = TickerCommandLine(queueFile, settings);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    {
        std::lock_guard<std::mutex> lock(TickerStartLock);
        if (Stopping.load() || !CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                                               0, nullptr, nullptr, &startup, &process))
            return false;
    }
    // Shutdown ends the wait, not the ticker, which deletes its queue itself.
    HANDLE waits[] = {process.hProcess, StopEvent()};
    WaitForMultipleObjects(waits[1] ? 2 : 1, waits, FALSE, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

struct MarkedZone {
    std::string Code;
    std::string Name;
};

// The marked rows of the alerts list as the saved-lists file holds them. The
// file is read whole and closed at once: held open during the downloads, it
// would make the save at close fail.
std::vector<MarkedZone> ReadMarkedZones() {
    std::vector<MarkedZone> zones;
    char path[MAX_PATH];
    std::string file;
    if (!SavedListsPath(path, sizeof path) || !ReadWholeFile(path, &file))
        return zones;
    for (SavedListRow& row : ParseSavedListSection(file, kSection))
        if (row.Checked)
            zones.push_back({std::move(row.Columns[0]), std::move(row.Columns[1])});
    return zones;
}

// One zone: its address built afresh from the catalog's template (a code
// shorter than the six-character run gives none, so it is never fetched
// under another zone's code), downloaded unconditionally, and its cached
// feed turned into records. The request is published for StopAutoAlerts,
// which sets Stopping before it aborts the request: a stop that came before
// the request was published is seen here, one after it aborts the download.
void QueueZone(const MarkedZone& zone, const AlertSettingsSnapshot& settings,
               std::string* records) {
    std::vector<FeedTarget> targets;
    if (AlertZoneTarget(zone.Code, &targets) != 0 || targets.empty())
        return;
    const FeedTarget& target = targets.front();
    auto request = std::make_unique<FetchRequest>();
    InitFetchRequest(request.get());
    if (!SetFetchTarget(request.get(), target.Url, target.CachePath, false))
        return;
    PublishFetch(&CheckRequest, request.get());
    const int result = Stopping.load() ? -1 : HttpFetch(request.get());
    RetireFetch(&CheckRequest);
    if (result != 0)
        return; // a failed download skips the zone
    std::string document;
    if (ReadWholeFile(target.CachePath.c_str(), &document))
        AppendAlertRecords(document, zone.Name, settings, records);
}

DWORD WINAPI AutoAlertThreadProc(void* argument) {
    std::unique_ptr<AlertSettingsSnapshot> settings(static_cast<AlertSettingsSnapshot*>(argument));
    std::string catalog; // a catalog that is missing or cannot be read ends the run at once
    if (LoadCatalogFile(kCatalogFileName, &catalog)) {
        std::string records;
        for (const MarkedZone& zone : ReadMarkedZones()) {
            if (Stopping.load())
                break;
            QueueZone(zone, *settings, &records);
        }
        // The page redisplays on its own thread.
        if (HWND page = PageWindow(&AlertsPage))
            PostMessageA(page, WM_PAGE_FETCHED, 0, 0);
        // Each run hands the ticker a queue of its own records only.
        if (!records.empty() && !Stopping.load() && WriteWholeFile(kAutoAlertQueue, records)) {
            SetRuntimeFlag(kTickerQueueFilled);
            RunTicker(kAutoAlertQueue, *settings);
            ClearRuntimeFlag(kTickerQueueFilled);
        } else {
            DeleteFileA(kAutoAlertQueue);
        }
    }
    ClearRuntimeFlag(kAutoAlertRunning); // the last step: timer 500 may start the next
    return 0;
}

DWORD WINAPI TestTickerThreadProc(void* argument) {
    std::unique_ptr<AlertSettingsSnapshot> settings(static_cast<AlertSettingsSnapshot*>(argument));
    if (WriteWholeFile(kTestTickerQueue, TestTickerQueueText(*settings)))
        RunTicker(kTestTickerQueue, *settings);
    ClearRuntimeFlag(kAutoAlertRunning);
    return 0;
}

HANDLE StartWithSnapshot(LPTHREAD_START_ROUTINE routine) {
    StopEvent(); // made here, before any thread can wait on it
    auto settings = std::make_unique<AlertSettingsSnapshot>(TakeSnapshot());
    HANDLE thread = CreateThread(nullptr, 0, routine, settings.get(), 0, nullptr);
    if (thread)
        settings.release(); // the thread owns it now
    return thread;
}

} // namespace

int AlertZoneTarget(std::string_view code, std::vector<FeedTarget>* targets) {
    return CodeFeedTarget(kSection, code, "######", false, targets);
}

HANDLE StartAutoAlertThread() {
    return StartWithSnapshot(AutoAlertThreadProc);
}

HANDLE StartTestTickerThread() {
    return StartWithSnapshot(TestTickerThreadProc);
}

void StopAutoAlerts() {
    {
        std::lock_guard<std::mutex> lock(TickerStartLock);
        Stopping.store(true);
    }
    StopFetch(&CheckRequest);
    if (HANDLE event = StopEvent())
        SetEvent(event);
}
