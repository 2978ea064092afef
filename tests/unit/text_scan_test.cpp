#include "services/text_buffer.h"
#include "services/text_scan.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(TextScan, TagAndElementReadersStopAtWhatIsMissing) {
    struct Case {
        std::string text;
        std::string_view (*read)(std::string_view, std::string_view, std::string_view);
        const char *open, *close, *value;
    } cases[] = {
        {"<a>x</a><a>y</a>", ElementText, "<a>", "</a>", "x"},
        {"<a>x", ElementText, "<a>", "</a>", ""},
        {"</a><a>", ElementText, "<a>", "</a>", ""},
        {"<data num_results=\"3\">v</data>", TagValue, "<data num_results", "</data>", "v"},
        {"<t>v</t>", TagValue, "<t>", "</t>", "v"},
        {"<data num_results=\"3\"", TagValue, "<data num_results", "</data>", ""}, // no '>'
        {"<t></t>", TagValue, "<t>", "</t>", ""},
        {"<t>v", TagValue, "<t>", "</t>", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.read(c.text, c.open, c.close), c.value) << c.text;
}

TEST(TextScan, AttributeValuesStartPastTheQuoteAndNeedTheirEnd) {
    EXPECT_EQ(AttributeValue("<F location=\"Here\" x=\"1\">", "location="), "Here");
    EXPECT_EQ(AttributeValue("<F location='Here\"", "location="), "Here"); // any opening character
    EXPECT_EQ(AttributeValue("<F location=\"Here", "location="), "");
    EXPECT_EQ(AttributeValue("location=", "location="), "");
    EXPECT_EQ(QuotedAfter("<s sky_cover = \"BKN\" base=\"x\"/>", "sky_cover"), "BKN");
    EXPECT_EQ(QuotedAfter("<s sky_cover=\"BKN", "sky_cover"), "");
}

TEST(TextScan, LinesKeepTheirLineFeedAndDocumentsEndAtTheFirstNul) {
    std::string_view rest = "a\r\n\nb", line;
    std::vector<std::string> lines;
    while (NextLine(&rest, &line))
        lines.emplace_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a\r\n", "\n", "b"}));
    EXPECT_TRUE(IsEmptyLine("\r\n") && IsEmptyLine("\n") && !IsEmptyLine("\r") && !IsEmptyLine(""));
    EXPECT_EQ(CutAtLineEnd("ab\rc\n"), "ab");
    EXPECT_EQ(UpToFirstNul("ab\0cd"s), "ab");
}

// Fixed buffers: a text that does not fit is cut, terminated and reported.
TEST(TextBuffer, CopyAppendAndFormatCutAtTheEndAndTerminate) {
    char buffer[6];
    EXPECT_TRUE(CopyText(buffer, "abcde"));
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_FALSE(CopyText(buffer, "abcdefgh"));
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_FALSE(CopyText(buffer, 0, "x"));
    char appended[8] = "abc";
    EXPECT_TRUE(AppendText(appended, "de"));
    EXPECT_FALSE(AppendText(appended, "fghij"));
    EXPECT_STREQ(appended, "abcdefg");
    EXPECT_FALSE(AppendText(appended, "x"));
    EXPECT_STREQ(appended, "abcdefg");
    char full[4] = {'a', 'b', 'c', 'd'}; // unterminated
    EXPECT_FALSE(AppendText(full, "e"));
    EXPECT_STREQ(full, "abc");
    char formatted[5];
    EXPECT_TRUE(FormatText(formatted, sizeof formatted, "%d", 1234));
    EXPECT_FALSE(FormatText(formatted, sizeof formatted, "%d", 12345));
    EXPECT_STREQ(formatted, "1234");
    char unterminated[3] = {'x', 'y', 'z'}, terminated[8] = "ab";
    EXPECT_EQ(TextOf(unterminated), "xyz");
    EXPECT_EQ(TextOf(terminated), "ab");
}

} // namespace
