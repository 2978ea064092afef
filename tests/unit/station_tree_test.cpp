#include "services/station_tree.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Each item as "parent:H|L:text", parents by index.
std::string Tree(std::string_view file) {
    std::string out;
    for (const StationTreeItem& item : ParseStationTree(file))
        out += std::to_string(item.Parent) + (item.Heading ? ":H:" : ":L:") + item.Text + "\n";
    return out;
}

TEST(StationTree, LinesBecomeHeadingsAndLeavesInFileOrder) {
    struct Case {
        std::string file, tree;
    } cases[] = {
        // Two first-level items A and D; C under B under A; E directly under D.
        {"+A\r\n++B\r\nC c\r\n+D\r\nE e\r\n", "-1:H:A\n0:H:B\n1:L:C c\n-1:H:D\n3:L:E e\n"},
        // A leaf goes under the last heading of either level.
        {"+A\n++B\nb1\n+C\nc1\n++D\nd1\n",
         "-1:H:A\n0:H:B\n1:L:b1\n-1:H:C\n3:L:c1\n3:H:D\n5:L:d1\n"},
        // Two second-level headings under one first-level heading are siblings.
        {"+A\n++B\nb\n++C\nc\n", "-1:H:A\n0:H:B\n1:L:b\n0:H:C\n3:L:c\n"},
        // Three plus signs: a second-level heading whose text starts with one.
        {"+A\n+++x\n", "-1:H:A\n0:H:+x\n"},
        // Before the first heading: the top level. Blank lines are skipped.
        {"lone\n++early\n\r\n\n+A\nleaf", "-1:L:lone\n-1:H:early\n-1:H:A\n2:L:leaf\n"},
        // A bare CR ends a line's text; an empty heading keeps its place.
        {"+\nx\ry\n", "-1:H:\n0:L:x\n"},
        {"", ""},
        // A long line stays one item, cut to its buffer.
        {"+A\n" + std::string(2000, 'k') + "\nnext\n",
         "-1:H:A\n0:L:" + std::string(kStationTreeTextMax, 'k') + "\n0:L:next\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Tree(c.file), c.tree) << c.file;
}

TEST(StationTree, TheIdentifierIsTheTextBeforeTheFirstSpace) {
    EXPECT_EQ(StationIdentifier("KORD Chicago O'Hare"), "KORD");
    EXPECT_EQ(StationIdentifier("KORD"), "KORD");
    EXPECT_EQ(StationIdentifier(" x"), "");
}

} // namespace
