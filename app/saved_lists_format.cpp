#include "app/saved_lists_format.h"

const char* const kSavedListSections[kSavedListSectionCount] = {
    "[ALERTS]", "[POINTFORECAST]", "[HOURLYPOINTFORECAST]", "[RADAR]",
    "[OBSERVATIONS]", "[METAR]", "[RIVERGAUGES]"};

namespace {

constexpr char kHeader[] = "Cumulon 3.0.7.143\r\n\r\n";

// Cuts the next line (without its LF) off `rest`; false at the end.
bool NextLine(std::string_view* rest, std::string_view* line) {
    if (rest->empty())
        return false;
    size_t end = rest->find('\n');
    if (end == std::string_view::npos) {
        *line = *rest;
        *rest = {};
    } else {
        *line = rest->substr(0, end);
        rest->remove_prefix(end + 1);
    }
    return true;
}

std::string_view CutAtLineEnd(std::string_view line) {
    size_t end = line.find_first_of("\r\n");
    return end == std::string_view::npos ? line : line.substr(0, end);
}

bool IsSeparator(char c) { return c == kFieldSeparator || c == '\r' || c == '\n'; }

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

bool SavedListHasCheckMarks(std::string_view section) { return section == "[ALERTS]"; }

std::string FormatSavedLists(const std::vector<SavedListRow> (&sections)[kSavedListSectionCount]) {
    std::string file = kHeader;
    for (int s = 0; s < kSavedListSectionCount; ++s) {
        std::string_view name = kSavedListSections[s];
        file += name;
        file += "\r\n";
        for (const SavedListRow& row : sections[s]) {
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

std::vector<SavedListRow> ParseSavedListSection(std::string_view file, std::string_view section) {
    std::vector<SavedListRow> rows;
    if (SavedListSectionIndex(section) < 0)
        return rows;
    std::string_view rest = file;
    std::string_view line;
    bool found = false;
    while (!found && NextLine(&rest, &line))
        found = CutAtLineEnd(line) == section;
    if (!found)
        return rows;

    const bool checkMarks = SavedListHasCheckMarks(section);
    const size_t columns = static_cast<size_t>(SavedListColumnCount(section));
    while (NextLine(&rest, &line)) {
        if (line.empty() || line == "\r")
            break; // an empty line ends the section
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
