#include "app/app_state.h"

GlobalSettingsRecord GlobalSettings = {
    "%Dow; %Mon; %dd; %yyyy; - %hh;:%mm; %ampm;",
    {},
    kShowTooltips | kOpenMainWindowAtStart,
    0,
};

std::atomic<uint32_t> RuntimeFlags{0};

int32_t Selected[kSelectedCount] = {-1, -1, -1, -1, -1, -1, -1};

PageState PointForecastPage = {nullptr, nullptr, nullptr, nullptr, 0, nullptr};
PageState HourlyForecastPage = {nullptr, nullptr, nullptr, nullptr, 0x1FFC, nullptr};
PageState ObservationsPage = {nullptr, nullptr, nullptr, nullptr, 0x15, nullptr};
PageState AlertsPage = {nullptr, nullptr, nullptr, nullptr, 0x237, nullptr};
PageState RadarPage = {nullptr, nullptr, nullptr, nullptr, 0x105FF, nullptr};
PageState MetarPage = {nullptr, nullptr, nullptr, nullptr, 0x7FFFD5, nullptr};
PageState RiverPage = {nullptr, nullptr, nullptr, nullptr, 0, nullptr};
PageState SatellitePage = {nullptr, nullptr, nullptr, nullptr, 0x28020, nullptr};
PageState SatelliteWidePage = {nullptr, nullptr, nullptr, nullptr, 0x29, nullptr};
PageState AlertMapPage = {nullptr, nullptr, nullptr, nullptr, 1, nullptr};

char HourlyForecastTimeFormat[257] = "%Dow; %dd;, %hh; %ampm;";
char AlertWarningAlarm[261] = "sounds\\alarm.wav";
char AlertSevereAlarm[261] = "sounds\\severe.wav";
char AlertNotifyAlarm[261] = "sounds\\beepbeep.wav";
COLORREF AlertTextColor = 0xFFFFFF;
COLORREF AlertBackColor = 0x000080;

HINSTANCE AppInstance = nullptr;
HWND HiddenWindow = nullptr;
HWND MainWindow = nullptr;
HWND SettingsDialog = nullptr;
HMENU TrayMenu = nullptr;
HANDLE AutoAlertThread = nullptr;
HFONT BoldFont = nullptr;
HFONT ListFont = nullptr;
HFONT HourlyDataFont = nullptr;
