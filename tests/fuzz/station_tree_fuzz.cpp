// The tree file reader on arbitrary files. The tree view indexes the items by
// their parents, so a parent must be an earlier heading.
#include "services/station_tree.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view file(reinterpret_cast<const char*>(data), size);
    std::vector<StationTreeItem> items = ParseStationTree(file);
    for (size_t i = 0; i < items.size(); ++i) {
        int parent = items[i].Parent;
        if (parent >= static_cast<int>(i) || parent < -1 || (parent >= 0 && !items[parent].Heading))
            __builtin_trap();
        StationIdentifier(items[i].Text);
    }
    return 0;
}
