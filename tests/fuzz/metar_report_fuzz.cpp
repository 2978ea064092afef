// The METAR report on arbitrary documents; the first four bytes are the flags.
#include "pages/stations/metar_report.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint32_t flags = 0;
    if (size >= 4) {
        std::memcpy(&flags, data, 4);
        data += 4;
        size -= 4;
    }
    std::vector<char> bytes(data, data + size); // nothing after it may be read
    BuildMetarReport(std::string_view(bytes.data(), bytes.size()), flags, "Name");
    return 0;
}
