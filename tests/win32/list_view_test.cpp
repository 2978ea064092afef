// The list commands of every page on real list views: the single selection,
// deleting several rows, and moving a row with its texts and check mark.
#include "services/list_view.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

class ListCommands : public ::testing::Test {
  protected:
    HWND parent_ = nullptr;
    HWND list_ = nullptr;

    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(parent_); }

    // A new list of rows "a", "b", ... whose second column reads "a-code", ...
    void Fill(int rows, bool checkBoxes = false, std::vector<int> selected = {},
              std::vector<int> checked = {}) {
        if (list_)
            DestroyWindow(list_);
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT | LVS_SHOWSELALWAYS, 0,
                                0, 300, 200, parent_, nullptr, nullptr, nullptr);
        for (int c = 0; c < 2; ++c) {
            LVCOLUMNA column{};
            column.mask = LVCF_WIDTH;
            column.cx = 100;
            SendMessageA(list_, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
        }
        if (checkBoxes)
            SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
        for (int i = 0; i < rows; ++i) {
            std::string name(1, static_cast<char>('a' + i));
            InsertListRow(list_, -1, {name, name + "-code"});
        }
        for (int row : checked)
            SetListRowChecked(list_, row, true);
        for (int row : selected)
            ListView_SetItemState(list_, row, LVIS_SELECTED, LVIS_SELECTED);
    }

    // "b* a c ": the names in order, "*" for a check mark, "?" for a row whose
    // second column did not go with it.
    std::string Rows() {
        std::string rows;
        for (int i = 0; i < ListRowCount(list_); ++i) {
            std::string name = ListItemText(list_, i, 0);
            rows.append(name)
                .append(ListItemText(list_, i, 1) == name + "-code" ? "" : "?")
                .append(ListRowChecked(list_, i) ? "*" : "")
                .append(" ");
        }
        return rows;
    }
};

TEST_F(ListCommands, TheSelectedIndexNeedsExactlyOneRowDeleteTakesEverySelectedRow) {
    Fill(4);
    EXPECT_EQ(GetSelectedIndex(list_), -1);
    EXPECT_EQ(DeleteSelectedItems(list_), -1);
    EXPECT_EQ(Rows(), "a b c d ");
    Fill(4, false, {1});
    EXPECT_EQ(GetSelectedIndex(list_), 1);
    Fill(4, false, {0, 2, 3});
    EXPECT_EQ(GetSelectedIndex(list_), -1);
    EXPECT_EQ(DeleteSelectedItems(list_), 0);
    EXPECT_EQ(Rows(), "b ");
}

// Up (-1) and down (+1) swap neighbours and wrap around the ends; the texts,
// the check mark and the selection go with the row.
TEST_F(ListCommands, MovesSwapNeighboursAndWrapAroundTheEnds) {
    const struct {
        int rows;
        bool checkBoxes;
        std::vector<int> selected, checked;
        int direction, moved;
        const char* after;
    } cases[] = {
        {3, false, {1}, {}, -1, 0, "b a c "},
        {3, false, {1}, {}, +1, 2, "a c b "},
        {3, false, {0}, {}, -1, 2, "b c a "},
        {3, false, {2}, {}, +1, 0, "c a b "},
        {3, true, {0}, {0, 1}, -1, 2, "b* c a* "},
        {3, true, {2}, {1, 2}, +1, 0, "c* a b* "},
        // Nothing moves with one row, or without exactly one row selected.
        {1, false, {0}, {}, +1, -1, "a "},
        {3, false, {0, 1}, {}, +1, -1, "a b c "},
        {3, true, {}, {0}, -1, -1, "a* b c "},
    };
    for (const auto& c : cases) {
        Fill(c.rows, c.checkBoxes, c.selected, c.checked);
        EXPECT_EQ(MoveListItem(list_, 2, c.direction), c.moved) << c.after;
        EXPECT_EQ(Rows(), c.after);
        if (c.moved >= 0) {
            EXPECT_EQ(GetSelectedIndex(list_), c.moved) << c.after;
        }
    }
}

TEST_F(ListCommands, LongTextsAreReadWithTheirLimit) {
    Fill(0);
    InsertListRow(list_, -1, {std::string(3000, 'n'), "x"});
    EXPECT_EQ(ListItemText(list_, 0, 0).size(), kListTextMax);
    EXPECT_EQ(ListItemText(list_, 0, 0, 20), std::string(20, 'n'));
}

} // namespace
