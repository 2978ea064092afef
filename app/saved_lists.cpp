#include "app/saved_lists.h"

#include "app/app_state.h"
#include "app/data_files.h"
#include "app/saved_lists_format.h"
#include "resources/resource_ids.h"
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

std::string ItemText(HWND list, int item, int column) {
    char text[kSavedListFieldMax + 1] = "";
    LVITEMA request{};
    request.iSubItem = column;
    request.pszText = text;
    request.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&request));
    return std::string(TextOf(text));
}

std::vector<SavedListRow> ReadListRows(HWND list, int columns, bool checkMarks) {
    std::vector<SavedListRow> rows;
    if (!list)
        return rows;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        SavedListRow row{true, {}};
        if (checkMarks) {
            UINT state = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
            row.Checked = (state & LVIS_STATEIMAGEMASK) != INDEXTOSTATEIMAGEMASK(1); // "0" only when unchecked
        }
        for (int c = 0; c < columns; ++c)
            row.Columns.push_back(ItemText(list, item, c));
        rows.push_back(std::move(row));
    }
    return rows;
}

bool WriteWholeFile(const char* path, const std::string& content) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
              written == content.size();
    ok = FlushFileBuffers(file) && ok;
    return CloseHandle(file) && ok;
}

bool ReadWholeFile(const char* path, std::string* content) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (64 << 20);
    if (ok) {
        content->resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = content->empty() ||
             (ReadFile(file, content->data(), static_cast<DWORD>(content->size()), &read, nullptr) &&
              read == content->size());
    }
    CloseHandle(file);
    return ok;
}

void InsertRow(HWND list, const SavedListRow& row, bool checkMarks) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(row.Columns.empty() ? "" : row.Columns[0].c_str());
    int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0)
        return;
    for (size_t c = 1; c < row.Columns.size(); ++c) {
        LVITEMA column{};
        column.iSubItem = static_cast<int>(c);
        column.pszText = const_cast<char*>(row.Columns[c].c_str());
        SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&column));
    }
    if (checkMarks && row.Checked) {
        LVITEMA state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(2);
        SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
    }
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
        if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES)
            SHCreateDirectoryExA(nullptr, folder, nullptr);
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
    for (const SavedListRow& row : ParseSavedListSection(file, section))
        InsertRow(list, row, SavedListHasCheckMarks(section));
    return 0;
}
