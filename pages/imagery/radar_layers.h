// Which layers make up a radar picture: the "[RADAR]" lines of the catalog
// that the page's flags enable, in catalog order, with their addresses and
// cache files for one site. Portable: no Windows header.
#ifndef CUMULON_RADAR_LAYERS_H
#define CUMULON_RADAR_LAYERS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr char kRadarSection[] = "[RADAR]";

// "RadarFlags" bits.
constexpr uint32_t kRadarTopography = 0x1;
constexpr uint32_t kRadarRivers = 0x2;
constexpr uint32_t kRadarHighways = 0x4;
constexpr uint32_t kRadarBoundaries = 0x8;
constexpr uint32_t kRadarCities = 0x10;
constexpr uint32_t kRadarWarnings = 0x20;
constexpr uint32_t kRadarImage = 0x40;
constexpr uint32_t kRadarLegend = 0x80;
constexpr uint32_t kRadarShortRange = 0x100;
constexpr uint32_t kRadarLongRange = 0x200;
constexpr uint32_t kRadarBaseReflectivity = 0x400;
constexpr uint32_t kRadarStormRelativeMotion = 0x800;
constexpr uint32_t kRadarBaseVelocity = 0x1000;
constexpr uint32_t kRadarOneHourPrecipitation = 0x2000;
constexpr uint32_t kRadarCompositeReflectivity = 0x4000;
constexpr uint32_t kRadarStormTotalPrecipitation = 0x8000;
constexpr uint32_t kRadarLongRangeProduct = 0x10000;
constexpr uint32_t kRadarStatusLeft = 0x20000;
constexpr uint32_t kRadarStatusRight = 0x40000;
constexpr uint32_t kRadarStop = 0x80000;

constexpr uint32_t kRadarRanges = kRadarShortRange | kRadarLongRange;
constexpr uint32_t kRadarProducts = 0xFC00; // the six short-range products

// Exactly one range: a saved value with none or both reads as Short Range.
// The long-range product bit, which no control changes, is always set, so a
// hand-edited value can never leave Long Range without its image. Every other
// bit stays as saved: the products a hand-edited value names are all shown.
uint32_t NormalizeRadarFlags(uint32_t flags);

// A site identifier is exactly four letters or digits ("KLOT"); anything else
// (the saved lists can be edited by hand) names no site.
bool IsRadarSiteCode(std::string_view code);

struct RadarLayer {
    std::string Key; // with its "="
    std::string Url;
    std::string CachePath;
    bool IsRadar; // the radar image itself, whose file gives the picture's time
};

// Whether the flags enable the layer of `key` (the key with its "="), and
// whether it is a radar layer. False for a key the page does not know.
bool RadarLayerWanted(std::string_view key, uint32_t flags, bool* isRadar);

// The enabled layers of the site in catalog order: "####" in the address
// takes the whole site, else "###" the site without its first letter; "####"
// in the cache file name takes the whole site, joined to `cacheFolder`; a template without its run is used as
// written. A layer whose address or cache path would not fit the request's
// fields is skipped. No site code: no layers.
std::vector<RadarLayer> RadarLayers(std::string_view catalog, uint32_t flags, std::string_view site,
                                    std::string_view cacheFolder);

#endif
