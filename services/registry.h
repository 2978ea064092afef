// The program's settings key "Software\Quillmoor\Cumulon" of the current user:
// single values and the window positions ("...XY" values). Failures are
// silent: a value that is missing, of another type or of another size leaves
// the value in memory as it was.
#ifndef CUMULON_REGISTRY_H
#define CUMULON_REGISTRY_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

extern const char kSettingsKey[];

// Reads succeed only for a value of the expected type and exactly the expected
// size (strings: any length that fits, always terminated).
bool ReadDwordSetting(const char* name, uint32_t* value);
bool WriteDwordSetting(const char* name, uint32_t value);
bool ReadBinarySetting(const char* name, void* data, size_t size);
bool WriteBinarySetting(const char* name, const void* data, size_t size);
bool ReadStringSetting(const char* name, char* text, size_t size);
bool WriteStringSetting(const char* name, const char* text);
bool DeleteSetting(const char* name);

// The same on a key the caller has opened once for a run of values.
bool ReadDwordValue(HKEY key, const char* name, uint32_t* value);
bool ReadBinaryValue(HKEY key, const char* name, void* data, size_t size);
bool ReadStringValue(HKEY key, const char* name, char* text, size_t size);
bool SetRegistryValue(HKEY key, const char* name, DWORD type, const void* data, size_t size);

// Window positions: the window's left and top in screen coordinates.
void SaveWindowPosition(HWND window, const char* name);
// Moves the window to the stored position (size unchanged, shown, top of the
// z-order); false, and the window untouched, when no position is stored. A
// position off every monitor is pulled back onto the nearest one.
bool RestoreWindowPosition(HWND window, const char* name);

// A font record ("TreeViewFont", "HourlyPointForecastDataFont"): read only
// when the value is exactly a LOGFONTA, with the face name terminated. The
// height is stored as at 96 DPI and read at the screen's DPI, so a font keeps
// its point size on every screen.
bool ReadFontSetting(const char* name, LOGFONTA* font);
// The font dialog, starting from `font` when it names a face. On OK the choice
// goes to `font` and to the setting `name`; false on Cancel (nothing changes).
bool ChooseFontSetting(HWND owner, const char* name, LOGFONTA* font);

#endif
