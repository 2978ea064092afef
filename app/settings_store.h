// The settings key "Software\Quillmoor\Cumulon" of the current user: the global
// values, every page's values, and the window positions ("...XY" values).
// Failures are silent: a value that is missing, of another type or of another
// size leaves the value in memory as it was.
#ifndef CUMULON_SETTINGS_STORE_H
#define CUMULON_SETTINGS_STORE_H

#include "app/app_state.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

extern const char kSettingsKey[];

void ReadGlobalSettings(GlobalSettingsRecord* settings);
void WriteGlobalSettings(const GlobalSettingsRecord& settings);

// Every page's settings, in the order start-up reads them and shutdown writes
// them: alerts, alert map, satellite, satellite wide view, point forecast,
// hourly point forecast, current observations, radar, METAR, river gauges.
void ReadAlertSettings();
void WriteAlertSettings();
void ReadAlertMapSettings();
void WriteAlertMapSettings();
void ReadSatelliteSettings();
void WriteSatelliteSettings();
void ReadSatelliteWideSettings();
void WriteSatelliteWideSettings();
void ReadPointForecastSettings();
void WritePointForecastSettings();
void ReadHourlyForecastSettings();
void WriteHourlyForecastSettings();
void ReadObservationsSettings();
void WriteObservationsSettings();
void ReadRadarSettings();
void WriteRadarSettings();
void ReadMetarSettings();
void WriteMetarSettings();
void ReadRiverSettings();
void WriteRiverSettings();

// Single values. Reads succeed only for a value of the expected type and
// exactly the expected size (strings: any length that fits, terminated).
bool ReadDwordSetting(const char* name, uint32_t* value);
bool WriteDwordSetting(const char* name, uint32_t value);
bool ReadBinarySetting(const char* name, void* data, size_t size);
bool WriteBinarySetting(const char* name, const void* data, size_t size);
bool ReadStringSetting(const char* name, char* text, size_t size);
bool WriteStringSetting(const char* name, const char* text);
bool DeleteSetting(const char* name);

// Window positions: the window's left and top in screen coordinates.
void SaveWindowPosition(HWND window, const char* name);
// Moves the window to the stored position (size unchanged, shown, top of the
// z-order); false, and the window untouched, when no position is stored.
bool RestoreWindowPosition(HWND window, const char* name);

#endif
