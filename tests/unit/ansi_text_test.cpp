#include "services/ansi_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Ansi(std::string_view utf8) {
    std::vector<char> bytes(utf8.begin(), utf8.end()); // nothing after it to read
    return Utf8ToAnsi(std::string_view(bytes.data(), bytes.size()));
}

TEST(AnsiText, Utf8BecomesCodePage1252WithAQuestionMarkForTheRest) {
    const struct {
        std::string utf8, ansi;
    } cases[] = {
        {"Plain ASCII\r\n\t~", "Plain ASCII\r\n\t~"},
        {"R\xC3\xADo Grande de Lo\xC3\xADza", "R\xEDo Grande de Lo\xEDza"}, // Latin-1 part
        {"\xC2\xA0\xC2\xB0\xC3\xBF", "\xA0\xB0\xFF"},                       // its ends
        {"\xE2\x82\xAC \xE2\x80\xA2 \xE2\x80\x93 \xC5\xA0 \xC5\xB8",
         "\x80 \x95 \x96 \x8A \x9F"},        // 0x80-0x9F
        {"\xC2\x80\xC2\x81\xC2\x9F", "???"}, // C1 controls are not 1252's bytes 0x80-0x9F
        {"\xC4\x80 \xE4\xB8\xAD \xF0\x9F\x98\x80", "? ? ?"}, // beyond 1252, a 4-byte one too
        // Cut short: one "?" for the broken start, the next byte read afresh.
        {"a\xC3", "a?"},
        {"\xE2\x82", "?"},
        {"\xF0\x9F\x98", "?"},
        {"\xE2\x82"
         "A",
         "?A"},
        {"\xC3\xC3\xA9", "?\xE9"},
        // Overlong, surrogates, beyond U+10FFFF, stray and impossible bytes.
        {"\xC0\xAF\xC1\xBF", "????"},
        {"\xE0\x80\xAF", "???"},
        {"\xF0\x8F\xBF\xBF", "????"},
        {"\xED\xA0\x80", "???"},
        {"\xF4\x90\x80\x80", "????"},
        {"\xF5\xFE\xFF", "???"},
        {"\x80\xBF", "??"},
        {"\xE0\xA0\x80\xF4\x8F\xBF\xBF", "??"}, // the extremes that are valid
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ansi(c.utf8), c.ansi) << testing::PrintToString(c.utf8);
}

TEST(AnsiText, ADocumentIsUtf8ByItsOwnWord) {
    const struct {
        const char* document;
        bool utf8;
    } cases[] = {
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xE9</a>", true},
        {"<?xml version = '1.0' encoding = 'utf-8' standalone = 'yes'?>", true},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xC3\xA9</a>", false},
        {"<?xml version=\"1.0\" encoding=\"UTF-8x\"?>", false},
        {"<?xml version=\"1.0\"?><a>\xC3\xA9</a>", true}, // no word: the bytes decide
        {"<a>\xE9</a>", false},
        {"\xEF\xBB\xBF<a>\xE9</a>", true},
        {"<?xml encoding=\"UTF-8", false}, // its quote not closed
        {"", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsUtf8Document(c.document), c.utf8) << c.document;
}

} // namespace
