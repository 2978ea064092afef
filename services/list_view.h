// Helpers for the report-style list views of the pages and dialogs: texts,
// rows, check marks, the single selection, delete and move.
#ifndef CUMULON_LIST_VIEW_H
#define CUMULON_LIST_VIEW_H

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

constexpr size_t kListTextMax = 1023; // column texts are read with a 1024-byte buffer

std::string ListItemText(HWND list, int item, int column, size_t maxLength = kListTextMax);
// Inserts a row at `index` (-1: at the end) with the given column texts;
// returns its index or -1.
int InsertListRow(HWND list, int index, const std::vector<std::string_view>& columns);
// Puts `text` into column `column` of row `item`.
void SetListItemText(HWND list, int item, int column, std::string_view text);
int ListRowCount(HWND list);
bool ListRowChecked(HWND list, int item);
void SetListRowChecked(HWND list, int item, bool checked);
// Makes `item` the only selected and the focused row.
void SelectListRow(HWND list, int item);

// The index of the single selected row; -1 when none or several are selected.
int GetSelectedIndex(HWND list);
// Deletes every selected row: 0, or -1 when none was selected.
int DeleteSelectedItems(HWND list);
// Moves the single selected row one place up (-1) or down (+1), wrapping at
// the ends; `columns` texts and the check mark travel with it. Returns the
// row's new index, or -1 with fewer than 2 rows or not exactly one selected.
int MoveListItem(HWND list, int columns, int direction);

#endif
