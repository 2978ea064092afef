#include "pages/imagery/image_keys.h"

#include "pages/imagery/radar_layers.h"

namespace {

constexpr const char* kColourNames[8] = {"avn", "ir2", "bd", "ir4", "jsl", "rgb", "ft", "rb"};
constexpr uint32_t kColourCount = 8;

constexpr BitName kSatelliteRegions[] = {
    {0x1, "watl"},   {0x2, "catl"},   {0x4, "carb"},     {0x8, "gmex"},    {0x10, "eaus"},
    {0x20, "ceus"},  {0x40, "nwatl"}, {0x80, "natl"},    {0x100, "eepac"}, {0x200, "wepac"},
    {0x400, "cpac"}, {0x800, "hi"},   {0x1000, "nepac"}, {0x2000, "weus"}};
constexpr BitName kWideRegions[] = {{0x1, "tatl"}, {0x2, "tpac"}};

constexpr BitName kAlertMapKeys[] = {{0x1, "us="}, {0x2, "ak="},  {0x4, "hi="},
                                     {0x8, "gu="}, {0x10, "pr="}, {0x20, "as="}};

uint32_t RegionBits(const SatelliteChoices& choices) {
    uint32_t bits = 0;
    for (int i = 0; i < choices.RegionCount; ++i)
        bits |= choices.Regions[i].Bit;
    return bits;
}

uint32_t ColourBits(const SatelliteChoices& choices) {
    return ((1u << kColourCount) - 1) * choices.FirstColour;
}

} // namespace

const SatelliteChoices kSatelliteChoices = {kSatelliteRegions, 14,      0x20,   0x4000, 0x8000,
                                            0x10000,           0x20000, 0x20000};
const SatelliteChoices kSatelliteWideChoices = {kWideRegions, 2, 0x1, 0x4, 0x8, 0x10, 0x20, 0x20};

uint32_t NormalizeSatelliteFlags(const SatelliteChoices& choices, uint32_t flags) {
    flags = KeepOneBit(flags, RegionBits(choices), choices.DefaultRegion);
    flags = KeepOneBit(flags, choices.Visible | choices.Infrared | choices.WaterVapor,
                       choices.Infrared);
    return KeepOneBit(flags, ColourBits(choices), choices.DefaultColour);
}

std::string SatelliteKey(const SatelliteChoices& choices, uint32_t flags) {
    flags = NormalizeSatelliteFlags(choices, flags);
    std::string key;
    for (int i = 0; i < choices.RegionCount; ++i)
        if (flags & choices.Regions[i].Bit)
            key = choices.Regions[i].Name;
    key += '.';
    if (flags & choices.Visible) {
        key += "vis";
    } else if (flags & choices.WaterVapor) {
        key += "wv";
    } else {
        for (uint32_t i = 0; i < kColourCount; ++i)
            if (flags & (choices.FirstColour << i))
                key += kColourNames[i];
    }
    return key + "=";
}

uint32_t NormalizeAlertMapFlags(uint32_t flags) {
    return KeepOneBit(flags, kAlertMapAreas, kAlertMapUnitedStates);
}

std::string AlertMapKey(uint32_t flags) {
    flags = NormalizeAlertMapFlags(flags);
    for (const BitName& area : kAlertMapKeys)
        if (flags & area.Bit)
            return area.Name;
    return {};
}

PictureRect AlertMapArea(uint32_t flags) {
    if (NormalizeAlertMapFlags(flags) & kAlertMapUnitedStates)
        return {0, 0, kAlertMapWidth, kAlertMapHeight};
    constexpr int kWidth = 354, kHeight = 274;
    return {(kAlertMapWidth - kWidth) / 2, (kAlertMapHeight - kHeight) / 2, kWidth, kHeight};
}
