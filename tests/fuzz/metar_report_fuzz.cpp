// The METAR report on arbitrary documents and flags: it must never read past
// the document, must start with the display name, must end every line it
// writes, and must write nothing but the location line when every line is off.
#include "pages/stations/metar_report.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint32_t flags = 0;
    if (size >= 4) {
        std::memcpy(&flags, data, 4);
        data += 4;
        size -= 4;
    }
    // A copy of exactly the input's size: nothing after it may be read.
    std::vector<char> bytes(data, data + size);
    std::string_view document(bytes.data(), bytes.size());
    MetarReport report = BuildMetarReport(document, flags, "Name");
    const std::string& out = report.Output;
    if (out == "no data")
        return report.ObservationTime.empty() ? 0 : (__builtin_trap(), 0);
    if (out.rfind("Name", 0) != 0 || out.size() < 6 || out.compare(out.size() - 2, 2, "\r\n") != 0)
        __builtin_trap();
    // Values are views into the document, before its first NUL.
    const char* time = report.ObservationTime.data();
    if (!report.ObservationTime.empty() &&
        (time < bytes.data() || time + report.ObservationTime.size() > bytes.data() + size ||
         report.ObservationTime.find('\0') != std::string_view::npos))
        __builtin_trap();
    if (BuildMetarReport(document, flags & ~0x3FFFC0u, "Name").Output != "Name\r\n")
        __builtin_trap();
    // About thirty values, each at most the document, plus the weather words
    // (at most eight short words for a two-byte token) and the printed numbers.
    if (out.size() > 64 * size + 8192)
        __builtin_trap();
    return 0;
}
