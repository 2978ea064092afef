#include "services/feed_catalog.h"

#include "services/text_scan.h"

#include <cstdio>

namespace {

constexpr char kValueSeparator = '\xBB';

bool Fits(const std::string& name) {
    return name.size() <= kFeedNameMax;
}

} // namespace

std::string JoinPath(std::string_view folder, std::string_view file) {
    std::string path(folder);
    if (!path.empty() && path.back() != '\\' && path.back() != '/')
        path += '\\';
    path += file;
    return path;
}

std::vector<CatalogEntry> ReadCatalogSection(std::string_view catalog, std::string_view section,
                                             const std::vector<std::string_view>& keys) {
    std::vector<CatalogEntry> entries;
    std::string_view rest = catalog;
    std::string_view line;
    bool found = false;
    while (!found && NextLine(&rest, &line))
        found = CutAtLineEnd(line) == section;
    if (!found)
        return entries;
    while (NextLine(&rest, &line) && !IsEmptyLine(line)) {
        std::string_view text = CutAtLineEnd(line);
        if (text.size() > kCatalogLineMax)
            continue; // a line the catalog's own limit cannot hold is not an entry
        for (std::string_view key : keys) {
            if (key.empty() || text.substr(0, key.size()) != key)
                continue;
            std::string_view value = text.substr(text.find('=') + 1);
            size_t separator = value.find(kValueSeparator);
            if (separator == std::string_view::npos)
                break;
            entries.push_back({std::string(text.substr(0, text.find('=') + 1)),
                               std::string(value.substr(0, separator)),
                               std::string(value.substr(separator + 1))});
            break;
        }
    }
    return entries;
}

bool FindSingleFeed(std::string_view catalog, std::string_view section, CatalogEntry* entry) {
    std::vector<CatalogEntry> entries = ReadCatalogSection(catalog, section, {"url="});
    if (entries.empty())
        return false;
    *entry = entries.back(); // the last "url=" wins
    return true;
}

bool FillPlaceholder(std::string* text, std::string_view run, std::string_view code) {
    if (run.empty())
        return false;
    size_t at = text->find(run);
    if (at == std::string::npos)
        return false;
    size_t n = code.size() < run.size() ? code.size() : run.size();
    text->replace(at, n, code.substr(0, n));
    return true;
}

bool BuildCodeFeedNames(const CatalogEntry& entry, std::string_view urlRun,
                        std::string_view urlCode, std::string_view fileRun,
                        std::string_view fileCode, std::string_view cacheFolder, std::string* url,
                        std::string* cachePath) {
    std::string builtUrl = entry.UrlTemplate;
    std::string file = entry.FileTemplate;
    // The file name is filled before it is joined to the folder, so a "#" in
    // the folder's own path is never taken for the placeholder.
    if (!FillPlaceholder(&builtUrl, urlRun, urlCode) || !FillPlaceholder(&file, fileRun, fileCode))
        return false;
    std::string path = JoinPath(cacheFolder, file);
    if (!Fits(builtUrl) || !Fits(path))
        return false;
    *url = std::move(builtUrl);
    *cachePath = std::move(path);
    return true;
}

std::string CoordinateCode(std::string_view coordinate, char plus, char minus) {
    std::string code;
    if (!coordinate.empty() && coordinate[0] == '+')
        code = std::string(1, plus) + std::string(coordinate.substr(1));
    else if (!coordinate.empty() && coordinate[0] == '-')
        code = std::string(1, minus) + std::string(coordinate.substr(1));
    else
        code = std::string(1, plus) + std::string(coordinate);
    size_t point = code.find('.');
    if (point != std::string::npos)
        code[point] = 'P';
    return code;
}

bool BuildPointFeedNames(const CatalogEntry& entry, std::string_view latitude,
                         std::string_view longitude, std::string_view cacheFolder, std::string* url,
                         std::string* cachePath) {
    std::string_view address = entry.UrlTemplate;
    size_t first = address.find('#');
    size_t second = first == std::string_view::npos ? first : address.find('#', first + 1);
    size_t fileSeparator = entry.FileTemplate.find('#');
    if (second == std::string_view::npos || fileSeparator == std::string::npos)
        return false;
    std::string builtUrl = std::string(address.substr(0, first)) + std::string(latitude) +
                           std::string(address.substr(first + 1, second - first - 1)) +
                           std::string(longitude) + std::string(address.substr(second + 1));
    std::string file = entry.FileTemplate.substr(0, fileSeparator) +
                       CoordinateCode(latitude, 'N', 'S') + CoordinateCode(longitude, 'E', 'W') +
                       entry.FileTemplate.substr(fileSeparator + 1);
    std::string path = JoinPath(cacheFolder, file);
    if (!Fits(builtUrl) || !Fits(path))
        return false;
    *url = std::move(builtUrl);
    *cachePath = std::move(path);
    return true;
}

bool LoadCatalogFile(const char* path, std::string* text) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    text->clear();
    char block[4096];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0)
        text->append(block, n);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}
