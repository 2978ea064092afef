#include "pages/stations/river_report.h"

#include "services/ansi_text.h"
#include "services/local_time.h"
#include "services/text_scan.h"

#include <nlohmann/json.hpp>

#include <initializer_list>

namespace {

using Json = nlohmann::json;

constexpr std::string_view kLabels[] = {"Observation Time:", "Flood Stage:", "Latest Observation:"};

// --- the gauge JSON -----------------------------------------------------------

// The member at the end of `keys`, each an object's member; null when one
// is missing or is not an object.
const Json* Member(const Json& root, std::initializer_list<const char*> keys) {
    const Json* at = &root;
    for (const char* key : keys) {
        if (!at->is_object())
            return nullptr;
        auto found = at->find(key);
        if (found == at->end())
            return nullptr;
        at = &*found;
    }
    return at;
}

// A string member in code page 1252 (the JSON is UTF-8).
std::string Text(const Json* value) {
    return value && value->is_string() ? Utf8ToAnsi(value->get<std::string>()) : std::string();
}

// A number as the document writes it (or a string holding one, as some
// gauges send); empty for -999 (missing) and for anything else.
std::string Number(const Json* value) {
    std::string text;
    double number = 0;
    if (value && value->is_number()) {
        text = value->dump();
        number = value->get<double>();
    } else if (value && value->is_string()) {
        text = value->get<std::string>();
        if (!ReadDecimal(text, &number))
            return {};
    } else {
        return {};
    }
    return number <= -999 ? std::string() : text;
}

// An ISO 8601 time in the user's format; empty when it does not parse or is
// the service's placeholder for none ("0001-01-01T00:00:00Z").
std::string LocalTime(const Json* value, std::string_view format) {
    std::string text = Text(value);
    int64_t ticks;
    CalendarTime local;
    if (!ParseIsoTimeUtc(text, &ticks) || !UtcTicksToLocal(ticks, &local) || local.year < 1971)
        return {};
    char formatted[kFormattedTimeSize];
    FormatTime(local, format, formatted, sizeof formatted);
    return formatted;
}

// "no_flooding" is "No Flooding", "obs_not_current" "Observation Not Current".
std::string CategoryWords(std::string_view category) {
    std::string words;
    while (!category.empty()) {
        size_t end = category.find('_');
        std::string_view word = category.substr(0, end);
        category.remove_prefix(end == kNotFound ? category.size() : end + 1);
        if (word.empty())
            continue;
        if (!words.empty())
            words += ' ';
        if (word == "obs")
            word = "observation";
        else if (word == "fcst")
            word = "forecast";
        words += UpperAscii(word[0]);
        words.append(word.substr(1));
    }
    return words;
}

// A value and, when there is one, its unit.
std::string WithUnit(std::string value, const std::string& unit) {
    if (!value.empty() && !unit.empty())
        value.append(" ").append(unit);
    return value;
}

void AppendLine(std::string* out, std::string_view label, const std::string& value) {
    if (!value.empty())
        out->append(label).append(value).append("\r\n");
}

RiverGaugeText RenderGaugeJson(std::string_view document, std::string_view timeFormat) {
    RiverGaugeText text;
    const Json gauge = Json::parse(document.begin(), document.end(), nullptr, false);
    if (gauge.is_discarded() || !gauge.is_object())
        return text;

    std::string title = Text(Member(gauge, {"lid"}));
    for (auto [separator, part] : {std::pair{" - ", Text(Member(gauge, {"name"}))},
                                   std::pair{", ", Text(Member(gauge, {"state", "abbreviation"}))}})
        if (!part.empty())
            title.append(title.empty() ? "" : separator).append(part);
    std::string latitude = Number(Member(gauge, {"latitude"})),
                longitude = Number(Member(gauge, {"longitude"}));
    if (!latitude.empty() && !longitude.empty())
        title.append(title.empty() ? "(" : " (").append(latitude + " " + longitude + ")");
    if (!title.empty())
        text.Output.append(title).append("\r\n");

    const Json* observed = Member(gauge, {"status", "observed"});
    const Json* forecast = Member(gauge, {"status", "forecast"});
    const Json none;
    if (!observed)
        observed = &none;
    if (!forecast)
        forecast = &none;
    const std::string observedTime = LocalTime(Member(*observed, {"validTime"}), timeFormat);
    AppendLine(&text.Output, "Observation Time: ", observedTime);
    AppendLine(&text.Output, "Flood Stage: ",
               WithUnit(Number(Member(gauge, {"flood", "categories", "minor", "stage"})),
                        Text(Member(gauge, {"flood", "stageUnits"}))));
    AppendLine(
        &text.Output, "Latest Observation: ",
        WithUnit(Number(Member(*observed, {"primary"})), Text(Member(*observed, {"primaryUnit"}))));
    AppendLine(&text.Output,
               "Flood Category: ", CategoryWords(Text(Member(*observed, {"floodCategory"}))));
    std::string expected =
        WithUnit(Number(Member(*forecast, {"primary"})), Text(Member(*forecast, {"primaryUnit"})));
    std::string expectedTime = LocalTime(Member(*forecast, {"validTime"}), timeFormat);
    if (!expected.empty() && !expectedTime.empty())
        expected.append(" at ").append(expectedTime);
    AppendLine(&text.Output, "Forecast: ", expected);

    text.Status = observedTime;
    text.HasStatus = !observedTime.empty();
    return text;
}

} // namespace

bool IsRiverGaugeJson(std::string_view document) {
    if (document.substr(0, 3) == "\xEF\xBB\xBF")
        document.remove_prefix(3);
    size_t first = document.find_first_not_of(" \t\r\n");
    return first != kNotFound && document[first] == '{';
}

RiverGaugeText RenderRiverGauge(std::string_view document, std::string_view timeFormat) {
    if (IsRiverGaugeJson(document))
        return RenderGaugeJson(document, timeFormat);
    RiverGaugeText text;
    text.Output = BuildRiverReport(document);
    CalendarTime built;
    if (RiverBuildTime(document, &built)) {
        char formatted[kFormattedTimeSize];
        FormatTime(built, timeFormat, formatted, sizeof formatted);
        text.Status = formatted;
        text.HasStatus = true;
    }
    return text;
}

// --- the RSS feed ----------------------------------------------------------------

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
