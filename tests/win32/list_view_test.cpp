// The list commands of every page on real list views: the single selection,
// deleting several rows, and moving a row with its texts and check mark.
#include "services/list_view.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

class ListCommands : public ::testing::Test {
  protected:
    HWND parent_ = nullptr;
    HWND list_ = nullptr;

    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 300, 200,
                                parent_, nullptr, nullptr, nullptr);
        for (int c = 0; c < 2; ++c) {
            LVCOLUMNA column{};
            column.mask = LVCF_WIDTH;
            column.cx = 100;
            SendMessageA(list_, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
        }
    }
    void TearDown() override { DestroyWindow(parent_); }

    void Fill(std::initializer_list<const char*> names, bool checkBoxes = false) {
        if (checkBoxes)
            SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
        for (const char* name : names)
            InsertListRow(list_, -1, {name, std::string(name) + "-code"});
    }

    std::string Rows() {
        std::string rows;
        for (int i = 0; i < ListRowCount(list_); ++i)
            rows += ListItemText(list_, i, 0) + (ListRowChecked(list_, i) ? "*" : "") + " ";
        return rows;
    }

    void Select(std::initializer_list<int> rows) {
        ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
        for (int row : rows)
            ListView_SetItemState(list_, row, LVIS_SELECTED, LVIS_SELECTED);
    }
};

TEST_F(ListCommands, SelectedIndexNeedsExactlyOneRow) {
    Fill({"a", "b", "c"});
    EXPECT_EQ(GetSelectedIndex(list_), -1);
    Select({1});
    EXPECT_EQ(GetSelectedIndex(list_), 1);
    Select({0, 2});
    EXPECT_EQ(GetSelectedIndex(list_), -1);
}

TEST_F(ListCommands, DeleteRemovesEverySelectedRow) {
    Fill({"a", "b", "c", "d"});
    EXPECT_EQ(DeleteSelectedItems(list_), -1);
    EXPECT_EQ(ListRowCount(list_), 4);
    Select({0, 2, 3});
    EXPECT_EQ(DeleteSelectedItems(list_), 0);
    EXPECT_EQ(Rows(), "b ");
}

TEST_F(ListCommands, UpAndDownSwapNeighboursAndKeepTheSelection) {
    Fill({"a", "b", "c"});
    Select({1});
    EXPECT_EQ(MoveListItem(list_, 2, -1), 0);
    EXPECT_EQ(Rows(), "b a c ");
    EXPECT_EQ(GetSelectedIndex(list_), 0);
    EXPECT_EQ(ListItemText(list_, 0, 1), "b-code");
    EXPECT_EQ(MoveListItem(list_, 2, +1), 1);
    EXPECT_EQ(Rows(), "a b c ");
    EXPECT_EQ(GetSelectedIndex(list_), 1);
}

TEST_F(ListCommands, MovesWrapAroundTheEnds) {
    Fill({"a", "b", "c"});
    Select({0});
    EXPECT_EQ(MoveListItem(list_, 2, -1), 2);
    EXPECT_EQ(Rows(), "b c a ");
    EXPECT_EQ(GetSelectedIndex(list_), 2);
    EXPECT_EQ(ListItemText(list_, 2, 1), "a-code");
    EXPECT_EQ(MoveListItem(list_, 2, +1), 0);
    EXPECT_EQ(Rows(), "a b c ");
    EXPECT_EQ(GetSelectedIndex(list_), 0);
}

TEST_F(ListCommands, CheckMarksTravelWithTheirRows) {
    Fill({"a", "b", "c"}, true);
    SetListRowChecked(list_, 0, true);
    Select({0});
    MoveListItem(list_, 2, +1);
    EXPECT_EQ(Rows(), "b a* c ");
    MoveListItem(list_, 2, +1);
    MoveListItem(list_, 2, +1); // from the bottom to the top
    EXPECT_EQ(Rows(), "a* b c ");
    MoveListItem(list_, 2, -1); // from the top to the bottom
    EXPECT_EQ(Rows(), "b c a* ");
}

TEST_F(ListCommands, NothingMovesWithoutASingleSelectionOrWithOneRow) {
    Fill({"a"});
    Select({0});
    EXPECT_EQ(MoveListItem(list_, 2, +1), -1);
    Fill({"b"});
    Select({0, 1});
    EXPECT_EQ(MoveListItem(list_, 2, +1), -1);
    EXPECT_EQ(Rows(), "a b ");
}

TEST_F(ListCommands, LongTextsAreReadWithTheirLimit) {
    std::string name(3000, 'n');
    InsertListRow(list_, -1, {name, "x"});
    EXPECT_EQ(ListItemText(list_, 0, 0).size(), kListTextMax);
    EXPECT_EQ(ListItemText(list_, 0, 0, 20), std::string(20, 'n'));
}

} // namespace
