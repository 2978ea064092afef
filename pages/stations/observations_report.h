// The report of the current observations page: the cached observation
// document of a station turned into short lines in the units the user chose.
// The document is read by plain text search for its tags, never parsed as XML,
// and no character reference is decoded.
#ifndef CUMULON_OBSERVATIONS_REPORT_H
#define CUMULON_OBSERVATIONS_REPORT_H

#include "services/time_format.h"

#include <cstdint>
#include <string>
#include <string_view>

// "ObservationsFlags": one bit of each unit pair is set (the radio buttons);
// 0x40 and 0x80 keep the status line's alignment.
constexpr uint32_t kObservationFahrenheit = 0x01;
constexpr uint32_t kObservationCelsius = 0x02;
constexpr uint32_t kObservationInches = 0x04;
constexpr uint32_t kObservationMillibars = 0x08;
constexpr uint32_t kObservationMph = 0x10;
constexpr uint32_t kObservationKnots = 0x20;
constexpr uint32_t kObservationStatusLeft = 0x40;
constexpr uint32_t kObservationStatusRight = 0x80;

// A station is known by the first four characters of its identifier.
constexpr size_t kObservationIdLength = 4;

// The output text, CR LF line ends, in this order: the identifier, then " "
// and the location with a blank line under it, "Weather: ", "Temperature: ",
// "Heat Index: ", "Windchill: ", "Wind: ", "Humidity: ", "Pressure: ",
// "Dew Point: " and "Visibility: " lines. A line is written only when both its
// tags are found, with the value as it stands (an empty element gives the
// label and the unit with nothing between); the unit lines follow the flags,
// so a pair with both bits set gives both lines and one with neither none.
// The wind line needs "<wind_dir>"; its gust part is left out when the gust
// begins with "0.0" in miles per hour, or with "0" in knots (an empty gust,
// like every empty value, gives its label and unit).
//
// The document ends at its first NUL byte; nothing after it is searched.
std::string BuildObservationReport(std::string_view document, uint32_t flags,
                                   std::string_view identifier);

// The time of the observation ("<observation_time_rfc822>") as local time;
// false when it is missing, empty or does not parse.
bool ObservationTime(std::string_view document, CalendarTime* local);

#endif
