#include "services/saved_lists_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Sections = SavedListSection[kSavedListSectionCount];
const std::string S(1, kFieldSeparator);

void FromRows(Sections& sections, int s, std::vector<SavedListRow> rows) {
    sections[s].FromList = true;
    sections[s].Rows = std::move(rows);
}

TEST(SavedListsFormat, WritesEverySectionInOrderWithCheckFlagsOnlyForAlerts) {
    Sections sections;
    for (int s = 0; s < kSavedListSectionCount; ++s)
        sections[s].FromList = true;
    EXPECT_EQ(FormatSavedLists(sections),
              "Cumulon 3.0.7.143\r\n\r\n"
              "[ALERTS]\r\n\r\n[POINTFORECAST]\r\n\r\n[HOURLYPOINTFORECAST]\r\n\r\n[RADAR]\r\n\r\n"
              "[OBSERVATIONS]\r\n\r\n[METAR]\r\n\r\n[RIVERGAUGES]\r\n\r\n");
    FromRows(sections, 0, {{true, {"ILZ014", "Cook"}}, {false, {"INZ001", "Lake"}}});
    FromRows(sections, 1, {{false, {"Chicago", "41.88", "-87.63"}}});
    std::string file = FormatSavedLists(sections);
    EXPECT_NE(file.find("[ALERTS]\r\n1" + S + "ILZ014" + S + "Cook\r\n0" + S + "INZ001" + S +
                        "Lake\r\n\r\n[POINTFORECAST]\r\nChicago" + S + "41.88" + S +
                        "-87.63\r\n\r\n"),
              std::string::npos);
}

// A page whose list was never built writes its section back line for line,
// whatever its lines hold; the others are written from their lists.
TEST(SavedListsFormat, SectionsWithoutAListKeepTheirLinesAsRead) {
    const std::string old = "Cumulon 3.0.7.143\r\n\r\n[ALERTS]\r\n1" + S + "ILZ014" + S +
                            "Cook\r\n0" + S + S + "odd line\r\n\r\n[RADAR]\n" + "KLOT" + S +
                            "Chicago\nKDVN\n\n[METAR]\r\n\rKORD\r\n";
    Sections sections;
    for (int s = 0; s < kSavedListSectionCount; ++s)
        sections[s].KeptLines = SavedListSectionLines(old, kSavedListSections[s]);
    FromRows(sections, 1, {{false, {"Home", "1", "2"}}});
    std::string file = FormatSavedLists(sections);
    EXPECT_EQ(file, "Cumulon 3.0.7.143\r\n\r\n[ALERTS]\r\n1" + S + "ILZ014" + S + "Cook\r\n0" + S +
                        S + "odd line\r\n\r\n[POINTFORECAST]\r\nHome" + S + "1" + S +
                        "2\r\n\r\n"
                        "[HOURLYPOINTFORECAST]\r\n\r\n[RADAR]\r\nKLOT" +
                        S +
                        "Chicago\r\nKDVN\r\n\r\n"
                        "[OBSERVATIONS]\r\n\r\n[METAR]\r\n\rKORD\r\n\r\n[RIVERGAUGES]\r\n\r\n");
    // Writing the result again changes nothing.
    for (int s = 0; s < kSavedListSectionCount; ++s)
        if (s != 1)
            sections[s].KeptLines = SavedListSectionLines(file, kSavedListSections[s]);
    EXPECT_EQ(FormatSavedLists(sections), file);
}

TEST(SavedListsFormat, RoundTripKeepsRowsOrderAndCheckMarks) {
    Sections sections;
    FromRows(sections, 0,
             {{true, {"ILZ014", "Cook"}}, {false, {"INZ001", "Lake"}}, {true, {"WIZ066", "K"}}});
    FromRows(sections, 2,
             {{false, {"Home", "38.25", "-85.76"}}, {false, {"Cabin", "+45.1", "-93.2"}}});
    FromRows(sections, 6, {{false, {"LOUK2", "Ohio River at Louisville"}}});
    FromRows(sections, 1,
             {{false, {std::string(1023, 'a'), std::string(1023, 'b'), std::string(1023, 'c')}}});
    std::string file = FormatSavedLists(sections);
    for (int s = 0; s < kSavedListSectionCount; ++s) {
        std::vector<SavedListRow> rows = ParseSavedListSection(file, kSavedListSections[s]);
        ASSERT_EQ(rows.size(), sections[s].Rows.size()) << kSavedListSections[s];
        for (size_t r = 0; r < rows.size(); ++r) {
            EXPECT_EQ(rows[r].Columns, sections[s].Rows[r].Columns);
            EXPECT_TRUE(s != 0 || rows[r].Checked == sections[s].Rows[r].Checked);
        }
    }
}

TEST(SavedListsFormat, ReadsSectionsAsTheFileHoldsThem) {
    const std::string longName(3000, 'n');
    struct Case {
        std::string file;
        const char* section;
        std::vector<std::vector<std::string>> rows;
    } cases[] = {
        // Empty fields collapse; a name holding the separator splits.
        {"[POINTFORECAST]\r\n" + S + "38.25" + S + "-85.76\r\n\r\n",
         "[POINTFORECAST]",
         {{"38.25", "-85.76", ""}}},
        {"[POINTFORECAST]\r\nHome" + S + "Town" + S + "1" + S + "2\r\n",
         "[POINTFORECAST]",
         {{"Home", "Town", "1"}}},
        // Missing file, section or name; fewer tokens than columns.
        {"", "[RADAR]", {}},
        {"[METAR]\r\nKORD" + S + "O'Hare\r\n", "[RADAR]", {}},
        {"[NOTASECTION]\r\nx\r\n", "[NOTASECTION]", {}},
        {"[METAR]\r\nKORD\r\n", "[METAR]", {{"KORD", ""}}},
        // The section ends at an empty line (bare LF too) or the end of the file.
        {"[RADAR]\nKLOT" + S + "Chicago\n\nKDVN" + S + "Quad\n", "[RADAR]", {{"KLOT", "Chicago"}}},
        {"[RADAR]\r\nKLOT" + S + "Chicago", "[RADAR]", {{"KLOT", "Chicago"}}},
        // The name of a section ends the one before it, empty line or not.
        {"[RADAR]\r\nKLOT" + S + "Chicago\r\n[METAR]\r\nKORD" + S + "x\r\n",
         "[RADAR]",
         {{"KLOT", "Chicago"}}},
        // The name must fill its whole line.
        {"[RADAR] \r\nX" + S + "x\r\n\r\n[RADAR]\r\nY" + S + "y\r\n", "[RADAR]", {{"Y", "y"}}},
        // A line of any length is one item, its fields cut to 1023 bytes.
        {"[METAR]\r\n" + longName + S + "x\r\n", "[METAR]", {{std::string(1023, 'n'), "x"}}},
    };
    for (const Case& c : cases) {
        std::vector<SavedListRow> rows = ParseSavedListSection(c.file, c.section);
        ASSERT_EQ(rows.size(), c.rows.size()) << c.file;
        for (size_t r = 0; r < rows.size(); ++r)
            EXPECT_EQ(rows[r].Columns, c.rows[r]) << c.file;
    }
}

TEST(SavedListsFormat, AlertCheckFlagIsOnlyOne) {
    std::string file =
        "[ALERTS]\r\n1" + S + "A" + S + "a\r\n0" + S + "B" + S + "b\r\nx" + S + "C" + S + "c\r\n";
    std::vector<SavedListRow> rows = ParseSavedListSection(file, "[ALERTS]");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(std::vector<bool>({rows[0].Checked, rows[1].Checked, rows[2].Checked}),
              std::vector<bool>({true, false, false}));
    EXPECT_EQ(rows[2].Columns[0], "C");
}

} // namespace
