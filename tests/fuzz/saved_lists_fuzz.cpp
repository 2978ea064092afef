// The saved-lists reader on arbitrary files, and a write-read round trip of
// whatever rows it found.
#include "services/saved_lists_format.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view file(reinterpret_cast<const char*>(data), size);
    SavedListSection sections[kSavedListSectionCount];
    for (int s = 0; s < kSavedListSectionCount; ++s) {
        // Odd sections are kept as read, even ones written from their rows.
        sections[s].FromList = s % 2 == 0;
        sections[s].Rows = ParseSavedListSection(file, kSavedListSections[s]);
        sections[s].KeptLines = SavedListSectionLines(file, kSavedListSections[s]);
        for (const SavedListRow& row : sections[s].Rows)
            for (const std::string& column : row.Columns)
                if (column.size() > kSavedListFieldMax)
                    __builtin_trap();
    }
    std::string written = FormatSavedLists(sections);
    for (int s = 0; s < kSavedListSectionCount; ++s) {
        if (ParseSavedListSection(written, kSavedListSections[s]).size() > sections[s].Rows.size())
            __builtin_trap();
        // A section kept as read comes back line for line.
        if (!sections[s].FromList &&
            SavedListSectionLines(written, kSavedListSections[s]) != sections[s].KeptLines)
            __builtin_trap();
    }
    return 0;
}
