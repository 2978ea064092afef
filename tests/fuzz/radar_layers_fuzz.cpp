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
    RadarLayers(catalog, flags, site, "C:\\cache");
    SatelliteKeys(kSatelliteChoices, flags);
    AlertMapKeys(flags);
    return 0;
}
