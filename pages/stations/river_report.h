// The report of the river gauges page: the cached gauge feed (its character
// references already decoded) turned into a title line and three labelled
// lines. Read by plain text search, never parsed as XML.
#ifndef CUMULON_RIVER_REPORT_H
#define CUMULON_RIVER_REPORT_H

#include "services/time_format.h"

#include <cstdint>
#include <string>
#include <string_view>

// "RiverFlags": the status line's alignment only.
constexpr uint32_t kRiverStatusLeft = 0x1;
constexpr uint32_t kRiverStatusRight = 0x2;

// A gauge is known by the first five characters of its identifier.
constexpr size_t kRiverIdLength = 5;

// The output text, CR LF line ends: the first "<title>" value, then " (" and
// the "<geo:lat>" value, then " ", the "<geo:long>" value and ")", each part
// only when its value is not empty, and a line end when any was written; then,
// for "Observation Time:", "Flood Stage:" and "Latest Observation:" in this
// order, the text from the label's first occurrence up to the next "<" (the
// label included), when there is such a "<".
//
// The document ends at its first NUL byte; nothing after it is searched.
std::string BuildRiverReport(std::string_view document);

// The feed's "<lastBuildDate>" as local time; false when it is missing, empty
// or does not parse.
bool RiverBuildTime(std::string_view document, CalendarTime* local);

#endif
