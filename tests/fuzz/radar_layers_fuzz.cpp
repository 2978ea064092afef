// The radar layers, satellite keys and alert-map area on arbitrary catalogs,
// hand-edited flags and site identifiers: the first four bytes are the
// flags, the next four the site, the rest the catalog.
#include "pages/imagery/image_keys.h"
#include "pages/imagery/radar_layers.h"
#include "services/feed_catalog.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8)
        return 0;
    uint32_t flags;
    std::memcpy(&flags, data, sizeof flags);
    std::string_view site(reinterpret_cast<const char*>(data) + 4, 4);
    std::string_view catalog(reinterpret_cast<const char*>(data) + 8, size - 8);
    bool radar = false;
    for (const RadarLayer& layer : RadarLayers(catalog, flags, site, "C:\\cache")) {
        if (!IsRadarSiteCode(site) || layer.Url.size() > kFeedNameMax ||
            layer.CachePath.size() > kFeedNameMax || layer.CachePath.rfind("C:\\cache\\", 0) != 0 ||
            !RadarLayerWanted(layer.Key, flags, &radar) || radar != layer.IsRadar)
            __builtin_trap();
    }
    for (const std::string& key : SatelliteKeys(kSatelliteChoices, flags))
        if (key.size() < 5 || key.back() != '=')
            __builtin_trap();
    if (AlertMapKeys(flags).size() > 6)
        __builtin_trap();
    PictureRect area = AlertMapArea(flags);
    if (area.X < 0 || area.Y < 0 || area.X + area.Width > kAlertMapWidth ||
        area.Y + area.Height > kAlertMapHeight)
        __builtin_trap();
    return 0;
}
