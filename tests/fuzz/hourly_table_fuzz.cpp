// The hourly table on arbitrary documents, with row times read and unread.
#include "pages/forecast/hourly_table.h"

#include <cstddef>
#include <cstdint>
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
    std::vector<char> bytes(data, data + size); // nothing after it may be read
    std::string_view document(bytes.data(), bytes.size());
    BuildHourlyTable(document, 0x1FFC, "%HH;", "%HH;", ReadUtc);
    BuildHourlyTable(document, 0x1FFC, "%HH;", "%HH;", ReadNothing);
    return 0;
}
