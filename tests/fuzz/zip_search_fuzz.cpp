// The zip code search on arbitrary input: the first line is the search text,
// the rest the table.
#include "pages/forecast/zip_search.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> bytes(data, data + size); // nothing after it may be read
    std::string_view input(bytes.data(), bytes.size());
    size_t lineEnd = input.find('\n');
    std::string_view search = input.substr(0, lineEnd);
    std::string_view table = lineEnd == input.npos ? std::string_view() : input.substr(lineEnd + 1);
    SearchZipCodes(table, ZipSearchWords(search));
    SearchZipCodes(table, ZipSearchWords(table.substr(0, 64))); // words the table holds
    ZipMatch match;
    MatchZipLine(input, ZipSearchWords(search), &match);
    MatchZipLine(table, {","}, &match);
    return 0;
}
