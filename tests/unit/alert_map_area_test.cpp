#include "pages/imagery/image_keys.h"

#include <gtest/gtest.h>

namespace {

TEST(AlertMapArea, TheUnitedStatesFillTheAreaTheOthersSitCentred) {
    const PictureRect full{0, 0, 800, 500}, centred{223, 113, 354, 274};
    struct Case {
        uint32_t flags;
        const char* key;
        PictureRect area;
    } cases[] = {
        {0x01, "us=", full},    {0x02, "ak=", centred}, {0x04, "hi=", centred},
        {0x08, "gu=", centred}, {0x10, "pr=", centred}, {0x20, "as=", centred},
        {0x00, "us=", full},    // nothing chosen: the United States
        {0x0C, "hi=", centred}, // two chosen: the first
        {0xC8, "gu=", centred}, // alignment bits ignored
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AlertMapKey(c.flags), c.key) << std::hex << c.flags;
        EXPECT_EQ(AlertMapArea(c.flags), c.area) << std::hex << c.flags;
    }
}

} // namespace
