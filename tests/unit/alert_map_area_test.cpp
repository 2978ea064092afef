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
