#include "pages/forecast/zip_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Words = std::vector<std::string>;

const std::string kLouisville = "40202,Louisville,KY,21111,Jefferson,38.25,-85.76";
const std::string kSpringfield = "62701,Springfield,IL,17167,Sangamon,39.80,-89.65";
const std::string kLouisvilleShown = "Louisville, KY 40202 (Jefferson)";
const std::string kSpringfieldShown = "Springfield, IL 62701 (Sangamon)";
const std::string kLouisvilleFound = kLouisvilleShown + " | 38.25 | -85.76";
const std::string kSpringfieldFound = kSpringfieldShown + " | 39.80 | -89.65";

// The match of one line, held in a heap block of exactly its size so the
// sanitizer catches any read past its end, as "display | latitude | longitude".
std::string Found(std::string_view line, const Words& words) {
    std::vector<char> bytes(line.begin(), line.end());
    ZipMatch match;
    if (!MatchZipLine(std::string_view(bytes.data(), bytes.size()), words, &match))
        return "(no match)";
    return match.Display + " | " + match.Latitude + " | " + match.Longitude;
}

Words Displays(std::string_view file, const Words& words) {
    std::vector<char> bytes(file.begin(), file.end());
    Words displays;
    for (const ZipMatch& match :
         SearchZipCodes(std::string_view(bytes.data(), bytes.size()), words))
        displays.push_back(match.Display);
    return displays;
}

TEST(ZipSearchWords, LowerCasedSplitAtSeparatorsAtMostFiveFromTheFieldsText) {
    const struct {
        std::string text;
        Words words;
    } cases[] = {
        {"Louisville KY", {"louisville", "ky"}},
        {"  Winston-Salem,  N.C. ", {"winston", "salem", "n", "c"}},
        {"40202", {"40202"}},
        // Two characters or fewer give no words, separators counted.
        {"", {}},
        {"KY", {}},
        {" KY", {"ky"}},
        {"a b", {"a", "b"}},
        {"---", {}},
        {"one two three four five six seven", {"one", "two", "three", "four", "five"}},
        {"a,b,c,d,e,", {"a", "b", "c", "d", "e"}},
        {"ab\tcd/ef~gh\x7Fij", {"ab", "cd", "ef", "gh\x7Fij"}}, // the table's ends; DEL is text
        // Code page 1252 capitals fold; the multiplication sign and sharp s stay.
        {"\xC0\xD6\xD7\xD8\xDE\xDF", {"\xE0\xF6\xD7\xF8\xFE\xDF"}},
        {"\x8A\x8C\x8E\x9F", {"\x9A\x9C\x9E\xFF"}},
        // The text ends at its first NUL and after the field's 256 characters.
        {"abc\0def"s, {"abc"}},
        {"ky\0louisville"s, {}},
        {std::string(250, ' ') + "abcdefghij", {"abcdef"}},
        {std::string(256, ' ') + "louisville", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ZipSearchWords(c.text), c.words) << testing::PrintToString(c.text);
}

TEST(ZipMatching, EveryWordInTheLowerCasedLineShowsItAsRead) {
    const std::string fields = "62701,Springfield,IL,17167,Sangamon,39.80";
    const struct {
        std::string line;
        Words words;
        std::string found;
    } cases[] = {
        {kLouisville, {"louisville", "ky"}, kLouisvilleFound},
        {kLouisville, {"21111", "76"}, kLouisvilleFound},
        {kLouisville, {"louisville", "in"}, "(no match)"},
        {kLouisville, {"Louisville"}, "(no match)"}, // words are used as given
        {kLouisville, {}, "(no match)"},
        {"00501,J\xC9R\xD4ME,QC,,,45.5,-73.6",
         {"j\xE9r\xF4me"},
         "J\xC9R\xD4ME, QC 00501 | 45.5 | -73.6"},
        // The display: place, state, the line's first five characters, the extra name.
        {"62701,Springfield,IL,x,,39.80,-89.65", {","}, "Springfield, IL 62701 | 39.80 | -89.65"},
        {"62701,,IL,x,,1,2", {","}, "IL 62701 | 1 | 2"},
        {"62701,Springfield,,x,,1,2", {","}, "Springfield 62701 | 1 | 2"},
        {"62701,,IL,x,Sangamon,1,2", {","}, "IL 62701 (Sangamon) | 1 | 2"},
        {"62701,,,x,Sangamon,1,2", {","}, "(no match)"},
        {"627,Springfield,IL,,,1,2", {","}, "Springfield, IL 627,S | 1 | 2"},
        {"627019999,Springfield,IL,,,1,2", {","}, "Springfield, IL 62701 | 1 | 2"},
        {",P,,,,,", {","}, "P ,P,,, |  | "},
        {"62701, \"Springfield\" ,IL ,,( x ), 39.80 ,-89.65 ",
         {"springfield"},
         " \"Springfield\" , IL  62701 (( x )) |  39.80  | -89.65 "},
        // Six commas are needed; the longitude takes the rest of the line.
        {fields, {","}, "(no match)"},
        {fields + ",", {","}, kSpringfieldShown + " | 39.80 | "},
        {fields + ",-89.65,extra,more", {","}, kSpringfieldShown + " | 39.80 | -89.65,extra,more"},
        {"62701,Springfield,IL,,,,", {","}, "Springfield, IL 62701 |  | "},
        // At most 256 characters, up to the first CR, LF or NUL.
        {fields + "," + std::string(256 - 42, 'x'),
         {","},
         kSpringfieldShown + " | 39.80 | " + std::string(214, 'x')},
        {fields + "," + std::string(257 - 42, 'x'), {","}, "(no match)"},
        {kSpringfield + "\r\n", {","}, kSpringfieldFound},
        {kSpringfield + "\r" + std::string(300, 'x'), {","}, kSpringfieldFound},
        {kSpringfield + "\rboston", {"boston"}, "(no match)"},
        {kSpringfield + "\0boston"s, {","}, kSpringfieldFound},
        {kSpringfield + "\0boston"s, {"boston"}, "(no match)"},
        {"62701,Spring\0field,IL,,,1,2"s, {"spring"}, "(no match)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Found(c.line, c.words), c.found) << testing::PrintToString(c.line);
}

TEST(ZipTable, EveryMatchingLineInFileOrderEachPhysicalLineOnItsOwn) {
    const std::string springfield2 = "62702,Springfield,IL,17167,Sangamon,39.81,-89.64";
    const std::string springfieldMa = "01101,Springfield,MA,25013,Hampden,42.10,-72.59";
    const std::string file = kSpringfield + "\r\n" + kLouisville + "\r\n" + springfield2 + "\r\n" +
                             springfieldMa + "\r\n";
    const std::string longCr = kLouisville + "\r" + std::string(1023 - kLouisville.size() - 1, 'x');
    const struct {
        std::string file;
        Words words;
        Words displays;
    } cases[] = {
        {file, {"springfield", "il"}, {kSpringfieldShown, "Springfield, IL 62702 (Sangamon)"}},
        {file,
         {"springfield"},
         {kSpringfieldShown, "Springfield, IL 62702 (Sangamon)",
          "Springfield, MA 01101 (Hampden)"}},
        {file, {}, {}},
        // Either line end, empty lines, no final line end.
        {"\n\r\n" + kSpringfield + "\n\n" + kLouisville,
         {","},
         {kSpringfieldShown, kLouisvilleShown}},
        // Skipped lines (too few fields, too long, nothing to show) do not stop the search.
        {"62701,Springfield,IL\n62702,Springfield,IL,,,1," + std::string(300, '2') +
             "\n62703,,,,,,\n" + kSpringfield + "\n",
         {","},
         {kSpringfieldShown}},
        // A physical line over 1023 bytes is one skipped line, never read in pieces.
        {std::string(1023, 'x') + kLouisville + "\n" + kSpringfield + "\n",
         {","},
         {kSpringfieldShown}},
        {kLouisville + "\r" + std::string(1100, 'x') + kSpringfield + "\n", {","}, {}},
        {longCr + "\n", {","}, {kLouisvilleShown}},
        {longCr + "x\n", {","}, {}},
        // A NUL ends only its own line.
        {kLouisville + "\0\r\n\0"s + kSpringfield + "\n" + kSpringfield,
         {","},
         {kLouisvilleShown, kSpringfieldShown}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Displays(c.file, c.words), c.displays) << testing::PrintToString(c.file);
}

TEST(ZipTable, ATableAsLargeAsTheNationalOne) {
    std::string file;
    for (int i = 0; i < 40000; ++i)
        file += (i % 1000 == 7 ? kLouisville : kSpringfield) + "\r\n";
    EXPECT_EQ(Displays(file, ZipSearchWords("louisville, ky")).size(), 40u);
}

} // namespace
