#include "services/registry.h"

#include "services/dpi.h"
#include "services/text_buffer.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>

const char kSettingsKey[] = "Software\\Quillmoor\\Cumulon";

namespace {

bool QueryValue(HKEY key, const char* name, DWORD type, void* data, DWORD size, DWORD* got) {
    DWORD actualType = 0;
    DWORD actualSize = size;
    LONG result =
        RegQueryValueExA(key, name, nullptr, &actualType, static_cast<BYTE*>(data), &actualSize);
    *got = actualSize;
    return result == ERROR_SUCCESS && actualType == type;
}

// Runs `read` on the settings key opened for reading; false when it cannot be opened.
template <typename Read> bool WithReadKey(Read read) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    bool ok = read(key);
    RegCloseKey(key);
    return ok;
}

bool SetValue(const char* name, DWORD type, const void* data, size_t size) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = SetRegistryValue(key, name, type, data, size);
    RegCloseKey(key);
    return ok;
}

} // namespace

bool ReadDwordValue(HKEY key, const char* name, uint32_t* value) {
    DWORD data, got;
    if (!QueryValue(key, name, REG_DWORD, &data, sizeof data, &got) || got != sizeof data)
        return false;
    *value = data;
    return true;
}

bool ReadBinaryValue(HKEY key, const char* name, void* data, size_t size) {
    // Read into a scratch copy so that a value of the wrong size changes nothing.
    BYTE scratch[256];
    DWORD got;
    if (size > sizeof scratch ||
        !QueryValue(key, name, REG_BINARY, scratch, sizeof scratch, &got) || got != size)
        return false;
    std::memcpy(data, scratch, size);
    return true;
}

bool ReadStringValue(HKEY key, const char* name, char* text, size_t size) {
    char scratch[1025];
    DWORD got;
    if (size == 0 || !QueryValue(key, name, REG_SZ, scratch, sizeof scratch - 1, &got) ||
        got > size)
        return false;
    scratch[got < sizeof scratch ? got : sizeof scratch - 1] = '\0';
    CopyText(text, size, scratch);
    return true;
}

bool SetRegistryValue(HKEY key, const char* name, DWORD type, const void* data, size_t size) {
    return RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

bool ReadDwordSetting(const char* name, uint32_t* value) {
    return WithReadKey([&](HKEY key) { return ReadDwordValue(key, name, value); });
}

bool WriteDwordSetting(const char* name, uint32_t value) {
    DWORD data = value;
    return SetValue(name, REG_DWORD, &data, sizeof data);
}

bool ReadBinarySetting(const char* name, void* data, size_t size) {
    return WithReadKey([&](HKEY key) { return ReadBinaryValue(key, name, data, size); });
}

bool WriteBinarySetting(const char* name, const void* data, size_t size) {
    return SetValue(name, REG_BINARY, data, size);
}

bool ReadStringSetting(const char* name, char* text, size_t size) {
    return WithReadKey([&](HKEY key) { return ReadStringValue(key, name, text, size); });
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
    // A position saved on a monitor that is gone would leave the window out of
    // reach: keep its top-left corner on the work area of the nearest monitor.
    RECT rect;
    GetWindowRect(window, &rect);
    RECT wanted = {position[0], position[1], position[0] + (rect.right - rect.left),
                   position[1] + (rect.bottom - rect.top)};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        position[0] = std::max<LONG>(work.left, std::min<LONG>(position[0], work.right - 40));
        position[1] = std::max<LONG>(work.top, std::min<LONG>(position[1], work.bottom - 40));
    }
    SetWindowPos(window, HWND_TOP, position[0], position[1], 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
    return true;
}

bool ReadFontSetting(const char* name, LOGFONTA* font) {
    LOGFONTA read;
    if (!ReadBinarySetting(name, &read, sizeof read))
        return false;
    read.lfFaceName[LF_FACESIZE - 1] = '\0';
    read.lfHeight = ScaleToDpi(read.lfHeight, WindowDpi(nullptr)); // stored at 96 DPI
    *font = read;
    return true;
}

bool ChooseFontSetting(HWND owner, const char* name, LOGFONTA* font) {
    LOGFONTA chosen = *font;
    CHOOSEFONTA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.lpLogFont = &chosen;
    choose.Flags =
        CF_SCREENFONTS | CF_NOSCRIPTSEL | (chosen.lfFaceName[0] ? CF_INITTOLOGFONTSTRUCT : 0);
    if (!ChooseFontA(&choose))
        return false;
    *font = chosen;
    // Stored as at 96 DPI, so the font keeps its point size on every screen.
    chosen.lfHeight = MulDiv(chosen.lfHeight, kBaseDpi, WindowDpi(nullptr));
    WriteBinarySetting(name, &chosen, sizeof chosen);
    return true;
}
