#include "services/dpi.h"

#include "services/shared_state.h"

#include <vector>

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using LoadIconWithScaleDownFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);

// Both calls are newer than the oldest system the program runs on.
template <typename Fn> Fn SystemFunction(const char* module, const char* name) {
    HMODULE library = GetModuleHandleA(module);
    return library ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                   : nullptr;
}

struct LoadedIcon {
    int Id;
    int Size;
    HICON Icon;
};
std::vector<LoadedIcon> LoadedIcons; // the user-interface thread's

} // namespace

int WindowDpi(HWND window) {
    static const auto forWindow =
        SystemFunction<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
    if (window && forWindow)
        if (UINT dpi = forWindow(window))
            return static_cast<int>(dpi);
    int dpi = 0;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kBaseDpi;
}

int ScaleToDpi(int size, int dpi) {
    return MulDiv(size, dpi, kBaseDpi);
}

int ScaleForWindow(HWND window, int size) {
    return ScaleToDpi(size, WindowDpi(window));
}

HICON ProgramIcon(int id, int size) {
    for (const LoadedIcon& loaded : LoadedIcons)
        if (loaded.Id == id && loaded.Size == size)
            return loaded.Icon;
    static const auto scaleDown =
        SystemFunction<LoadIconWithScaleDownFn>("comctl32.dll", "LoadIconWithScaleDown");
    HICON icon = nullptr;
    if (!scaleDown || FAILED(scaleDown(AppInstance, MAKEINTRESOURCEW(id), size, size, &icon)))
        icon = static_cast<HICON>(
            LoadImageA(AppInstance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    if (icon)
        LoadedIcons.push_back({id, size, icon});
    return icon;
}
