// The catalog that ships with the program, read the way the pages read it:
// every key a page asks for is found and carries its placeholders.
#include "services/feed_catalog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ShippedCatalog() {
    std::string path = CUMULON_SOURCE_DIR "/data/links.dat";
#ifdef _WIN32
    path = "Z:" + path; // Wine's drive for the Unix root
#endif
    std::string text;
    EXPECT_TRUE(LoadCatalogFile(path.c_str(), &text)) << path;
    return text;
}

const std::string kCatalog = ShippedCatalog();

TEST(ShippedCatalog, SingleFeedSectionsFillTheirCodes) {
    // The run of "#" is as long as the section's codes.
    for (auto [section, code] : {std::pair{"[OBSERVATIONS]", "KSDF"},
                                 {"[METAR]", "KSDF"},
                                 {"[RIVERGAUGES]", "MLUK2"},
                                 {"[ALERTS]", "KYZ030"}}) {
        CatalogEntry entry;
        ASSERT_TRUE(FindSingleFeed(kCatalog, section, &entry)) << section;
        std::string run(std::string_view(code).size(), '#'), url, path;
        EXPECT_TRUE(BuildCodeFeedNames(entry, run, code, run, code, "C:\\c", &url, &path));
        EXPECT_EQ(url.rfind("http://", 0), 0u) << url;
        EXPECT_NE(url.find(code), std::string::npos) << url;
        EXPECT_NE(path.find(code), std::string::npos) << path;
    }
}

TEST(ShippedCatalog, PointSectionsBuildAddressAndCacheName) {
    for (const char* section : {"[POINTFORECAST]", "[HOURLYPOINTFORECAST]"}) {
        CatalogEntry entry;
        ASSERT_TRUE(FindSingleFeed(kCatalog, section, &entry)) << section;
        std::string url, path;
        ASSERT_TRUE(BuildPointFeedNames(entry, "38.25", "-85.76", "C:\\c", &url, &path)) << section;
        EXPECT_NE(url.find("38.25"), std::string::npos) << url;
        EXPECT_NE(url.find("-85.76"), std::string::npos) << url;
        EXPECT_NE(path.find("N38P25W85P76"), std::string::npos) << path;
    }
}

TEST(ShippedCatalog, EveryImageKeyIsThere) {
    const std::vector<std::string_view> radarKeys = {
        "sr.topo=",      "sr.river=",     "sr.highway=",   "sr.county=",    "sr.city=",
        "sr.warning=",   "sr.n0r=",       "sr.n0s=",       "sr.n0v=",       "sr.n1p=",
        "sr.ncr=",       "sr.ntp=",       "sr.n0rlegend=", "sr.n0slegend=", "sr.n0vlegend=",
        "sr.n1plegend=", "sr.ncrlegend=", "sr.ntplegend=", "lr.topo=",      "lr.river=",
        "lr.highway=",   "lr.county=",    "lr.city=",      "lr.warning=",   "lr.n0z=",
        "lr.n0zlegend="};
    std::vector<CatalogEntry> radar = ReadCatalogSection(kCatalog, "[RADAR]", radarKeys);
    EXPECT_EQ(radar.size(), radarKeys.size());
    for (const CatalogEntry& entry : radar) {
        std::string url, path;
        EXPECT_TRUE(BuildCodeFeedNames(entry, "###", "LOT", "####", "KLOT", "C:\\c", &url, &path))
            << entry.Key;
    }

    std::vector<std::string> names;
    for (const char* region : {"watl", "catl", "carb", "gmex", "eaus", "ceus", "nwatl", "natl",
                               "eepac", "wepac", "cpac", "hi", "nepac", "weus", "tatl", "tpac"})
        for (const char* product :
             {"vis", "wv", "avn", "ir2", "bd", "ir4", "jsl", "rgb", "ft", "rb"})
            names.push_back(std::string(region) + "." + product + "=");
    std::vector<std::string_view> satellite(names.begin(), names.end() - 20);
    std::vector<std::string_view> wide(names.end() - 20, names.end());
    EXPECT_EQ(ReadCatalogSection(kCatalog, "[SATELLITE]", satellite).size(), 140u);
    EXPECT_EQ(ReadCatalogSection(kCatalog, "[SATELLITEWIDE]", wide).size(), 20u);
    EXPECT_EQ(
        ReadCatalogSection(kCatalog, "[ALERTMAPS]", {"us=", "ak=", "hi=", "gu=", "pr=", "as="})
            .size(),
        6u);
}

} // namespace
