// The saved-lists reader and writer on arbitrary files.
#include "services/saved_lists_format.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view file(reinterpret_cast<const char*>(data), size);
    SavedListSection sections[kSavedListSectionCount];
    for (int s = 0; s < kSavedListSectionCount; ++s) {
        sections[s].FromList = s % 2 == 0; // odd sections kept as read, even ones rewritten
        sections[s].Rows = ParseSavedListSection(file, kSavedListSections[s]);
        sections[s].KeptLines = SavedListSectionLines(file, kSavedListSections[s]);
    }
    FormatSavedLists(sections);
    return 0;
}
