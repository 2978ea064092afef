// The report of the river gauges page. Two forms of the cached gauge feed are
// read, told apart by their content: the older RSS feed (its character
// references already decoded), by plain text search; and today's gauge JSON
// of the water prediction service (/nwps/v1/gauges/LID), read with
// nlohmann-json.
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

// What the page shows for a cached feed: the output text and, when the feed
// gives one, its time in the user's time display format for the status line.
struct RiverGaugeText {
    std::string Output;
    std::string Status;
    bool HasStatus = false;
};

// Whether the cached feed is the gauge JSON (its first byte after blanks, and
// a UTF-8 byte order mark, is '{'). Only the RSS form has character
// references to decode; the JSON is UTF-8 and stays as it came.
bool IsRiverGaugeJson(std::string_view document);

// The page's display of either form, times in local time formatted with
// `timeFormat`.
//
// JSON: "LID - name, ST (lat lon)"; "Observation Time: " the observed
// status's time; "Flood Stage: " the minor flood stage and the stage unit;
// "Latest Observation: " the observed value and unit; "Flood Category: " the
// observed category in words; "Forecast: " the forecast value, unit and
// " at " its time. -999 is missing, and a missing value leaves its line (or
// its part of the title) out; a value of the wrong type counts as missing.
// The status line shows the observed time. Names are UTF-8, shown in code
// page 1252.
//
// RSS: as BuildRiverReport, with the "<lastBuildDate>" on the status line.
RiverGaugeText RenderRiverGauge(std::string_view document, std::string_view timeFormat);

// The RSS output text, CR LF line ends: the first "<title>" value, then " ("
// and the "<geo:lat>" value, then " ", the "<geo:long>" value and ")", each
// part only when its value is not empty, and a line end when any was written;
// then, for "Observation Time:", "Flood Stage:" and "Latest Observation:" in
// this order, the text from the label's first occurrence up to the next "<"
// (the label included), when there is such a "<".
//
// The document ends at its first NUL byte; nothing after it is searched.
std::string BuildRiverReport(std::string_view document);

// The feed's "<lastBuildDate>" as local time; false when it is missing, empty
// or does not parse.
bool RiverBuildTime(std::string_view document, CalendarTime* local);

#endif
