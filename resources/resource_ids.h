// Identifiers shared by the resource scripts and the code: icons, dialogs,
// controls, commands and private messages. Plain macros so windres can read them.
#ifndef CUMULON_RESOURCE_IDS_H
#define CUMULON_RESOURCE_IDS_H

// Icons
#define IDI_APP 100
#define IDI_ABOUT_OPENER 101
#define IDI_UPDATE 102
#define IDI_EDIT 103
#define IDI_DELETE 104
#define IDI_HELP 105
#define IDI_UP 106
#define IDI_DOWN 107
#define IDI_INDEX 108
#define IDI_HOVER 109
#define IDI_ADD 110
#define IDI_OPEN 111
#define IDI_PLAY 112
#define IDI_ABOUT_PICTURE 113
#define IDI_STOP 114
#define IDI_DONATE 115

// Dialogs
#define IDD_MAIN 7000
#define IDD_POINT_FORECAST 7001
#define IDD_RADAR 7002
#define IDD_OBSERVATIONS 7003
#define IDD_SATELLITE 7004
#define IDD_METAR 7005
#define IDD_RIVER 7007
#define IDD_SATELLITE_WIDE 7008
#define IDD_ADD_POINT 7009
#define IDD_EDIT_POINT 7010
#define IDD_ABOUT 7011
#define IDD_SETTINGS 7012
#define IDD_ALERTS 7013
#define IDD_ADD_LOCATION 7014
#define IDD_EDIT_LOCATION 7015
#define IDD_ALERT_MAP 7016
#define IDD_HOURLY_POINT_FORECAST 7017

// Commands, controls and messages used across windows
#define IDC_ABOUT 5001          // main window's About icon; tray menu "About"
#define WM_TRAY_CALLBACK 5002   // notification-area icon callback message
#define IDM_EXIT 5003           // tray menu "Exit"
#define IDC_SETTINGS 5004       // main window "Settings"; tray menu "Settings"
#define IDC_HELP_TOPIC 5005     // help icon; tray menu "Help"
#define IDC_DEFERRED_START 5006 // posted to itself: hidden window start-up, page list load
#define IDC_UPDATE 5007
#define IDC_OUTPUT 5008
#define IDC_STATUS 5009
#define IDC_INDEX 5010
#define IDC_EDIT 5011
#define IDC_DELETE 5012
#define IDC_LIST 5013
#define IDC_UP 5014
#define IDC_DOWN 5015
#define IDC_ADD 5016
#define IDC_TAB 5068
#define IDM_AUTO_ALERTS 5102     // tray menu "Auto Alerts"
#define IDC_GET_AUTO_ALERTS 5132 // alerts page check box mirroring "Auto Alerts"
#define IDC_STOP 5144

// Private messages of the hidden window, sent by the pages (user-interface
// thread): Auto Alerts switched on (wParam 1) or off (0) from the alerts page,
// and "save the lists in a few seconds" after a check mark changed.
#define WM_SHELL_AUTO_ALERTS 0x8010
#define WM_SHELL_SAVE_LISTS_SOON 0x8011

// Settings dialog
#define IDC_TIME_FORMAT 5098
#define IDC_SHOW_TOOLTIPS 5099
#define IDC_OPEN_MAIN_AT_START 5100
#define IDC_START_WITH_WINDOWS 5103

// Station tree picker: Add Location and Edit Location
#define IDC_SAVE 5095
#define IDC_STATION_TREE 5096
#define IDC_STATION_ID 5097
#define IDC_NAME_FIELD 5011 // the display name of Edit Location
#define IDM_CHANGE_FONT 5134
#define IDM_DEFAULT_FONT 5135

// Hourly point forecast page (7017) and its time display dialog (7018)

// Current observations (7003) and river gauges (7007) pages

// METAR page (7005)

// Radar (7002), satellite (7004), satellite wide view (7008), alert map (7016)

// Alerts page (7013)
#define IDC_TICKER_SAMPLE 5101
#define IDC_TICKER_TEXT_COLOR 5109
#define IDC_TICKER_BACK_COLOR 5110
#define IDC_TEST_TICKER 5111
#define IDC_WARNING_ALARM 5112
#define IDC_WARNING_SOUND 5113
#define IDC_WARNING_OPEN 5114
#define IDC_WARNING_PLAY 5115
#define IDC_SEVERE_ALARM 5116
#define IDC_SEVERE_SOUND 5117
#define IDC_SEVERE_OPEN 5118
#define IDC_SEVERE_PLAY 5119
#define IDC_NOTIFY_ALARM 5120
#define IDC_NOTIFY_SOUND 5121
#define IDC_NOTIFY_OPEN 5122
#define IDC_NOTIFY_PLAY 5123
#define IDC_SHORT_MESSAGE 5124
#define IDC_LONG_MESSAGE 5125
#define IDC_EFFECTED_AREA 5126
#define IDC_NOTIFY_LOOP 5127
#define IDC_WARNING_LOOP 5128
#define IDC_SEVERE_LOOP 5129
#define IDC_TICKER_TOOLBAR 5130
#define IDC_ALERT_MAP_BUTTON 5131

// About dialog
#define IDC_DONATE 5092
#define IDC_WEB_LINK 5094

#endif
