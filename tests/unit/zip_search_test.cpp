#include "pages/forecast/zip_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;

const char kLouisville[] = "40202,Louisville,KY,21111,Jefferson,38.25,-85.76";
const char kSpringfield[] = "62701,Springfield,IL,17167,Sangamon,39.80,-89.65";

// One line in a heap block of exactly its size, so the sanitizer catches any
// read past its end.
bool Match(std::string_view line, const Words& words, ZipMatch* match) {
    std::vector<char> bytes(line.begin(), line.end());
    return MatchZipLine(std::string_view(bytes.data(), bytes.size()), words, match);
}

std::string DisplayOf(std::string_view line) {
    ZipMatch match;
    if (!Match(line, {","}, &match))
        return "(no match)";
    return match.Display;
}

std::vector<std::string> Displays(std::string_view file, const Words& words) {
    std::vector<char> bytes(file.begin(), file.end());
    std::vector<std::string> displays;
    for (const ZipMatch& match :
         SearchZipCodes(std::string_view(bytes.data(), bytes.size()), words))
        displays.push_back(match.Display);
    return displays;
}

// --- The search words --------------------------------------------------------

TEST(ZipSearchWords, AreLowerCasedAndSplitAtSeparators) {
    EXPECT_EQ(ZipSearchWords("Louisville KY"), (Words{"louisville", "ky"}));
    EXPECT_EQ(ZipSearchWords("  Winston-Salem,  N.C. "), (Words{"winston", "salem", "n", "c"}));
    EXPECT_EQ(ZipSearchWords("40202"), (Words{"40202"}));
}

TEST(ZipSearchWords, EachOfTheThirtyFourSeparatorsSplits) {
    const std::string separators = "\t ~`!@#$%^&*()_-+={}[]|\\:;\"'<,>.?/";
    ASSERT_EQ(separators.size(), 34u);
    for (char separator : separators) {
        std::string text = std::string("ab") + separator + "cd";
        EXPECT_EQ(ZipSearchWords(text), (Words{"ab", "cd"})) << "separator " << separator;
    }
    // Anything else belongs to a word, line breaks and high bytes included.
    for (int value = 1; value < 256; ++value) {
        char c = static_cast<char>(value);
        if (separators.find(c) != std::string::npos)
            continue;
        std::string text = std::string("ab") + c + "cd";
        EXPECT_EQ(ZipSearchWords(text).size(), 1u) << "character " << value;
    }
}

TEST(ZipSearchWords, ShortTextsGiveNoWordsCountingSeparatorsAsCharacters) {
    EXPECT_TRUE(ZipSearchWords("").empty());
    EXPECT_TRUE(ZipSearchWords("k").empty());
    EXPECT_TRUE(ZipSearchWords("KY").empty());
    EXPECT_EQ(ZipSearchWords(" KY"), (Words{"ky"}));
    EXPECT_EQ(ZipSearchWords("a b"), (Words{"a", "b"}));
    EXPECT_TRUE(ZipSearchWords("---").empty());
    EXPECT_TRUE(ZipSearchWords(" , . ").empty());
}

TEST(ZipSearchWords, KeepAtMostFiveWords) {
    EXPECT_EQ(ZipSearchWords("one two three four five six seven"),
              (Words{"one", "two", "three", "four", "five"}));
    EXPECT_EQ(ZipSearchWords("a,b,c,d,e,"), (Words{"a", "b", "c", "d", "e"}));
}

TEST(ZipSearchWords, FoldCodePage1252Capitals) {
    EXPECT_EQ(ZipSearchWords("MONTR\xC9"
                             "AL"),
              (Words{"montr\xE9"
                     "al"}));
    EXPECT_EQ(ZipSearchWords("\xC0\xD6\xD7\xD8\xDE\xDF"), (Words{"\xE0\xF6\xD7\xF8\xFE\xDF"}));
    EXPECT_EQ(ZipSearchWords("\x8A\x8C\x8E\x9F"), (Words{"\x9A\x9C\x9E\xFF"}));
}

TEST(ZipSearchWords, TheTextEndsAtItsFirstNulAndAfterTheFieldLimit) {
    EXPECT_EQ(ZipSearchWords(std::string("abc") + '\0' + "def"), (Words{"abc"}));
    EXPECT_TRUE(ZipSearchWords(std::string("ky") + '\0' + "louisville").empty());
    std::string text = std::string(250, ' ') + "abcdefghij";
    EXPECT_EQ(ZipSearchWords(text), (Words{"abcdef"}));
    text = std::string(256, ' ') + "louisville";
    EXPECT_TRUE(ZipSearchWords(text).empty());
}

// --- Matching one line -----------------------------------------------------------

TEST(ZipMatching, EveryWordMustOccurAnywhereInTheLowerCasedLine) {
    ZipMatch match;
    EXPECT_TRUE(Match(kLouisville, ZipSearchWords("louisville KY"), &match));
    EXPECT_TRUE(Match(kLouisville, ZipSearchWords("LOUISVILLE"), &match));
    EXPECT_TRUE(Match(kLouisville, ZipSearchWords("ville uis"), &match));
    EXPECT_FALSE(Match(kLouisville, ZipSearchWords("louisville IN"), &match));
    // The coordinates and the unused field are searched too.
    EXPECT_TRUE(Match(kLouisville, ZipSearchWords("-85.76"), &match));
    EXPECT_TRUE(Match(kLouisville, ZipSearchWords("21111"), &match));
    // Words are matched as they are given: upper-case words never match.
    EXPECT_FALSE(Match(kLouisville, {"Louisville"}, &match));
}

TEST(ZipMatching, NoWordsMatchNothing) {
    ZipMatch match;
    EXPECT_FALSE(Match(kLouisville, {}, &match));
    EXPECT_FALSE(Match(kLouisville, ZipSearchWords("ky"), &match));
}

TEST(ZipMatching, TheLineIsShownAsReadNotLowerCased) {
    ZipMatch match;
    ASSERT_TRUE(Match(kLouisville, {"louisville", "ky"}, &match));
    EXPECT_EQ(match.Display, "Louisville, KY 40202 (Jefferson)");
    EXPECT_EQ(match.Latitude, "38.25");
    EXPECT_EQ(match.Longitude, "-85.76");
}

TEST(ZipMatching, AcceptsANullMatch) {
    EXPECT_TRUE(MatchZipLine(kSpringfield, {"springfield"}, nullptr));
    EXPECT_FALSE(MatchZipLine(kSpringfield, {"boston"}, nullptr));
}

TEST(ZipMatching, MatchingFoldsAccentedCapitalsOfTheLine) {
    ZipMatch match;
    ASSERT_TRUE(Match("00501,MONTR\xC9"
                      "AL,QC,,,45.5,-73.6",
                      ZipSearchWords("montr\xE9"
                                     "al"),
                      &match));
    EXPECT_EQ(match.Display, "MONTR\xC9"
                             "AL, QC 00501");
}

// --- The display text ---------------------------------------------------------------

TEST(ZipDisplay, PlaceStateZipAndExtraName) {
    EXPECT_EQ(DisplayOf("62701,Springfield,IL,x,,39.80,-89.65"), "Springfield, IL 62701");
    EXPECT_EQ(DisplayOf(kSpringfield), "Springfield, IL 62701 (Sangamon)");
}

TEST(ZipDisplay, CommaOnlyBetweenAPlaceAndAState) {
    EXPECT_EQ(DisplayOf("62701,,IL,x,,39.80,-89.65"), "IL 62701");
    EXPECT_EQ(DisplayOf("62701,Springfield,,x,,39.80,-89.65"), "Springfield 62701");
    EXPECT_EQ(DisplayOf("62701,,IL,x,Sangamon,39.80,-89.65"), "IL 62701 (Sangamon)");
}

TEST(ZipDisplay, NoPlaceAndNoStateAddsNothing) {
    EXPECT_EQ(DisplayOf("62701,,,x,Sangamon,39.80,-89.65"), "(no match)");
}

TEST(ZipDisplay, TheZipIsTheFirstFiveCharactersOfTheLine) {
    EXPECT_EQ(DisplayOf("627,Springfield,IL,,,1,2"), "Springfield, IL 627,S");
    EXPECT_EQ(DisplayOf("627019999,Springfield,IL,,,1,2"), "Springfield, IL 62701");
    EXPECT_EQ(DisplayOf(",P,,,,,"), "P ,P,,,");
}

TEST(ZipDisplay, FieldsAreTakenUnchanged) {
    ZipMatch match;
    ASSERT_TRUE(
        Match("62701, \"Springfield\" ,IL ,,( x ), 39.80 ,-89.65 ", {"springfield"}, &match));
    EXPECT_EQ(match.Display, " \"Springfield\" , IL  62701 (( x ))");
    EXPECT_EQ(match.Latitude, " 39.80 ");
    EXPECT_EQ(match.Longitude, "-89.65 ");
}

// --- Fields and line limits ----------------------------------------------------------

TEST(ZipFields, SixCommasAreNeededAndTheLongitudeTakesTheRest) {
    ZipMatch match;
    EXPECT_FALSE(Match("62701,Springfield,IL,17167,Sangamon,39.80", {"springfield"}, &match));
    ASSERT_TRUE(Match("62701,Springfield,IL,17167,Sangamon,39.80,", {"springfield"}, &match));
    EXPECT_EQ(match.Longitude, "");
    ASSERT_TRUE(Match("62701,Springfield,IL,17167,Sangamon,39.80,-89.65,extra,more",
                      {"springfield"}, &match));
    EXPECT_EQ(match.Latitude, "39.80");
    EXPECT_EQ(match.Longitude, "-89.65,extra,more");
}

TEST(ZipFields, EmptyCoordinatesAreKeptEmpty) {
    ZipMatch match;
    ASSERT_TRUE(Match("62701,Springfield,IL,,,,", {"springfield"}, &match));
    EXPECT_EQ(match.Display, "Springfield, IL 62701");
    EXPECT_EQ(match.Latitude, "");
    EXPECT_EQ(match.Longitude, "");
}

TEST(ZipFields, LinesUpToTwoHundredFiftySixCharacters) {
    std::string line = std::string(kSpringfield) + ",";
    line += std::string(256 - line.size(), 'x');
    ASSERT_EQ(line.size(), 256u);
    ZipMatch match;
    ASSERT_TRUE(Match(line, {"springfield"}, &match));
    EXPECT_EQ(match.Longitude.size(),
              256u - std::string("62701,Springfield,IL,17167,Sangamon,39.80,").size());
    line += 'x';
    EXPECT_FALSE(Match(line, {"springfield"}, &match));
}

TEST(ZipFields, TheLineEndsAtItsFirstCarriageReturnLineFeedOrNul) {
    ZipMatch match;
    ASSERT_TRUE(Match(std::string(kSpringfield) + "\r\n", {"springfield"}, &match));
    EXPECT_EQ(match.Longitude, "-89.65");
    ASSERT_TRUE(
        Match(std::string(kSpringfield) + "\r" + std::string(300, 'x'), {"springfield"}, &match));
    EXPECT_EQ(match.Longitude, "-89.65");
    EXPECT_FALSE(Match(std::string(kSpringfield) + "\rboston", {"boston"}, &match));
    ASSERT_TRUE(Match(std::string(kSpringfield) + '\0' + "boston", {"springfield"}, &match));
    EXPECT_EQ(match.Longitude, "-89.65");
    EXPECT_FALSE(Match(std::string(kSpringfield) + '\0' + "boston", {"boston"}, &match));
    EXPECT_FALSE(Match(std::string("62701,Spring") + '\0' + "field,IL,,,1,2", {"spring"}, &match));
}

// --- Searching a whole table ----------------------------------------------------------

TEST(ZipTable, MatchesComeInFileOrder) {
    std::string file = std::string(kSpringfield) + "\r\n" + kLouisville + "\r\n" +
                       "62702,Springfield,IL,17167,Sangamon,39.81,-89.64\r\n" +
                       "01101,Springfield,MA,25013,Hampden,42.10,-72.59\r\n";
    EXPECT_EQ(Displays(file, ZipSearchWords("Springfield IL")),
              (std::vector<std::string>{"Springfield, IL 62701 (Sangamon)",
                                        "Springfield, IL 62702 (Sangamon)"}));
    EXPECT_EQ(Displays(file, ZipSearchWords("springfield")).size(), 3u);
    EXPECT_TRUE(Displays(file, {}).empty());
}

TEST(ZipTable, LineEndsOfEitherKindEmptyLinesAndNoFinalLineEnd) {
    std::string file = std::string("\n\r\n") + kSpringfield + "\n\n" + kLouisville;
    std::vector<ZipMatch> matches = SearchZipCodes(file, ZipSearchWords("1,1"));
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].Longitude, "-89.65");
    EXPECT_EQ(matches[1].Longitude, "-85.76");
}

TEST(ZipTable, SkippedLinesDoNotStopTheSearch) {
    std::string file = "62701,Springfield,IL\n62702,Springfield,IL,,,1," + std::string(300, '2') +
                       "\n62703,,,,,,\n" + kSpringfield + "\n";
    EXPECT_EQ(Displays(file, {","}),
              (std::vector<std::string>{"Springfield, IL 62701 (Sangamon)"}));
}

TEST(ZipTable, AnOverlongPhysicalLineIsOneSkippedLine) {
    // Read in 1023-byte pieces, the tail of this line would be a record of its own.
    std::string file = std::string(1023, 'x') + kLouisville + "\n" + kSpringfield + "\n";
    EXPECT_EQ(Displays(file, {","}),
              (std::vector<std::string>{"Springfield, IL 62701 (Sangamon)"}));
    // The same with a carriage return that would cut the first piece short.
    file = std::string(kLouisville) + "\r" + std::string(1100, 'x') + kSpringfield + "\n";
    EXPECT_TRUE(Displays(file, {","}).empty());
}

TEST(ZipTable, APhysicalLineOfUpTo1023BytesIsCutAtItsCarriageReturn) {
    std::string line = std::string(kLouisville) + "\r";
    line += std::string(1023 - line.size(), 'x');
    EXPECT_EQ(Displays(line + "\n", {","}),
              (std::vector<std::string>{"Louisville, KY 40202 (Jefferson)"}));
    EXPECT_TRUE(Displays(line + "x\n", {","}).empty());
}

TEST(ZipTable, NulBytesEndOnlyTheirOwnLine) {
    std::string file =
        std::string(kLouisville) + '\0' + "\r\n" + '\0' + kSpringfield + "\n" + kSpringfield;
    EXPECT_EQ(Displays(file, {","}),
              (std::vector<std::string>{"Louisville, KY 40202 (Jefferson)",
                                        "Springfield, IL 62701 (Sangamon)"}));
}

TEST(ZipTable, AHundredThousandLines) {
    std::string file;
    for (int i = 0; i < 100000; ++i)
        file += (i % 1000 == 7 ? std::string(kLouisville) : std::string(kSpringfield)) + "\r\n";
    EXPECT_EQ(Displays(file, ZipSearchWords("louisville, ky")).size(), 100u);
}

} // namespace
