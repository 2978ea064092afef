// The observations and river gauges pages and their station tree picker.
#include "tests/e2e/cumulon_fixture.h"

namespace {

const char kTreeFile[] = "+Kentucky\r\nKSDF Louisville, Standiford Field\r\nKLOU Louisville, "
                         "Bowman Field\r\n+Illinois\r\n++Chicago\r\nKORD Chicago O'Hare\r\n";

class StationPages : public CumulonTest {
  protected:
    void SetUp() override {
        CumulonTest::SetUp();
        UseSampleCatalog();
        ASSERT_TRUE(WriteTextFile(folder_ + "\\observations.trv", kTreeFile));
    }
    // Renames a row in Edit Location, saving with the button or with Enter.
    void Rename(int row, const std::string& name, bool enter) {
        Select(row);
        ClickControl(page_, IDC_EDIT);
        HWND dialog = Dialog("Edit Location");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(TextOf(dialog, IDC_STATION_ID), ListItemText(List(), row, 0));
        SetText(GetDlgItem(dialog, IDC_NAME_FIELD), "");
        TypeText(GetDlgItem(dialog, IDC_NAME_FIELD), name);
        enter ? PressKey(VK_RETURN) : (void)ClickControl(dialog, IDC_SAVE);
        ASSERT_TRUE(Gone(dialog));
    }
};

TEST_F(StationPages, ObservationStationsPickedRenamedUpdatedAndTheirUnitsSwitchedAndKept) {
    ASSERT_TRUE(SeedListFile(ListFile("OBSERVATIONS", {"KORD»KORD Chicago", "SDF»SDF too short"})));
    StartOnTab(kObservationsTab, 2);
    ClickControl(page_, IDC_INDEX);
    HWND picker = Dialog("Add Location"), tree = GetDlgItem(picker, IDC_STATION_TREE);
    ASSERT_NE(picker, nullptr);
    HTREEITEM kentucky = TreeItem(tree, TVGN_ROOT), illinois = TreeItem(tree, TVGN_NEXT, kentucky);
    HTREEITEM ksdf = TreeItem(tree, TVGN_CHILD, kentucky), klou = TreeItem(tree, TVGN_NEXT, ksdf);
    ASSERT_TRUE(ClickTreeItem(tree, kentucky, 2)); // a heading opens and adds nothing
    ASSERT_TRUE(WaitUntil([&] { return TreeItemExpanded(tree, kentucky); }, 5000));
    ASSERT_TRUE(ClickTreeItem(tree, ksdf));
    ClickControl(picker, IDC_ADD);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 3; }, 5000));
    ASSERT_TRUE(ClickTreeItem(tree, klou, 2));
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 4; }, 5000));
    ASSERT_TRUE(ClickTreeItem(tree, illinois, 2));
    Sleep(500);
    EXPECT_EQ(ListItemCount(List()), 4);
    EXPECT_EQ(Row(2, 2), "KSDF|KSDF Louisville, Standiford Field");
    EXPECT_EQ(Row(3, 2), "KLOU|KLOU Louisville, Bowman Field");
    Snapshot(picker, "add-location");
    ChooseFromMenu(tree, 0, 2); // "Change Font"
    HWND fonts = Dialog("Font");
    ASSERT_NE(fonts, nullptr);
    ClickControl(fonts, IDOK);
    std::vector<BYTE> font;
    ASSERT_TRUE(WaitUntil([&] { return ReadSetting("TreeViewFont", &font); }, 5000));
    EXPECT_EQ(font.size(), sizeof(LOGFONTA));
    EXPECT_NE(reinterpret_cast<const LOGFONTA*>(font.data())->lfFaceName[0], '\0');
    ChooseFromMenu(tree, 1, 2); // "Use Default Font"
    EXPECT_TRUE(WaitUntil([&] { return !ReadSetting("TreeViewFont", &font); }, 5000));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(Gone(picker));
    Rename(2, "Home", false);
    Rename(3, "", true); // an empty name is the identifier

    Update(2);
    ASSERT_TRUE(WaitUntil([&] { return Shows("\260F\r\n") && !Status().empty(); }, 20000))
        << Output();
    EXPECT_EQ(Output().rfind("KSDF Standiford Field, KY\r\n\r\nWeather: ", 0), 0u) << Output();
    EXPECT_TRUE(Shows(" in\r\n") && Shows(" mph"));
    const std::string time = Status();
    Snapshot(main_, "observations-page");
    struct Switch {
        int id;
        const char *shown, *gone;
    } switches[] = {{IDC_CELSIUS, "\260C\r\n", "\260F\r\n"},
                    {IDC_MILLIBARS, " mb\r\n", " in\r\n"},
                    {IDC_KNOTS, " kts", " mph"},
                    {IDC_FAHRENHEIT, "\260F\r\n", "\260C\r\n"},
                    {IDC_INCHES, " in\r\n", " mb\r\n"}};
    for (const Switch& change : switches) {
        ClickControl(page_, change.id);
        EXPECT_TRUE(WaitUntil([&] { return Shows(change.shown) && !Shows(change.gone); }, 2000))
            << change.id << "\n"
            << Output();
        EXPECT_EQ(Status(), time); // the same observation: no download
    }

    Select(0); // never downloaded
    EXPECT_TRUE(WaitUntil([&] { return Output() == "no data" && Status().empty(); }, 5000));
    Update(1); // nothing to download
    EXPECT_TRUE(WaitUntil([&] { return Output() == "no data" && Status().empty(); }, 5000));
    Sleep(1000);
    EXPECT_EQ(Output(), "no data");
    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(Setting("ObservationsFlags"), 0x25u);
    StartOnTab(kObservationsTab, 4);
    EXPECT_EQ(Row(2, 2) + "/" + Row(3, 2), "KSDF|Home/KLOU|KLOU");
    EXPECT_TRUE(Checked(IDC_KNOTS) && !Checked(IDC_MPH));
}

// The gauge's feed holds a double-encoded reference: decoded once it reads
// "&#x3C;"; decoded again after the refused update it would be cut at a "<".
TEST_F(StationPages, AGaugeUpdateRefusedByTheServerLeavesTheReportAsItWas) {
    ASSERT_TRUE(SeedListFile(ListFile("RIVERGAUGES", {"QDBL2»QDBL2 Ohio River variant"})));
    StartOnTab(kRiverTab, 1);
    Update(0);
    ASSERT_TRUE(
        WaitUntil([&] { return Shows("(&#x3C;=bankfull)\r\nLatest Observation: "); }, 20000))
        << Output();
    EXPECT_EQ(Output().rfind("QDBL2 - Ohio River", 0), 0u) << Output();
    EXPECT_TRUE(Shows("\r\nObservation Time: ") && !Status().empty());
    const std::string report = Output(), time = Status(), cache = CachePath("river_QDBL2.xml"),
                      file = ReadTextFile(cache);
    Snapshot(main_, "river-page");

    UseCatalog("[RIVERGAUGES]\r\nurl=" + Service() +
               "/test/404?gauge=#####\xBBriver_#####.xml\r\n\r\n");
    SetText(GetDlgItem(page_, IDC_OUTPUT), ""); // filled again only when the update has ended
    ClickControl(page_, IDC_UPDATE);
    EXPECT_TRUE(WaitUntil([&] { return Output() == report; }, 20000)) << Output();
    EXPECT_EQ(Status(), time);
    EXPECT_TRUE(ReadTextFile(cache) == file) << "the cached feed was decoded a second time";
}

} // namespace
