// The observation report on arbitrary documents and flags: it never reads past
// the document, starts with the identifier, ignores what follows a NUL byte,
// and holds at most one copy of the document per line part.
#include "pages/stations/observations_report.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint32_t flags = data[0];
    std::vector<char> bytes(data + 1, data + size); // exactly the document, nothing after it
    std::string_view document(bytes.data(), bytes.size());
    std::string report = BuildObservationReport(document, flags, "KSDF");
    CalendarTime time;
    ObservationTime(document, &time);

    const std::string_view text = document.substr(0, document.find('\0'));
    if (report.compare(0, 4, "KSDF") != 0 ||
        report != BuildObservationReport(text, flags, "KSDF") ||
        report.size() > 4 + 20 * (text.size() + 32))
        __builtin_trap();
    return 0;
}
