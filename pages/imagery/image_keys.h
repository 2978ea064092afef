// The one catalog key a single-picture view shows for its flags (the
// satellite page, the satellite wide view, the alert map), and where the
// alert map draws its picture. Portable: no Windows header.
#ifndef CUMULON_IMAGE_KEYS_H
#define CUMULON_IMAGE_KEYS_H

#include <cstdint>
#include <string>

struct BitName {
    uint32_t Bit;
    const char* Name;
};

// The radio groups of a satellite view: a region ("ceus"), a type (visible,
// infrared, water vapour) and, under Infrared only, one of eight colour
// tables, whose bits follow each other from FirstColour in the order avn,
// ir2, bd, ir4, jsl, rgb, ft, rb.
struct SatelliteChoices {
    const BitName* Regions;
    int RegionCount;
    uint32_t DefaultRegion;
    uint32_t Visible, Infrared, WaterVapor;
    uint32_t FirstColour;
    uint32_t DefaultColour;
};

extern const SatelliteChoices kSatelliteChoices;     // "SatelliteFlags"
extern const SatelliteChoices kSatelliteWideChoices; // "SatelliteWideFlags"

// Exactly one bit in each group (the first set; none: the default, Infrared
// for the type); the other bits as they are.
uint32_t NormalizeSatelliteFlags(const SatelliteChoices& choices, uint32_t flags);

// "ceus.avn=", "ceus.vis=", "tatl.wv=": region + "." + type or colour + "=".
std::string SatelliteKey(const SatelliteChoices& choices, uint32_t flags);

// "AlertMapFlags": the six areas, United States first.
constexpr uint32_t kAlertMapAreas = 0x3F;
constexpr uint32_t kAlertMapUnitedStates = 0x1;

uint32_t NormalizeAlertMapFlags(uint32_t flags);
// "us=", "ak=", "hi=", "gu=", "pr=" or "as=".
std::string AlertMapKey(uint32_t flags);

struct PictureRect {
    int X, Y, Width, Height;
    bool operator==(const PictureRect&) const = default;
};

// The 800 x 500 alert map area: the United States map fills it; the smaller
// maps of the other areas are drawn at 354 x 274, centred, black around them.
constexpr int kAlertMapWidth = 800, kAlertMapHeight = 500;
PictureRect AlertMapArea(uint32_t flags);

#endif
