#include "services/feed_catalog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kSep = "\xBB";

std::string Catalog(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

TEST(FeedCatalog, LastUrlLineOfASectionWins) {
    std::string catalog = Catalog({"[METAR]", "url=http://a/####.xml" + kSep + "metar_####.xml",
                                   "url=http://b/####.xml" + kSep + "m_####.xml", ""});
    CatalogEntry entry;
    ASSERT_TRUE(FindSingleFeed(catalog, "[METAR]", &entry));
    EXPECT_EQ(entry.UrlTemplate, "http://b/####.xml");
    EXPECT_EQ(entry.FileTemplate, "m_####.xml");
}

TEST(FeedCatalog, KeysAndSectionNamesAreMatchedWithTheirCase) {
    std::string catalog = Catalog({"[metar]", "url=http://lower/" + kSep + "x", "", "[METAR]",
                                   "URL=http://upper/" + kSep + "y", "url=http://right/" + kSep + "z", ""});
    CatalogEntry entry;
    ASSERT_TRUE(FindSingleFeed(catalog, "[METAR]", &entry));
    EXPECT_EQ(entry.UrlTemplate, "http://right/");
    catalog = Catalog({"[METAR]", "URL=http://upper/" + kSep + "y", ""});
    EXPECT_FALSE(FindSingleFeed(catalog, "[METAR]", &entry));
}

TEST(FeedCatalog, AnEmptyLineEndsTheSection) {
    std::string catalog = Catalog({"[RADAR]", "sr.topo=http://t/###" + kSep + "topo_####.gif", "",
                                   "sr.county=http://c/###" + kSep + "county_####.gif"});
    std::vector<CatalogEntry> entries = ReadCatalogSection(catalog, "[RADAR]", {"sr.topo=", "sr.county="});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Key, "sr.topo=");
    // A bare LF is an empty line too.
    entries = ReadCatalogSection("[RADAR]\nsr.topo=a" + kSep + "b\n\nsr.county=c" + kSep + "d\n", "[RADAR]",
                                 {"sr.topo=", "sr.county="});
    EXPECT_EQ(entries.size(), 1u);
}

TEST(FeedCatalog, KeyedEntriesComeInFileOrderAndOthersAreIgnored) {
    std::string catalog =
        Catalog({"some text outside sections", "[RADAR]", "; a comment", "sr.county=C" + kSep + "c",
                 "sr.topo=T" + kSep + "t", "sr.topography=X" + kSep + "x", "lr.topo=L" + kSep + "l", ""});
    std::vector<CatalogEntry> entries = ReadCatalogSection(catalog, "[RADAR]", {"sr.topo=", "sr.county="});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Key, "sr.county=");
    EXPECT_EQ(entries[1].Key, "sr.topo=");
}

TEST(FeedCatalog, MissingPiecesGiveNothing) {
    CatalogEntry entry;
    EXPECT_FALSE(FindSingleFeed("", "[METAR]", &entry));
    EXPECT_FALSE(FindSingleFeed(Catalog({"[OBSERVATIONS]", "url=a" + kSep + "b", ""}), "[METAR]", &entry));
    // An entry without the separator has no cache file: not usable.
    EXPECT_FALSE(FindSingleFeed(Catalog({"[METAR]", "url=http://a/####", ""}), "[METAR]", &entry));
    // A line longer than the catalog's limit is not an entry.
    EXPECT_FALSE(FindSingleFeed(Catalog({"[METAR]", "url=http://a/" + std::string(1100, 'x') + kSep + "f", ""}),
                                "[METAR]", &entry));
}

TEST(FeedCatalog, RadarCodeFillsThreeAndFourCharacterRuns) {
    CatalogEntry entry{"sr.n0r=", "http://radar.example/RIDGE/N0R/###_N0R_0.gif", "radar_####_n0r.gif"};
    std::string url, path;
    ASSERT_TRUE(BuildCodeFeedNames(entry, "###", "LOT", "####", "KLOT", "C:\\cache", &url, &path));
    EXPECT_EQ(url, "http://radar.example/RIDGE/N0R/LOT_N0R_0.gif");
    EXPECT_EQ(path, "C:\\cache\\radar_KLOT_n0r.gif");
}

TEST(FeedCatalog, PlaceholdersNeverGrowTheTemplate) {
    std::string text = "a####b";
    ASSERT_TRUE(FillPlaceholder(&text, "####", "TOOLONGCODE"));
    EXPECT_EQ(text, "aTOOLb");
    text = "a####b";
    ASSERT_TRUE(FillPlaceholder(&text, "####", "AB"));
    EXPECT_EQ(text, "aAB##b");
    text = "####";
    ASSERT_TRUE(FillPlaceholder(&text, "####", "KORD"));
    EXPECT_EQ(text, "KORD");
    text = "no run";
    EXPECT_FALSE(FillPlaceholder(&text, "####", "KORD"));
    EXPECT_EQ(text, "no run");
    // Only the first occurrence is filled.
    text = "######-######";
    ASSERT_TRUE(FillPlaceholder(&text, "######", "ILZ014"));
    EXPECT_EQ(text, "ILZ014-######");
}

TEST(FeedCatalog, TemplateWithoutItsPlaceholderIsRefused) {
    CatalogEntry entry{"url=", "http://w1.example/xml/current_obs/KORD.xml", "obs_####.xml"};
    std::string url = "old", path = "old";
    EXPECT_FALSE(BuildCodeFeedNames(entry, "####", "KMDW", "####", "KMDW", "C:\\c", &url, &path));
    EXPECT_EQ(url, "old");
    EXPECT_EQ(path, "old");
}

TEST(FeedCatalog, AHashInTheCacheFolderIsNotThePlaceholder) {
    CatalogEntry entry{"url=", "http://x/####.xml", "obs_####.xml"};
    std::string url, path;
    ASSERT_TRUE(BuildCodeFeedNames(entry, "####", "KORD", "####", "KORD", "C:\\Users\\####\\cache", &url, &path));
    EXPECT_EQ(path, "C:\\Users\\####\\cache\\obs_KORD.xml");
}

TEST(FeedCatalog, OverlongResultsAreRefusedNotCut) {
    CatalogEntry entry{"url=", "http://x/" + std::string(240, 'p') + "/####/" + std::string(10, 'q'), "f_####"};
    std::string url, path;
    EXPECT_FALSE(BuildCodeFeedNames(entry, "####", "KORD", "####", "KORD", "C:\\c", &url, &path));
    entry.UrlTemplate = "http://x/####";
    EXPECT_FALSE(BuildCodeFeedNames(entry, "####", "KORD", "####", "KORD", std::string(260, 'f'), &url, &path));
    EXPECT_TRUE(BuildCodeFeedNames(entry, "####", "KORD", "####", "KORD", std::string(240, 'f'), &url, &path));
    EXPECT_EQ(path.size(), 247u);
}

TEST(CoordinateCode, SignsLettersAndTheFirstPoint) {
    EXPECT_EQ(CoordinateCode("41.88", 'N', 'S') + CoordinateCode("-87.63", 'E', 'W'), "N41P88W87P63");
    EXPECT_EQ(CoordinateCode("+41.88", 'N', 'S') + CoordinateCode("87.63", 'E', 'W'), "N41P88E87P63");
    EXPECT_EQ(CoordinateCode("+40.5", 'N', 'S') + CoordinateCode("+100", 'E', 'W'), "N40P5E100");
    EXPECT_EQ(CoordinateCode("40", 'N', 'S') + CoordinateCode("-100.25", 'E', 'W'), "N40W100P25");
    EXPECT_EQ(CoordinateCode("-33.9", 'N', 'S'), "S33P9");
    EXPECT_EQ(CoordinateCode("38.2.5", 'N', 'S'), "N38P2.5");
    EXPECT_EQ(CoordinateCode("", 'N', 'S'), "N");
}

TEST(PointFeedNames, AddressKeepsTheTextsAndTheFileNameUsesTheCodes) {
    std::string catalog = Catalog({"[POINTFORECAST]",
                                   "url=http://forecast.example/MapClick.php?lat=#&lon=#&FcstType=xml" + kSep +
                                       "pf_#.xml",
                                   ""});
    CatalogEntry entry;
    ASSERT_TRUE(FindSingleFeed(catalog, "[POINTFORECAST]", &entry));
    std::string url, path;
    ASSERT_TRUE(BuildPointFeedNames(entry, "38.25", "-85.76", "C:\\cache", &url, &path));
    EXPECT_EQ(url, "http://forecast.example/MapClick.php?lat=38.25&lon=-85.76&FcstType=xml");
    EXPECT_EQ(path, "C:\\cache\\pf_N38P25W85P76.xml");
}

TEST(PointFeedNames, MissingSeparatorsAreRefused) {
    std::string url, path;
    EXPECT_FALSE(BuildPointFeedNames({"url=", "http://x/?lat=#", "pf_#.xml"}, "1", "2", "C:\\c", &url, &path));
    EXPECT_FALSE(BuildPointFeedNames({"url=", "http://x/?lat=#&lon=#", "pf.xml"}, "1", "2", "C:\\c", &url, &path));
    EXPECT_TRUE(BuildPointFeedNames({"url=", "#,#", "#"}, "1", "2", "", &url, &path));
    EXPECT_EQ(url, "1,2");
    EXPECT_EQ(path, "N1E2");
}

TEST(PointFeedNames, LongCoordinatesThatOverflowTheAddressAreRefused) {
    std::string url, path;
    CatalogEntry entry{"url=", "http://x/" + std::string(200, 'a') + "?lat=#&lon=#", "pf_#.xml"};
    EXPECT_TRUE(BuildPointFeedNames(entry, "12.345678901234567890", "-1", "C:\\c", &url, &path));
    EXPECT_FALSE(BuildPointFeedNames(entry, std::string(40, '1'), std::string(40, '2'), "C:\\c", &url, &path));
}

} // namespace
