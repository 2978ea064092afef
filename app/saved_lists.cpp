#include "app/saved_lists.h"

#include "app/app_state.h"
#include "app/data_files.h"
#include "app/saved_lists_format.h"
#include "resources/resource_ids.h"
#include "services/file_io.h"
#include "services/list_view.h"
#include "services/text_buffer.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>

namespace {

// The page of each section, in the file's order.
PageState* const kSectionPages[kSavedListSectionCount] = {
    &AlertsPage, &PointForecastPage, &HourlyForecastPage, &RadarPage,
    &ObservationsPage, &MetarPage, &RiverPage};

HWND SectionList(int section) {
    HWND page = kSectionPages[section]->Window;
    return page ? GetDlgItem(page, IDC_LIST) : nullptr;
}

std::vector<SavedListRow> ReadListRows(HWND list, int columns, bool checkMarks) {
    std::vector<SavedListRow> rows;
    if (!list)
        return rows;
    int count = ListRowCount(list);
    for (int item = 0; item < count; ++item) {
        SavedListRow row{true, {}};
        if (checkMarks) {
            // "0" only when the check box shows unchecked.
            UINT state = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
            row.Checked = (state & LVIS_STATEIMAGEMASK) != INDEXTOSTATEIMAGEMASK(1);
        }
        for (int c = 0; c < columns; ++c)
            row.Columns.push_back(ListItemText(list, item, c));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace

int WriteSavedLists() {
    if (!MainWindow || !IsWindowVisible(MainWindow))
        return -1;
    SetRuntimeFlag(kSavingLists);

    std::vector<SavedListRow> sections[kSavedListSectionCount];
    for (int s = 0; s < kSavedListSectionCount; ++s)
        sections[s] = ReadListRows(SectionList(s), SavedListColumnCount(kSavedListSections[s]),
                                   SavedListHasCheckMarks(kSavedListSections[s]));

    // The file is the only copy of the user's lists: write a new one beside it
    // and put it in place in one step, so a failed write leaves the old file.
    char folder[MAX_PATH], path[MAX_PATH], temporary[MAX_PATH];
    int result = -1;
    if (GetUserDataPath(folder, sizeof folder, nullptr) && GetUserDataPath(path, sizeof path, "list.dat") &&
        FormatText(temporary, sizeof temporary, "%s.$$$", path)) {
        EnsureFolder(folder);
        if (WriteWholeFile(temporary, FormatSavedLists(sections)) &&
            MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            result = 0;
        else
            DeleteFileA(temporary);
    }
    ClearRuntimeFlag(kSavingLists);
    return result;
}

int LoadSavedLists(const char* section) {
    char path[MAX_PATH];
    std::string file;
    if (!GetUserDataPath(path, sizeof path, "list.dat") || !ReadWholeFile(path, &file))
        return -1;
    int index = SavedListSectionIndex(section);
    HWND list = index >= 0 ? SectionList(index) : nullptr;
    if (!list)
        return 0;
    for (const SavedListRow& row : ParseSavedListSection(file, section)) {
        std::vector<std::string_view> columns(row.Columns.begin(), row.Columns.end());
        int item = InsertListRow(list, -1, columns);
        if (item >= 0 && row.Checked && SavedListHasCheckMarks(section))
            SetListRowChecked(list, item, true);
    }
    return 0;
}
