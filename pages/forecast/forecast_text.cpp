#include "pages/forecast/forecast_text.h"

#include "services/ansi_text.h"
#include "services/text_scan.h"
#include "services/time_format.h"

#include <string>
#include <vector>

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

// --- today's "dwmlByDay" document ---------------------------------------------

// Where the element `name` ("<dwml") starts at or after `from`: the name
// followed by a blank, '/' or '>', so "<text" is not "<textarea".
size_t FindElement(std::string_view text, std::string_view name, size_t from = 0) {
    for (size_t at = text.find(name, from); at != kNotFound; at = text.find(name, at + 1)) {
        size_t next = at + name.size();
        if (next < text.size() && (text[next] == '>' || text[next] == '/' ||
                                   static_cast<unsigned char>(text[next]) <= ' '))
            return at;
    }
    return kNotFound;
}

// The content of the first element `name` of `text` at or after `from` (its
// attributes skipped): from the '>' of its start tag to its end tag; empty
// for an element closed in its start tag. `end`, when given, is set past the
// whole element, and left as it was when the element is missing or unfinished.
std::string_view Content(std::string_view text, std::string_view name, size_t from = 0,
                         size_t* end = nullptr) {
    size_t at = FindElement(text, name, from);
    size_t gt = at == kNotFound ? kNotFound : text.find('>', at);
    if (gt == kNotFound)
        return {};
    if (text[gt - 1] == '/') {
        if (end)
            *end = gt + 1;
        return {};
    }
    std::string close = "</" + std::string(name.substr(1)) + ">";
    size_t stop = text.find(close, gt + 1);
    if (stop == kNotFound)
        return {};
    if (end)
        *end = stop + close.size();
    return text.substr(gt + 1, stop - gt - 1);
}

// The value of attribute `name` inside one start tag, in double or single quotes.
std::string_view Attribute(std::string_view tag, std::string_view name) {
    for (size_t at = tag.find(name); at != kNotFound; at = tag.find(name, at + 1)) {
        size_t eq = at + name.size();
        bool boundary = at > 0 && static_cast<unsigned char>(tag[at - 1]) <= ' ';
        if (!boundary || eq + 1 >= tag.size() || tag[eq] != '=' ||
            (tag[eq + 1] != '"' && tag[eq + 1] != '\''))
            continue;
        size_t close = tag.find(tag[eq + 1], eq + 2);
        return close == kNotFound ? std::string_view() : tag.substr(eq + 2, close - eq - 2);
    }
    return {};
}

// The start tag of the element at `at`, up to its '>' (the whole rest without one).
std::string_view StartTag(std::string_view text, size_t at) {
    size_t gt = text.find('>', at);
    return text.substr(at, gt == kNotFound ? kNotFound : gt - at);
}

// The forecast block: from `<data type="forecast">` to its "</data>".
std::string_view ForecastData(std::string_view text) {
    for (size_t at = FindElement(text, "<data"); at != kNotFound;
         at = FindElement(text, "<data", at + 1)) {
        if (Attribute(StartTag(text, at), "type") != "forecast")
            continue;
        size_t end = text.find("</data>", at);
        return text.substr(at, end == kNotFound ? kNotFound : end - at);
    }
    return {};
}

// The period names of the time layout whose key is `key`, in order.
std::vector<std::string_view> PeriodNames(std::string_view data, std::string_view key) {
    std::vector<std::string_view> names;
    for (size_t at = FindElement(data, "<time-layout"); at != kNotFound;) {
        size_t end = kNotFound;
        std::string_view layout = Content(data, "<time-layout", at, &end);
        if (end == kNotFound)
            break; // an unfinished layout ends the search
        at = FindElement(data, "<time-layout", end);
        if (Content(layout, "<layout-key") != key)
            continue;
        for (size_t v = FindElement(layout, "<start-valid-time"); v != kNotFound;
             v = FindElement(layout, "<start-valid-time", v + 1))
            names.push_back(Attribute(StartTag(layout, v), "period-name"));
        break;
    }
    return names;
}

// The creation date in local time and the user's format; as it stands when
// there is no format or it does not read as a time.
std::string CreationTime(std::string_view created, std::string_view timeFormat) {
    CalendarTime local;
    if (timeFormat.empty() || !ParseIsoTime(created, &local))
        return std::string(created);
    char formatted[kFormattedTimeSize];
    FormatTime(local, timeFormat, formatted, sizeof formatted);
    return formatted;
}

std::string RenderDwml(std::string_view text, std::string_view timeFormat) {
    std::string out;
    std::string_view data = ForecastData(text);
    std::string_view location = Content(data, "<location");
    std::string_view place = Content(location, "<description");
    if (!place.empty()) {
        AppendLine(&out, place);
    } else if (size_t city = FindElement(location, "<city"); city != kNotFound) {
        std::string_view name = Content(location, "<city"),
                         state = Attribute(StartTag(location, city), "state");
        if (!name.empty() || !state.empty())
            AppendLine(&out, std::string(name) + (name.empty() || state.empty() ? "" : ", ") +
                                 std::string(state));
    }
    std::string_view height = Content(location, "<height");
    if (!height.empty())
        AppendLine(&out, "Elevation: " + std::string(height) + " ft");
    std::string_view created = Content(text, "<creation-date");
    if (!created.empty())
        AppendLine(&out, CreationTime(created, timeFormat));
    if (!out.empty())
        out.append(kLineEnd);

    size_t worded = FindElement(data, "<wordedForecast");
    if (worded == kNotFound)
        return out;
    std::vector<std::string_view> names =
        PeriodNames(data, Attribute(StartTag(data, worded), "time-layout"));
    std::string_view texts = Content(data, "<wordedForecast", worded);
    size_t period = 0;
    for (size_t at = FindElement(texts, "<text"); at != kNotFound; ++period) {
        size_t end = kNotFound;
        std::string_view forecast = Content(texts, "<text", at, &end);
        if (end == kNotFound)
            break; // a text without its end tag ends the walk
        at = FindElement(texts, "<text", end);
        std::string_view name = period < names.size() ? names[period] : std::string_view();
        if (forecast.empty())
            continue;
        if (!name.empty())
            out.append(name).append(": ");
        out.append(forecast).append(kLineEnd).append(kLineEnd);
    }
    return out;
}

} // namespace

std::string RenderPointForecast(std::string_view document, std::string_view timeFormat) {
    std::string_view text = UpToFirstNul(document);
    if (FindElement(text, "<dwml") != kNotFound) {
        std::string ansi; // MapClick declares ISO-8859-1; a UTF-8 one is converted
        return RenderDwml(AnsiDocument(text, &ansi), timeFormat);
    }
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
