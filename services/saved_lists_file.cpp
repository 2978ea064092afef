#include "services/saved_lists_file.h"

#include "services/file_io.h"
#include "services/list_view.h"
#include "services/saved_lists_format.h"

#include <string>

namespace {

constexpr char kLoadedProperty[] = "CumulonListLoaded";

} // namespace

bool SavedListsPath(char* path, size_t size) {
    return GetUserDataPath(path, size, "list.dat");
}

bool SavedListLoaded(HWND list) {
    return list && GetPropA(list, kLoadedProperty) != nullptr;
}

int LoadSavedListSection(HWND list, const char* section) {
    char path[MAX_PATH];
    std::string file;
    if (!SavedListsPath(path, sizeof path))
        return -1;
    if (!ReadWholeFile(path, &file)) {
        if (!FileExists(path)) // a first run: nothing to lose
            SetPropA(list, kLoadedProperty, list);
        return -1;
    }
    SetPropA(list, kLoadedProperty, list);
    for (const SavedListRow& row : ParseSavedListSection(file, section)) {
        std::vector<std::string_view> columns(row.Columns.begin(), row.Columns.end());
        int item = InsertListRow(list, -1, columns);
        if (item >= 0 && row.Checked && SavedListHasCheckMarks(section))
            SetListRowChecked(list, item, true);
    }
    return 0;
}
