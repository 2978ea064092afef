#include "pages/forecast/point_feed.h"

#include "app/data_files.h"
#include "services/feed_catalog.h"

#include <windows.h>

int MakePointFeedNames(const char* section, const std::string& latitude, const std::string& longitude,
                       std::string* url, std::string* cachePath) {
    url->clear();
    cachePath->clear();
    std::string catalog;
    if (!LoadCatalogFile(kCatalogFileName, &catalog))
        return -1;
    CatalogEntry entry;
    char cacheFolder[MAX_PATH];
    if (FindSingleFeed(catalog, section, &entry) && GetUserDataPath(cacheFolder, sizeof cacheFolder, "cache"))
        BuildPointFeedNames(entry, latitude, longitude, cacheFolder, url, cachePath);
    return 0;
}
