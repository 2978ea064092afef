// The text of the METAR page: the aviation data server's XML answer for one
// station turned into a few plain lines, with the lines and units the user
// chose in "MetarFlags". The document is read by plain text search for its
// tags, never parsed as XML, and no character reference is decoded.
#ifndef CUMULON_METAR_REPORT_H
#define CUMULON_METAR_REPORT_H

#include <cstdint>
#include <string>
#include <string_view>

// "MetarFlags": four unit pairs, sixteen display lines, the status line's
// alignment.
constexpr uint32_t kMetarFahrenheit = 0x1;
constexpr uint32_t kMetarCelsius = 0x2;
constexpr uint32_t kMetarMph = 0x4;
constexpr uint32_t kMetarKnots = 0x8;
constexpr uint32_t kMetarInches = 0x10;
constexpr uint32_t kMetarMillibars = 0x20;
constexpr uint32_t kMetarLatLon = 0x40;
constexpr uint32_t kMetarElevation = 0x80;
constexpr uint32_t kMetarWeather = 0x100;
constexpr uint32_t kMetarTemperature = 0x200;
constexpr uint32_t kMetarDewpoint = 0x400;
constexpr uint32_t kMetarMinMaxTemp = 0x800;
constexpr uint32_t kMetarWind = 0x1000;
constexpr uint32_t kMetarPressure = 0x2000;
constexpr uint32_t kMetarVisibility = 0x4000;
constexpr uint32_t kMetarSkyCover = 0x8000;
constexpr uint32_t kMetarAltimeter = 0x10000;
constexpr uint32_t kMetarPrecipitation = 0x20000;
constexpr uint32_t kMetarSnow = 0x40000;
constexpr uint32_t kMetarFlightCategory = 0x80000;
constexpr uint32_t kMetarType = 0x100000;
constexpr uint32_t kMetarRaw = 0x200000;
constexpr uint32_t kMetarFeet = 0x400000;
constexpr uint32_t kMetarMeters = 0x800000;
constexpr uint32_t kMetarStatusLeft = 0x1000000;
constexpr uint32_t kMetarStatusRight = 0x2000000;
// Fahrenheit, MPH, Inches, Feet, every line on, status line centred.
constexpr uint32_t kMetarDefaultFlags = 0x7FFFD5;

// Exactly one bit of each unit pair: a pair with both bits or neither (a
// value edited by hand) takes its first unit (Fahrenheit, MPH, Inches,
// Feet). The report decides every value and its unit by this one test.
uint32_t NormalizeMetarUnits(uint32_t flags);

struct MetarReport {
    // "no data" for an answer without results or an empty one; otherwise the location line
    // and the chosen lines, each ended by CR LF.
    std::string Output;
    // The document's <observation_time> value (a view into it); empty when
    // there is none or the answer has no results.
    std::string_view ObservationTime;
};

// The document ends at its first NUL byte. A value is the text between the
// '>' of the first opening tag and the first closing tag after it; an empty
// or unclosed value counts as missing. Converted values are printed as
// "%.1f" prints them, whatever their size; others are copied as they stand.
MetarReport BuildMetarReport(std::string_view document, uint32_t flags,
                             std::string_view displayName);

#endif
