#include "pages/stations/river_report.h"

#include "services/text_scan.h"

namespace {

constexpr std::string_view kLabels[] = {"Observation Time:", "Flood Stage:", "Latest Observation:"};

} // namespace

std::string BuildRiverReport(std::string_view document) {
    std::string_view text = UpToFirstNul(document);
    std::string out;

    std::string_view title = TagValue(text, "<title>", "</title>");
    std::string_view latitude = TagValue(text, "<geo:lat>", "</geo:lat>");
    std::string_view longitude = TagValue(text, "<geo:long>", "</geo:long>");
    out.append(title);
    if (!latitude.empty())
        out.append(" (").append(latitude);
    if (!longitude.empty())
        out.append(" ").append(longitude).append(")");
    if (!out.empty())
        out.append("\r\n");

    for (std::string_view label : kLabels) {
        size_t at = text.find(label);
        if (at == kNotFound)
            continue;
        size_t end = text.find('<', at + label.size());
        if (end != kNotFound)
            out.append(text.substr(at, end - at)).append("\r\n");
    }
    return out;
}

bool RiverBuildTime(std::string_view document, CalendarTime* local) {
    std::string_view value =
        TagValue(UpToFirstNul(document), "<lastBuildDate>", "</lastBuildDate>");
    return !value.empty() && ParseRfc822Time(value, local);
}
