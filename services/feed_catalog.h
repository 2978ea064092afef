// The feed catalog "links.dat": every feed address and cache file name comes
// from it. A section is a "[NAME]" line followed by entry lines up to the first
// empty line; an entry is "key=" + URL template + byte 0xBB + cache file
// template. Code templates carry a run of "#" for the location's code; point
// templates read A#B#C»D#E around a latitude and a longitude.
#ifndef CUMULON_FEED_CATALOG_H
#define CUMULON_FEED_CATALOG_H

#include <string>
#include <string_view>
#include <vector>

constexpr char kCatalogFileName[] = "links.dat";
constexpr size_t kCatalogLineMax = 1023;
// A built address or cache path must fit a 257-byte field of the request.
constexpr size_t kFeedNameMax = 256;

struct CatalogEntry {
    std::string Key; // with its "="
    std::string UrlTemplate;
    std::string FileTemplate;
};

// The entries of `section` whose line begins with one of `keys` (letter case
// counts), in file order. Lines longer than 1023 characters and entries
// without the 0xBB separator are skipped.
std::vector<CatalogEntry> ReadCatalogSection(std::string_view catalog, std::string_view section,
                                             const std::vector<std::string_view>& keys);

// The value of the last "url=" entry of `section`; false when there is none.
bool FindSingleFeed(std::string_view catalog, std::string_view section, CatalogEntry* entry);

// A cache file name in its folder: a backslash between them unless the folder
// ends in one (or in "/").
std::string JoinPath(std::string_view folder, std::string_view file);

// Overwrites the first occurrence of `run` in `text` with `code`, character
// for character: never more characters than the run holds, so the result keeps
// the template's length. False (text unchanged) when the run is absent.
bool FillPlaceholder(std::string* text, std::string_view run, std::string_view code);

// Url and cache path of a code template: `code` fills `urlRun` in the URL and
// `fileRun` in the file name, which is then joined to `cacheFolder`. False
// when a run is missing or a result does not fit its field.
bool BuildCodeFeedNames(const CatalogEntry& entry, std::string_view urlRun, std::string_view urlCode,
                        std::string_view fileRun, std::string_view fileCode, std::string_view cacheFolder,
                        std::string* url, std::string* cachePath);

// Cache file code of a coordinate: a leading "+" becomes `plus` and a leading
// "-" becomes `minus`, an unsigned text gets `plus` in front; the first "."
// becomes "P". Latitudes use N and S, longitudes E and W.
std::string CoordinateCode(std::string_view coordinate, char plus, char minus);

// Url and cache path of a point template A#B#C»D#E: A + latitude + B +
// longitude + C, and the cache folder joined with D + coded latitude + coded
// longitude + E. False when a separator is missing or a result does not fit.
bool BuildPointFeedNames(const CatalogEntry& entry, std::string_view latitude, std::string_view longitude,
                         std::string_view cacheFolder, std::string* url, std::string* cachePath);

// Reads a whole catalog file; false when it cannot be opened.
bool LoadCatalogFile(const char* path, std::string* text);

#endif
