// The river report on arbitrary documents: it never reads past the document,
// ignores what follows a NUL byte, writes whole CR LF lines, and holds at most
// one copy of the document per part (three values and three labelled lines).
#include "pages/stations/river_report.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> bytes(data, data + size); // exactly the document, nothing after it
    std::string_view document(bytes.data(), bytes.size());
    std::string report = BuildRiverReport(document);
    CalendarTime time;
    RiverBuildTime(document, &time);

    const std::string_view text = document.substr(0, document.find('\0'));
    if (report != BuildRiverReport(text) || report.size() > 6 * text.size() + 16 ||
        (!report.empty() && report.compare(report.size() - 2, 2, "\r\n") != 0))
        __builtin_trap();
    return 0;
}
