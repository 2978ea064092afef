#include "services/dialog_texture.h"

#include <windows.h>

bool HasThemedControls() {
    struct VersionInfo {
        DWORD size, major, minor, build, platform;
    };
    using GetVersionFn = HRESULT(CALLBACK*)(VersionInfo*);
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    if (!comctl)
        return false;
    auto getVersion = reinterpret_cast<GetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")));
    if (!getVersion)
        return false;
    VersionInfo info{};
    info.size = sizeof info; // 20 bytes
    return SUCCEEDED(getVersion(&info)) && info.major > 5;
}

void EnableDialogTexture(HWND dialog, bool on) {
    constexpr DWORD kTextureDisable = 1;
    constexpr DWORD kTextureEnableTab = 6;
    if (!HasThemedControls())
        return;
    HMODULE uxtheme = GetModuleHandleA("uxtheme.dll"); // used only when already loaded
    if (!uxtheme)
        return;
    using TextureFn = HRESULT(WINAPI*)(HWND, DWORD);
    auto enableTexture = reinterpret_cast<TextureFn>(
        reinterpret_cast<void*>(GetProcAddress(uxtheme, "EnableThemeDialogTexture")));
    if (enableTexture)
        enableTexture(dialog, on ? kTextureEnableTab : kTextureDisable);
}
