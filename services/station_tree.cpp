#include "services/station_tree.h"

#include "services/text_scan.h"

std::vector<StationTreeItem> ParseStationTree(std::string_view file) {
    std::vector<StationTreeItem> items;
    int firstLevel = -1;  // the last "+" heading
    int lastHeading = -1; // the last heading of either level
    std::string_view rest = file, line;
    while (NextLine(&rest, &line)) {
        std::string_view text = CutAtLineEnd(line);
        if (text.empty())
            continue;
        StationTreeItem item{-1, true, {}};
        if (text.substr(0, 2) == "++") {
            item.Parent = firstLevel;
            text.remove_prefix(2);
        } else if (text[0] == '+') {
            text.remove_prefix(1);
        } else {
            item.Parent = lastHeading;
            item.Heading = false;
        }
        item.Text.assign(text.substr(0, kStationTreeTextMax));
        items.push_back(std::move(item));
        const int index = static_cast<int>(items.size()) - 1;
        if (items.back().Heading) {
            lastHeading = index;
            if (items.back().Parent == -1)
                firstLevel = index;
        }
    }
    return items;
}

std::string_view StationIdentifier(std::string_view leaf) {
    return leaf.substr(0, leaf.find(' '));
}
