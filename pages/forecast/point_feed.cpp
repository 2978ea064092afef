#include "pages/forecast/point_feed.h"

#include "services/feed_catalog.h"
#include "services/file_io.h"

#include <windows.h>

int MakePointFeedNames(const char* section, const std::string& latitude,
                       const std::string& longitude, std::string* url, std::string* cachePath) {
    url->clear();
    cachePath->clear();
    std::string catalog;
    if (!LoadCatalogFile(kCatalogFileName, &catalog))
        return -1;
    CatalogEntry entry;
    char cacheFolder[MAX_PATH];
    if (FindSingleFeed(catalog, section, &entry) &&
        GetUserDataPath(cacheFolder, sizeof cacheFolder, "cache"))
        BuildPointFeedNames(entry, latitude, longitude, cacheFolder, url, cachePath);
    return 0;
}

int PointFeedTarget(const char* section, const PageRow& row, std::vector<FeedTarget>* targets) {
    auto column = [&](size_t c) {
        return c < row.Columns.size() ? row.Columns[c].substr(0, kCoordinateReadMax)
                                      : std::string();
    };
    FeedTarget target;
    if (MakePointFeedNames(section, column(1), column(2), &target.Url, &target.CachePath) != 0)
        return -1;
    targets->push_back(std::move(target));
    return 0;
}
