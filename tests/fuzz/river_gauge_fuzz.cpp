// The river page's display on arbitrary cached feeds: the gauge JSON through
// nlohmann-json (a value of any type where another is expected, numbers out
// of range, broken UTF-8) and the RSS form. It must never throw.
#include "pages/stations/river_report.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> bytes(data, data + size); // nothing after it may be read
    RenderRiverGauge(std::string_view(bytes.data(), bytes.size()), "%Dow; %HH;:%mm;");
    return 0;
}
