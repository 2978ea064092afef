// The observation report on arbitrary documents; the first byte is the flags.
#include "pages/stations/observations_report.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    std::vector<char> bytes(data + 1, data + size); // nothing after it may be read
    std::string_view document(bytes.data(), bytes.size());
    BuildObservationReport(document, data[0], "KSDF");
    CalendarTime time;
    ObservationTime(document, &time);
    return 0;
}
