#include "pages/imagery/image_keys.h"

#include <gtest/gtest.h>

namespace {

TEST(SatelliteKeys, RegionTypeAndColourUnderInfraredOnly) {
    struct Case {
        const SatelliteChoices* choices;
        uint32_t flags;
        const char* key;
    } cases[] = {
        {&kSatelliteChoices, 0x28020, "ceus.avn="}, // the default
        {&kSatelliteChoices, 0x24020, "ceus.vis="}, // the colour stays chosen, unused
        {&kSatelliteChoices, 0x1030020, "ceus.wv="},
        {&kSatelliteChoices, 0x1008800, "hi.rb="},
        {&kSatelliteChoices, 0x08A000, "weus.bd="},
        {&kSatelliteChoices, 0x0, "ceus.avn="},      // nothing chosen: the defaults
        {&kSatelliteChoices, 0x3C4041, "watl.vis="}, // several chosen: the first of each
        {&kSatelliteWideChoices, 0x29, "tatl.avn="},
        {&kSatelliteWideChoices, 0x812, "tpac.wv="},
        {&kSatelliteWideChoices, 0x100A, "tpac.rb="},
        {&kSatelliteWideChoices, 0x6005, "tatl.vis="}, // alignment bits ignored
    };
    for (const Case& c : cases)
        EXPECT_EQ(SatelliteKey(*c.choices, c.flags), c.key) << std::hex << c.flags;

    const char* regions[] = {"watl", "catl",  "carb",  "gmex", "eaus", "ceus",  "nwatl",
                             "natl", "eepac", "wepac", "cpac", "hi",   "nepac", "weus"};
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(SatelliteKey(kSatelliteChoices, (1u << i) | 0x10000),
                  std::string(regions[i]) + ".wv=");
    const char* colours[] = {"avn", "ir2", "bd", "ir4", "jsl", "rgb", "ft", "rb"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(SatelliteKey(kSatelliteChoices, 0x8001 | (0x20000u << i)),
                  std::string("watl.") + colours[i] + "=");
        EXPECT_EQ(SatelliteKey(kSatelliteWideChoices, 0xA | (0x20u << i)),
                  std::string("tpac.") + colours[i] + "=");
    }
}

TEST(SatelliteKeys, NormalizingKeepsOneBitPerGroupAndTheRest) {
    EXPECT_EQ(NormalizeSatelliteFlags(kSatelliteChoices, 0x28020), 0x28020u);
    EXPECT_EQ(NormalizeSatelliteFlags(kSatelliteChoices, 0x6000000), 0x6028020u);
    EXPECT_EQ(NormalizeSatelliteFlags(kSatelliteWideChoices, 0x1FFF), 0x25u);
}

} // namespace
