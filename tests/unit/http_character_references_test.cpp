#include "services/http_character_references.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Decode(std::string text) {
    size_t length = DecodeCharacterReferenceText(text.data(), text.size());
    EXPECT_LE(length, text.size());
    return text.substr(0, length);
}

TEST(DecodeCharacterReferences, TheFourReferences) {
    EXPECT_EQ(Decode("&#x3C;&#x3E;&#x27;&#x26;"), "<>'&");
    EXPECT_EQ(Decode("a &#x3C;b&#x3E; &#x26;#x3C;"), "a <b> &#x3C;");
    EXPECT_EQ(Decode("&#x3C;&#x3C;&#x3C;"), "<<<");
}

TEST(DecodeCharacterReferences, AReferenceSpelledByDecodingIsLeftAlone) {
    EXPECT_EQ(Decode("&#x26;#x26;"), "&#x26;");
    EXPECT_EQ(Decode("&#x26;#x3E;"), "&#x3E;"); // the "&#x3E;" pass ran before
    EXPECT_EQ(Decode("&#x26;#x26;#x26;"), "&#x26;#x26;");
    EXPECT_EQ(Decode("&&#x26;#x27;"), "&&#x27;");
}

TEST(DecodeCharacterReferences, OnlyTheExactSpellingsAreDecoded) {
    for (const char* text :
         {"&#x3c;", "&#X3C;", "&#x3C", "&#60;", "&lt;", "&#x003C;", "&#x3", "&", ""})
        EXPECT_EQ(Decode(text), text);
}

TEST(DecodeCharacterReferences, FillerBytesAlreadyInTheTextAreDropped) {
    EXPECT_EQ(Decode("\x95 bullet \x95&#x3E;\x95"), " bullet >");
    EXPECT_EQ(Decode("\x95\x95\x95"), "");
}

TEST(DecodeCharacterReferences, NulBytesAreTextLikeAnyOther) {
    std::string text("a\0&#x3C;\0b", 10);
    EXPECT_EQ(Decode(text), std::string("a\0<\0b", 5));
}

} // namespace
