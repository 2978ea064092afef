#include "pages/forecast/hourly_time_format_dialog.h"

#include "resources/resource_ids.h"
#include "services/dialog_texture.h"
#include "services/help.h"
#include "services/local_time.h"
#include "services/registry.h"
#include "services/shared_state.h"
#include "services/text_buffer.h"
#include "services/time_format.h"
#include "services/toolbar_icon.h"

namespace {

constexpr char kPositionValue[] = "HourlyPointForecastTimeFormatXY";

// What the open dialog works on, kept in its window's user data.
struct TimeFormatDialog {
    ToolbarIcon Help;
};

TimeFormatDialog* DialogOf(HWND dialog) {
    return reinterpret_cast<TimeFormatDialog*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

// The present local time in the format being edited.
void ShowPreview(HWND dialog) {
    char preview[kFormattedTimeSize];
    FormatTime(LocalNow(), TextOf(HourlyForecastTimeFormat), preview, sizeof preview);
    SetDlgItemTextA(dialog, IDC_STATUS, preview);
}

void OnInitDialog(HWND dialog, TimeFormatDialog* state) {
    EnableDialogTexture(dialog, true);
    // The field is filled before the dialog is shown at its stored place.
    HWND format = GetDlgItem(dialog, IDC_TIME_FORMAT);
    SendMessageA(format, EM_LIMITTEXT, kTimeFormatMax, 0);
    if (BoldFont)
        SendMessageA(format, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont), FALSE);
    SetWindowTextA(format, HourlyForecastTimeFormat);
    RestoreWindowPosition(dialog, kPositionValue);
    SetUpToolbarIcon(&state->Help, GetDlgItem(dialog, IDC_HELP_TOPIC), "help");
    ShowPreview(dialog);
    SetFocus(dialog);
}

void OnCommand(HWND dialog, int id, int notification) {
    switch (id) {
    case IDC_TIME_FORMAT:
        if (notification == EN_CHANGE) { // only a change of the text is a new format
            char format[kTimeFormatMax + 1];
            GetDlgItemTextA(dialog, IDC_TIME_FORMAT, format, sizeof format);
            CopyText(HourlyForecastTimeFormat, format);
            ShowPreview(dialog);
        }
        break;
    case IDC_HELP_TOPIC:
        OpenHelpTopic("timedisplay.html");
        break;
    case IDOK:     // Enter in the field, and
    case IDCANCEL: // Esc: the format typed so far stays, as with the close box
        EndDialog(dialog, 0);
        break;
    }
}

INT_PTR CALLBACK TimeFormatProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
    TimeFormatDialog* state = DialogOf(dialog);
    if (!state)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, state);
        return FALSE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_SETCURSOR:
        HoverToolbarIcon(&state->Help, reinterpret_cast<HWND>(wParam));
        return FALSE;
    case WM_MOVE:
        SaveWindowPosition(dialog, kPositionValue);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

} // namespace

void ShowHourlyTimeFormatDialog(HWND owner) {
    TimeFormatDialog state{};
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_HOURLY_TIME_FORMAT), owner, TimeFormatProc,
                    reinterpret_cast<LPARAM>(&state));
}
