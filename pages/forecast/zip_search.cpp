#include "pages/forecast/zip_search.h"

#include <utility>

namespace {

constexpr size_t kNotFound = std::string_view::npos;
constexpr size_t kZipFieldCount = 7;
constexpr size_t kZipCodeLength = 5;

// The 34 characters that separate search words: tab, space and 32
// punctuation characters ("-" and "." among them, unlike in coordinates).
constexpr std::string_view kSearchSeparators = "\t ~`!@#$%^&*()_-+={}[]|\\:;\"'<,>.?/";

// Where the dialog's zero-terminated texts end: a search text at its first
// NUL, a line of the table at its first CR, LF or NUL.
constexpr std::string_view kNul("\0", 1);
constexpr std::string_view kLineStops("\r\n\0", 3);

std::string_view UpTo(std::string_view text, std::string_view stops) {
    size_t end = text.find_first_of(stops);
    return end == kNotFound ? text : text.substr(0, end);
}

char LowerChar(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<char>(u + 0x20);
    switch (u) {
    case 0x8A: // Š
    case 0x8C: // Œ
    case 0x8E: // Ž
        return static_cast<char>(u + 0x10);
    case 0x9F: // Ÿ
        return static_cast<char>(0xFF);
    default:
        return c;
    }
}

} // namespace

std::string LowerCp1252(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = LowerChar(c);
    return lower;
}

std::vector<std::string> ZipSearchWords(std::string_view searchText) {
    std::vector<std::string> words;
    std::string_view text = UpTo(searchText, kNul);
    if (text.size() > kZipSearchTextMax)
        text = text.substr(0, kZipSearchTextMax);
    if (text.size() <= 2)
        return words;
    std::string lower = LowerCp1252(text);
    size_t pos = lower.find_first_not_of(kSearchSeparators);
    while (pos != kNotFound && words.size() < kZipSearchMaxWords) {
        size_t end = lower.find_first_of(kSearchSeparators, pos);
        if (end == kNotFound)
            end = lower.size();
        words.push_back(lower.substr(pos, end - pos));
        pos = lower.find_first_not_of(kSearchSeparators, end);
    }
    return words;
}

bool MatchZipLine(std::string_view line, const std::vector<std::string>& words, ZipMatch* match) {
    line = UpTo(line, kLineStops);
    if (words.empty() || line.size() > kZipLineMax)
        return false;

    std::string_view fields[kZipFieldCount];
    std::string_view rest = line;
    for (size_t i = 0; i + 1 < kZipFieldCount; ++i) {
        size_t comma = rest.find(',');
        if (comma == kNotFound)
            return false; // fewer than seven fields
        fields[i] = rest.substr(0, comma);
        rest.remove_prefix(comma + 1);
    }
    fields[kZipFieldCount - 1] = rest; // the longitude runs to the line end, commas and all

    std::string lower = LowerCp1252(line);
    for (const std::string& word : words) {
        if (lower.find(word) == kNotFound)
            return false;
    }

    std::string_view place = fields[1];
    std::string_view state = fields[2];
    std::string_view extra = fields[4];
    if (place.empty() && state.empty())
        return false; // nothing to show
    if (match) {
        std::string& display = match->Display;
        display.clear();
        display.append(place);
        if (!place.empty() && !state.empty())
            display.append(", ");
        display.append(state);
        display.append(" ");
        display.append(line.substr(0, kZipCodeLength));
        if (!extra.empty()) {
            display.append(" (");
            display.append(extra);
            display.append(")");
        }
        match->Latitude.assign(fields[5]);
        match->Longitude.assign(fields[6]);
    }
    return true;
}

std::vector<ZipMatch> SearchZipCodes(std::string_view fileText,
                                     const std::vector<std::string>& words) {
    std::vector<ZipMatch> matches;
    if (words.empty())
        return matches;
    size_t pos = 0;
    while (pos < fileText.size()) {
        size_t end = fileText.find('\n', pos);
        if (end == kNotFound)
            end = fileText.size();
        std::string_view physical = fileText.substr(pos, end - pos);
        pos = end + 1;
        if (physical.size() > kZipReadLineMax)
            continue; // one skipped line, not several pieces that could match on their own
        ZipMatch match;
        if (MatchZipLine(physical, words, &match))
            matches.push_back(std::move(match));
    }
    return matches;
}
