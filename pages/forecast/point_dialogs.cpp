#include "pages/forecast/point_dialogs.h"

#include "pages/forecast/point_input.h"
#include "pages/forecast/zip_search.h"
#include "resources/resource_ids.h"
#include "services/dialog_texture.h"
#include "services/dpi.h"
#include "services/file_io.h"
#include "services/list_view.h"
#include "services/registry.h"

#include <commctrl.h>

#include <string>

namespace {

constexpr int kNameField = 5086;
constexpr int kLatitudeField = 5087;
constexpr int kLongitudeField = 5088;
constexpr int kSearchField = 5089;
constexpr int kClearList = 5090;
constexpr int kSearch = 5091;
constexpr int kSave = 5095;
constexpr int kResults = IDC_LIST;

// What an open dialog works on, kept in its window's user data: the page
// whose list it fills, and for Edit Point the row it changes (-1 for none).
struct PointDialog {
    PageState* Page;
    HWND List;
    int EditedRow;
};

PointDialog* DialogOf(HWND dialog) {
    return reinterpret_cast<PointDialog*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

HWND PageList(HWND dialog) {
    return DialogOf(dialog)->List;
}

std::string FieldText(HWND dialog, int id) {
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void OpenAt(HWND dialog, const char* position) {
    EnableDialogTexture(dialog, true);
    RestoreWindowPosition(dialog, position);
    SendDlgItemMessageA(dialog, kNameField, EM_LIMITTEXT, 256, 0);
    SendDlgItemMessageA(dialog, kLatitudeField, EM_LIMITTEXT, 12, 0);
    SendDlgItemMessageA(dialog, kLongitudeField, EM_LIMITTEXT, 12, 0);
}

// The checks of both dialogs; a failure is shown and the dialog stays as it is.
bool CoordinatesAccepted(HWND dialog, const std::string& latitude, const std::string& longitude) {
    if (const char* problem = CheckPointCoordinates(latitude, longitude)) {
        MessageBoxA(dialog, problem, "Error", MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

// The dialog keeps its window in its page's record while it lives, so that the
// shell can close it at exit.
void Track(HWND dialog, UINT message, LPARAM lParam, bool add) {
    if (message == WM_INITDIALOG)
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
    PointDialog* state = DialogOf(dialog);
    if (!state)
        return;
    HWND& slot = add ? state->Page->AddDialog : state->Page->EditDialog;
    if (message == WM_INITDIALOG)
        slot = dialog;
    else if (message == WM_DESTROY && slot == dialog)
        slot = nullptr;
}

// --- Add Point ---

void SetUpResults(HWND dialog) {
    HWND results = GetDlgItem(dialog, kResults);
    SendMessageA(results, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
                 LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const int widths[] = {435, 110, 110};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH;
        column.cx = ScaleForWindow(results, widths[c]); // 96-DPI pixels
        SendMessageA(results, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
}

void OnAddInit(HWND dialog) {
    OpenAt(dialog, "PointAddXY");
    HWND search = GetDlgItem(dialog, kSearchField);
    SendMessageA(search, EM_LIMITTEXT, 256, 0);
    if (HasThemedControls()) {
        SendMessageA(search, EM_SETMARGINS, EC_LEFTMARGIN, 0);
        SendMessageA(search, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(L"(zip/city)"));
    }
    SetUpResults(dialog);
    SetFocus(dialog);
}

void OnAdd(HWND dialog) {
    std::string latitude = FieldText(dialog, kLatitudeField);
    std::string longitude = FieldText(dialog, kLongitudeField);
    if (!CoordinatesAccepted(dialog, latitude, longitude))
        return;
    std::string name = FieldText(dialog, kNameField);
    InsertListRow(PageList(dialog), -1, {PointNameOrDefault(name), latitude, longitude});
}

void OnSearch(HWND dialog) {
    std::vector<std::string> words = ZipSearchWords(FieldText(dialog, kSearchField).substr(0, 256));
    std::string table;
    if (words.empty() || !ReadWholeFile("zipcodes.dat", &table))
        return;
    HWND results = GetDlgItem(dialog, kResults);
    SendMessageA(results, WM_SETREDRAW, FALSE, 0);
    // Each match goes to the top: one search's matches end up above older ones.
    for (const ZipMatch& match : SearchZipCodes(table, words))
        InsertListRow(results, 0, {match.Display, match.Latitude, match.Longitude});
    SendMessageA(results, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(results, nullptr, TRUE);
}

void OnResultChosen(HWND dialog) {
    HWND results = GetDlgItem(dialog, kResults);
    int row = GetSelectedIndex(results);
    if (row < 0)
        return;
    SetDlgItemTextA(dialog, kNameField, ListItemText(results, row, 0).c_str());
    SetDlgItemTextA(dialog, kLatitudeField, ListItemText(results, row, 1).c_str());
    SetDlgItemTextA(dialog, kLongitudeField, ListItemText(results, row, 2).c_str());
}

// A double-clicked result goes to the page as it is, unchecked.
void OnResultDoubleClicked(HWND dialog) {
    HWND results = GetDlgItem(dialog, kResults);
    int row = GetSelectedIndex(results);
    HWND list = PageList(dialog);
    if (row < 0)
        return;
    std::string name = ListItemText(results, row, 0);
    std::string latitude = ListItemText(results, row, 1);
    std::string longitude = ListItemText(results, row, 2);
    InsertListRow(list, -1, {name, latitude, longitude});
}

// --- Edit Point ---

void OnEditInit(HWND dialog) {
    OpenAt(dialog, "PointEditXY");
    PointDialog* state = DialogOf(dialog);
    state->EditedRow = GetSelectedIndex(state->List);
    if (state->EditedRow >= 0)
        for (int c = 0; c < 3; ++c)
            SetDlgItemTextA(dialog, kNameField + c,
                            ListItemText(state->List, state->EditedRow, c).c_str());
    SetFocus(dialog);
}

void OnSave(HWND dialog) {
    std::string latitude = FieldText(dialog, kLatitudeField);
    std::string longitude = FieldText(dialog, kLongitudeField);
    if (!CoordinatesAccepted(dialog, latitude, longitude))
        return;
    std::string name(PointNameOrDefault(FieldText(dialog, kNameField)));
    HWND list = PageList(dialog);
    const int row = DialogOf(dialog)->EditedRow;
    if (row >= 0 && row < ListRowCount(list)) {
        SetListItemText(list, row, 0, name);
        SetListItemText(list, row, 1, latitude);
        SetListItemText(list, row, 2, longitude);
    }
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK AddPointDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Track(dialog, message, lParam, true);
    switch (message) {
    case WM_INITDIALOG:
        OnAddInit(dialog);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_ADD:
            OnAdd(dialog);
            break;
        case kSearch:
            OnSearch(dialog);
            break;
        case kClearList:
            SendDlgItemMessageA(dialog, kResults, LVM_DELETEALLITEMS, 0, 0);
            break;
        }
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == kResults && header->code == LVN_ITEMCHANGED)
            OnResultChosen(dialog);
        else if (header->idFrom == kResults && header->code == NM_DBLCLK)
            OnResultDoubleClicked(dialog);
        return TRUE;
    }
    case WM_MOVE:
        SaveWindowPosition(dialog, "PointAddXY");
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK EditPointDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Track(dialog, message, lParam, false);
    switch (message) {
    case WM_INITDIALOG:
        OnEditInit(dialog);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == kSave)
            OnSave(dialog);
        return TRUE;
    case WM_MOVE:
        SaveWindowPosition(dialog, "PointEditXY");
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

void Open(HWND pageWindow, const FeedPage& page, int dialogId, DLGPROC procedure) {
    PointDialog state{page.State, GetDlgItem(pageWindow, IDC_LIST), -1};
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(dialogId), pageWindow, procedure,
                    reinterpret_cast<LPARAM>(&state));
}

} // namespace

void OpenAddPoint(HWND pageWindow, const FeedPage& page) {
    Open(pageWindow, page, IDD_ADD_POINT, AddPointDialogProc);
}

void OpenEditPoint(HWND pageWindow, const FeedPage& page) {
    Open(pageWindow, page, IDD_EDIT_POINT, EditPointDialogProc);
}
