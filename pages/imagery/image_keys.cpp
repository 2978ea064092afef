#include "pages/imagery/image_keys.h"

#include <algorithm>

namespace {

constexpr const char* kColourNames[8] = {"avn", "ir2", "bd", "ir4", "jsl", "rgb", "ft", "rb"};

constexpr BitName kSatelliteRegions[] = {
    {0x1, "watl"},   {0x2, "catl"},   {0x4, "carb"},     {0x8, "gmex"},    {0x10, "eaus"},
    {0x20, "ceus"},  {0x40, "nwatl"}, {0x80, "natl"},    {0x100, "eepac"}, {0x200, "wepac"},
    {0x400, "cpac"}, {0x800, "hi"},   {0x1000, "nepac"}, {0x2000, "weus"}};
constexpr BitName kWideRegions[] = {{0x1, "tatl"}, {0x2, "tpac"}};

constexpr BitName kAlertMapKeys[] = {{0x1, "us="}, {0x2, "ak="},  {0x4, "hi="},
                                     {0x8, "gu="}, {0x10, "pr="}, {0x20, "as="}};

} // namespace

const SatelliteChoices kSatelliteChoices = {kSatelliteRegions, 14,     0x4000, 0x8000,
                                            0x10000,           0x20000};
const SatelliteChoices kSatelliteWideChoices = {kWideRegions, 2, 0x4, 0x8, 0x10, 0x20};

std::vector<std::string> SatelliteKeys(const SatelliteChoices& choices, uint32_t flags) {
    std::vector<std::string> keys;
    for (int i = 0; i < choices.RegionCount; ++i) {
        if (!(flags & choices.Regions[i].Bit))
            continue;
        const std::string region = std::string(choices.Regions[i].Name) + ".";
        if (flags & choices.Visible)
            keys.push_back(region + "vis=");
        if (flags & choices.WaterVapor)
            keys.push_back(region + "wv=");
        if (flags & choices.Infrared)
            for (uint32_t c = 0; c < 8; ++c)
                if (flags & (choices.FirstColour << c))
                    keys.push_back(region + kColourNames[c] + "=");
    }
    return keys;
}

std::vector<std::string> AlertMapKeys(uint32_t flags) {
    std::vector<std::string> keys;
    for (const BitName& area : kAlertMapKeys)
        if (flags & area.Bit)
            keys.push_back(area.Name);
    return keys;
}

PictureRect AlertMapArea(uint32_t flags) {
    if (flags & kAlertMapUnitedStates)
        return {0, 0, kAlertMapWidth, kAlertMapHeight};
    constexpr int kWidth = 354, kHeight = 274;
    return {(kAlertMapWidth - kWidth) / 2, (kAlertMapHeight - kHeight) / 2, kWidth, kHeight};
}

PictureRect FitPicture(const PictureRect& area, int width, int height) {
    if (width <= 0 || height <= 0 || area.Width <= 0 || area.Height <= 0)
        return {area.X, area.Y, 0, 0};
    // The proportions compared crosswise, in 64 bits: width / height against
    // the area's is wide / tall, so the picture is the wider when wide > tall,
    // and within 5% of the area's proportions when |wide - tall| <= tall / 20.
    const int64_t wide = int64_t(width) * area.Height, tall = int64_t(height) * area.Width;
    if ((wide > tall ? wide - tall : tall - wide) * 20 <= tall)
        return area;
    PictureRect fit = area;
    if (wide > tall)
        fit.Height =
            std::max(1, int((int64_t(area.Width) * height * 2 + width) / (int64_t(width) * 2)));
    else
        fit.Width =
            std::max(1, int((int64_t(area.Height) * width * 2 + height) / (int64_t(height) * 2)));
    fit.X += (area.Width - fit.Width) / 2;
    fit.Y += (area.Height - fit.Height) / 2;
    return fit;
}
