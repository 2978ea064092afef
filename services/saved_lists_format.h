// The saved-lists file "list.dat": a header line, then seven sections in a
// fixed order, each a name line, one line per list item (fields joined by the
// byte 0xBB) and an empty line. Lines end with CR LF.
#ifndef CUMULON_SAVED_LISTS_FORMAT_H
#define CUMULON_SAVED_LISTS_FORMAT_H

#include <string>
#include <string_view>
#include <vector>

constexpr int kSavedListSectionCount = 7;
extern const char* const kSavedListSections[kSavedListSectionCount];
constexpr char kFieldSeparator = '\xBB';
constexpr size_t kSavedListFieldMax = 1023;

struct SavedListRow {
    bool Checked; // only the "[ALERTS]" section keeps check marks
    std::vector<std::string> Columns;
};

// Index of a section name ("[RADAR]") in the fixed order, or -1.
int SavedListSectionIndex(std::string_view section);
// Columns kept per item: 3 for the point sections, 2 for the others.
int SavedListColumnCount(std::string_view section);
bool SavedListHasCheckMarks(std::string_view section);

// What the writer puts in one section: the rows of its page's list, or, for a
// page whose list does not exist, the section's item lines exactly as the file
// held them (without their line ends), so that a list never built is never
// emptied.
struct SavedListSection {
    bool FromList = false;
    std::vector<SavedListRow> Rows;
    std::vector<std::string> KeptLines;
};

// The whole file for the seven sections, given in the fixed order.
std::string FormatSavedLists(const SavedListSection (&sections)[kSavedListSectionCount]);

// The item lines of `section` as they stand in `file`, without their own line
// ends: written back with CR LF, they read back the same.
std::vector<std::string> SavedListSectionLines(std::string_view file, std::string_view section);

// The rows of one section of a file's text. Fields are split at 0xBB, CR and
// LF, and runs of separators count as one, so empty fields collapse. A line of
// any length is one item; each field is cut at 1023 bytes. An unknown or
// missing section gives no rows.
std::vector<SavedListRow> ParseSavedListSection(std::string_view file, std::string_view section);

#endif
