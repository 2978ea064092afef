#include "pages/forecast/forecast_text.h"

#include "services/text_scan.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

constexpr std::string_view kLocation = "<Forecast location=";
constexpr std::string_view kElevation = "elevation=";
constexpr std::string_view kCreationOpen = "<creationTime>";
constexpr std::string_view kCreationClose = "</creationTime>";
constexpr std::string_view kPeriodOpen = "<period>";
constexpr std::string_view kPeriodClose = "</period>";
constexpr std::string_view kValidOpen = "<valid>";
constexpr std::string_view kValidClose = "</valid>";
constexpr std::string_view kTextOpen = "<text>";
constexpr std::string_view kTextClose = "</text>";

// One part of a period: `period` runs from its "<period>" up to (not
// including) its "</period>". Both tags are searched from the period's start;
// the part counts only when both lie inside the period and the closing tag
// stands at least one character past the end of the opening one. None of the
// searched tags has a second '<', so no tag can straddle the "</period>": a
// search bounded by the period finds what a search of the whole document finds
// before it, and the walk stays linear in the document's length.
std::string_view PeriodPart(std::string_view period, std::string_view open,
                            std::string_view close) {
    size_t at = period.find(open);
    if (at == kNotFound)
        return {};
    size_t start = at + open.size();
    size_t end = period.find(close);
    if (end == kNotFound || end <= start)
        return {};
    return period.substr(start, end - start);
}

void AppendLine(std::string* out, std::string_view text) {
    out->append(text);
    out->append(kLineEnd);
}

} // namespace

std::string RenderPointForecast(std::string_view document) {
    std::string_view text = UpToFirstNul(document);
    std::string out;

    std::string_view location = AttributeValue(text, kLocation);
    if (!location.empty())
        AppendLine(&out, location);
    std::string_view elevation = AttributeValue(text, kElevation);
    if (!elevation.empty()) {
        out.append("Elevation: ");
        AppendLine(&out, elevation);
    }
    std::string_view created = ElementText(text, kCreationOpen, kCreationClose);
    if (!created.empty())
        AppendLine(&out, created);
    if (!out.empty())
        out.append(kLineEnd); // a blank line under the heading

    size_t start = text.find(kPeriodOpen);
    while (start != kNotFound) {
        size_t end = text.find(kPeriodClose, start + kPeriodOpen.size());
        if (end == kNotFound)
            break; // an unfinished period ends the walk
        std::string_view period = text.substr(start, end - start);
        std::string_view valid = PeriodPart(period, kValidOpen, kValidClose);
        if (!valid.empty()) {
            out.append(valid);
            out.append(": ");
        }
        std::string_view forecast = PeriodPart(period, kTextOpen, kTextClose);
        if (!forecast.empty()) {
            out.append(forecast);
            out.append(kLineEnd);
            out.append(kLineEnd);
        }
        start = text.find(kPeriodOpen, end + kPeriodClose.size());
    }
    return out;
}
