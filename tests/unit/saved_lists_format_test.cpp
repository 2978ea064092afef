#include "services/saved_lists_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Sections = SavedListSection[kSavedListSectionCount];
const std::string S(1, kFieldSeparator);

// The rows of a section as "col|col; col|col", a checked row marked "*".
std::string Rows(std::string_view file, const char* section) {
    std::string text;
    for (const SavedListRow& row : ParseSavedListSection(file, section)) {
        text += std::string(text.empty() ? "" : "; ") + (row.Checked ? "*" : "");
        for (size_t c = 0; c < row.Columns.size(); ++c)
            text += (c ? "|" : "") + row.Columns[c];
    }
    return text;
}

TEST(SavedListsFormat, EverySectionInOrderCheckFlagsOnlyForAlerts) {
    const std::string a(1023, 'a'), b(1023, 'b'), c(1023, 'c');
    Sections sections;
    for (int s = 0; s < kSavedListSectionCount; ++s)
        sections[s].FromList = true;
    sections[0].Rows = {{true, {"ILZ014", "Cook"}}, {false, {"INZ001", "Lake"}}};
    sections[1].Rows = {{true, {"Chicago", "41.88", "-87.63"}}, {false, {a, b, c}}};
    sections[6].Rows = {{false, {"LOUK2", "Ohio River at Louisville"}}};
    std::string file = FormatSavedLists(sections);
    EXPECT_EQ(file, "Cumulon 3.0.7.143\r\n\r\n[ALERTS]\r\n1" + S + "ILZ014" + S + "Cook\r\n0" + S +
                        "INZ001" + S + "Lake\r\n\r\n[POINTFORECAST]\r\nChicago" + S + "41.88" + S +
                        "-87.63\r\n" + a + S + b + S + c +
                        "\r\n\r\n[HOURLYPOINTFORECAST]\r\n\r\n[RADAR]\r\n\r\n[OBSERVATIONS]\r\n\r\n"
                        "[METAR]\r\n\r\n[RIVERGAUGES]\r\nLOUK2" +
                        S + "Ohio River at Louisville\r\n\r\n");
}

// A page whose list was never built writes its section back line for line,
// whatever its lines hold; the others are written from their lists.
TEST(SavedListsFormat, SectionsWithoutAListKeepTheirLinesAsRead) {
    const std::string old = "Cumulon 3.0.7.143\r\n\r\n[ALERTS]\r\n1" + S + "ILZ014" + S +
                            "Cook\r\n0" + S + S + "odd line\r\n\r\n[RADAR]\n" + "KLOT" + S +
                            "Chicago\nKDVN\n\n[METAR]\r\n\rKORD\r\n[RIVERGAUGES]\r\nLOUK2" + S +
                            "Ohio"; // the last line has no line break
    Sections sections;
    for (int s = 0; s < kSavedListSectionCount; ++s)
        sections[s].KeptLines = SavedListSectionLines(old, kSavedListSections[s]);
    sections[1].FromList = true;
    sections[1].Rows = {{false, {"Home", "1", "2"}}};
    std::string file = FormatSavedLists(sections);
    EXPECT_EQ(file, "Cumulon 3.0.7.143\r\n\r\n[ALERTS]\r\n1" + S + "ILZ014" + S + "Cook\r\n0" + S +
                        S + "odd line\r\n\r\n[POINTFORECAST]\r\nHome" + S + "1" + S +
                        "2\r\n\r\n"
                        "[HOURLYPOINTFORECAST]\r\n\r\n[RADAR]\r\nKLOT" +
                        S +
                        "Chicago\r\nKDVN\r\n\r\n"
                        "[OBSERVATIONS]\r\n\r\n[METAR]\r\n\rKORD\r\n\r\n[RIVERGAUGES]\r\nLOUK2" +
                        S + "Ohio\r\n\r\n");
}

TEST(SavedListsFormat, ReadsSectionsAsTheFileHoldsThem) {
    const struct {
        std::string file;
        const char* section;
        std::string rows;
    } cases[] = {
        // Empty fields collapse; a name holding the separator splits.
        {"[POINTFORECAST]\r\n" + S + "38.25" + S + "-85.76\r\n\r\n", "[POINTFORECAST]",
         "38.25|-85.76|"},
        {"[POINTFORECAST]\r\nHome" + S + "Town" + S + "1" + S + "2\r\n", "[POINTFORECAST]",
         "Home|Town|1"},
        // Only "1" checks an alert, and the flag is always taken.
        {"[ALERTS]\r\n1" + S + "A" + S + "a\r\n0" + S + "B\r\nx" + S + "C" + S + "c\r\n",
         "[ALERTS]", "*A|a; B|; C|c"},
        // Missing file, section or name; fewer tokens than columns.
        {"", "[RADAR]", ""},
        {"[METAR]\r\nKORD" + S + "O'Hare\r\n", "[RADAR]", ""},
        {"[NOTASECTION]\r\nx\r\n", "[NOTASECTION]", ""},
        {"[METAR]\r\nKORD\r\n", "[METAR]", "KORD|"},
        // The section ends at an empty line (bare LF too) or the end of the file.
        {"[RADAR]\nKLOT" + S + "Chicago\n\nKDVN" + S + "Quad\n", "[RADAR]", "KLOT|Chicago"},
        {"[RADAR]\r\nKLOT" + S + "Chicago", "[RADAR]", "KLOT|Chicago"},
        // The name of a section ends the one before it, empty line or not.
        {"[RADAR]\r\nKLOT" + S + "Chicago\r\n[METAR]\r\nKORD" + S + "x\r\n", "[RADAR]",
         "KLOT|Chicago"},
        // The name must fill its whole line.
        {"[RADAR] \r\nX" + S + "x\r\n\r\n[RADAR]\r\nY" + S + "y\r\n", "[RADAR]", "Y|y"},
        // A line of any length is one item, its fields cut to 1023 bytes.
        {"[METAR]\r\n" + std::string(3000, 'n') + S + "x\r\n", "[METAR]",
         std::string(1023, 'n') + "|x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Rows(c.file, c.section), c.rows) << c.file;
}

} // namespace
