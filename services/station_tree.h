// The station tree files ("observations.trv", "radar.trv", "alert.trv",
// "metar.trv", "river.trv"): lines whose first characters give their level.
// "+" opens a first-level heading, "++" a second-level heading under the last
// first-level one, and any other line is a leaf under the last heading of
// either level. Items keep their file order; the tree is not sorted.
#ifndef CUMULON_STATION_TREE_H
#define CUMULON_STATION_TREE_H

#include <string>
#include <string_view>
#include <vector>

constexpr size_t kStationTreeTextMax = 1023; // an item's text is read with a 1024-byte buffer

struct StationTreeItem {
    int Parent; // index of the parent item, -1 for the top level
    bool Heading;
    std::string Text;
};

// The items of a tree file, parents before their children. Each line is cut
// at its first CR or LF and its text at 1023 characters (a longer line stays
// one item). Blank lines are skipped. Lines before the first heading, and a
// "++" line before any "+" line, go to the top level. A line of three plus
// signs is a second-level heading whose text begins with one plus sign.
std::vector<StationTreeItem> ParseStationTree(std::string_view file);

// The identifier of a leaf: its text up to the first space (the whole text
// when it has none).
std::string_view StationIdentifier(std::string_view leaf);

#endif
