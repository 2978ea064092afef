// The current observations and river gauges pages end to end against the
// sample weather service, and the station tree picker that fills them:
// stations picked from a tree and renamed, the tree font, updates, units
// switched without a download, a refused update, and what survives a restart.
#include "tests/e2e/cumulon_fixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kUpdate = 5007, kIndex = 5010, kEdit = 5011, kList = 5013, kStatus = 5009,
              kOutput = 5008, kAdd = 5016, kTree = 5096, kStationId = 5097, kName = 5011,
              kSave = 5095;
constexpr int kFahrenheit = 5033, kCelsius = 5034, kMph = 5035, kKnots = 5036, kInches = 5037,
              kMillibars = 5038;
constexpr int kObservationsTab = 2, kRiverTab = 7;

const char kTreeFile[] = "+Kentucky\r\nKSDF Louisville, Standiford Field\r\nKLOU Louisville, "
                         "Bowman Field\r\n+Illinois\r\n++Chicago\r\nKORD Chicago O'Hare\r\n";

// The centre of a tree item, in the tree's client coordinates (read across
// processes: the rectangle travels through the program's memory).
POINT TreeItemCentre(HWND tree, HTREEITEM item) {
    DWORD processId = 0;
    GetWindowThreadProcessId(tree, &processId);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item); // the message's argument: the item, in the rectangle
    WriteProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    if (!SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote)) ||
        !ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr))
        rect = {};
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

HTREEITEM TreeItem(HWND tree, UINT relation, HTREEITEM from = nullptr) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
}

void DoubleClickTreeItem(HWND tree, HTREEITEM item) {
    POINT at = TreeItemCentre(tree, item);
    ClientToScreen(tree, &at);
    MoveMouseTo(at);
    for (int click = 0; click < 2; ++click) {
        PressMouseButton(false, true);
        PressMouseButton(false, false);
    }
}

// A key pressed and released on the keyboard (to the window with the focus).
void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

class StationPages : public CumulonTest {
  protected:
    HWND main_ = nullptr;
    HWND page_ = nullptr;

    void SetUp() override {
        CumulonTest::SetUp();
        ASSERT_NE(SampleServicePort(), 0) << "the sample weather service is not running";
        UseCatalog(SampleCatalog());
        ASSERT_TRUE(WriteTextFile(folder_ + "\\observations.trv", kTreeFile));
    }

    void UseCatalog(const std::string& text) {
        ASSERT_TRUE(WriteTextFile(folder_ + "\\links.dat", text));
    }

    void OpenPage(int tab) {
        main_ = Start();
        ASSERT_NE(main_, nullptr);
        HWND tabs = GetDlgItem(main_, kTabControl);
        ASSERT_TRUE(ClickTab(tabs, tab));
        ASSERT_TRUE(WaitUntil([&] { return TabSelection(tabs) == tab; }, 5000));
        page_ = VisiblePage(main_);
        ASSERT_NE(GetDlgItem(page_, kList), nullptr);
    }

    HWND List() const { return GetDlgItem(page_, kList); }
    std::string Status() const { return WindowText(GetDlgItem(page_, kStatus)); }
    std::string Output() const { return WindowText(GetDlgItem(page_, kOutput)); }
    std::string Row(int row) const {
        return ListItemText(List(), row, 0) + "|" + ListItemText(List(), row, 1);
    }
    bool Shows(const std::string& text) const { return Output().find(text) != std::string::npos; }

    void Select(int row) {
        ASSERT_TRUE(ClickListRow(List(), row));
        ASSERT_TRUE(WaitUntil([&] { return ListItemSelected(List(), row); }, 5000));
    }

    // Clicks the item of the tree's right-click menu (two items of one height).
    void TreeMenu(HWND tree, int item) {
        ASSERT_TRUE(RightClickWindow(tree));
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] {
                std::vector<HWND> found = TopWindows(program_.info.dwProcessId, "#32768", nullptr);
                return (menu = found.empty() ? nullptr : found.front()) != nullptr;
            },
            5000));
        RECT client;
        GetClientRect(menu, &client);
        ASSERT_TRUE(ClickAt(menu, client.right / 2, client.bottom * (1 + 2 * item) / 4));
    }

    void Rename(int row, const std::string& name, bool enter) {
        Select(row);
        ClickControl(page_, kEdit);
        HWND dialog = Dialog("Edit Location");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(WindowText(GetDlgItem(dialog, kStationId)), ListItemText(List(), row, 0));
        SaveScreenshot(dialog, "edit-location");
        SetText(GetDlgItem(dialog, kName), "");
        TypeText(GetDlgItem(dialog, kName), name);
        enter ? PressKey(VK_RETURN) : (void)ClickControl(dialog, kSave);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    }

    void Update(int row) {
        Select(row);
        ClickControl(page_, kUpdate);
    }
};

TEST_F(StationPages, PicksStationsFromTheTreeRenamesThemAndKeepsThemThroughARestart) {
    OpenPage(kObservationsTab);
    ClickControl(page_, kIndex);
    HWND picker = Dialog("Add Location");
    ASSERT_NE(picker, nullptr);
    HWND tree = GetDlgItem(picker, kTree);
    HTREEITEM kentucky = TreeItem(tree, TVGN_ROOT), illinois = TreeItem(tree, TVGN_NEXT, kentucky);
    HTREEITEM ksdf = TreeItem(tree, TVGN_CHILD, kentucky), klou = TreeItem(tree, TVGN_NEXT, ksdf);

    DoubleClickTreeItem(tree, kentucky); // a heading opens and adds nothing
    ASSERT_TRUE(WaitUntil([&] { return TreeItemCentre(tree, klou).y > 0; }, 5000));
    POINT at = TreeItemCentre(tree, ksdf);
    ASSERT_TRUE(ClickAt(tree, at.x, at.y));
    ClickControl(picker, kAdd);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 1; }, 5000));
    DoubleClickTreeItem(tree, klou);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 2; }, 5000));
    DoubleClickTreeItem(tree, illinois);
    Sleep(500);
    EXPECT_EQ(ListItemCount(List()), 2);
    EXPECT_EQ(Row(0), "KSDF|KSDF Louisville, Standiford Field");
    EXPECT_EQ(Row(1), "KLOU|KLOU Louisville, Bowman Field");
    SaveScreenshot(picker, "add-location");

    // The tree's font: chosen in the font dialog, stored, and dropped again.
    TreeMenu(tree, 0);
    HWND fonts = Dialog("Font");
    ASSERT_NE(fonts, nullptr);
    ClickControl(fonts, IDOK);
    std::vector<BYTE> font;
    ASSERT_TRUE(WaitUntil([&] { return ReadSettingBinary("TreeViewFont", &font); }, 5000));
    EXPECT_EQ(font.size(), sizeof(LOGFONTA));
    EXPECT_NE(reinterpret_cast<const LOGFONTA*>(font.data())->lfFaceName[0], '\0');
    TreeMenu(tree, 1);
    EXPECT_TRUE(WaitUntil([&] { return !ReadSettingBinary("TreeViewFont", &font); }, 5000));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }, 5000));

    Rename(0, "Home", false);
    EXPECT_EQ(Row(0), "KSDF|Home");
    Rename(1, "", true); // an empty name is the identifier
    EXPECT_EQ(Row(1), "KLOU|KLOU");
    ASSERT_TRUE(CloseMainWindow(main_));
    OpenPage(kObservationsTab);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 2; }, 5000));
    EXPECT_EQ(Row(0), "KSDF|Home");
    EXPECT_EQ(Row(1), "KLOU|KLOU");
}

TEST_F(StationPages, ObservationUnitsSwitchWithoutADownloadAndAreKept) {
    ASSERT_TRUE(SeedListFile("Cumulon 3.0.7.143\r\n\r\n[OBSERVATIONS]\r\nKSDF\xBBKSDF Standiford "
                             "Field, KY\r\nKORD\xBBKORD Chicago\r\nSDF\xBBSDF too short\r\n\r\n"));
    OpenPage(kObservationsTab);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 3; }, 5000));
    Update(0);
    ASSERT_TRUE(WaitUntil([&] { return Shows("\260F\r\n") && !Status().empty(); }, 20000))
        << Output();
    EXPECT_EQ(Output().rfind("KSDF Standiford Field, KY\r\n\r\nWeather: ", 0), 0u) << Output();
    EXPECT_TRUE(Shows(" in\r\n") && Shows(" mph"));
    const std::string time = Status();
    Sleep(300);
    SaveScreenshot(main_, "observations-page");

    struct Switch {
        int id;
        const char *shown, *gone;
    } switches[] = {{kCelsius, "\260C\r\n", "\260F\r\n"},
                    {kMillibars, " mb\r\n", " in\r\n"},
                    {kKnots, " kts", " mph"},
                    {kFahrenheit, "\260F\r\n", "\260C\r\n"},
                    {kInches, " in\r\n", " mb\r\n"},
                    {kMph, " mph", " kts"},
                    {kKnots, " kts", " mph"}};
    for (const Switch& change : switches) {
        ClickControl(page_, change.id);
        EXPECT_TRUE(WaitUntil([&] { return Shows(change.shown) && !Shows(change.gone); }, 2000))
            << change.id << "\n"
            << Output();
        EXPECT_EQ(Status(), time); // from the cache: no "Loading...", the same observation
    }

    Select(1); // never downloaded
    EXPECT_TRUE(WaitUntil([&] { return Output() == "no data" && Status().empty(); }, 5000));
    Update(2); // an identifier too short for the address: nothing to download
    EXPECT_TRUE(WaitUntil([&] { return Output() == "no data" && Status().empty(); }, 5000));
    Sleep(1000);
    EXPECT_EQ(Output(), "no data");
    ASSERT_TRUE(CloseMainWindow(main_));
    DWORD flags = 0;
    EXPECT_TRUE(ReadSettingDword("ObservationsFlags", &flags));
    EXPECT_EQ(flags, 0x25u);
    OpenPage(kObservationsTab);
    EXPECT_EQ(IsDlgButtonChecked(page_, kKnots), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page_, kMph), BST_UNCHECKED);
}

// The gauge's feed holds a double-encoded reference: decoded once it reads
// "&#x3C;"; decoded again after the refused update it would be cut at a "<".
TEST_F(StationPages, AGaugeUpdateRefusedByTheServerLeavesTheReportAsItWas) {
    ASSERT_TRUE(SeedListFile("Cumulon 3.0.7.143\r\n\r\n[RIVERGAUGES]\r\nQDBL2\xBBQDBL2 Ohio River "
                             "variant\r\n\r\n"));
    OpenPage(kRiverTab);
    ASSERT_TRUE(WaitUntil([&] { return ListItemCount(List()) == 1; }, 5000));
    Update(0);
    ASSERT_TRUE(
        WaitUntil([&] { return Shows("(&#x3C;=bankfull)\r\nLatest Observation: "); }, 20000))
        << Output();
    EXPECT_EQ(Output().rfind("QDBL2 - Ohio River", 0), 0u) << Output();
    EXPECT_TRUE(Shows("\r\nObservation Time: ") && !Status().empty());
    const std::string report = Output(), time = Status();
    const std::string cache = UserDataFolder() + "\\cache\\river_QDBL2.xml",
                      file = ReadTextFile(cache);
    Sleep(300);
    SaveScreenshot(main_, "river-page");

    UseCatalog("[RIVERGAUGES]\r\nurl=http://127.0.0.1:" + std::to_string(SampleServicePort()) +
               "/test/404?gauge=#####\xBBriver_#####.xml\r\n\r\n");
    SetText(GetDlgItem(page_, kOutput), ""); // filled again only when the update has ended
    ClickControl(page_, kUpdate);
    EXPECT_TRUE(WaitUntil([&] { return Output() == report; }, 20000)) << Output();
    EXPECT_EQ(Status(), time);
    EXPECT_TRUE(ReadTextFile(cache) == file) << "the cached feed was decoded a second time";
}

} // namespace

namespace {

// Not a test: opening Add Location on the largest tree file, ten times, from
// the click on "index" to the dialog on screen with its tree filled.
TEST_F(StationPages, DISABLED_BenchmarkOpeningTheLargestTree) {
    std::string largest;
    size_t largestSize = 0;
    for (const char* name :
         {"observations.trv", "radar.trv", "alert.trv", "metar.trv", "river.trv"}) {
        std::string text = ReadTextFile(BuiltProgramsFolder() + "\\" + name);
        if (text.size() > largestSize)
            largest = name, largestSize = text.size();
    }
    ASSERT_TRUE(WriteTextFile(folder_ + "\\observations.trv",
                              ReadTextFile(BuiltProgramsFolder() + "\\" + largest)));
    OpenPage(kObservationsTab);
    std::vector<double> milliseconds;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    LRESULT items = 0;
    for (int run = 0; run < 10; ++run) {
        QueryPerformanceCounter(&start);
        ClickControl(page_, kIndex);
        HWND picker = nullptr;
        while (!picker || !IsWindowVisible(picker))
            picker = FindWindowA("#32770", "Add Location");
        QueryPerformanceCounter(&end);
        items = SendDlgItemMessageA(picker, kTree, TVM_GETCOUNT, 0, 0);
        milliseconds.push_back(1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart);
        PostMessageA(picker, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }, 5000));
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("opening Add Location on %s (%zu bytes, %ld items): median %.1f ms, min %.1f ms, "
                "max %.1f ms (10 runs)\n",
                largest.c_str(), largestSize, static_cast<long>(items),
                (milliseconds[4] + milliseconds[5]) / 2, milliseconds.front(), milliseconds.back());
}

} // namespace
