#include "services/feed_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The lines of a catalog, each "|" standing for the separator byte 0xBB.
std::string Catalog(std::initializer_list<std::string> lines, const char* lineEnd = "\r\n") {
    std::string text;
    for (const std::string& line : lines)
        text += line + lineEnd;
    std::replace(text.begin(), text.end(), '|', '\xBB');
    return text;
}

// The entries of a section as "key url file; key url file".
std::string Section(std::string_view catalog, std::string_view section,
                    const std::vector<std::string_view>& keys) {
    std::string text;
    for (const CatalogEntry& e : ReadCatalogSection(catalog, section, keys))
        text += (text.empty() ? "" : "; ") + e.Key + " " + e.UrlTemplate + " " + e.FileTemplate;
    return text;
}

std::string Single(std::string_view catalog) {
    CatalogEntry e;
    return FindSingleFeed(catalog, "[METAR]", &e) ? e.UrlTemplate + " " + e.FileTemplate : "(none)";
}

// Built names as "url | cache path"; a refusal must leave both as they were.
std::string Names(bool built, const std::string& url, const std::string& path) {
    if (!built)
        return url == "old" && path == "old" ? "(refused)" : "(refused, but changed)";
    return url + " | " + path;
}

TEST(FeedCatalog, KeyedEntriesOfTheNamedSectionUpToItsEmptyLine) {
    const std::vector<std::string_view> keys = {"sr.topo=", "sr.county="};
    const struct {
        std::string catalog;
        const char* section;
        std::string entries;
    } cases[] = {
        {Catalog({"[RADAR]", "sr.topo=T|t", "", "sr.county=C|c"}), "[RADAR]", "sr.topo= T t"},
        {Catalog({"[RADAR]", "sr.topo=T|t", "", "sr.county=C|c"}, "\n"), "[RADAR]", "sr.topo= T t"},
        {Catalog({"text outside", "[RADAR]", "; a comment", "sr.county=C|c", "sr.topo=T|t",
                  "sr.topography=X|x", "lr.topo=L|l", "SR.TOPO=U|u"}),
         "[RADAR]", "sr.county= C c; sr.topo= T t"},
        {Catalog({"[radar]", "sr.topo=T|t"}), "[RADAR]", ""},
        {Catalog({"[RADAR]", "sr.topo=T|t"}), "[SATELLITE]", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Section(c.catalog, c.section, keys), c.entries) << c.catalog;
}

TEST(FeedCatalog, SingleFeedIsTheLastUsableUrlLine) {
    const std::string url = "url=http://a/|f";
    const struct {
        std::string catalog, feed;
    } cases[] = {
        {Catalog({"[METAR]", "url=http://a/|m_a", "url=http://b/|m_b"}), "http://b/ m_b"},
        {Catalog({"[metar]", "url=l|x", "", "[METAR]", "URL=u|y", "url=r|z"}), "r z"},
        {Catalog({"[METAR]", "URL=http://upper/|y"}), "(none)"},
        {"", "(none)"},
        {Catalog({"[OBSERVATIONS]", url}), "(none)"},
        {Catalog({"[METAR]", "url=http://a/####"}), "(none)"}, // no cache file
        // Lines up to the catalog's limit of 1023 characters.
        {Catalog({"[METAR]", url + std::string(1023 - url.size(), 'x')}),
         "http://a/ f" + std::string(1023 - url.size(), 'x')},
        {Catalog({"[METAR]", url + std::string(1024 - url.size(), 'x')}), "(none)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Single(c.catalog), c.feed) << c.catalog;
}

TEST(FeedCatalog, CodeFeedNamesOverwriteEachFirstRunAndFitTheirFields) {
    const std::string p243(243, 'p'), f249(249, 'f');
    const struct {
        std::string url, file, folder;
        const char* code;
        std::string names;
    } cases[] = {
        {"http://x/####.xml", "obs_####.xml", "C:\\c", "KORD",
         "http://x/KORD.xml | C:\\c\\obs_KORD.xml"},
        {"http://x/####", "a####b", "C:\\c\\", "TOOLONGCODE", "http://x/TOOL | C:\\c\\aTOOLb"},
        {"http://x/####", "a####b", "", "AB", "http://x/AB## | aAB##b"},
        {"####-####", "####", "", "KORD", "KORD-#### | KORD"},
        {"http://x/obs/KORD.xml", "obs_####.xml", "C:\\c", "KORD", "(refused)"},
        {"http://x/####.xml", "obs.xml", "C:\\c", "KORD", "(refused)"},
        // A "#" in the cache folder is not the placeholder.
        {"http://x/####", "obs_####.xml", "C:\\U\\####\\c", "KORD",
         "http://x/KORD | C:\\U\\####\\c\\obs_KORD.xml"},
        // Results of 256 characters fit; longer ones are refused, not cut.
        {"http://x/####" + p243, "f####", "", "KORD", "http://x/KORD" + p243 + " | fKORD"},
        {"http://x/####" + p243 + "p", "f####", "", "KORD", "(refused)"},
        {"http://x/####", "f_####", f249, "KORD", "http://x/KORD | " + f249 + "\\f_KORD"},
        {"http://x/####", "f_####", f249 + "f", "KORD", "(refused)"},
    };
    for (const auto& c : cases) {
        std::string url = "old", path = "old";
        CatalogEntry entry{"url=", c.url, c.file};
        bool built =
            BuildCodeFeedNames(entry, "####", c.code, "####", c.code, c.folder, &url, &path);
        EXPECT_EQ(Names(built, url, path), c.names) << c.url << " " << c.file;
    }
    // The radar's runs: three characters in the address, four in the file name.
    std::string url, path;
    CatalogEntry radar{"sr.n0r=", "http://r/N0R/###_N0R_0.gif", "radar_####_n0r.gif"};
    EXPECT_TRUE(BuildCodeFeedNames(radar, "###", "LOT", "####", "KLOT", "C:\\c", &url, &path));
    EXPECT_EQ(url + " | " + path, "http://r/N0R/LOT_N0R_0.gif | C:\\c\\radar_KLOT_n0r.gif");
}

TEST(FeedCatalog, PointFeedNamesKeepTheTextsInTheAddressAndCodeThemInTheFileName) {
    const std::string a200 = "http://x/" + std::string(200, 'a'), lat(20, '1'), lon(17, '2');
    const struct {
        std::string url, file, latitude, longitude, names;
    } cases[] = {
        {"http://f/MapClick.php?lat=#&lon=#&FcstType=xml", "pf_#.xml", "38.25", "-85.76",
         "http://f/MapClick.php?lat=38.25&lon=-85.76&FcstType=xml | C:\\c\\pf_N38P25W85P76.xml"},
        {"#,#", "#", "+40.5", "+100", "+40.5,+100 | C:\\c\\N40P5E100"},
        {"#,#", "#", "-33.9", "87.63", "-33.9,87.63 | C:\\c\\S33P9E87P63"},
        {"#,#", "#", "38.2.5", "", "38.2.5, | C:\\c\\N38P2.5E"},
        {"http://x/?lat=#", "pf_#.xml", "1", "2", "(refused)"},
        {"http://x/?lat=#&lon=#", "pf.xml", "1", "2", "(refused)"},
        // An address of 256 characters fits; one more is refused.
        {a200 + "?lat=#&lon=#", "#", lat, lon,
         a200 + "?lat=" + lat + "&lon=" + lon + " | C:\\c\\N" + lat + "E" + lon},
        {a200 + "?lat=#&lon=#", "#", lat, lon + "2", "(refused)"},
    };
    for (const auto& c : cases) {
        std::string url = "old", path = "old";
        CatalogEntry entry{"url=", c.url, c.file};
        bool built = BuildPointFeedNames(entry, c.latitude, c.longitude, "C:\\c", &url, &path);
        EXPECT_EQ(Names(built, url, path), c.names) << c.url << " " << c.latitude;
    }
}

// The catalog that ships with the program, read the way the pages read it:
// every key a page asks for is found and carries its placeholders.
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

TEST(ShippedCatalog, SingleFeedSectionsFillTheirCodesOrPoints) {
    // The run of "#" is as long as the section's codes.
    for (auto [section, code] : {std::pair{"[OBSERVATIONS]", "KSDF"},
                                 {"[METAR]", "KSDF"},
                                 {"[RIVERGAUGES]", "MLUK2"},
                                 {"[ALERTS]", "KYZ030"}}) {
        CatalogEntry entry;
        ASSERT_TRUE(FindSingleFeed(kCatalog, section, &entry)) << section;
        std::string run(std::string_view(code).size(), '#'), url, path;
        EXPECT_TRUE(BuildCodeFeedNames(entry, run, code, run, code, "C:\\c", &url, &path));
        EXPECT_EQ(url.rfind("https://", 0), 0u) << url;
        EXPECT_NE(url.find(code), std::string::npos) << url;
        EXPECT_NE(path.find(code), std::string::npos) << path;
    }
    for (const char* section : {"[POINTFORECAST]", "[HOURLYPOINTFORECAST]"}) {
        CatalogEntry entry;
        ASSERT_TRUE(FindSingleFeed(kCatalog, section, &entry)) << section;
        std::string url, path;
        ASSERT_TRUE(BuildPointFeedNames(entry, "38.25", "-85.76", "C:\\c", &url, &path)) << section;
        EXPECT_NE(url.find("lat=38.25"), std::string::npos) << url;
        EXPECT_NE(url.find("lon=-85.76"), std::string::npos) << url;
        EXPECT_NE(path.find("N38P25W85P76"), std::string::npos) << path;
        EXPECT_EQ(url.rfind("https://", 0), 0u) << url;
    }
    EXPECT_EQ(kCatalog.find("http://"), std::string::npos); // not even in a comment
}

// Today's service has no separate radar layers, no long range and no enhanced
// infrared colour tables: those keys are left out, every other key is there.
TEST(ShippedCatalog, EveryKeyWithALivePictureIsThere) {
    const std::vector<std::string_view> radarKeys = {
        "sr.topo=",      "sr.river=",     "sr.highway=",   "sr.county=",    "sr.city=",
        "sr.warning=",   "sr.n0r=",       "sr.n0s=",       "sr.n0v=",       "sr.n1p=",
        "sr.ncr=",       "sr.ntp=",       "sr.n0rlegend=", "sr.n0slegend=", "sr.n0vlegend=",
        "sr.n1plegend=", "sr.ncrlegend=", "sr.ntplegend=", "lr.topo=",      "lr.river=",
        "lr.highway=",   "lr.county=",    "lr.city=",      "lr.warning=",   "lr.n0z=",
        "lr.n0zlegend="};
    std::string radar;
    for (const CatalogEntry& entry : ReadCatalogSection(kCatalog, "[RADAR]", radarKeys)) {
        std::string url, path;
        EXPECT_TRUE(BuildCodeFeedNames(entry, "####", "KLOT", "####", "KLOT", "C:\\c", &url, &path))
            << entry.Key;
        radar += entry.Key + url + " ";
    }
    EXPECT_EQ(radar, "sr.n0r=https://radar.weather.gov/ridge/standard/KLOT_0.gif "
                     "sr.n0v=https://radar.weather.gov/ridge/standard/base_velocity/KLOT_0.gif ");

    const struct {
        const char* section;
        std::vector<const char*> regions;
    } imagery[] = {{"[SATELLITE]",
                    {"watl", "catl", "carb", "gmex", "eaus", "ceus", "nwatl", "natl", "eepac",
                     "wepac", "cpac", "hi", "nepac", "weus"}},
                   {"[SATELLITEWIDE]", {"tatl", "tpac"}}};
    for (const auto& c : imagery) {
        std::vector<std::string> live, colours;
        for (const char* region : c.regions) {
            for (const char* product : {"vis", "wv", "ir2", "ir4"})
                live.push_back(std::string(region) + "." + product + "=");
            for (const char* product : {"avn", "bd", "jsl", "rgb", "ft", "rb"})
                colours.push_back(std::string(region) + "." + product + "=");
        }
        EXPECT_EQ(ReadCatalogSection(kCatalog, c.section, {live.begin(), live.end()}).size(),
                  live.size())
            << c.section;
        EXPECT_TRUE(
            ReadCatalogSection(kCatalog, c.section, {colours.begin(), colours.end()}).empty())
            << c.section;
    }
    EXPECT_EQ(
        ReadCatalogSection(kCatalog, "[ALERTMAPS]", {"us=", "ak=", "hi=", "gu=", "pr=", "as="})
            .size(),
        6u);
}

} // namespace
