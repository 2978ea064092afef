#include "services/list_view.h"

#include <commctrl.h>

std::string ListItemText(HWND list, int item, int column, size_t maxLength) {
    std::string text(maxLength + 1, '\0');
    LVITEMA request{};
    request.iSubItem = column;
    request.pszText = text.data();
    request.cchTextMax = static_cast<int>(text.size());
    int length = static_cast<int>(
        SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&request)));
    text.resize(length < 0                                ? 0
                : static_cast<size_t>(length) < maxLength ? static_cast<size_t>(length)
                                                          : maxLength);
    return text;
}

int InsertListRow(HWND list, int index, const std::vector<std::string_view>& columns) {
    std::string text(columns.empty() ? std::string_view() : columns[0]);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index < 0 ? ListRowCount(list) : index;
    item.pszText = text.data();
    int inserted =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (inserted < 0)
        return -1;
    for (size_t c = 1; c < columns.size(); ++c)
        SetListItemText(list, inserted, static_cast<int>(c), columns[c]);
    return inserted;
}

void SetListItemText(HWND list, int item, int column, std::string_view text) {
    std::string copy(text);
    LVITEMA sub{};
    sub.iSubItem = column;
    sub.pszText = copy.data();
    SendMessageA(list, LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&sub));
}

int ListRowCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

bool ListRowChecked(HWND list, int item) {
    UINT state = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void SetListRowChecked(HWND list, int item, bool checked) {
    LVITEMA state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageA(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
}

namespace {

void SetRowState(HWND list, int item, UINT state, UINT mask) {
    LVITEMA change{};
    change.stateMask = mask;
    change.state = state;
    SendMessageA(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&change));
}

bool UsesCheckBoxes(HWND list) {
    return (SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES) != 0;
}

// Copies the texts and (in check-box lists) the check mark of row `from` to `to`.
void CopyRow(HWND list, int from, int to, int columns) {
    for (int c = 0; c < columns; ++c) {
        std::string text = ListItemText(list, from, c);
        LVITEMA sub{};
        sub.iSubItem = c;
        sub.pszText = text.data();
        SendMessageA(list, LVM_SETITEMTEXTA, to, reinterpret_cast<LPARAM>(&sub));
    }
    if (UsesCheckBoxes(list))
        SetListRowChecked(list, to, ListRowChecked(list, from));
}

} // namespace

void SelectListRow(HWND list, int item) {
    SetRowState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SetRowState(list, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(list, LVM_ENSUREVISIBLE, item, FALSE);
}

int GetSelectedIndex(HWND list) {
    if (SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) != 1)
        return -1;
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

int DeleteSelectedItems(HWND list) {
    if (SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 0)
        return -1;
    int item;
    while ((item = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED))) != -1)
        SendMessageA(list, LVM_DELETEITEM, item, 0);
    return 0;
}

int MoveListItem(HWND list, int columns, int direction) {
    int count = ListRowCount(list);
    int item = GetSelectedIndex(list);
    if (count < 2 || item < 0)
        return -1;
    const bool checks = UsesCheckBoxes(list);
    if (direction < 0 && item == 0) {
        // Up from the top: the row goes to the bottom. It is taken out first,
        // so the selection lands on its final index and the page remembers a
        // row that exists.
        std::vector<std::string> texts;
        for (int c = 0; c < columns; ++c)
            texts.push_back(ListItemText(list, 0, c));
        bool checked = checks && ListRowChecked(list, 0);
        SendMessageA(list, LVM_DELETEITEM, 0, 0);
        int added = InsertListRow(list, count - 1,
                                  std::vector<std::string_view>(texts.begin(), texts.end()));
        if (checks)
            SetListRowChecked(list, added, checked);
        SelectListRow(list, added);
        return added;
    }
    if (direction > 0 && item == count - 1) {
        // Down from the bottom: the row goes to the top.
        InsertListRow(list, 0, {});
        CopyRow(list, count, 0, columns);
        SelectListRow(list, 0);
        SendMessageA(list, LVM_DELETEITEM, count, 0);
        return 0;
    }
    int neighbour = item + (direction < 0 ? -1 : 1);
    if (checks) {
        bool mine = ListRowChecked(list, item);
        SetListRowChecked(list, item, ListRowChecked(list, neighbour));
        SetListRowChecked(list, neighbour, mine);
    }
    SetRowState(list, item, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int c = 0; c < columns; ++c) {
        std::string mine = ListItemText(list, item, c);
        SetListItemText(list, item, c, ListItemText(list, neighbour, c));
        SetListItemText(list, neighbour, c, mine);
    }
    SelectListRow(list, neighbour);
    return neighbour;
}
