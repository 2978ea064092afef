// The METAR page against the sample weather service.
#include "tests/e2e/cumulon_fixture.h"

namespace {

class Metar : public CumulonTest {
  protected:
    // The sample service answers with the report of a snowy evening at O'Hare.
    void SetUp() override {
        CumulonTest::SetUp();
        std::string catalog = SampleCatalog();
        size_t at = catalog.find("stationString=####");
        ASSERT_NE(at, std::string::npos) << "the sample service is not running";
        UseCatalog(catalog.insert(at, "endTime=2013-12-06T23:59:00Z&"));
    }
    std::string Cache(const std::string& id) const {
        return ReadTextFile(CachePath("metar_" + id + ".xml"));
    }
};

// A hand-edited MetarFlags with both bits of every unit pair starts with the
// first unit of each. "GU", a heading without children added as a station,
// has a short identifier: its request is made (the service knows no such
// station) and shows "no data".
TEST_F(Metar, AnAirportPickedFromTheTreeShowsItsReportAndKeepsTheChosenLinesAndUnits) {
    ASSERT_TRUE(SeedListFile(ListFile("METAR", {"GU»GU"})));
    HKEY key;
    const DWORD edited = 0x7FFFFF;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quillmoor\\Cumulon", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "MetarFlags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&edited), 4);
    RegCloseKey(key);
    StartOnTab(kMetarTab, 1);
    EXPECT_TRUE(Checked(IDC_METAR_FAHRENHEIT) && !Checked(IDC_METAR_CELSIUS));
    ClickControl(page_, IDC_INDEX);
    HWND picker = Dialog("Add Location"), tree = GetDlgItem(picker, IDC_STATION_TREE);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(tree, TVM_GETCOUNT, 0, 0) > 0; }, 5000));
    // A heading opens with a double click; typed letters (posted, so each
    // step waits for what the last one did) pick a child, and a pause ends
    // the type-ahead search.
    auto open = [&](HTREEITEM item) {
        return ClickTreeItem(tree, item, 2) &&
               WaitUntil([&] { return TreeItemExpanded(tree, item); }, 5000);
    };
    auto typeChild = [&](HTREEITEM parent, const char* letters) {
        TypeText(tree, letters);
        auto found = [&] {
            return TreeItem(tree, TVGN_PARENT, TreeItem(tree, TVGN_CARET)) == parent;
        };
        WaitUntil(found, 5000);
        Sleep(600);
        return found() ? TreeItem(tree, TVGN_CARET) : nullptr;
    };
    HTREEITEM states = TreeItem(tree, TVGN_ROOT), state; // "United States" heads the tree
    ASSERT_TRUE(open(states));
    ASSERT_TRUE((state = typeChild(states, "Illinois")) && open(state));
    ASSERT_TRUE(typeChild(state, "KORD"));
    ClickControl(picker, IDC_ADD);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 2; }, 5000));
    CloseDialog(picker);
    EXPECT_EQ(ListItemText(List(), 1, 1), "KORD Chicago O'Hare International, IL");

    // Never downloaded: "no data"; then the report, with its observation time.
    Select(1);
    EXPECT_TRUE(WaitUntil([&] { return Output() == "no data" && Status().empty(); }, 5000));
    ClickControl(page_, IDC_UPDATE);
    ASSERT_TRUE(WaitUntil([&] { return Shows("Raw Metar: KORD 062353Z"); }, 20000)) << Output();
    EXPECT_TRUE(
        std::regex_match(Status(), std::regex(R"([A-Z][a-z]+day Dec 0[67] 2013 - \d\d:53 [ap]m)")))
        << Status();
    EXPECT_EQ(Output().rfind("KORD Chicago O'Hare International, IL (41.98 -87.92)\r\n", 0), 0u)
        << Output();
    Snapshot(main_, "metar-page");

    // Celsius and no raw report: redisplayed from the cache. Every answer of
    // the service carries a request index of its own, so an unchanged cache
    // file means no download; the update that follows does change it.
    const std::string cached = Cache("KORD");
    ClickControl(page_, IDC_METAR_CELSIUS);
    ClickControl(page_, IDC_METAR_RAW);
    ASSERT_TRUE(WaitUntil([&] { return !Shows("Raw Metar") && Shows("\260C\r\n"); }, 5000))
        << Output();
    const std::string chosen = Output();
    Sleep(500);
    EXPECT_EQ(Cache("KORD"), cached);
    ClickControl(page_, IDC_UPDATE);
    EXPECT_TRUE(
        WaitUntil([&] { return !Cache("KORD").empty() && Cache("KORD") != cached; }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return Output() == chosen; }, 10000)) << Output();

    Update(0);
    EXPECT_TRUE(WaitUntil(
        [&] { return Cache("GU").find("num_results=\"0\"") != std::string::npos; }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return Output() == "no data"; }, 5000));
    Select(1);
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(Setting("MetarFlags"), 0x5FFFD6u);
    StartOnTab(kMetarTab);
    EXPECT_TRUE(WaitUntil([&] { return Output() == chosen; }, 5000)) << Output();
    EXPECT_TRUE(Checked(IDC_METAR_CELSIUS) && !Checked(IDC_METAR_FAHRENHEIT) &&
                !Checked(IDC_METAR_RAW));
}

} // namespace
