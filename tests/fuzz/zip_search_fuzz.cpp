// The zip code search on arbitrary input: the first line is the search text,
// the rest the table. Words and matches must keep the search's own rules.
#include "pages/forecast/zip_search.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kSeparators = "\t ~`!@#$%^&*()_-+={}[]|\\:;\"'<,>.?/";

void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

bool Within(std::string_view part, std::string_view whole) {
    return part.empty() || whole.find(part) != std::string_view::npos;
}

void CheckMatch(const ZipMatch& match, std::string_view source) {
    Require(match.Display.size() <= 2 * kZipLineMax + 8);
    Require(match.Latitude.size() <= kZipLineMax && match.Longitude.size() <= kZipLineMax);
    Require(Within(match.Latitude, source) && Within(match.Longitude, source));
    Require(match.Display.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> bytes(data, data + size);
    std::string_view input(bytes.data(), bytes.size());
    size_t lineEnd = input.find('\n');
    std::string_view search = input.substr(0, lineEnd);
    std::string_view table =
        lineEnd == std::string_view::npos ? std::string_view() : input.substr(lineEnd + 1);

    std::vector<std::string> words = ZipSearchWords(search);
    Require(words.size() <= kZipSearchMaxWords);
    for (const std::string& word : words) {
        Require(!word.empty() && word.size() <= kZipSearchTextMax);
        Require(word.find_first_of(kSeparators) == std::string::npos);
        Require(word.find('\0') == std::string::npos);
        Require(LowerCp1252(word) == word);
    }
    if (search.substr(0, search.find('\0')).size() <= 2)
        Require(words.empty());

    std::vector<ZipMatch> matches = SearchZipCodes(table, words);
    if (words.empty())
        Require(matches.empty());
    for (const ZipMatch& match : matches)
        CheckMatch(match, table);

    // The table's own words, and the whole input as one line.
    std::vector<std::string> tableWords = ZipSearchWords(table.substr(0, 64));
    for (const ZipMatch& match : SearchZipCodes(table, tableWords))
        CheckMatch(match, table);
    ZipMatch match;
    if (MatchZipLine(input, words, &match))
        CheckMatch(match, input);
    if (MatchZipLine(table, {","}, &match))
        CheckMatch(match, table);
    return 0;
}
