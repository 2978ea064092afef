// Small clickable icons used as a toolbar: an optional tooltip each and a
// highlight drawn over the icon while the mouse is over it.
#ifndef CUMULON_TOOLBAR_ICON_H
#define CUMULON_TOOLBAR_ICON_H

#include <windows.h>
#include <commctrl.h>

constexpr int kToolbarIconSize = 16; // at 96 DPI

struct ToolbarIcon {
    HWND Icon;
    TOOLINFOA Tool;
    HWND Tooltip;
    bool Hot;
};

// Takes the icon static, shows its icon at the screen's size and, when tooltips are switched on in the settings,
// gives it a tooltip with `text`.
void SetUpToolbarIcon(ToolbarIcon* icon, HWND iconWindow, const char* text);

// Called for every cursor message of the dialog with the window the message is
// for: draws the highlight over the icon the cursor enters and erases it when
// the cursor has left.
void HoverToolbarIcon(ToolbarIcon* icon, HWND windowUnderCursor);

#endif
