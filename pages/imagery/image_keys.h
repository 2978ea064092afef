// The catalog keys a single-picture view looks for with its flags (the
// satellite page, the satellite wide view, the alert map), and where the
// alert map draws its picture. Portable: no Windows header.
#ifndef CUMULON_IMAGE_KEYS_H
#define CUMULON_IMAGE_KEYS_H

#include <cstdint>
#include <string>
#include <vector>

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
    uint32_t Visible, Infrared, WaterVapor;
    uint32_t FirstColour;
};

extern const SatelliteChoices kSatelliteChoices;     // "SatelliteFlags"
extern const SatelliteChoices kSatelliteWideChoices; // "SatelliteWideFlags"

// For every chosen region: region + ".vis=" under Visible, + ".wv=" under
// Water Vapor, and under Infrared region + "." + each chosen colour + "=".
// The buttons choose one of each group, so this is one key ("ceus.avn=");
// a hand-edited value is taken as it stands (nothing chosen: no key).
std::vector<std::string> SatelliteKeys(const SatelliteChoices& choices, uint32_t flags);

// "AlertMapFlags": the six areas, United States first.
constexpr uint32_t kAlertMapAreas = 0x3F;
constexpr uint32_t kAlertMapUnitedStates = 0x1;

// The key of every chosen area in the order "us=", "ak=", "hi=", "gu=",
// "pr=", "as=".
std::vector<std::string> AlertMapKeys(uint32_t flags);

struct PictureRect {
    int X, Y, Width, Height;
    bool operator==(const PictureRect&) const = default;
};

// Where a picture of `width` x `height` pixels is drawn in `area`. One whose
// proportions (width / height) are within 5% of the area's, either way, is
// stretched to the whole area;
// any other keeps its proportions, as large as the area allows, centred (the
// rest of the area stays black). A picture or area without pixels: an empty
// rectangle at the area's place (nothing is drawn).
PictureRect FitPicture(const PictureRect& area, int width, int height);

// The 800 x 500 alert map area: with the United States chosen the map fills
// it; the smaller maps of the other areas are drawn at 354 x 274, centred,
// black around them.
constexpr int kAlertMapWidth = 800, kAlertMapHeight = 500;
PictureRect AlertMapArea(uint32_t flags);

#endif
