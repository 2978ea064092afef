#include "pages/stations/observations_report.h"

#include "services/text_scan.h"

namespace {

// One value line: written when its flag (0: always) is set and its element is
// found.
struct ValueLine {
    uint32_t Flag;
    std::string_view Open, Close;
    std::string_view Label, Unit;
};

constexpr uint32_t F = kObservationFahrenheit, C = kObservationCelsius;

constexpr ValueLine kAboveWind[] = {
    {0, "<location>", "</location>", " ", "\r\n\r\n"},
    {0, "<weather>", "</weather>", "Weather: ", "\r\n"},
    {F, "<temp_f>", "</temp_f>", "Temperature: ", "\260F\r\n"},
    {C, "<temp_c>", "</temp_c>", "Temperature: ", "\260C\r\n"},
    {F, "<heat_index_f>", "</heat_index_f>", "Heat Index: ", "\260F\r\n"},
    {C, "<heat_index_c>", "</heat_index_c>", "Heat Index: ", "\260C\r\n"},
    {F, "<windchill_f>", "</windchill_f>", "Windchill: ", "\260F\r\n"},
    {C, "<windchill_c>", "</windchill_c>", "Windchill: ", "\260C\r\n"},
};

constexpr ValueLine kBelowWind[] = {
    {0, "<relative_humidity>", "</relative_humidity>", "Humidity: ", "%\r\n"},
    {kObservationInches, "<pressure_in>", "</pressure_in>", "Pressure: ", " in\r\n"},
    {kObservationMillibars, "<pressure_mb>", "</pressure_mb>", "Pressure: ", " mb\r\n"},
    {F, "<dewpoint_f>", "</dewpoint_f>", "Dew Point: ", "\260F\r\n"},
    {C, "<dewpoint_c>", "</dewpoint_c>", "Dew Point: ", "\260C\r\n"},
    {0, "<visibility_mi>", "</visibility_mi>", "Visibility: ", " mi\r\n"},
};

// The parts of the wind line after the direction, in this order; a gust
// beginning with its `calm` text is no gust (an empty one is still written).
struct WindPart {
    uint32_t Flag;
    std::string_view Open, Close;
    std::string_view Label, Unit;
    std::string_view Calm; // empty for a speed
};

constexpr WindPart kWindParts[] = {
    {kObservationMph, "<wind_mph>", "</wind_mph>", " at ", " mph", ""},
    {kObservationKnots, "<wind_kt>", "</wind_kt>", " at ", " kts", ""},
    {kObservationMph, "<wind_gust_mph>", "</wind_gust_mph>", " - gusts up to ", " mph", "0.0"},
    {kObservationKnots, "<wind_gust_kt>", "</wind_gust_kt>", " - gusts up to ", " kts", "0"},
};

void Append(std::string* out, std::string_view label, std::string_view value,
            std::string_view unit) {
    out->append(label);
    out->append(value);
    out->append(unit);
}

template <size_t N>
void AppendLines(std::string_view text, uint32_t flags, const ValueLine (&lines)[N],
                 std::string* out) {
    for (const ValueLine& line : lines) {
        std::string_view value;
        if ((line.Flag == 0 || (flags & line.Flag)) &&
            FindTagValue(text, line.Open, line.Close, &value))
            Append(out, line.Label, value, line.Unit);
    }
}

void AppendWind(std::string_view text, uint32_t flags, std::string* out) {
    std::string_view value;
    if (!FindTagValue(text, "<wind_dir>", "</wind_dir>", &value))
        return;
    Append(out, "Wind: ", value, "");
    if (FindTagValue(text, "<wind_degrees>", "</wind_degrees>", &value))
        Append(out, "(", value, "\260)");
    for (const WindPart& part : kWindParts) {
        if (!(flags & part.Flag) || !FindTagValue(text, part.Open, part.Close, &value))
            continue;
        const bool gust = !part.Calm.empty();
        if (gust && value.substr(0, part.Calm.size()) == part.Calm)
            continue;
        Append(out, part.Label, value, part.Unit);
    }
    out->append("\r\n");
}

} // namespace

std::string BuildObservationReport(std::string_view document, uint32_t flags,
                                   std::string_view identifier) {
    std::string_view text = UpToFirstNul(document);
    std::string out(identifier);
    AppendLines(text, flags, kAboveWind, &out);
    AppendWind(text, flags, &out);
    AppendLines(text, flags, kBelowWind, &out);
    return out;
}

bool ObservationTime(std::string_view document, CalendarTime* local) {
    std::string_view value =
        TagValue(UpToFirstNul(document), "<observation_time_rfc822>", "</observation_time_rfc822>");
    return !value.empty() && ParseRfc822Time(value, local);
}
