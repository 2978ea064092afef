// The METAR page end to end against the sample weather service: an airport
// picked from the tree with the mouse, its report, display choices that
// change the text without a download, "no data", and the choices kept
// through a restart.
#include "tests/e2e/cumulon_fixture.h"

#include <commctrl.h>

#include <regex>

namespace {

constexpr int kUpdate = 5007, kIndex = 5010, kStatus = 5009, kOutput = 5008, kList = 5013;
constexpr int kTree = 5096, kAdd = 5016, kFahrenheit = 5033, kCelsius = 5034, kRawMetar = 5085;

class Metar : public CumulonTest {
  protected:
    HWND main_ = nullptr, page_ = nullptr;

    // The sample service answers with the report of a snowy evening at O'Hare
    // that carries the daily groups and five cloud layers.
    void SetUp() override {
        CumulonTest::SetUp();
        std::string catalog = SampleCatalog();
        size_t at = catalog.find("stationString=####");
        ASSERT_NE(at, std::string::npos) << "the sample service is not running";
        catalog.insert(at, "endTime=2013-12-06T23:59:00Z&");
        ASSERT_TRUE(WriteTextFile(folder_ + "\\links.dat", catalog));
    }

    void StartOnMetarPage() {
        main_ = Start();
        ASSERT_NE(main_, nullptr);
        ASSERT_TRUE(ClickTab(GetDlgItem(main_, kTabControl), 6));
        ASSERT_TRUE(WaitUntil(
            [&] { return (page_ = VisiblePage(main_)) && GetDlgItem(page_, kRawMetar); }, 5000));
    }

    HWND List() const { return GetDlgItem(page_, kList); }
    std::string Status() const { return WindowText(GetDlgItem(page_, kStatus)); }
    std::string Output() const { return WindowText(GetDlgItem(page_, kOutput)); }
    bool Checked(int id) const {
        return SendDlgItemMessageA(page_, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    std::string Cache(const std::string& id) const {
        return ReadTextFile(UserDataFolder() + "\\cache\\metar_" + id + ".xml");
    }
};

HTREEITEM TreeItem(HWND tree, UINT relation, HTREEITEM from = nullptr) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
}

// Clicks the expand button of a shown item, found from its place among the
// shown items and its depth.
bool ClickTreeButton(HWND tree, HTREEITEM item) {
    int row = 0, level = 0;
    for (HTREEITEM i = TreeItem(tree, TVGN_FIRSTVISIBLE); i != item;
         i = TreeItem(tree, TVGN_NEXTVISIBLE, i), ++row)
        if (!i)
            return false;
    for (HTREEITEM p = TreeItem(tree, TVGN_PARENT, item); p; p = TreeItem(tree, TVGN_PARENT, p))
        ++level;
    const int indent = static_cast<int>(SendMessageA(tree, TVM_GETINDENT, 0, 0));
    const int height = static_cast<int>(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0));
    return ClickAt(tree, indent * level + indent / 2, row * height + height / 2);
}

TEST_F(Metar, AnAirportPickedFromTheTreeShowsItsReportAndKeepsTheChosenLinesAndUnits) {
    StartOnMetarPage();
    ClickControl(page_, kIndex);
    HWND picker = Dialog("Add Location"), tree = GetDlgItem(picker, kTree);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(tree, TVM_GETCOUNT, 0, 0) > 0; }, 5000));
    // Typed letters are posted, so they would overtake a click still in the
    // input queue: each step waits for what the last one did, and a pause
    // ends a type-ahead search.
    auto expand = [&](HTREEITEM item) {
        auto open = [&] {
            return SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                                TVIS_EXPANDED);
        };
        return ClickTreeButton(tree, item) && WaitUntil(open, 5000);
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
    ASSERT_TRUE(expand(states));
    ASSERT_TRUE((state = typeChild(states, "Illinois")) && expand(state));
    ASSERT_TRUE(typeChild(state, "KORD"));
    ClickControl(picker, kAdd);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 1; }, 5000));
    PostMessageA(picker, WM_CLOSE, 0, 0);
    EXPECT_EQ(ListItemText(List(), 0, 1), "KORD Chicago O'Hare International, IL");

    // Never downloaded: "no data"; then the report, with its observation time.
    ASSERT_TRUE(ClickListRow(List(), 0));
    EXPECT_TRUE(WaitUntil([&] { return Output() == "no data" && Status().empty(); }, 5000));
    ClickControl(page_, kUpdate);
    ASSERT_TRUE(WaitUntil([&] { return Output().find("Raw Metar") != std::string::npos; }, 20000));
    EXPECT_TRUE(
        std::regex_match(Status(), std::regex(R"([A-Z][a-z]+day Dec 0[67] 2013 - \d\d:53 [ap]m)")))
        << Status();
    EXPECT_EQ(Output(), "KORD Chicago O'Hare International, IL (41.98 -87.92)\r\n"
                        "Elevation: 935.4 ft\r\n"
                        "Weather: heavy snow - fog\r\n"
                        "Temp: 28.4 (6hr mn/mx 28.4/30.6) (24hr mn/mx 27.7/35.2) \260F\r\n"
                        "Dewpoint: 24.4 \260F\r\n"
                        "Wind: 13.8 (40\260) gusts 21.9 mph\r\n"
                        "Pressure: 29.5 in (3hr Tendency: -0.1 in)\r\n"
                        "Visibility: 0.5 mi\r\n"
                        "Sky Cover: (FEW 600 ft) (SCT 2100 ft) (BKN 4600 ft) (BKN 8600 ft)\r\n"
                        "Precipitation: 1hr/0.42 3hr/0.92 6hr/1.47 24hr/3.92\r\n"
                        "Snow: 4 in\r\n"
                        "Altimeter: 29.54 in\r\n"
                        "Flight Category: LIFR\r\n"
                        "Metar Type: METAR\r\n"
                        "Raw Metar: KORD 062353Z 04012G19KT 1/2SM +SN FZFG FEW006 SCT021 BKN046 "
                        "BKN086 OVC146 M02/M04 A2954 RMK AO2 SLP001 T10201042\r\n");
    Sleep(300);
    SaveScreenshot(main_, "metar-page");

    // Celsius and no raw report: redisplayed from the cache. Every answer of
    // the service carries a request index of its own, so an unchanged cache
    // file means no download; the update that follows does change it.
    const std::string cached = Cache("KORD");
    ClickControl(page_, kCelsius);
    ClickControl(page_, kRawMetar);
    ASSERT_TRUE(WaitUntil([&] { return Output().find("Raw Metar") == std::string::npos; }, 5000));
    const std::string chosen = Output();
    EXPECT_NE(chosen.find("Temp: -2.0 (6hr mn/mx -2.0/-0.8) (24hr mn/mx -2.4/1.8) \260C\r\n"),
              std::string::npos);
    Sleep(500);
    EXPECT_EQ(Cache("KORD"), cached);
    ClickControl(page_, kUpdate);
    EXPECT_TRUE(
        WaitUntil([&] { return !Cache("KORD").empty() && Cache("KORD") != cached; }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return Output() == chosen; }, 10000)) << Output();

    ASSERT_TRUE(CloseMainWindow(main_));
    DWORD flags = 0;
    EXPECT_TRUE(ReadSettingDword("MetarFlags", &flags));
    EXPECT_EQ(flags, 0x5FFFD6u);
    StartOnMetarPage();
    EXPECT_TRUE(WaitUntil([&] { return Output() == chosen; }, 5000)) << Output();
    EXPECT_TRUE(Checked(kCelsius) && !Checked(kFahrenheit) && !Checked(kRawMetar));
}

// A heading without children added as a station has a short identifier: its
// request is made (the service knows no such station) and shows "no data".
// A hand-edited MetarFlags with both bits of every unit pair shows and keeps
// the units the report uses.
TEST_F(Metar, AShortIdentifierIsAskedForAndAHandEditedUnitPairIsSetRight) {
    ASSERT_TRUE(SeedListFile("Cumulon 3.0.7.143\r\n\r\n[METAR]\r\nGU\xBBGU\r\n\r\n"));
    HKEY key;
    const DWORD edited = 0x7FFFFF;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quillmoor\\Cumulon", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "MetarFlags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&edited), 4);
    RegCloseKey(key);
    StartOnMetarPage();
    EXPECT_TRUE(Checked(kFahrenheit) && !Checked(kCelsius));
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 1; }, 5000));
    ASSERT_TRUE(ClickListRow(List(), 0));
    ClickControl(page_, kUpdate);
    EXPECT_TRUE(WaitUntil(
        [&] { return Cache("GU").find("num_results=\"0\"") != std::string::npos; }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return Output() == "no data"; }, 5000));
    ASSERT_TRUE(CloseMainWindow(main_));
    DWORD flags = 0;
    EXPECT_TRUE(ReadSettingDword("MetarFlags", &flags));
    EXPECT_EQ(flags, 0x7FFFD5u);
}

} // namespace
