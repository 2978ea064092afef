#include "services/text_buffer.h"

#include <gtest/gtest.h>

namespace {

TEST(TextBuffer, CopyCutsToFitAndTerminates) {
    char buffer[6];
    EXPECT_TRUE(CopyText(buffer, "abcde"));
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_FALSE(CopyText(buffer, "abcdefgh"));
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_FALSE(CopyText(buffer, 0, "x"));
}

TEST(TextBuffer, AppendStopsAtTheEnd) {
    char buffer[8] = "abc";
    EXPECT_TRUE(AppendText(buffer, "de"));
    EXPECT_FALSE(AppendText(buffer, "fghij"));
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_FALSE(AppendText(buffer, "x"));
    EXPECT_STREQ(buffer, "abcdefg");
}

TEST(TextBuffer, AppendToAnUnterminatedBufferTerminatesIt) {
    char buffer[4] = {'a', 'b', 'c', 'd'};
    EXPECT_FALSE(AppendText(buffer, "e"));
    EXPECT_STREQ(buffer, "abc");
}

TEST(TextBuffer, FormatReportsTruncation) {
    char buffer[5];
    EXPECT_TRUE(FormatText(buffer, sizeof buffer, "%d", 1234));
    EXPECT_FALSE(FormatText(buffer, sizeof buffer, "%d", 12345));
    EXPECT_STREQ(buffer, "1234");
}

TEST(TextBuffer, TextOfStopsAtTheBufferEnd) {
    char unterminated[3] = {'x', 'y', 'z'};
    EXPECT_EQ(TextOf(unterminated), "xyz");
    char terminated[8] = "ab";
    EXPECT_EQ(TextOf(terminated), "ab");
}

} // namespace
