#include "app/settings_store.h"

#include "services/shared_state.h"
#include "services/text_buffer.h"

#include <cstring>

namespace {

enum class SettingType { Text, Binary, Number };

// One value of the settings key: its registry name, its type, where it lives,
// its size there, and its initial value (a text, a number, or every byte of a
// binary value).
struct Setting {
    const char* Name;
    SettingType Type;
    void* Value;
    size_t Size;
    const char* InitialText;
    uint32_t InitialNumber;
};

constexpr uint32_t kAllBytesSet = 0xFF; // "Selected": -1 for every page

#define TEXT_SETTING(name, buffer, initial)                                                        \
    { name, SettingType::Text, buffer, sizeof buffer, initial, 0 }
#define NUMBER_SETTING(name, field, initial)                                                       \
    { name, SettingType::Number, &field, sizeof field, nullptr, initial }
#define BINARY_SETTING(name, field, fill)                                                          \
    { name, SettingType::Binary, &field, sizeof field, nullptr, fill }

// The global values, then the pages in the order their settings are read and
// written: alerts, alert map, satellite, satellite wide view, point forecast,
// hourly point forecast, current observations, radar, METAR, river gauges.
const Setting kSettings[] = {
    TEXT_SETTING("TimeFormat", GlobalSettings.TimeFormat,
                 "%Dow; %Mon; %dd; %yyyy; - %hh;:%mm; %ampm;"),
    BINARY_SETTING("CustomColors", GlobalSettings.CustomColors, 0),
    BINARY_SETTING("Selected", Selected, kAllBytesSet),
    NUMBER_SETTING("SettingsFlags", GlobalSettings.SettingsFlags,
                   kShowTooltips | kOpenMainWindowAtStart),
    NUMBER_SETTING("CurTab", GlobalSettings.CurTab, 0),
    TEXT_SETTING("AlertWarningAlarm", AlertWarningAlarm, "sounds\\alarm.wav"),
    TEXT_SETTING("AlertSevereAlarm", AlertSevereAlarm, "sounds\\severe.wav"),
    TEXT_SETTING("AlertNotifyAlarm", AlertNotifyAlarm, "sounds\\beepbeep.wav"),
    NUMBER_SETTING("AlertFlags", AlertsPage.Flags, 0x237),
    NUMBER_SETTING("AlertTextColor", AlertTextColor, 0xFFFFFF),
    NUMBER_SETTING("AlertBackColor", AlertBackColor, 0x000080),
    NUMBER_SETTING("AlertMapFlags", AlertMapPage.Flags, 0x1),
    NUMBER_SETTING("SatelliteFlags", SatellitePage.Flags, 0x28020),
    NUMBER_SETTING("SatelliteWideFlags", SatelliteWidePage.Flags, 0x29),
    NUMBER_SETTING("PointForecastFlags", PointForecastPage.Flags, 0),
    TEXT_SETTING("HourlyPointForecastTimeFormat", HourlyForecastTimeFormat,
                 "%Dow; %dd;, %hh; %ampm;"),
    NUMBER_SETTING("HourlyPointForecastFlags", HourlyForecastPage.Flags, 0x1FFC),
    NUMBER_SETTING("ObservationsFlags", ObservationsPage.Flags, 0x15),
    NUMBER_SETTING("RadarFlags", RadarPage.Flags, 0x105FF),
    NUMBER_SETTING("MetarFlags", MetarPage.Flags, 0x7FFFD5),
    NUMBER_SETTING("RiverFlags", RiverPage.Flags, 0),
};

#undef TEXT_SETTING
#undef NUMBER_SETTING
#undef BINARY_SETTING

static_assert(sizeof(uint32_t) == 4 && sizeof(COLORREF) == 4 && sizeof(int32_t) == 4);

} // namespace

void ResetAllSettings() {
    for (const Setting& setting : kSettings) {
        switch (setting.Type) {
        case SettingType::Text:
            CopyText(static_cast<char*>(setting.Value), setting.Size, setting.InitialText);
            break;
        case SettingType::Binary:
            std::memset(setting.Value, static_cast<int>(setting.InitialNumber), setting.Size);
            break;
        case SettingType::Number:
            std::memcpy(setting.Value, &setting.InitialNumber, sizeof setting.InitialNumber);
            break;
        }
    }
}

void ReadAllSettings() {
    ResetAllSettings();
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (const Setting& setting : kSettings) {
        switch (setting.Type) {
        case SettingType::Text:
            ReadStringValue(key, setting.Name, static_cast<char*>(setting.Value), setting.Size);
            break;
        case SettingType::Binary:
            ReadBinaryValue(key, setting.Name, setting.Value, setting.Size);
            break;
        case SettingType::Number: {
            uint32_t number;
            if (ReadDwordValue(key, setting.Name, &number))
                std::memcpy(setting.Value, &number, sizeof number);
            break;
        }
        }
    }
    RegCloseKey(key);
}

void WriteAllSettings() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    for (const Setting& setting : kSettings) {
        switch (setting.Type) {
        case SettingType::Text: {
            const char* text = static_cast<const char*>(setting.Value);
            size_t length = BoundedLength(text, setting.Size);
            SetRegistryValue(key, setting.Name, REG_SZ, text,
                             length < setting.Size ? length + 1 : length);
            break;
        }
        case SettingType::Binary:
            SetRegistryValue(key, setting.Name, REG_BINARY, setting.Value, setting.Size);
            break;
        case SettingType::Number:
            SetRegistryValue(key, setting.Name, REG_DWORD, setting.Value, sizeof(uint32_t));
            break;
        }
    }
    RegCloseKey(key);
}
