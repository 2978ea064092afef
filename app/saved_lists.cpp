#include "app/saved_lists.h"

#include "resources/resource_ids.h"
#include "services/file_io.h"
#include "services/list_view.h"
#include "services/saved_lists_file.h"
#include "services/saved_lists_format.h"
#include "services/shared_state.h"
#include "services/text_buffer.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

// The page of each section, in the file's order.
PageState* const kSectionPages[kSavedListSectionCount] = {
    &AlertsPage,       &PointForecastPage, &HourlyForecastPage, &RadarPage,
    &ObservationsPage, &MetarPage,         &RiverPage};

// The list of a section's page, when its page exists and has loaded it.
HWND SectionList(int section) {
    HWND page = kSectionPages[section]->Window;
    HWND list = page ? GetDlgItem(page, IDC_LIST) : nullptr;
    return SavedListLoaded(list) ? list : nullptr;
}

std::vector<SavedListRow> ReadListRows(HWND list, int columns, bool checkMarks) {
    std::vector<SavedListRow> rows;
    int count = ListRowCount(list);
    for (int item = 0; item < count; ++item) {
        SavedListRow row{true, {}};
        if (checkMarks) {
            // "0" only when the check box shows unchecked.
            UINT state =
                static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
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

    char folder[MAX_PATH], path[MAX_PATH], temporary[MAX_PATH];
    int result = -1;
    if (GetUserDataPath(folder, sizeof folder, nullptr) && SavedListsPath(path, sizeof path) &&
        FormatText(temporary, sizeof temporary, "%s.$$$", path)) {
        // A list that was never built or never loaded (its page is missing, or
        // was closed before its deferred load ran) keeps its section as the
        // file holds it: the file is the only copy of the user's lists.
        std::string old;
        bool haveOld = ReadWholeFile(path, &old);
        SavedListSection sections[kSavedListSectionCount];
        bool complete = true;
        for (int s = 0; s < kSavedListSectionCount; ++s) {
            const char* name = kSavedListSections[s];
            if (HWND list = SectionList(s)) {
                sections[s].FromList = true;
                sections[s].Rows =
                    ReadListRows(list, SavedListColumnCount(name), SavedListHasCheckMarks(name));
            } else if (haveOld) {
                sections[s].KeptLines = SavedListSectionLines(old, name);
            } else if (FileExists(path)) {
                complete = false; // the old file exists but cannot be read: keep it whole
            }
        }
        // Write a new file beside the old one and put it in place in one step,
        // so a failed write leaves the old file.
        EnsureFolder(folder);
        if (complete && WriteWholeFile(temporary, FormatSavedLists(sections)) &&
            MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            result = 0;
        else
            DeleteFileA(temporary);
    }
    ClearRuntimeFlag(kSavingLists);
    return result;
}
