#include "pages/imagery/radar_layers.h"

#include "services/feed_catalog.h"

namespace {

// A layer key: the range it belongs to, the check box it needs, and for the
// radar image and its legend the product too.
struct RadarKey {
    const char* Key;
    uint32_t Range;
    uint32_t Needs;
    uint32_t Product; // 0: any product
    bool IsRadar;
};

constexpr uint32_t kShort = kRadarShortRange, kLong = kRadarLongRange;

constexpr RadarKey kRadarKeys[] = {
    {"sr.topo=", kShort, kRadarTopography, 0, false},
    {"sr.river=", kShort, kRadarRivers, 0, false},
    {"sr.highway=", kShort, kRadarHighways, 0, false},
    {"sr.county=", kShort, kRadarBoundaries, 0, false},
    {"sr.city=", kShort, kRadarCities, 0, false},
    {"sr.warning=", kShort, kRadarWarnings, 0, false},
    {"sr.n0r=", kShort, kRadarImage, kRadarBaseReflectivity, true},
    {"sr.n0s=", kShort, kRadarImage, kRadarStormRelativeMotion, true},
    {"sr.n0v=", kShort, kRadarImage, kRadarBaseVelocity, true},
    {"sr.n1p=", kShort, kRadarImage, kRadarOneHourPrecipitation, true},
    {"sr.ncr=", kShort, kRadarImage, kRadarCompositeReflectivity, true},
    {"sr.ntp=", kShort, kRadarImage, kRadarStormTotalPrecipitation, true},
    {"sr.n0rlegend=", kShort, kRadarLegend, kRadarBaseReflectivity, false},
    {"sr.n0slegend=", kShort, kRadarLegend, kRadarStormRelativeMotion, false},
    {"sr.n0vlegend=", kShort, kRadarLegend, kRadarBaseVelocity, false},
    {"sr.n1plegend=", kShort, kRadarLegend, kRadarOneHourPrecipitation, false},
    {"sr.ncrlegend=", kShort, kRadarLegend, kRadarCompositeReflectivity, false},
    {"sr.ntplegend=", kShort, kRadarLegend, kRadarStormTotalPrecipitation, false},
    {"lr.topo=", kLong, kRadarTopography, 0, false},
    {"lr.river=", kLong, kRadarRivers, 0, false},
    {"lr.highway=", kLong, kRadarHighways, 0, false},
    {"lr.county=", kLong, kRadarBoundaries, 0, false},
    {"lr.city=", kLong, kRadarCities, 0, false},
    {"lr.warning=", kLong, kRadarWarnings, 0, false},
    {"lr.n0z=", kLong, kRadarImage, kRadarLongRangeProduct, true},
    {"lr.n0zlegend=", kLong, kRadarLegend, kRadarLongRangeProduct, false},
};

bool IsLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

} // namespace

uint32_t NormalizeRadarFlags(uint32_t flags) {
    if ((flags & kRadarRanges) != kRadarLongRange)
        flags = (flags & ~kRadarRanges) | kRadarShortRange;
    return flags | kRadarLongRangeProduct;
}

bool IsRadarSiteCode(std::string_view code) {
    if (code.size() != 4)
        return false;
    for (char c : code)
        if (!IsLetterOrDigit(c))
            return false;
    return true;
}

bool RadarLayerWanted(std::string_view key, uint32_t flags, bool* isRadar) {
    flags = NormalizeRadarFlags(flags);
    for (const RadarKey& entry : kRadarKeys) {
        if (key != entry.Key)
            continue;
        *isRadar = entry.IsRadar;
        return (flags & entry.Range) && (flags & entry.Needs) &&
               (!entry.Product || (flags & entry.Product));
    }
    return false;
}

std::vector<RadarLayer> RadarLayers(std::string_view catalog, uint32_t flags, std::string_view site,
                                    std::string_view cacheFolder) {
    std::vector<RadarLayer> layers;
    if (!IsRadarSiteCode(site))
        return layers;
    std::vector<std::string_view> keys;
    for (const RadarKey& entry : kRadarKeys)
        keys.push_back(entry.Key);
    for (const CatalogEntry& entry : ReadCatalogSection(catalog, kRadarSection, keys)) {
        RadarLayer layer;
        if (!RadarLayerWanted(entry.Key, flags, &layer.IsRadar))
            continue;
        // The file name is filled before it is joined to the folder, so a "#"
        // in the folder's own path is never taken for the placeholder.
        std::string file = entry.FileTemplate;
        layer.Url = entry.UrlTemplate;
        // Today's images are named by the whole site ("KLOT_0.gif"): a run of
        // four "#" in the address takes all four letters; "###" alone keeps
        // taking the site without its first letter.
        if (!FillPlaceholder(&layer.Url, "####", site))
            FillPlaceholder(&layer.Url, "###", site.substr(1));
        FillPlaceholder(&file, "####", site);
        layer.CachePath = JoinPath(cacheFolder, file);
        if (layer.Url.size() > kFeedNameMax || layer.CachePath.size() > kFeedNameMax)
            continue;
        layer.Key = entry.Key;
        layers.push_back(std::move(layer));
    }
    return layers;
}
