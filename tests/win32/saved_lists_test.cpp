// list.dat written from real list views: a write that cannot finish, and
// lists not loaded yet. The format itself has native tests; the lists kept
// through a start and a close, an end-to-end test.
#include "app/saved_lists.h"
#include "resources/resource_ids.h"
#include "services/list_view.h"
#include "services/saved_lists_file.h"
#include "services/saved_lists_format.h"
#include "services/shared_state.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace {

PageState* const kPages[kSavedListSectionCount] = {
    &AlertsPage,       &PointForecastPage, &HourlyForecastPage, &RadarPage,
    &ObservationsPage, &MetarPage,         &RiverPage};

std::string ListPath() {
    char path[MAX_PATH];
    EXPECT_TRUE(SavedListsPath(path, sizeof path));
    return path;
}

// The text with each "|" turned into the field separator 0xBB.
std::string Separated(std::string text) {
    std::replace(text.begin(), text.end(), '|', kFieldSeparator);
    return text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SavedLists : public ::testing::Test {
  protected:
    HWND main_ = nullptr;

    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        main_ = CreateWindowExA(0, "STATIC", "main", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
        MainWindow = main_;
        for (int s = 0; s < kSavedListSectionCount; ++s) {
            HWND page = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 300, 200, main_, nullptr,
                                        nullptr, nullptr);
            HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 300, 200,
                                        page, reinterpret_cast<HMENU>(IDC_LIST), nullptr, nullptr);
            for (int c = 0; c < SavedListColumnCount(kSavedListSections[s]); ++c) {
                LVCOLUMNA column{};
                column.mask = LVCF_WIDTH;
                column.cx = 100;
                SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
            }
            kPages[s]->Window = page;
        }
        DeleteFileA(ListPath().c_str());
        for (int s = 0; s < kSavedListSectionCount; ++s) // as each page does when it opens
            LoadSavedListSection(List(s), kSavedListSections[s]);
    }

    void TearDown() override {
        for (PageState* page : kPages)
            page->Window = nullptr;
        DestroyWindow(main_);
        MainWindow = nullptr;
        DeleteFileA((ListPath() + ".$$$").c_str());
        DeleteFileA(ListPath().c_str());
    }

    static HWND List(int section) { return GetDlgItem(kPages[section]->Window, IDC_LIST); }

    static void AddRow(int section, std::vector<std::string_view> columns) {
        InsertListRow(List(section), -1, columns);
    }
};

// The main window hidden, the new file held by another program, the old file
// held open: the write fails and the old file stays as it was.
TEST_F(SavedLists, AWriteThatCannotFinishLeavesTheOldFile) {
    AddRow(3, {"KLOT", "Chicago"});
    ASSERT_EQ(WriteSavedLists(), 0);
    const std::string before = ReadFile(ListPath()), temporary = ListPath() + ".$$$";
    SendMessageA(List(3), LVM_DELETEALLITEMS, 0, 0);
    auto expectRefused = [] {
        EXPECT_EQ(WriteSavedLists(), -1);
        EXPECT_FALSE(RuntimeFlagSet(kSavingLists));
    };
    ShowWindow(main_, SW_HIDE);
    expectRefused();
    ShowWindow(main_, SW_SHOWNA);
    HANDLE blocker =
        CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(blocker, INVALID_HANDLE_VALUE);
    expectRefused();
    CloseHandle(blocker);
    DeleteFileA(temporary.c_str());
    blocker = CreateFileA(ListPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(blocker, INVALID_HANDLE_VALUE);
    expectRefused();
    CloseHandle(blocker);
    EXPECT_EQ(ReadFile(ListPath()), before);
    EXPECT_EQ(GetFileAttributesA(temporary.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A page whose list does not exist (not built, or its dialog failed) or has
// not loaded its section yet keeps its section as the file holds it.
TEST_F(SavedLists, SectionsOfPagesWithoutALoadedListAreWrittenBackAsRead) {
    std::ofstream(ListPath(), std::ios::binary)
        << Separated("Cumulon 3.0.7.143\r\n\r\n[ALERTS]\r\n1|ILZ014|Cook\r\n\r\n"
                     "[RADAR]\r\nKLOT|Chicago\r\n\r\n");
    kPages[0]->Window = nullptr;
    RemovePropA(List(3), "CumulonListLoaded"); // made, its load still to come
    AddRow(3, {"KXXX", "not loaded yet"});
    AddRow(1, {"Home", "38.25", "-85.76"});
    ASSERT_EQ(WriteSavedLists(), 0);
    EXPECT_EQ(ReadFile(ListPath()),
              Separated("Cumulon 3.0.7.143\r\n\r\n[ALERTS]\r\n1|ILZ014|Cook\r\n\r\n"
                        "[POINTFORECAST]\r\nHome|38.25|-85.76\r\n\r\n[HOURLYPOINTFORECAST]\r\n\r\n"
                        "[RADAR]\r\nKLOT|Chicago\r\n\r\n[OBSERVATIONS]\r\n\r\n[METAR]\r\n\r\n"
                        "[RIVERGAUGES]\r\n\r\n"));
}

} // namespace
