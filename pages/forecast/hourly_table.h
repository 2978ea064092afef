// The table of the hourly point forecast page: the cached DWML document
// (the weather service's Digital Weather Markup Language) turned into the
// status text, the row times and the columns of the weather elements the user
// has switched on. Read by plain text search for tags, never parsed as XML,
// and no character reference is decoded.
#ifndef CUMULON_HOURLY_TABLE_H
#define CUMULON_HOURLY_TABLE_H

#include "services/time_format.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Flags bits of the column check boxes ("HourlyPointForecastFlags").
constexpr uint32_t kHourlyWeather = 0x0004;
constexpr uint32_t kHourlyTemperature = 0x0008;
constexpr uint32_t kHourlyWindChillHeatIndex = 0x0010;
constexpr uint32_t kHourlyDewPoint = 0x0020;
constexpr uint32_t kHourlyPrecipitationChance = 0x0040;
constexpr uint32_t kHourlyWindSpeed = 0x0080;
constexpr uint32_t kHourlyGust = 0x0100;
constexpr uint32_t kHourlyWindDirection = 0x0200;
constexpr uint32_t kHourlyCloud = 0x0400;
constexpr uint32_t kHourlyHumidity = 0x0800;
constexpr uint32_t kHourlyPrecipitation = 0x1000;

constexpr int kHourlyTimeColumnWidth = 50;

struct HourlyColumn {
    std::string Caption;
    int Width; // before it is fitted to its contents
    // The cells of the first Cells.size() rows; later rows have none (an
    // element shorter than the time layout).
    std::vector<std::string> Cells;
};

struct HourlyTable {
    // The place (area description, or else the city), " -- " and the creation
    // time in the status format; empty when the document has neither.
    std::string Status;
    bool TimeColumn = false;           // a "<start-valid-time>" follows "<time-layout"
    std::vector<std::string> Rows;     // the row times, in the row format
    std::vector<HourlyColumn> Columns; // none when there is no row
};

// Reads an ISO 8601 date and time ("2013-08-07T13:00:00-05:00") into the
// calendar time to show: ParseIsoTime gives the computer's local time.
using IsoTimeReader = bool (*)(std::string_view text, CalendarTime* time);

// The table of `document` (ending at its first NUL byte) with the columns of
// `flags`. Row times are formatted with `rowFormat` (the page's own time
// format), the creation time with `statusFormat` (the global one). A row time
// that does not read keeps its text as written; a creation time that does not
// read leaves " -- " and the time out. Cells are given to the rows in the
// order of the values, whatever time layout an element names.
HourlyTable BuildHourlyTable(std::string_view document, uint32_t flags, std::string_view rowFormat,
                             std::string_view statusFormat, IsoTimeReader readTime = ParseIsoTime);

#endif
