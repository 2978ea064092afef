#include "pages/imagery/radar_layers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kSep = "\xBB";

// Every key, in the shipped catalog's order (radar image before the overlays).
const char* const kKeys[] = {
    "sr.topo=",      "sr.n0r=",       "sr.n0s=",       "sr.n0v=",       "sr.n1p=",
    "sr.ncr=",       "sr.ntp=",       "sr.county=",    "sr.river=",     "sr.highway=",
    "sr.city=",      "sr.warning=",   "sr.n0rlegend=", "sr.n0slegend=", "sr.n0vlegend=",
    "sr.n1plegend=", "sr.ncrlegend=", "sr.ntplegend=", "lr.topo=",      "lr.n0z=",
    "lr.county=",    "lr.river=",     "lr.highway=",   "lr.city=",      "lr.warning=",
    "lr.n0zlegend="};

std::string FullCatalog() {
    std::string text = "[RADAR]\r\n";
    for (const char* key : kKeys)
        text += std::string(key) + "http://r/###/" + key + kSep + "radar_####_" + key + "gif\r\n";
    return text + "\r\n";
}

std::string Keys(uint32_t flags, std::string_view catalog = FullCatalog()) {
    std::string keys;
    for (const RadarLayer& layer : RadarLayers(catalog, flags, "KLOT", "C:\\cache"))
        keys += layer.Key + (layer.IsRadar ? "* " : " ");
    return keys;
}

TEST(RadarLayers, ASavedValueIsReadWithOneRangeAndTheLongRangeProduct) {
    struct Case {
        uint32_t saved, read;
    } cases[] = {
        {0x105FF, 0x105FF}, // the default stays as it is
        {0x00000, 0x10100}, // no range: Short Range, and still no short-range product
        {0x003FF, 0x101FF}, // both ranges: Short Range
        {0x002FF, 0x102FF}, // Long Range always has its image and legend
        {0x09800, 0x19900}, // two products stay two
        {0xE8140, 0xF8140}, // alignment and stop bits kept
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeRadarFlags(c.saved), c.read) << std::hex << c.saved;
}

TEST(RadarLayers, FlagsChooseTheLayersInCatalogOrder) {
    struct Case {
        uint32_t flags;
        const char* keys;
    } cases[] = {
        {0x105FF, "sr.topo= sr.n0r=* sr.county= sr.river= sr.highway= sr.city= sr.warning= "
                  "sr.n0rlegend= "},
        {0x106FF, "lr.topo= lr.n0z=* lr.county= lr.river= lr.highway= lr.city= lr.warning= "
                  "lr.n0zlegend= "},
        {0x002C0, "lr.n0z=* lr.n0zlegend= "}, // Long Range without its product bit still has both
        {0x00DC0, "sr.n0r=* sr.n0s=* sr.n0rlegend= sr.n0slegend= "}, // two products saved
        {0x001C0, ""},                        // no product saved: neither radar image nor legend
        {0x081C0, "sr.ntp=* sr.ntplegend= "}, // Long Range off: the product chosen returns
        {0x010BF, "sr.topo= sr.county= sr.river= sr.highway= sr.city= sr.warning= sr.n0vlegend= "},
        {0x0057F, "sr.topo= sr.n0r=* sr.county= sr.river= sr.highway= sr.city= sr.warning= "},
        {0x10500, ""},
        {0x004C0, "sr.n0r=* sr.n0rlegend= "}, // no valid range: Short Range
    };
    for (const Case& c : cases)
        EXPECT_EQ(Keys(c.flags), c.keys) << std::hex << c.flags;
    const char* overlays[] = {"topo=", "river=", "highway=", "county=", "city=", "warning="};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Keys(kRadarShortRange | (1u << i)), std::string("sr.") + overlays[i] + " ");
        EXPECT_EQ(Keys(kRadarLongRange | (1u << i)), std::string("lr.") + overlays[i] + " ");
    }
    const char* products[] = {"n0r", "n0s", "n0v", "n1p", "ncr", "ntp"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(
            Keys(kRadarShortRange | kRadarImage | kRadarLegend | (kRadarBaseReflectivity << i)),
            std::string("sr.") + products[i] + "=* sr." + products[i] + "legend= ");
    // Today's catalog: one picture per product (map and legend drawn in), no
    // overlay or legend lines: the overlay boxes add nothing.
    const std::string today = "[RADAR]\r\nsr.n0r=http://r/K###_0.gif" + kSep +
                              "radar_####_n0r.gif\r\nlr.n0z=http://r/K###_1.gif" + kSep +
                              "radar_####_n0z.gif\r\n";
    for (auto [flags, keys] : {std::pair{0x105FFu, "sr.n0r=* "},
                               {0x106FFu, "lr.n0z=* "},
                               {0x1053Fu, ""},
                               {0x10DC0u, "sr.n0r=* "}})
        EXPECT_EQ(Keys(flags, today), keys) << std::hex << flags;
}

TEST(RadarLayers, OnlyFourLettersOrDigitsNameASite) {
    for (const char* good : {"KLOT", "katx", "K0X9"})
        EXPECT_TRUE(IsRadarSiteCode(good)) << good;
    for (const std::string& bad :
         std::initializer_list<std::string>{"", "KLO", "KLOTX", "KL T", "..\\A", "K/OT", "KL:T",
                                            "KLO\xBB", std::string("KL\0T", 4)}) {
        EXPECT_FALSE(IsRadarSiteCode(bad)) << bad;
        EXPECT_TRUE(RadarLayers(FullCatalog(), 0x105FF, bad, "C:\\cache").empty()) << bad;
    }
}

TEST(RadarLayers, AddressesTakeThreeLettersOrAFourRunTheWholeSite) {
    struct Case {
        const char *address, *url;
    } cases[] = {
        {"http://r/RadarImg/N0R/###_N0R_0.gif", "http://r/RadarImg/N0R/ATX_N0R_0.gif"},
        {"https://r/ridge/standard/####_0.gif", "https://r/ridge/standard/KATX_0.gif"},
        {"https://r/####/###_0.gif", "https://r/KATX/###_0.gif"}, // the four-run only
        {"https://r/###/####.gif", "https://r/###/KATX.gif"},     // wherever it stands
        {"https://r/a#b##c###", "https://r/a#b##cATX"},
        {"https://r/#####.gif", "https://r/KATX#.gif"}, // a longer run holds a four-run
    };
    for (const Case& c : cases) {
        std::string catalog =
            "[RADAR]\r\nsr.n0r=" + std::string(c.address) + kSep + "radar_####_n0r.gif\r\n\r\n";
        std::vector<RadarLayer> layers = RadarLayers(catalog, 0x105FF, "KATX", "C:\\cache");
        ASSERT_EQ(layers.size(), 1u) << c.address;
        EXPECT_EQ(layers[0].Url, c.url);
        EXPECT_EQ(layers[0].CachePath, "C:\\cache\\radar_KATX_n0r.gif");
        EXPECT_TRUE(layers[0].IsRadar);
    }
}

// Too long for a request: skipped. Without its placeholder: as written.
TEST(RadarLayers, LinesThatCannotMakeARequestAreSkippedOthersKeptAsWritten) {
    std::string longName(250, 'x');
    std::string catalog = "[RADAR]\r\nsr.topo=http://r/" + longName + "###" + kSep +
                          "topo_####.jpg\r\nsr.county=http://r/###" + kSep + longName +
                          "_####.gif\r\nsr.river=http://r/river.gif" + kSep +
                          "river_####.gif\r\nsr.city=http://r/###" + kSep +
                          "cities.gif\r\nsr.highway=http://r/###" + kSep +
                          "highway_####.gif\r\n\r\n";
    EXPECT_EQ(Keys(0x105FF, catalog), "sr.river= sr.city= sr.highway= ");
    std::vector<RadarLayer> layers = RadarLayers(catalog, 0x105FF, "KLOT", "C:\\cache");
    ASSERT_EQ(layers.size(), 3u);
    EXPECT_EQ(layers[0].Url + " " + layers[0].CachePath,
              "http://r/river.gif C:\\cache\\river_KLOT.gif");
    EXPECT_EQ(layers[1].Url + " " + layers[1].CachePath, "http://r/LOT C:\\cache\\cities.gif");
}

} // namespace
