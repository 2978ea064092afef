#include "pages/imagery/image_keys.h"

#include <gtest/gtest.h>

namespace {

TEST(AlertMapArea, TheUnitedStatesFillTheAreaTheOthersSitCentred) {
    const PictureRect full{0, 0, 800, 500}, centred{223, 113, 354, 274};
    struct Case {
        uint32_t flags;
        const char* keys;
        PictureRect area;
    } cases[] = {
        {0x01, "us= ", full},        {0x02, "ak= ", centred}, {0x04, "hi= ", centred},
        {0x08, "gu= ", centred},     {0x10, "pr= ", centred}, {0x20, "as= ", centred},
        {0x00, "", centred},         // nothing chosen: no map
        {0x0C, "hi= gu= ", centred}, // a hand-edited value: both, in area order
        {0x21, "us= as= ", full},    // with the United States: the whole area
        {0xC8, "gu= ", centred},     // alignment bits ignored
    };
    for (const Case& c : cases) {
        std::string keys;
        for (const std::string& key : AlertMapKeys(c.flags))
            keys += key + " ";
        EXPECT_EQ(keys, c.keys) << std::hex << c.flags;
        EXPECT_EQ(AlertMapArea(c.flags), c.area) << std::hex << c.flags;
    }
}

} // namespace

// Satellite 720 x 480 (3:2), wide view 1120 x 480, alert map 354 x 274 at (223, 113).
TEST(FitPicture, WithinFivePercentStretchedOtherwiseCentredWithItsProportions) {
    const PictureRect sat{0, 0, 720, 480}, wide{0, 0, 1120, 480}, map{223, 113, 354, 274};
    struct Case {
        const char* what;
        PictureRect area;
        int width, height;
        PictureRect drawn;
    } cases[] = {
        {"same proportions, smaller", sat, 360, 240, sat},
        {"same proportions, larger", sat, 1440, 960, sat},
        {"exactly 5% wider", sat, 630, 400, sat},
        {"exactly 5% narrower", sat, 570, 400, sat},
        {"just over 5% wider", sat, 631, 400, {0, 12, 720, 456}},
        {"just over 5% narrower", sat, 569, 400, {18, 0, 683, 480}},
        {"square sector", sat, 600, 600, {120, 0, 480, 480}},
        {"square 1200", sat, 1200, 1200, {120, 0, 480, 480}},
        {"CONUS 5:3", sat, 1250, 750, {0, 24, 720, 432}},
        {"tall picture", sat, 100, 400, {300, 0, 120, 480}},
        {"square in the wide view", wide, 1200, 1200, {320, 0, 480, 480}},
        {"5:3 in the wide view", wide, 1250, 750, {160, 0, 800, 480}},
        {"a picture of the map's size", map, 354, 274, map},
        {"square map, offset area", map, 500, 500, {223 + 40, 113, 274, 274}},
        {"wide map, offset area", map, 800, 200, {223, 113 + 92, 354, 89}},
        {"a line of pixels keeps one row", sat, 4096, 1, {0, 239, 720, 1}},
        {"zero width", sat, 0, 480, {0, 0, 0, 0}},
        {"zero height", map, 354, 0, {223, 113, 0, 0}},
        {"negative size", sat, -720, 480, {0, 0, 0, 0}},
        {"zero area", {10, 20, 0, 480}, 720, 480, {10, 20, 0, 0}},
    };
    for (const Case& c : cases) {
        const PictureRect got = FitPicture(c.area, c.width, c.height);
        EXPECT_EQ(got, c.drawn) << c.what << ": " << got.X << "," << got.Y << " " << got.Width
                                << " x " << got.Height;
    }
}
