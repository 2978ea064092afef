#include "services/toolbar_icon.h"

#include "services/dpi.h"
#include "services/shared_state.h"
#include "resources/resource_ids.h"

namespace {

constexpr char kTooltipProperty[] = "CumulonToolbarTips";

// One tooltip window serves every icon of a dialog, each icon a tool of its
// own: a top-level window for every icon would cost every page's opening a
// few milliseconds an icon. It is owned by the dialog and goes with it.
HWND DialogTooltip(HWND dialog) {
    if (HWND tooltip = static_cast<HWND>(GetPropA(dialog, kTooltipProperty)))
        return tooltip;
    HWND tooltip = CreateWindowExA(
        0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, AppInstance, nullptr);
    if (tooltip) {
        SetPropA(dialog, kTooltipProperty, tooltip);
        SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return tooltip;
}

// The icon statics load their 16-pixel image; on a denser screen the icon is
// taken again at its size there, from the same resource, so it is drawn sharp
// (the static fits itself to the new icon).
void FitIconToScreen(HWND iconWindow) {
    const int size = ScaleForWindow(iconWindow, kToolbarIconSize);
    HICON shown = reinterpret_cast<HICON>(SendMessageA(iconWindow, STM_GETICON, 0, 0));
    if (!shown || size == kToolbarIconSize)
        return;
    ICONINFOEXA info{};
    info.cbSize = sizeof info;
    if (!GetIconInfoExA(shown, &info))
        return;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (!info.wResID)
        return;
    if (HICON icon = ProgramIcon(info.wResID, size))
        SendMessageA(iconWindow, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

} // namespace

void SetUpToolbarIcon(ToolbarIcon* icon, HWND iconWindow, const char* text) {
    *icon = {};
    icon->Icon = iconWindow;
    if (iconWindow)
        FitIconToScreen(iconWindow);
    if (!(GlobalSettings.SettingsFlags & kShowTooltips) || !iconWindow)
        return;
    icon->Tooltip = DialogTooltip(GetParent(iconWindow));
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
}

void HoverToolbarIcon(ToolbarIcon* icon, HWND windowUnderCursor) {
    if (!icon->Icon)
        return;
    if (windowUnderCursor == icon->Icon && !icon->Hot) {
        const int size = ScaleForWindow(icon->Icon, kToolbarIconSize);
        HICON highlight = ProgramIcon(IDI_HOVER, size);
        if (HDC dc = GetDC(icon->Icon)) {
            DrawIconEx(dc, 0, 0, highlight, size, size, 0, nullptr, DI_NORMAL);
            ReleaseDC(icon->Icon, dc);
        }
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
