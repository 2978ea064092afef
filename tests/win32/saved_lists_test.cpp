// list.dat written from real list views and loaded back into them.
#include "app/saved_lists.h"
#include "resources/resource_ids.h"
#include "services/saved_lists_file.h"
#include "services/saved_lists_format.h"
#include "services/shared_state.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>
#include <sstream>
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

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
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
            if (s == 0)
                SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES,
                             LVS_EX_CHECKBOXES);
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
        std::string temporary = ListPath() + ".$$$";
        SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(temporary.c_str());
        SetFileAttributesA(ListPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(ListPath().c_str());
    }

    static HWND List(int section) { return GetDlgItem(kPages[section]->Window, IDC_LIST); }

    static void AddRow(int section, std::vector<std::string> columns, bool checked = false) {
        HWND list = List(section);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = columns[0].data();
        int index = static_cast<int>(
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        for (size_t c = 1; c < columns.size(); ++c) {
            LVITEMA sub{};
            sub.iSubItem = static_cast<int>(c);
            sub.pszText = columns[c].data();
            SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&sub));
        }
        ListView_SetCheckState(list, index, checked);
    }

    static std::string Text(int section, int item, int column) {
        char text[1024] = "";
        ListView_GetItemText(List(section), item, column, text, sizeof text);
        return text;
    }

    static void ClearLists() {
        for (int s = 0; s < kSavedListSectionCount; ++s)
            SendMessageA(List(s), LVM_DELETEALLITEMS, 0, 0);
    }
};

TEST_F(SavedLists, WriteThenLoadGivesTheSameRowsOrderAndCheckMarks) {
    AddRow(0, {"ILZ014", "Cook"}, true);
    AddRow(0, {"INZ001", "Lake"}, false);
    AddRow(0, {"WIZ066", "Kenosha"}, true);
    AddRow(1, {"Home", "38.25", "-85.76"});
    AddRow(1, {"Cabin", "45.1", "-93.2"});
    AddRow(6, {"LOUK2", "Ohio River at Louisville"});
    ASSERT_EQ(WriteSavedLists(), 0);
    ClearLists();
    for (int s = 0; s < kSavedListSectionCount; ++s)
        ASSERT_EQ(LoadSavedListSection(List(s), kSavedListSections[s]), 0);

    ASSERT_EQ(ListView_GetItemCount(List(0)), 3);
    EXPECT_EQ(Text(0, 0, 0), "ILZ014");
    EXPECT_EQ(Text(0, 1, 1), "Lake");
    EXPECT_TRUE(ListView_GetCheckState(List(0), 0));
    EXPECT_FALSE(ListView_GetCheckState(List(0), 1));
    EXPECT_TRUE(ListView_GetCheckState(List(0), 2));
    ASSERT_EQ(ListView_GetItemCount(List(1)), 2);
    EXPECT_EQ(Text(1, 1, 0), "Cabin");
    EXPECT_EQ(Text(1, 1, 2), "-93.2");
    EXPECT_EQ(ListView_GetItemCount(List(2)), 0);
    ASSERT_EQ(ListView_GetItemCount(List(6)), 1);
    EXPECT_EQ(Text(6, 0, 1), "Ohio River at Louisville");
}

TEST_F(SavedLists, FileHoldsTheExactFormat) {
    AddRow(0, {"ILZ014", "Cook"}, true);
    AddRow(1, {"Home", "38.25", "-85.76"});
    ASSERT_EQ(WriteSavedLists(), 0);
    EXPECT_EQ(
        ReadFile(ListPath()),
        "Cumulon 3.0.7.143\r\n\r\n[ALERTS]\r\n1\xBBILZ014\xBB"
        "Cook\r\n\r\n[POINTFORECAST]\r\nHome\xBB"
        "38.25\xBB-85.76\r\n\r\n[HOURLYPOINTFORECAST]\r\n\r\n[RADAR]\r\n\r\n[OBSERVATIONS]\r\n\r\n"
        "[METAR]\r\n\r\n[RIVERGAUGES]\r\n\r\n");
}

TEST_F(SavedLists, NothingIsWrittenWhileTheMainWindowIsHidden) {
    AddRow(3, {"KLOT", "Chicago"});
    ASSERT_EQ(WriteSavedLists(), 0);
    std::string before = ReadFile(ListPath());
    SendMessageA(List(3), LVM_DELETEALLITEMS, 0, 0);
    ShowWindow(main_, SW_HIDE);
    EXPECT_EQ(WriteSavedLists(), -1);
    EXPECT_EQ(ReadFile(ListPath()), before);
    EXPECT_FALSE(RuntimeFlagSet(kSavingLists));
}

TEST_F(SavedLists, AFailedWriteLeavesTheOldFileIntact) {
    AddRow(3, {"KLOT", "Chicago"});
    ASSERT_EQ(WriteSavedLists(), 0);
    std::string before = ReadFile(ListPath());
    SendMessageA(List(3), LVM_DELETEALLITEMS, 0, 0);

    // The new file cannot be written: another program holds it open.
    std::string temporary = ListPath() + ".$$$";
    HANDLE blocker =
        CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(blocker, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WriteSavedLists(), -1);
    CloseHandle(blocker);
    DeleteFileA(temporary.c_str());
    EXPECT_EQ(ReadFile(ListPath()), before);
    EXPECT_FALSE(RuntimeFlagSet(kSavingLists));

    // The old file cannot be replaced while it is held open; the new one is
    // not left behind.
    blocker = CreateFileA(ListPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(blocker, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WriteSavedLists(), -1);
    CloseHandle(blocker);
    EXPECT_EQ(ReadFile(ListPath()), before);
    EXPECT_EQ(GetFileAttributesA(temporary.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SavedLists, LoadAppendsAndAnUnknownSectionOrNoFileLoadsNothing) {
    EXPECT_EQ(LoadSavedListSection(List(3), "[RADAR]"), -1);
    AddRow(3, {"KLOT", "Chicago"});
    ASSERT_EQ(WriteSavedLists(), 0);
    ASSERT_EQ(LoadSavedListSection(List(3), "[RADAR]"), 0);
    EXPECT_EQ(ListView_GetItemCount(List(3)), 2);
    EXPECT_EQ(LoadSavedListSection(List(3), "[NOSUCH]"), 0);
    EXPECT_EQ(ListView_GetItemCount(List(3)), 2);
}

// A page whose list does not exist (not built, or its dialog failed) or has
// not loaded its section yet keeps its section as the file holds it.
TEST_F(SavedLists, SectionsOfPagesWithoutALoadedListAreWrittenBackAsRead) {
    const std::string old = "Cumulon 3.0.7.143\r\n\r\n[ALERTS]\r\n1\xBBILZ014\xBB"
                            "Cook\r\n\r\n[RADAR]\r\nKLOT\xBB"
                            "Chicago\r\n\r\n";
    HANDLE file =
        CreateFileA(ListPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, old.data(), static_cast<DWORD>(old.size()), &written, nullptr);
    CloseHandle(file);
    kPages[0]->Window = nullptr;
    RemovePropA(List(3), "CumulonListLoaded"); // made, its load still to come
    AddRow(3, {"KXXX", "not loaded yet"});
    AddRow(1, {"Home", "38.25", "-85.76"});
    ASSERT_EQ(WriteSavedLists(), 0);
    EXPECT_EQ(ReadFile(ListPath()),
              "Cumulon 3.0.7.143\r\n\r\n[ALERTS]\r\n1\xBBILZ014\xBB"
              "Cook\r\n\r\n[POINTFORECAST]\r\nHome\xBB"
              "38.25\xBB-85.76\r\n\r\n[HOURLYPOINTFORECAST]\r\n\r\n[RADAR]\r\nKLOT\xBB"
              "Chicago\r\n\r\n[OBSERVATIONS]\r\n\r\n[METAR]\r\n\r\n[RIVERGAUGES]\r\n\r\n");
}

} // namespace
