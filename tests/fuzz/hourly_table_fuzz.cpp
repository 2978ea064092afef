// The hourly table on arbitrary documents: it must never read past the
// document, never give a column more cells than rows, keep unreadable row
// times as they stand in the document, and build texts that grow at most in
// proportion to the document (tags are never read twice).
#include "pages/forecast/hourly_table.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool ReadUtc(std::string_view text, CalendarTime* time) {
    int64_t ticks = 0;
    return ParseIsoTimeUtc(text, &ticks) && TicksToCalendar(ticks, time);
}

bool ReadNothing(std::string_view, CalendarTime*) {
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size: nothing after it may be read.
    std::vector<char> bytes(data, data + size);
    std::string_view document(bytes.data(), bytes.size());
    HourlyTable read = BuildHourlyTable(document, 0x1FFC, "%HH;", "%HH;", ReadUtc);
    HourlyTable raw = BuildHourlyTable(document, 0x1FFC, "%HH;", "%HH;", ReadNothing);

    if (read.Rows.size() != raw.Rows.size() ||
        read.Status.compare(0, raw.Status.size(), raw.Status))
        __builtin_trap();
    size_t total = raw.Status.size();
    for (const std::string& row : raw.Rows)
        if (row.empty() || document.find(row) == std::string_view::npos)
            __builtin_trap();
    for (const HourlyColumn& column : read.Columns) {
        if (column.Cells.size() > read.Rows.size())
            __builtin_trap();
        for (const std::string& cell : column.Cells)
            total += cell.size();
    }
    if (read.Rows.empty() && !read.Columns.empty())
        __builtin_trap();
    if (total > 40 * size + 64)
        __builtin_trap();
    return 0;
}
