#include "pages/stations/metar_report.h"

#include "services/text_scan.h"

#include <charconv>

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kNoData = "no data";

// Code page 1252: the degree sign is the byte 0xB0.
constexpr std::string_view kDegreesF = " \260F";
constexpr std::string_view kDegreesC = " \260C";
constexpr std::string_view kDegreesClose = "\260)";

constexpr double kFeetPerMetre = 3.281;
constexpr double kMphPerKnot = 1.150779;
constexpr double kInchesPerMillibar = 0.02953;

// The units a report uses, from one test of each pair.
struct Units {
    bool Fahrenheit;
    bool Mph;
    bool Inches;
    bool Feet;
};

Units UnitsOf(uint32_t flags) {
    uint32_t units = NormalizeMetarUnits(flags);
    return {(units & kMetarFahrenheit) != 0, (units & kMetarMph) != 0, (units & kMetarInches) != 0,
            (units & kMetarFeet) != 0};
}

// The value of element `name`: from the '>' of its first opening tag up to
// the first closing tag after it.
std::string_view Value(std::string_view text, std::string_view name) {
    std::string open = "<", close = "</";
    open.append(name).append(">");
    close.append(name).append(">");
    return TagValue(text, open, close);
}

// The value read as a decimal number (leading blanks skipped, reading stops
// at the first character that cannot continue the number, nothing readable
// gives 0), times `factor` plus `offset`, printed as "%.1f" prints it: a huge
// value gets all of its digits.
void AppendConverted(std::string* out, std::string_view value, double factor, double offset = 0) {
    double read;
    ReadDecimal(value, &read); // 0 when nothing is readable
    const double number = read * factor + offset;
    const size_t at = out->size();
    out->resize(at + 330); // the longest double printed with one decimal needs 312
    auto [end, error] = std::to_chars(out->data() + at, out->data() + out->size(), number,
                                      std::chars_format::fixed, 1);
    out->resize(error == std::errc() ? static_cast<size_t>(end - out->data()) : at);
}

void AppendTemperature(std::string* out, std::string_view celsius, bool fahrenheit) {
    if (fahrenheit)
        AppendConverted(out, celsius, 1.8, 32);
    else
        out->append(celsius);
}

// With "Lat/Lon": " (", the latitude, " " and the longitude when there is
// one, ")"; the brackets stand even when a coordinate is missing.
void AppendLocation(std::string* out, std::string_view text, uint32_t flags,
                    std::string_view displayName) {
    out->append(displayName);
    if (flags & kMetarLatLon) {
        std::string_view longitude = Value(text, "longitude");
        out->append(" (").append(Value(text, "latitude"));
        if (!longitude.empty())
            out->append(" ").append(longitude);
        out->append(")");
    }
    out->append(kLineEnd);
}

void AppendElevation(std::string* out, std::string_view text, const Units& units) {
    std::string_view metres = Value(text, "elevation_m");
    if (metres.empty())
        return;
    out->append("Elevation: ");
    if (units.Feet) {
        AppendConverted(out, metres, kFeetPerMetre);
        out->append(" ft");
    } else {
        out->append(metres).append(" m");
    }
    out->append(kLineEnd);
}

// Each space-separated token: a word for every code it contains, in the
// table's order ("+SHRASN" is heavy snow, then heavy rain), or the token
// itself when it contains none.
void AppendWeather(std::string* out, std::string_view text) {
    static constexpr struct {
        std::string_view Code, Word;
    } kCodes[] = {{"FG", "fog"},     {"GR", "hail"}, {"SN", "snow"}, {"FU", "smoke"},
                  {"DZ", "drizzle"}, {"RA", "rain"}, {"BR", "mist"}, {"IC", "ice"}};
    std::string_view weather = Value(text, "wx_string");
    if (weather.empty())
        return;
    out->append("Weather: ");
    bool any = false;
    auto item = [&](std::string_view intensity, std::string_view word) {
        if (any)
            out->append(" - ");
        out->append(intensity).append(word);
        any = true;
    };
    while (!weather.empty()) {
        size_t space = weather.find(' ');
        std::string_view token = weather.substr(0, space);
        weather.remove_prefix(space == kNotFound ? weather.size() : space + 1);
        if (token.empty())
            continue;
        std::string_view intensity = token[0] == '-' ? "light " : token[0] == '+' ? "heavy " : "";
        bool coded = false;
        for (const auto& code : kCodes) {
            if (token.find(code.Code) != kNotFound) {
                item(intensity, code.Word);
                coded = true;
            }
        }
        if (!coded)
            item("", token);
    }
    out->append(kLineEnd);
}

// "(6hr mn/mx MIN/MAX)" with either side left empty when it is missing. A
// space goes before the group when a value has been printed: the temperature
// or a six-hour maximum; a 24-hour minimum clears that (nothing follows it
// on the line but its own maximum), and a 24-hour maximum does not set it.
void AppendExtremes(std::string* line, std::string_view label, std::string_view minimum,
                    std::string_view maximum, bool fahrenheit, bool dayGroup, bool* printed) {
    std::string opening = "(";
    opening.append(label).append(" mn/mx ");
    if (!minimum.empty()) {
        line->append(*printed ? " " : "").append(opening);
        AppendTemperature(line, minimum, fahrenheit);
        line->append("/");
        if (dayGroup)
            *printed = false;
    }
    if (!maximum.empty()) {
        if (minimum.empty())
            line->append(*printed ? " " : "").append(opening).append("/");
        AppendTemperature(line, maximum, fahrenheit);
        if (!dayGroup)
            *printed = true;
    }
    if (!minimum.empty() || !maximum.empty())
        line->append(")");
}

void AppendTemperatureLine(std::string* out, std::string_view text, uint32_t flags,
                           const Units& units) {
    std::string line;
    bool printed = false;
    std::string_view temperature = Value(text, "temp_c");
    if (!temperature.empty()) {
        line.append("Temp: ");
        AppendTemperature(&line, temperature, units.Fahrenheit);
        printed = true;
    }
    if (flags & kMetarMinMaxTemp) {
        AppendExtremes(&line, "6hr", Value(text, "minT_c"), Value(text, "maxT_c"), units.Fahrenheit,
                       false, &printed);
        AppendExtremes(&line, "24hr", Value(text, "minT24hr_c"), Value(text, "maxT24hr_c"),
                       units.Fahrenheit, true, &printed);
    }
    if (!line.empty())
        out->append(line).append(units.Fahrenheit ? kDegreesF : kDegreesC).append(kLineEnd);
}

void AppendDewpoint(std::string* out, std::string_view text, const Units& units) {
    std::string_view dewpoint = Value(text, "dewpoint_c");
    if (dewpoint.empty())
        return;
    out->append("Dewpoint: ");
    AppendTemperature(out, dewpoint, units.Fahrenheit);
    out->append(units.Fahrenheit ? kDegreesF : kDegreesC).append(kLineEnd);
}

void AppendWindSpeed(std::string* out, std::string_view knots, const Units& units) {
    if (units.Mph)
        AppendConverted(out, knots, kMphPerKnot);
    else
        out->append(knots);
}

// "Wind: 10.4 (270°) gusts 20.7 mph"; each part only when present, "Wind: "
// before the first of them.
void AppendWind(std::string* out, std::string_view text, const Units& units) {
    std::string parts;
    std::string_view speed = Value(text, "wind_speed_kt");
    std::string_view direction = Value(text, "wind_dir_degrees");
    std::string_view gust = Value(text, "wind_gust_kt");
    if (!speed.empty())
        AppendWindSpeed(&parts, speed, units);
    // Today's service writes a variable wind as "VRB": no degrees to it.
    if (!direction.empty())
        parts.append(" (").append(direction).append(
            direction.find_first_not_of("0123456789") == kNotFound ? kDegreesClose : ")");
    if (!gust.empty()) {
        parts.append(" gusts ");
        AppendWindSpeed(&parts, gust, units);
    }
    if (!parts.empty())
        out->append("Wind: ").append(parts).append(units.Mph ? " mph" : " kts").append(kLineEnd);
}

void AppendPressureValue(std::string* out, std::string_view millibars, const Units& units) {
    if (units.Inches) {
        AppendConverted(out, millibars, kInchesPerMillibar);
        out->append(" in");
    } else {
        out->append(millibars).append(" mb");
    }
}

// "Pressure: 30.0 in (3hr Tendency: 0.0 in)"; the tendency stands alone
// when there is no pressure.
void AppendPressure(std::string* out, std::string_view text, const Units& units) {
    std::string line;
    std::string_view pressure = Value(text, "sea_level_pressure_mb");
    std::string_view tendency = Value(text, "three_hr_pressure_tendency_mb");
    if (!pressure.empty()) {
        line.append("Pressure: ");
        AppendPressureValue(&line, pressure, units);
    }
    if (!tendency.empty()) {
        line.append(pressure.empty() ? "" : " (").append("3hr Tendency: ");
        AppendPressureValue(&line, tendency, units);
        if (!pressure.empty())
            line.append(")");
    }
    if (!line.empty())
        out->append(line).append(kLineEnd);
}

void AppendVisibility(std::string* out, std::string_view text) {
    std::string line;
    std::string_view visibility = Value(text, "visibility_statute_mi");
    std::string_view vertical = Value(text, "vert_vis_ft");
    if (!visibility.empty())
        line.append("Visibility: ").append(visibility).append(" mi");
    if (!vertical.empty())
        line.append(" Vertical Visibility: ").append(vertical).append(" ft");
    if (!line.empty())
        out->append(line).append(kLineEnd);
}

// Up to four <sky_condition elements in file order, each searched from the
// end of the previous one's tag. Attributes are read inside the tag only; a
// tag without its '>', or without a quoted cover, ends the line.
void AppendSkyCover(std::string* out, std::string_view text) {
    std::string line;
    size_t from = 0;
    for (int layer = 0; layer < 4; ++layer) {
        size_t at = text.find("<sky_condition", from);
        size_t end = at == kNotFound ? kNotFound : text.find('>', at);
        if (end == kNotFound)
            break;
        std::string_view tag = text.substr(at, end - at);
        std::string_view cover = QuotedAfter(tag, "sky_cover");
        if (cover.empty())
            break;
        std::string_view base = QuotedAfter(tag, "cloud_base_ft_agl");
        line.append(line.empty() ? "Sky Cover: (" : " (").append(cover);
        if (!base.empty())
            line.append(" ").append(base).append(" ft");
        line.append(")");
        from = end + 1;
    }
    if (!line.empty())
        out->append(line).append(kLineEnd);
}

void AppendPrecipitation(std::string* out, std::string_view text) {
    static constexpr struct {
        std::string_view Element, Label;
    } kPeriods[] = {{"precip_in", " 1hr/"},
                    {"pcp3hr_in", " 3hr/"},
                    {"pcp6hr_in", " 6hr/"},
                    {"pcp24hr_in", " 24hr/"}};
    std::string line;
    for (const auto& period : kPeriods) {
        std::string_view amount = Value(text, period.Element);
        if (!amount.empty())
            line.append(period.Label).append(amount);
    }
    if (!line.empty())
        out->append("Precipitation:").append(line).append(kLineEnd);
}

// "Label: value" and, when given, a unit.
void AppendSingle(std::string* out, std::string_view text, std::string_view element,
                  std::string_view label, std::string_view unit = "") {
    std::string_view value = Value(text, element);
    if (!value.empty())
        out->append(label).append(value).append(unit).append(kLineEnd);
}

// An answer whose <data num_results="..."> tag says "0" has no report.
bool HasNoResults(std::string_view text) {
    size_t at = text.find("<data num_results");
    size_t end = at == kNotFound ? kNotFound : text.find('>', at);
    return end != kNotFound && QuotedAfter(text.substr(at, end - at), "num_results") == "0";
}

} // namespace

uint32_t NormalizeMetarUnits(uint32_t flags) {
    static constexpr uint32_t kPairs[][2] = {{kMetarFahrenheit, kMetarCelsius},
                                             {kMetarMph, kMetarKnots},
                                             {kMetarInches, kMetarMillibars},
                                             {kMetarFeet, kMetarMeters}};
    for (const auto& pair : kPairs)
        if ((flags & (pair[0] | pair[1])) != pair[1])
            flags = (flags & ~pair[1]) | pair[0];
    return flags;
}

MetarReport BuildMetarReport(std::string_view document, uint32_t flags,
                             std::string_view displayName) {
    const std::string_view text = UpToFirstNul(document);
    MetarReport report;
    // An empty answer is the service's "204 No Content" for a station
    // without a report.
    if (text.empty() || HasNoResults(text)) {
        report.Output = kNoData;
        return report;
    }
    report.ObservationTime = Value(text, "observation_time");

    const Units units = UnitsOf(flags);
    std::string& out = report.Output;
    AppendLocation(&out, text, flags, displayName);
    if (flags & kMetarElevation)
        AppendElevation(&out, text, units);
    if (flags & kMetarWeather)
        AppendWeather(&out, text);
    if (flags & kMetarTemperature)
        AppendTemperatureLine(&out, text, flags, units);
    if (flags & kMetarDewpoint)
        AppendDewpoint(&out, text, units);
    if (flags & kMetarWind)
        AppendWind(&out, text, units);
    if (flags & kMetarPressure)
        AppendPressure(&out, text, units);
    if (flags & kMetarVisibility)
        AppendVisibility(&out, text);
    if (flags & kMetarSkyCover)
        AppendSkyCover(&out, text);
    if (flags & kMetarPrecipitation)
        AppendPrecipitation(&out, text);
    if (flags & kMetarSnow)
        AppendSingle(&out, text, "snow_in", "Snow: ", " in");
    if (flags & kMetarAltimeter)
        AppendSingle(&out, text, "altim_in_hg", "Altimeter: ", " in");
    if (flags & kMetarFlightCategory)
        AppendSingle(&out, text, "flight_category", "Flight Category: ");
    if (flags & kMetarType)
        AppendSingle(&out, text, "metar_type", "Metar Type: ");
    if (flags & kMetarRaw)
        AppendSingle(&out, text, "raw_text", "Raw Metar: ");
    return report;
}
