#include "services/shared_state.h"

// Every value here starts zero; the settings table (app/settings_store.cpp)
// gives the settings their initial values before the registry is read.
GlobalSettingsRecord GlobalSettings;
std::atomic<uint32_t> RuntimeFlags{0};
int32_t Selected[kSelectedCount];

PageState PointForecastPage;
PageState HourlyForecastPage;
PageState ObservationsPage;
PageState AlertsPage;
PageState RadarPage;
PageState MetarPage;
PageState RiverPage;
PageState SatellitePage;
PageState SatelliteWidePage;
PageState AlertMapPage;

char HourlyForecastTimeFormat[257];
char AlertWarningAlarm[261];
char AlertSevereAlarm[261];
char AlertNotifyAlarm[261];
COLORREF AlertTextColor;
COLORREF AlertBackColor;

HINSTANCE AppInstance;
HWND HiddenWindow;
HWND MainWindow;
HWND SettingsDialog;
HWND AboutDialog;
HMENU TrayMenu;
HANDLE AutoAlertThread;
HFONT BoldFont;
HFONT ListFont;
HFONT HourlyDataFont;
