#include "app/saved_lists_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Sections = std::vector<SavedListRow>[kSavedListSectionCount];

std::string Sep() { return std::string(1, kFieldSeparator); }

TEST(SavedListsFormat, EmptyListsStillWriteEverySectionInOrder) {
    Sections sections;
    EXPECT_EQ(FormatSavedLists(sections),
              "Cumulon 3.0.7.143\r\n\r\n"
              "[ALERTS]\r\n\r\n[POINTFORECAST]\r\n\r\n[HOURLYPOINTFORECAST]\r\n\r\n[RADAR]\r\n\r\n"
              "[OBSERVATIONS]\r\n\r\n[METAR]\r\n\r\n[RIVERGAUGES]\r\n\r\n");
}

TEST(SavedListsFormat, WritesCheckFlagsOnlyForAlerts) {
    Sections sections;
    sections[0] = {{true, {"ILZ014", "Cook"}}, {false, {"INZ001", "Lake"}}};
    sections[1] = {{false, {"Chicago", "41.88", "-87.63"}}};
    sections[3] = {{false, {"KLOT", "KLOT Chicago"}}};
    std::string file = FormatSavedLists(sections);
    EXPECT_NE(file.find("[ALERTS]\r\n1" + Sep() + "ILZ014" + Sep() + "Cook\r\n0" + Sep() + "INZ001" + Sep() +
                        "Lake\r\n\r\n[POINTFORECAST]\r\n"),
              std::string::npos);
    EXPECT_NE(file.find("[POINTFORECAST]\r\nChicago" + Sep() + "41.88" + Sep() + "-87.63\r\n\r\n"), std::string::npos);
    EXPECT_NE(file.find("[RADAR]\r\nKLOT" + Sep() + "KLOT Chicago\r\n\r\n"), std::string::npos);
}

TEST(SavedListsFormat, RoundTripKeepsRowsOrderAndCheckMarks) {
    Sections sections;
    sections[0] = {{true, {"ILZ014", "Cook"}}, {false, {"INZ001", "Lake"}}, {true, {"WIZ066", "Kenosha"}}};
    sections[2] = {{false, {"Home", "38.25", "-85.76"}}, {false, {"Cabin", "+45.1", "-93.2"}}};
    sections[6] = {{false, {"LOUK2", "Ohio River at Louisville"}}};
    std::string file = FormatSavedLists(sections);
    for (int s = 0; s < kSavedListSectionCount; ++s) {
        std::vector<SavedListRow> rows = ParseSavedListSection(file, kSavedListSections[s]);
        ASSERT_EQ(rows.size(), sections[s].size()) << kSavedListSections[s];
        for (size_t r = 0; r < rows.size(); ++r) {
            EXPECT_EQ(rows[r].Columns, sections[s][r].Columns);
            if (s == 0) {
                EXPECT_EQ(rows[r].Checked, sections[s][r].Checked);
            }
        }
    }
}

TEST(SavedListsFormat, EmptyFieldsCollapse) {
    std::string file = "Cumulon 3.0.7.143\r\n\r\n[POINTFORECAST]\r\n" + Sep() + "38.25" + Sep() + "-85.76\r\n\r\n";
    std::vector<SavedListRow> rows = ParseSavedListSection(file, "[POINTFORECAST]");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Columns, (std::vector<std::string>{"38.25", "-85.76", ""}));
}

TEST(SavedListsFormat, ANameHoldingTheSeparatorSplits) {
    Sections sections;
    sections[1] = {{false, {"Home" + Sep() + "Town", "38.25", "-85.76"}}};
    std::vector<SavedListRow> rows = ParseSavedListSection(FormatSavedLists(sections), "[POINTFORECAST]");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Columns, (std::vector<std::string>{"Home", "Town", "38.25"}));
}

TEST(SavedListsFormat, MissingPiecesGiveEmptyResults) {
    EXPECT_TRUE(ParseSavedListSection("", "[RADAR]").empty());
    EXPECT_TRUE(ParseSavedListSection("Cumulon 3.0.7.143\r\n\r\n[METAR]\r\nKORD" + Sep() + "O'Hare\r\n", "[RADAR]")
                    .empty());
    EXPECT_TRUE(ParseSavedListSection("[NOTASECTION]\r\nx\r\n", "[NOTASECTION]").empty());
    // Fewer tokens than columns: the rest stay empty.
    std::vector<SavedListRow> rows = ParseSavedListSection("[METAR]\r\nKORD\r\n", "[METAR]");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Columns, (std::vector<std::string>{"KORD", ""}));
}

TEST(SavedListsFormat, SectionEndsAtEmptyLineOrEndOfFileAndAcceptsBareLf) {
    std::string file = "[RADAR]\nKLOT" + Sep() + "Chicago\n\nKDVN" + Sep() + "Quad Cities\n";
    std::vector<SavedListRow> rows = ParseSavedListSection(file, "[RADAR]");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Columns[0], "KLOT");
    rows = ParseSavedListSection("[RADAR]\r\nKLOT" + Sep() + "Chicago", "[RADAR]");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Columns[1], "Chicago");
}

TEST(SavedListsFormat, AlertCheckFlagIsOnlyOne) {
    std::string file = "[ALERTS]\r\n1" + Sep() + "A" + Sep() + "a\r\n0" + Sep() + "B" + Sep() + "b\r\nx" + Sep() +
                       "C" + Sep() + "c\r\n\r\n";
    std::vector<SavedListRow> rows = ParseSavedListSection(file, "[ALERTS]");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].Checked);
    EXPECT_FALSE(rows[1].Checked);
    EXPECT_FALSE(rows[2].Checked);
    EXPECT_EQ(rows[2].Columns[0], "C");
}

TEST(SavedListsFormat, LongLinesStayOneItemWithFieldsCutTo1023) {
    std::string longName(3000, 'n');
    std::string file = "[POINTFORECAST]\r\n" + longName + Sep() + "1" + Sep() + "2\r\n\r\n";
    std::vector<SavedListRow> rows = ParseSavedListSection(file, "[POINTFORECAST]");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Columns[0].size(), kSavedListFieldMax);
    EXPECT_EQ(rows[0].Columns[1], "1");
    EXPECT_EQ(rows[0].Columns[2], "2");
    // Three full-length fields written and read back: still one item.
    Sections sections;
    sections[1] = {{false, {std::string(1023, 'a'), std::string(1023, 'b'), std::string(1023, 'c')}}};
    rows = ParseSavedListSection(FormatSavedLists(sections), "[POINTFORECAST]");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Columns[2], std::string(1023, 'c'));
}

TEST(SavedListsFormat, SectionNameMustMatchTheWholeLine) {
    std::string file = "[RADAR] \r\nX" + Sep() + "x\r\n\r\n[RADAR]\r\nY" + Sep() + "y\r\n\r\n";
    std::vector<SavedListRow> rows = ParseSavedListSection(file, "[RADAR]");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Columns[0], "Y");
}

} // namespace
