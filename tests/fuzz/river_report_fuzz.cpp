// The river report on arbitrary documents.
#include "pages/stations/river_report.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> bytes(data, data + size); // nothing after it may be read
    std::string_view document(bytes.data(), bytes.size());
    BuildRiverReport(document);
    CalendarTime time;
    RiverBuildTime(document, &time);
    return 0;
}
