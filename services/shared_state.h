// Process-wide records shared by the windows and the worker threads. They live
// for the whole run; the settings among them get their initial values from the
// settings table before the registry is read.
#ifndef CUMULON_SHARED_STATE_H
#define CUMULON_SHARED_STATE_H

#include <windows.h>

#include <atomic>
#include <cstdint>

struct FetchRequest;

constexpr char kProductName[] = "Cumulon";
constexpr char kProductVersion[] = "3.0.7.143";

struct GlobalSettingsRecord {
    char TimeFormat[257];
    COLORREF CustomColors[16];
    uint32_t SettingsFlags;
    int32_t CurTab;
};

// SettingsFlags bits
constexpr uint32_t kShowTooltips = 0x1;
constexpr uint32_t kOpenMainWindowAtStart = 0x2;
constexpr uint32_t kStartWithWindows = 0x4;

extern GlobalSettingsRecord GlobalSettings;

// RuntimeFlags: never saved; every bit is set and cleared with one atomic
// operation so that threads do not lose each other's bits.
extern std::atomic<uint32_t> RuntimeFlags;

constexpr uint32_t kBusyPointForecast = 0x2;
constexpr uint32_t kBusyRadar = 0x4;
constexpr uint32_t kBusyObservations = 0x8;
constexpr uint32_t kBusySatellite = 0x10;
constexpr uint32_t kBusyMetar = 0x20;
constexpr uint32_t kBusyAlerts = 0x40;
constexpr uint32_t kBusyRiver = 0x80;
constexpr uint32_t kBusySatelliteWide = 0x100;
constexpr uint32_t kTickerQueueFilled = 0x200;
constexpr uint32_t kAutoAlertRunning = 0x400;
constexpr uint32_t kSavingLists = 0x800;
constexpr uint32_t kBusyAlertMap = 0x1000;
constexpr uint32_t kBusyHourlyForecast = 0x2000;
constexpr uint32_t kClosingToTray = 0x4000;

inline void SetRuntimeFlag(uint32_t bit) {
    RuntimeFlags.fetch_or(bit);
}
inline void ClearRuntimeFlag(uint32_t bit) {
    RuntimeFlags.fetch_and(~bit);
}
inline bool RuntimeFlagSet(uint32_t bit) {
    return (RuntimeFlags.load() & bit) != 0;
}
// Sets the bit and tells whether it was clear before (the caller now owns it).
inline bool TakeRuntimeFlag(uint32_t bit) {
    return (RuntimeFlags.fetch_or(bit) & bit) == 0;
}

// Selected: the list index shown by each list page, -1 for none.
enum SelectedSlot {
    kSelectedPointForecast,
    kSelectedHourlyForecast,
    kSelectedObservations,
    kSelectedAlerts,
    kSelectedRadar,
    kSelectedMetar,
    kSelectedRiver,
    kSelectedCount
};
extern int32_t Selected[kSelectedCount];

// One record per page. Image views leave AddDialog and EditDialog null.
// Window, AddDialog and EditDialog are written by the user-interface thread;
// a worker reads Window (through PageWindow) to post its "fetch ended"
// message to the page that is current at that moment. Flags is the page's
// flags word: the user-interface thread alone changes it, except the stop
// bit of the radar page, which a worker reads.
struct PageState {
    HWND Window;
    HWND AddDialog;
    HWND EditDialog;
    HANDLE Worker;
    uint32_t Flags;
    FetchRequest* Request;
    // Stop pressed (or the view closed, or the session ending) since the
    // worker was started: it fetches nothing more. Set on the
    // user-interface thread, read by the worker (see PageStopped).
    uint32_t Stopped;
};

inline HWND PageWindow(PageState* page) {
    return std::atomic_ref<HWND>(page->Window).load();
}
inline void SetPageWindow(PageState* page, HWND window) {
    std::atomic_ref<HWND>(page->Window).store(window);
}
inline bool PageStopped(PageState* page) {
    return std::atomic_ref<uint32_t>(page->Stopped).load() != 0;
}
inline uint32_t PageFlags(PageState* page) {
    return std::atomic_ref<uint32_t>(page->Flags).load();
}
inline void SetPageFlags(PageState* page, uint32_t bits, bool on) {
    std::atomic_ref<uint32_t> flags(page->Flags);
    if (on)
        flags.fetch_or(bits);
    else
        flags.fetch_and(~bits);
}

extern PageState PointForecastPage;
extern PageState HourlyForecastPage;
extern PageState ObservationsPage;
extern PageState AlertsPage;
extern PageState RadarPage;
extern PageState MetarPage;
extern PageState RiverPage;
extern PageState SatellitePage;
extern PageState SatelliteWidePage;
extern PageState AlertMapPage;

// Settings kept beside some pages' records.
extern char HourlyForecastTimeFormat[257];
extern char AlertWarningAlarm[261];
extern char AlertSevereAlarm[261];
extern char AlertNotifyAlarm[261];
extern COLORREF AlertTextColor;
extern COLORREF AlertBackColor;

// AlertFlags bit: Auto Alerts on (tray menu and the alerts page mirror it).
constexpr uint32_t kAutoAlertsOn = 0x400;

// Windows and objects of the shell.
extern HINSTANCE AppInstance;
extern HWND HiddenWindow;
extern HWND MainWindow;
extern HWND SettingsDialog;
extern HWND AboutDialog;
extern HMENU TrayMenu;
extern HANDLE AutoAlertThread;
extern HFONT BoldFont;
extern HFONT ListFont;
extern HFONT HourlyDataFont;

#endif
