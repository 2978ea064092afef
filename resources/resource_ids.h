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
#define IDD_HOURLY_TIME_FORMAT 7018
#define IDC_HOURLY_WEATHER 5072 // the column check boxes
#define IDC_HOURLY_TEMPERATURE 5073
#define IDC_HOURLY_DEW_POINT 5074
#define IDC_HOURLY_PRECIPITATION_CHANCE 5081
#define IDC_HOURLY_WIND_CHILL_HEAT_INDEX 5137
#define IDC_HOURLY_WIND_SPEED 5138
#define IDC_HOURLY_GUST 5139
#define IDC_HOURLY_WIND_DIRECTION 5140
#define IDC_HOURLY_CLOUD 5141
#define IDC_HOURLY_HUMIDITY 5142
#define IDC_HOURLY_PRECIPITATION 5143
#define IDM_EDIT_TIME_FORMAT 5133 // table menu; "Use Deault Font" is IDM_DEFAULT_FONT
#define IDM_HOURLY_CHANGE_FONT 5136

// Current observations (7003) and river gauges (7007) pages
#define IDC_FAHRENHEIT 5033
#define IDC_CELSIUS 5034
#define IDC_MPH 5035
#define IDC_KNOTS 5036
#define IDC_INCHES 5037
#define IDC_MILLIBARS 5038

// METAR page (7005)
#define IDC_METAR_FAHRENHEIT 5033
#define IDC_METAR_CELSIUS 5034
#define IDC_METAR_MPH 5035
#define IDC_METAR_KNOTS 5036
#define IDC_METAR_INCHES 5037
#define IDC_METAR_MILLIBARS 5038
#define IDC_METAR_FEET 5066
#define IDC_METAR_METERS 5067
#define IDC_METAR_LATLON 5070
#define IDC_METAR_ELEVATION 5071
#define IDC_METAR_WEATHER 5072
#define IDC_METAR_TEMPERATURE 5073
#define IDC_METAR_DEWPOINT 5074
#define IDC_METAR_MINMAX_TEMP 5075
#define IDC_METAR_WIND 5076
#define IDC_METAR_PRESSURE 5077
#define IDC_METAR_VISIBILITY 5078
#define IDC_METAR_SKY_COVER 5079
#define IDC_METAR_ALTIMETER 5080
#define IDC_METAR_PRECIPITATION 5081
#define IDC_METAR_SNOW 5082
#define IDC_METAR_FLIGHT_CATEGORY 5083
#define IDC_METAR_TYPE 5084
#define IDC_METAR_RAW 5085

// Radar (7002), satellite (7004), satellite wide view (7008), alert map (7016)
#define IDC_RADAR_TOPOGRAPHY 5017
#define IDC_RADAR_RIVERS 5018
#define IDC_RADAR_HIGHWAYS 5019
#define IDC_RADAR_BOUNDARIES 5020
#define IDC_RADAR_CITIES 5021
#define IDC_RADAR_WARNINGS 5022
#define IDC_RADAR_SHORT_RANGE 5023
#define IDC_RADAR_LONG_RANGE 5024
#define IDC_RADAR_BASE_REFLECTIVITY 5025
#define IDC_RADAR_STORM_RELATIVE_MOTION 5026
#define IDC_RADAR_BASE_VELOCITY 5027
#define IDC_RADAR_ONE_HOUR_PRECIPITATION 5028
#define IDC_RADAR_COMPOSITE_REFLECTIVITY 5029
#define IDC_RADAR_STORM_TOTAL_PRECIPITATION 5030
#define IDC_RADAR_IMAGE 5031
#define IDC_RADAR_LEGEND 5032
#define IDC_SAT_VISIBLE 5039
#define IDC_SAT_INFRARED 5040
#define IDC_SAT_WATER_VAPOR 5041
#define IDC_SAT_AVIATION 5042 // the eight colour tables follow: 5042 to 5049
#define IDC_SAT_SHORTWAVE 5043
#define IDC_SAT_DVORAK 5044
#define IDC_SAT_UNENHANCED 5045
#define IDC_SAT_JSL 5046
#define IDC_SAT_RGB 5047
#define IDC_SAT_FUNKTOP 5048
#define IDC_SAT_RAINBOW 5049
#define IDC_SAT_WESTERN_ATLANTIC 5050 // the fourteen sectors: 5050 to 5063
#define IDC_SAT_CENTRAL_ATLANTIC 5051
#define IDC_SAT_CARIBBEAN 5052
#define IDC_SAT_GULF_OF_MEXICO 5053
#define IDC_SAT_EASTERN_US 5054
#define IDC_SAT_CENTRAL_US 5055
#define IDC_SAT_NORTHWEST_ATLANTIC 5056
#define IDC_SAT_NORTH_ATLANTIC 5057
#define IDC_SAT_EASTERN_EAST_PACIFIC 5058
#define IDC_SAT_EAST_PACIFIC 5059
#define IDC_SAT_CENTRAL_PACIFIC 5060
#define IDC_HAWAII 5061 // the satellite sector and the alert map area
#define IDC_SAT_NORTHEAST_PACIFIC 5062
#define IDC_SAT_WESTERN_US 5063
#define IDC_WIDE_ATLANTIC 5064
#define IDC_WIDE_PACIFIC 5065
#define IDC_WIDE_VIEW 5069
#define IDC_MAP_UNITED_STATES 5104
#define IDC_MAP_ALASKA 5105
#define IDC_MAP_GUAM 5106
#define IDC_MAP_PUERTO_RICO 5107
#define IDC_MAP_AMERICAN_SAMOA 5108

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
