#include "services/toolbar_icon.h"

#include "services/shared_state.h"
#include "resources/resource_ids.h"

void SetUpToolbarIcon(ToolbarIcon* icon, HWND iconWindow, const char* text) {
    *icon = {};
    icon->Icon = iconWindow;
    if (!(GlobalSettings.SettingsFlags & kShowTooltips) || !iconWindow)
        return;
    icon->Tooltip = CreateWindowExA(
        0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, iconWindow, nullptr, AppInstance, nullptr);
    if (!icon->Tooltip)
        return;
    icon->Tool.cbSize = TTTOOLINFOA_V1_SIZE;
    icon->Tool.uFlags = TTF_SUBCLASS;
    icon->Tool.hwnd = iconWindow;
    icon->Tool.uId = 0;
    GetClientRect(iconWindow, &icon->Tool.rect);
    icon->Tool.hinst = AppInstance;
    icon->Tool.lpszText = const_cast<char*>(text);
    SendMessageA(icon->Tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&icon->Tool));
    SetWindowPos(icon->Tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void HoverToolbarIcon(ToolbarIcon* icon, HWND windowUnderCursor) {
    if (!icon->Icon)
        return;
    if (windowUnderCursor == icon->Icon && !icon->Hot) {
        HICON highlight = static_cast<HICON>(
            LoadImageA(AppInstance, MAKEINTRESOURCEA(IDI_HOVER), IMAGE_ICON, 16, 16, 0));
        if (HDC dc = GetDC(icon->Icon)) {
            DrawIconEx(dc, 0, 0, highlight, 16, 16, 0, nullptr, DI_NORMAL);
            ReleaseDC(icon->Icon, dc);
        }
        if (highlight)
            DestroyIcon(highlight);
        icon->Hot = true;
    }
    if (icon->Hot) {
        POINT cursor;
        GetCursorPos(&cursor);
        if (WindowFromPoint(cursor) != icon->Icon) {
            InvalidateRect(icon->Icon, nullptr, TRUE);
            icon->Hot = false;
        }
    }
}
