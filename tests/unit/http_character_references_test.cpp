#include "services/http_character_references.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(DecodeCharacterReferences, FourExactSpellingsOnePassEachThenTheFillerBytesDropped) {
    const struct {
        std::string text, decoded;
    } cases[] = {
        {"&#x3C;&#x3E;&#x27;&#x26;", "<>'&"},
        {"a &#x3C;b&#x3E; &#x26;#x3C;", "a <b> &#x3C;"},
        {"&#x3C;&#x3C;&#x3C;", "<<<"},
        // A reference spelled by decoding is left alone.
        {"&#x26;#x26;", "&#x26;"},
        {"&#x26;#x3E;", "&#x3E;"}, // the "&#x3E;" pass ran before
        {"&#x26;#x26;#x26;", "&#x26;#x26;"},
        {"&&#x26;#x27;", "&&#x27;"},
        {"&#x3c;&#X3C;&#x3C&#60;&lt;&#x003C;&#x3", "&#x3c;&#X3C;&#x3C&#60;&lt;&#x003C;&#x3"},
        {"&", "&"},
        {"", ""},
        // Filler bytes already in the text go too; NUL bytes are text like any other.
        {"\x95 bullet \x95&#x3E;\x95", " bullet >"},
        {"\x95\x95\x95", ""},
        {"a\0&#x3C;\0b"s, "a\0<\0b"s},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        size_t length = DecodeCharacterReferenceText(text.data(), text.size());
        ASSERT_LE(length, text.size());
        EXPECT_EQ(text.substr(0, length), c.decoded) << testing::PrintToString(c.text);
    }
}

} // namespace
