#include "services/station_picker.h"

#include "resources/resource_ids.h"
#include "services/dialog_texture.h"
#include "services/file_io.h"
#include "services/list_view.h"
#include "services/registry.h"
#include "services/station_tree.h"

#include <commctrl.h>

#include <string>

namespace {

constexpr char kTreeFontValue[] = "TreeViewFont";

// What an open picker works on, kept in its window's user data. The font is
// the one this opening made and set on the tree; it is released when the
// dialog ends or a new font replaces it.
struct Picker {
    const FeedPage* Page;
    HWND List;
    LOGFONTA FontRecord;
    HFONT Font;
    int EditedRow; // Edit Location: the row it renames, -1 for none
};

Picker* PickerOf(HWND dialog) {
    return reinterpret_cast<Picker*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

// The dialog keeps its window in its page's record while it lives, so that the
// shell can close it at exit.
Picker* Track(HWND dialog, UINT message, LPARAM lParam, bool add) {
    if (message == WM_INITDIALOG)
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
    Picker* picker = PickerOf(dialog);
    if (!picker)
        return nullptr;
    HWND& slot = add ? picker->Page->State->AddDialog : picker->Page->State->EditDialog;
    if (message == WM_INITDIALOG)
        slot = dialog;
    else if (message == WM_DESTROY && slot == dialog)
        slot = nullptr;
    return picker;
}

void SetTreeFont(HWND dialog, Picker* picker, HFONT font) {
    SendDlgItemMessageA(dialog, IDC_STATION_TREE, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (picker->Font)
        DeleteObject(picker->Font);
    picker->Font = font;
}

void LoadStationTree(HWND tree, const char* treeFile) {
    std::string file;
    if (!treeFile || !ReadWholeFile(treeFile, &file))
        return; // the tree stays empty
    std::vector<StationTreeItem> items = ParseStationTree(file);
    std::vector<HTREEITEM> handles(items.size());
    SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    for (size_t i = 0; i < items.size(); ++i) {
        TVINSERTSTRUCTA insert{};
        insert.hParent =
            items[i].Parent < 0 ? TVI_ROOT : handles[static_cast<size_t>(items[i].Parent)];
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = items[i].Text.data();
        handles[i] = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
}

void OnAddInit(HWND dialog, Picker* picker) {
    EnableDialogTexture(dialog, true);
    RestoreWindowPosition(dialog, "IndexXY");
    picker->FontRecord = {};
    if (ReadFontSetting(kTreeFontValue, &picker->FontRecord))
        SetTreeFont(dialog, picker, CreateFontIndirectA(&picker->FontRecord));
    LoadStationTree(GetDlgItem(dialog, IDC_STATION_TREE), picker->Page->TreeFile);
    SetFocus(dialog);
}

HTREEITEM SelectedItem(HWND tree) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

// Only leaves are added (a heading without children counts as one); the
// dialog stays open for the next.
void OnAdd(HWND dialog, Picker* picker) {
    HWND tree = GetDlgItem(dialog, IDC_STATION_TREE);
    HTREEITEM selected = SelectedItem(tree);
    if (!selected ||
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(selected)))
        return;
    char text[kStationTreeTextMax + 1] = "";
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = selected;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return;
    InsertListRow(picker->List, -1, {StationIdentifier(text), text});
}

void OnTreeRightClick(HWND dialog) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, IDM_CHANGE_FONT, "Change Font");
    AppendMenuA(menu, MF_STRING, IDM_DEFAULT_FONT, "Use Deault Font");
    POINT cursor;
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, dialog, nullptr);
    DestroyMenu(menu);
}

void OnChangeFont(HWND dialog, Picker* picker) {
    if (ChooseFontSetting(dialog, kTreeFontValue, &picker->FontRecord)) // cancel changes nothing
        SetTreeFont(dialog, picker, CreateFontIndirectA(&picker->FontRecord));
}

// The control's own font returns; the record keeps its contents, so a later
// "Change Font" starts from it.
void OnDefaultFont(HWND dialog, Picker* picker) {
    SetTreeFont(dialog, picker, nullptr);
    DeleteSetting(kTreeFontValue);
}

INT_PTR CALLBACK AddLocationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Picker* picker = Track(dialog, message, lParam, true);
    if (!picker)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        OnAddInit(dialog, picker);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_ADD:
            OnAdd(dialog, picker);
            break;
        case IDCANCEL: // Esc
            EndDialog(dialog, 0);
            break;
        case IDM_CHANGE_FONT:
            OnChangeFont(dialog, picker);
            break;
        case IDM_DEFAULT_FONT:
            OnDefaultFont(dialog, picker);
            break;
        }
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        // A double click adds the selected item, as Add does (its first click
        // selected the item under it); on a heading it only opens or closes it.
        if (header->idFrom == IDC_STATION_TREE && header->code == NM_DBLCLK)
            OnAdd(dialog, picker);
        else if (header->idFrom == IDC_STATION_TREE && header->code == NM_RCLICK)
            OnTreeRightClick(dialog);
        return FALSE;
    }
    case WM_MOVE:
        SaveWindowPosition(dialog, "IndexXY");
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

void OnEditInit(HWND dialog, Picker* picker) {
    EnableDialogTexture(dialog, true);
    RestoreWindowPosition(dialog, "EditXY");
    SendDlgItemMessageA(dialog, IDC_NAME_FIELD, EM_LIMITTEXT, 256, 0);
    picker->EditedRow = GetSelectedIndex(picker->List); // -1 unless exactly one row
    if (picker->EditedRow >= 0) {
        SetDlgItemTextA(dialog, IDC_STATION_ID,
                        ListItemText(picker->List, picker->EditedRow, 0).c_str());
        SetDlgItemTextA(dialog, IDC_NAME_FIELD,
                        ListItemText(picker->List, picker->EditedRow, 1).c_str());
    }
    SetFocus(dialog);
}

// An empty name stores the identifier.
void OnSave(HWND dialog, Picker* picker) {
    char name[1024] = "";
    GetDlgItemTextA(dialog, IDC_NAME_FIELD, name, sizeof name);
    if (!name[0])
        GetDlgItemTextA(dialog, IDC_STATION_ID, name, sizeof name);
    const int row = picker->EditedRow;
    if (row >= 0 && row < ListRowCount(picker->List))
        SetListItemText(picker->List, row, 1, name);
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK EditLocationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Picker* picker = Track(dialog, message, lParam, false);
    if (!picker)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        OnEditInit(dialog, picker);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SAVE)
            OnSave(dialog, picker);
        else if (LOWORD(wParam) == IDCANCEL) // Esc
            EndDialog(dialog, 0);
        return TRUE;
    case WM_MOVE:
        SaveWindowPosition(dialog, "EditXY");
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

void Open(HWND pageWindow, const FeedPage& page, int dialogId, DLGPROC procedure) {
    Picker picker{&page, GetDlgItem(pageWindow, IDC_LIST), {}, nullptr, -1};
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(dialogId), pageWindow, procedure,
                    reinterpret_cast<LPARAM>(&picker));
    if (picker.Font) // the tree that used it is gone
        DeleteObject(picker.Font);
}

} // namespace

void OpenAddLocation(HWND pageWindow, const FeedPage& page) {
    Open(pageWindow, page, IDD_ADD_LOCATION, AddLocationProc);
}

void OpenEditLocation(HWND pageWindow, const FeedPage& page) {
    Open(pageWindow, page, IDD_EDIT_LOCATION, EditLocationProc);
}
