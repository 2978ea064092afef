// The catalog reader and the address builders on arbitrary catalogs.
#include "services/feed_catalog.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view catalog(reinterpret_cast<const char*>(data), size);
    std::string url, path;
    for (std::string_view section : {"[METAR]", "[POINTFORECAST]", "[RADAR]"}) {
        CatalogEntry entry;
        if (FindSingleFeed(catalog, section, &entry)) {
            BuildCodeFeedNames(entry, "####", "KORD", "####", "KORD", "C:\\cache", &url, &path);
            BuildPointFeedNames(entry, "+38.25", "-85.76", "C:\\cache", &url, &path);
        }
    }
    for (const CatalogEntry& entry :
         ReadCatalogSection(catalog, "[RADAR]", {"sr.topo=", "lr.n0z=", "sr.n0r="}))
        BuildCodeFeedNames(entry, "###", "LOT", "####", "KLOT", "", &url, &path);
    return 0;
}
