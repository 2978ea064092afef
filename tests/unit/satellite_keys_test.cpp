#include "pages/imagery/image_keys.h"

#include <gtest/gtest.h>

namespace {

std::string Joined(const std::vector<std::string>& keys) {
    std::string text;
    for (const std::string& key : keys)
        text += key + " ";
    return text;
}

TEST(SatelliteKeys, EveryChosenRegionWithItsTypeAndUnderInfraredItsColours) {
    struct Case {
        const SatelliteChoices* choices;
        uint32_t flags;
        const char* keys;
    } cases[] = {
        {&kSatelliteChoices, 0x28020, "ceus.avn= "}, // the default
        {&kSatelliteChoices, 0x24020, "ceus.vis= "}, // the colour stays chosen, unused
        {&kSatelliteChoices, 0x1030020, "ceus.wv= "},
        {&kSatelliteChoices, 0x1008800, "hi.rb= "},
        {&kSatelliteChoices, 0x08A000, "weus.bd= "},
        {&kSatelliteChoices, 0x4010, "eaus.vis= "},              // no colour saved: none needed
        {&kSatelliteChoices, 0x0, ""},                           // nothing chosen: no key
        {&kSatelliteChoices, 0x20020, ""},                       // no type chosen: no key
        {&kSatelliteChoices, 0x3C4041, "watl.vis= nwatl.vis= "}, // a hand-edited value
        {&kSatelliteChoices, 0xB8020, "ceus.wv= ceus.avn= ceus.bd= "},
        {&kSatelliteWideChoices, 0x29, "tatl.avn= "},
        {&kSatelliteWideChoices, 0x812, "tpac.wv= "},
        {&kSatelliteWideChoices, 0x100A, "tpac.rb= "},
        {&kSatelliteWideChoices, 0x6005, "tatl.vis= "}, // alignment bits ignored
        {&kSatelliteWideChoices, 0x0027, "tatl.vis= tpac.vis= "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Joined(SatelliteKeys(*c.choices, c.flags)), c.keys) << std::hex << c.flags;
    const char* regions[] = {"watl", "catl",  "carb",  "gmex", "eaus", "ceus",  "nwatl",
                             "natl", "eepac", "wepac", "cpac", "hi",   "nepac", "weus"};
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(Joined(SatelliteKeys(kSatelliteChoices, (1u << i) | 0x10000)),
                  std::string(regions[i]) + ".wv= ");
    const char* colours[] = {"avn", "ir2", "bd", "ir4", "jsl", "rgb", "ft", "rb"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Joined(SatelliteKeys(kSatelliteChoices, 0x8001 | (0x20000u << i))),
                  std::string("watl.") + colours[i] + "= ");
        EXPECT_EQ(Joined(SatelliteKeys(kSatelliteWideChoices, 0xA | (0x20u << i))),
                  std::string("tpac.") + colours[i] + "= ");
    }
}

} // namespace
