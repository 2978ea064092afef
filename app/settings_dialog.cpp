#include "app/settings_dialog.h"

#include "resources/resource_ids.h"
#include "services/dialog_texture.h"
#include "services/help.h"
#include "services/registry.h"
#include "services/shared_state.h"
#include "services/local_time.h"
#include "services/text_buffer.h"
#include "services/toolbar_icon.h"

namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValue[] = "Quillmoor - Cumulon";

ToolbarIcon HelpIcon;

void RenderSample(HWND dialog) {
    char sample[kFormattedTimeSize];
    FormatTime(LocalNow(), GlobalSettings.TimeFormat, sample, sizeof sample);
    SetDlgItemTextA(dialog, IDC_STATUS, sample);
}

// The Run value holds the program's path in quotes, so that a path with
// spaces cannot start another program.
void SetRunValue(bool on) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (on) {
        char path[MAX_PATH];
        char quoted[MAX_PATH + 3];
        DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
        if (length > 0 && length < sizeof path && FormatText(quoted, sizeof quoted, "\"%s\"", path))
            RegSetValueExA(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(quoted),
                           static_cast<DWORD>(strlen(quoted) + 1));
    } else {
        RegDeleteValueA(key, kRunValue);
    }
    RegCloseKey(key);
}

void SetSettingsFlag(uint32_t bit, bool on) {
    if (on)
        GlobalSettings.SettingsFlags |= bit;
    else
        GlobalSettings.SettingsFlags &= ~bit;
}

void OnInitDialog(HWND dialog) {
    SettingsDialog = dialog;
    EnableDialogTexture(dialog, true);
    RestoreWindowPosition(dialog, "SettingsXY");
    SetUpToolbarIcon(&HelpIcon, GetDlgItem(dialog, IDC_HELP_TOPIC), "help");

    HWND format = GetDlgItem(dialog, IDC_TIME_FORMAT);
    SendMessageA(format, EM_LIMITTEXT, kTimeFormatMax, 0);
    // The main window's bold font; the system font (none given) while the
    // main window has never been opened or has been closed.
    SendMessageA(format, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont), FALSE);
    SetWindowTextA(format, GlobalSettings.TimeFormat);

    const uint32_t flags = GlobalSettings.SettingsFlags;
    CheckDlgButton(dialog, IDC_START_WITH_WINDOWS,
                   flags & kStartWithWindows ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_OPEN_MAIN_AT_START,
                   flags & kOpenMainWindowAtStart ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SHOW_TOOLTIPS, flags & kShowTooltips ? BST_CHECKED : BST_UNCHECKED);
    RenderSample(dialog);
    SetFocus(dialog);
}

void OnCommand(HWND dialog, int id, int notification) {
    bool checked = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
    switch (id) {
    case IDC_TIME_FORMAT: {
        // Only a change of the text counts: the focus notification that comes
        // while the dialog is shown at its stored place, before the field is
        // filled, would otherwise empty the format.
        if (notification != EN_CHANGE)
            break;
        char format[kTimeFormatMax + 1];
        GetDlgItemTextA(dialog, IDC_TIME_FORMAT, format, sizeof format);
        CopyText(GlobalSettings.TimeFormat, format);
        RenderSample(dialog);
        break;
    }
    case IDC_SHOW_TOOLTIPS:
        SetSettingsFlag(kShowTooltips, checked);
        break;
    case IDC_OPEN_MAIN_AT_START:
        SetSettingsFlag(kOpenMainWindowAtStart, checked);
        break;
    case IDC_START_WITH_WINDOWS:
        SetRunValue(checked);
        SetSettingsFlag(kStartWithWindows, checked);
        break;
    case IDC_HELP_TOPIC:
        OpenHelpTopic("settings.html");
        break;
    case IDCANCEL: // Esc closes the dialog the way its close box does
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        break;
    }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return FALSE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_SETCURSOR:
        HoverToolbarIcon(&HelpIcon, reinterpret_cast<HWND>(wParam));
        return FALSE;
    case WM_MOVE:
        SaveWindowPosition(dialog, "SettingsXY");
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        SettingsDialog = nullptr;
        return TRUE;
    }
    return FALSE;
}

} // namespace

void ShowSettingsDialog(HWND owner) {
    if (SettingsDialog) { // one Settings at a time: the open one comes to the front
        SetForegroundWindow(SettingsDialog);
        return;
    }
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_SETTINGS), owner, SettingsDialogProc, 0);
    SettingsDialog = nullptr;
}
