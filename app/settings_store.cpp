#include "app/settings_store.h"

#include "services/text_buffer.h"

#include <cstring>

const char kSettingsKey[] = "Software\\Quillmoor\\Cumulon";

namespace {

bool QueryValue(const char* name, DWORD type, void* data, DWORD size, DWORD* got) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD actualType = 0;
    DWORD actualSize = size;
    LONG result = RegQueryValueExA(key, name, nullptr, &actualType, static_cast<BYTE*>(data),
                                   &actualSize);
    RegCloseKey(key);
    *got = actualSize;
    return result == ERROR_SUCCESS && actualType == type;
}

bool SetValue(const char* name, DWORD type, const void* data, size_t size) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data),
                                 static_cast<DWORD>(size));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

} // namespace

bool ReadDwordSetting(const char* name, uint32_t* value) {
    DWORD data, got;
    if (!QueryValue(name, REG_DWORD, &data, sizeof data, &got) || got != sizeof data)
        return false;
    *value = data;
    return true;
}

bool WriteDwordSetting(const char* name, uint32_t value) {
    DWORD data = value;
    return SetValue(name, REG_DWORD, &data, sizeof data);
}

bool ReadBinarySetting(const char* name, void* data, size_t size) {
    // Read into a scratch copy so that a value of the wrong size changes nothing.
    BYTE scratch[256];
    DWORD got;
    if (size > sizeof scratch || !QueryValue(name, REG_BINARY, scratch, sizeof scratch, &got) ||
        got != size)
        return false;
    std::memcpy(data, scratch, size);
    return true;
}

bool WriteBinarySetting(const char* name, const void* data, size_t size) {
    return SetValue(name, REG_BINARY, data, size);
}

bool ReadStringSetting(const char* name, char* text, size_t size) {
    char scratch[1025];
    DWORD got;
    if (size == 0 || !QueryValue(name, REG_SZ, scratch, sizeof scratch - 1, &got) || got > size)
        return false;
    scratch[got < sizeof scratch ? got : sizeof scratch - 1] = '\0';
    CopyText(text, size, scratch);
    return true;
}

bool WriteStringSetting(const char* name, const char* text) {
    return SetValue(name, REG_SZ, text, std::strlen(text) + 1);
}

bool DeleteSetting(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return false;
    LONG result = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void SaveWindowPosition(HWND window, const char* name) {
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return;
    int32_t position[2] = {rect.left, rect.top};
    WriteBinarySetting(name, position, sizeof position);
}

bool RestoreWindowPosition(HWND window, const char* name) {
    int32_t position[2];
    if (!ReadBinarySetting(name, position, sizeof position))
        return false;
    SetWindowPos(window, HWND_TOP, position[0], position[1], 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
    return true;
}

void ReadGlobalSettings(GlobalSettingsRecord* settings) {
    ReadStringSetting("TimeFormat", settings->TimeFormat, sizeof settings->TimeFormat);
    ReadBinarySetting("CustomColors", settings->CustomColors, sizeof settings->CustomColors);
    ReadBinarySetting("Selected", Selected, sizeof Selected);
    ReadDwordSetting("SettingsFlags", &settings->SettingsFlags);
    uint32_t tab;
    if (ReadDwordSetting("CurTab", &tab))
        settings->CurTab = static_cast<int32_t>(tab);
}

void WriteGlobalSettings(const GlobalSettingsRecord& settings) {
    WriteStringSetting("TimeFormat", settings.TimeFormat);
    WriteBinarySetting("CustomColors", settings.CustomColors, sizeof settings.CustomColors);
    WriteBinarySetting("Selected", Selected, sizeof Selected);
    WriteDwordSetting("SettingsFlags", settings.SettingsFlags);
    WriteDwordSetting("CurTab", static_cast<uint32_t>(settings.CurTab));
}

void ReadAlertSettings() {
    ReadStringSetting("AlertWarningAlarm", AlertWarningAlarm, sizeof AlertWarningAlarm);
    ReadStringSetting("AlertSevereAlarm", AlertSevereAlarm, sizeof AlertSevereAlarm);
    ReadStringSetting("AlertNotifyAlarm", AlertNotifyAlarm, sizeof AlertNotifyAlarm);
    ReadDwordSetting("AlertFlags", &AlertsPage.Flags);
    uint32_t color;
    if (ReadDwordSetting("AlertTextColor", &color))
        AlertTextColor = color;
    if (ReadDwordSetting("AlertBackColor", &color))
        AlertBackColor = color;
}

void WriteAlertSettings() {
    WriteStringSetting("AlertWarningAlarm", AlertWarningAlarm);
    WriteStringSetting("AlertSevereAlarm", AlertSevereAlarm);
    WriteStringSetting("AlertNotifyAlarm", AlertNotifyAlarm);
    WriteDwordSetting("AlertFlags", AlertsPage.Flags);
    WriteDwordSetting("AlertTextColor", AlertTextColor);
    WriteDwordSetting("AlertBackColor", AlertBackColor);
}

void ReadAlertMapSettings() { ReadDwordSetting("AlertMapFlags", &AlertMapPage.Flags); }
void WriteAlertMapSettings() { WriteDwordSetting("AlertMapFlags", AlertMapPage.Flags); }
void ReadSatelliteSettings() { ReadDwordSetting("SatelliteFlags", &SatellitePage.Flags); }
void WriteSatelliteSettings() { WriteDwordSetting("SatelliteFlags", SatellitePage.Flags); }
void ReadSatelliteWideSettings() { ReadDwordSetting("SatelliteWideFlags", &SatelliteWidePage.Flags); }
void WriteSatelliteWideSettings() { WriteDwordSetting("SatelliteWideFlags", SatelliteWidePage.Flags); }
void ReadPointForecastSettings() { ReadDwordSetting("PointForecastFlags", &PointForecastPage.Flags); }
void WritePointForecastSettings() { WriteDwordSetting("PointForecastFlags", PointForecastPage.Flags); }

void ReadHourlyForecastSettings() {
    ReadStringSetting("HourlyPointForecastTimeFormat", HourlyForecastTimeFormat,
                      sizeof HourlyForecastTimeFormat);
    ReadDwordSetting("HourlyPointForecastFlags", &HourlyForecastPage.Flags);
}

void WriteHourlyForecastSettings() {
    WriteStringSetting("HourlyPointForecastTimeFormat", HourlyForecastTimeFormat);
    WriteDwordSetting("HourlyPointForecastFlags", HourlyForecastPage.Flags);
}

void ReadObservationsSettings() { ReadDwordSetting("ObservationsFlags", &ObservationsPage.Flags); }
void WriteObservationsSettings() { WriteDwordSetting("ObservationsFlags", ObservationsPage.Flags); }
void ReadRadarSettings() { ReadDwordSetting("RadarFlags", &RadarPage.Flags); }
void WriteRadarSettings() { WriteDwordSetting("RadarFlags", RadarPage.Flags); }
void ReadMetarSettings() { ReadDwordSetting("MetarFlags", &MetarPage.Flags); }
void WriteMetarSettings() { WriteDwordSetting("MetarFlags", MetarPage.Flags); }
void ReadRiverSettings() { ReadDwordSetting("RiverFlags", &RiverPage.Flags); }
void WriteRiverSettings() { WriteDwordSetting("RiverFlags", RiverPage.Flags); }
