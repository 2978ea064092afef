#include "services/saved_lists_format.h"

#include "services/text_scan.h"

const char* const kSavedListSections[kSavedListSectionCount] = {
    "[ALERTS]",       "[POINTFORECAST]", "[HOURLYPOINTFORECAST]", "[RADAR]",
    "[OBSERVATIONS]", "[METAR]",         "[RIVERGAUGES]"};

namespace {

constexpr char kHeader[] = "Cumulon 3.0.7.143\r\n\r\n";

bool IsSeparator(char c) {
    return c == kFieldSeparator || c == '\r' || c == '\n';
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSeparator(line[i]))
            ++i;
        size_t start = i;
        while (i < line.size() && !IsSeparator(line[i]))
            ++i;
        if (i > start)
            fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

} // namespace

int SavedListSectionIndex(std::string_view section) {
    for (int i = 0; i < kSavedListSectionCount; ++i)
        if (section == kSavedListSections[i])
            return i;
    return -1;
}

int SavedListColumnCount(std::string_view section) {
    return section == "[POINTFORECAST]" || section == "[HOURLYPOINTFORECAST]" ? 3 : 2;
}

bool SavedListHasCheckMarks(std::string_view section) {
    return section == "[ALERTS]";
}

std::string FormatSavedLists(const SavedListSection (&sections)[kSavedListSectionCount]) {
    std::string file = kHeader;
    for (int s = 0; s < kSavedListSectionCount; ++s) {
        std::string_view name = kSavedListSections[s];
        file += name;
        file += "\r\n";
        if (!sections[s].FromList) {
            for (const std::string& line : sections[s].KeptLines) {
                file += line;
                file += "\r\n";
            }
        }
        for (const SavedListRow& row :
             sections[s].FromList ? sections[s].Rows : std::vector<SavedListRow>()) {
            if (SavedListHasCheckMarks(name)) {
                file += row.Checked ? '1' : '0';
                file += kFieldSeparator;
            }
            for (size_t c = 0; c < row.Columns.size(); ++c) {
                if (c > 0)
                    file += kFieldSeparator;
                file += std::string_view(row.Columns[c]).substr(0, kSavedListFieldMax);
            }
            file += "\r\n";
        }
        file += "\r\n";
    }
    return file;
}

namespace {

// The item lines of `section` (each cut before its LF), up to the empty line
// that ends the section or the end of the file.
std::vector<std::string_view> SectionLines(std::string_view file, std::string_view section) {
    std::vector<std::string_view> lines;
    if (SavedListSectionIndex(section) < 0)
        return lines;
    std::string_view rest = file;
    std::string_view line;
    bool found = false;
    while (!found && NextLine(&rest, &line))
        found = CutAtLineEnd(line) == section;
    while (found && NextLine(&rest, &line)) {
        // An empty line ends the section; so does the name of a section
        // (a hand-edited file may lack the empty line), which is never an item.
        if (IsEmptyLine(line) || SavedListSectionIndex(CutAtLineEnd(line)) >= 0)
            break;
        lines.push_back(line);
    }
    return lines;
}

} // namespace

std::vector<std::string> SavedListSectionLines(std::string_view file, std::string_view section) {
    std::vector<std::string> lines;
    for (std::string_view line : SectionLines(file, section)) {
        // Only the line's own end goes: a stray CR inside it stays, so the
        // line is written back to the letter and reads back as it did.
        if (!line.empty() && line.back() == '\n')
            line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty()) // a bare CR at the end of the file holds nothing
            lines.emplace_back(line);
    }
    return lines;
}

std::vector<SavedListRow> ParseSavedListSection(std::string_view file, std::string_view section) {
    std::vector<SavedListRow> rows;
    const bool checkMarks = SavedListHasCheckMarks(section);
    const size_t columns = static_cast<size_t>(SavedListColumnCount(section));
    for (std::string_view line : SectionLines(file, section)) {
        std::vector<std::string_view> fields = SplitFields(line);
        SavedListRow row{false, {}};
        size_t next = 0;
        if (checkMarks && next < fields.size())
            row.Checked = fields[next++] == "1";
        for (size_t c = 0; c < columns; ++c) {
            std::string_view field = next < fields.size() ? fields[next++] : std::string_view();
            row.Columns.emplace_back(field.substr(0, kSavedListFieldMax));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}
