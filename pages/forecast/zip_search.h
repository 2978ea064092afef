// The zip code search of the Add Point dialog over the table zipcodes.dat: one
// record per line, comma-separated fields taken as they stand (no quotes, no
// trimming): 1 zip code, 2 place, 3 state, 4 unused, 5 extra name (county),
// 6 latitude, 7 longitude (everything after the sixth comma).
//
// Texts are zero-terminated to the dialog: a NUL byte ends the search text and
// a line. Letter case is folded in code page 1252, so "É" finds "é".
#ifndef CUMULON_ZIP_SEARCH_H
#define CUMULON_ZIP_SEARCH_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

constexpr char kZipTableFileName[] = "zipcodes.dat";
constexpr size_t kZipSearchMaxWords = 5;
constexpr size_t kZipLineMax = 256;
// The search field holds at most this many characters.
constexpr size_t kZipSearchTextMax = 256;
// A physical line of the table longer than this does not fit the reader's
// 1024-byte buffer; it is skipped whole, never read as several lines.
constexpr size_t kZipReadLineMax = 1023;

// The search words: lower-cased, split at the 34 separators, at most five.
// Texts of 2 characters or fewer give no words (the search does nothing).
std::vector<std::string> ZipSearchWords(std::string_view searchText);
struct ZipMatch {
    std::string Display;   // "Springfield, IL 62701 (Sangamon)"
    std::string Latitude;  // field 6, may be empty
    std::string Longitude; // field 7, may be empty
};
// One line of zipcodes.dat (already cut at its first CR or LF): true and the
// match when every word occurs in the lower-cased line and field 2 or 3 is not
// empty. Lines with fewer than seven fields or longer than 256 characters are
// skipped (false).
bool MatchZipLine(std::string_view line, const std::vector<std::string>& words, ZipMatch* match);
// Every match of a whole file's text, in file order (the dialog inserts each at
// the top of its list, so they end up in reverse order there).
std::vector<ZipMatch> SearchZipCodes(std::string_view fileText,
                                     const std::vector<std::string>& words);

// Lower case in code page 1252 (ASCII letters, the accented capitals, Š Œ Ž Ÿ).
std::string LowerCp1252(std::string_view text);

#endif
