#include "pages/forecast/hourly_table.h"

#include "services/text_buffer.h"
#include "services/text_scan.h"

namespace {

enum class Cells { Number, Direction, Weather };

struct Element {
    const char* Caption;
    int Width;
    std::string_view Start;
    std::string_view End;
    std::string_view Suffix;
    std::string_view Empty; // the text of an empty or nil value
    uint32_t Bit;
    Cells Kind = Cells::Number;
};

// In the order the columns are added.
const Element kElements[] = {
    {"WX", 60, "<weather time-layout=", "</weather>", "", "--       ", kHourlyWeather,
     Cells::Weather},
    {"T\xB0", 50, "<temperature type=\"hourly\"", "</temperature>",
     " \xB0"
     "F",
     "--     ", kHourlyTemperature},
    {"WC", 70, "<temperature type=\"wind chill\"", "</temperature>",
     " \xB0"
     "F",
     "--       ", kHourlyWindChillHeatIndex},
    {"HI", 70, "<temperature type=\"heat index\"", "</temperature>",
     " \xB0"
     "F",
     "--       ", kHourlyWindChillHeatIndex},
    {"DP", 50, "<temperature type=\"dew point\"", "</temperature>",
     " \xB0"
     "F",
     "--       ", kHourlyDewPoint},
    {"PoP", 40, "<probability-of-precipitation type=\"floating\" units=\"percent\"",
     "</probability-of-precipitation>", " %", "--       ", kHourlyPrecipitationChance},
    {"WS", 50, "<wind-speed type=\"sustained\"", "</wind-speed>", " mph", "--       ",
     kHourlyWindSpeed},
    {"GST", 50, "<wind-speed type=\"gust\"", "</wind-speed>", " mph", "--        ", kHourlyGust},
    {"WD", 50, "<direction type=\"wind\" units=\"degrees true\"", "</direction>", " \xB0",
     "--       ", kHourlyWindDirection, Cells::Direction},
    {"CLD", 50, "<cloud-amount type=\"total\" units=\"percent\"", "</cloud-amount>", " %",
     "--        ", kHourlyCloud},
    {"RH", 60, "<humidity type=\"relative\" units=\"percent\"", "</humidity>", " %", "--       ",
     kHourlyHumidity},
    {"QPF", 40, "<hourly-qpf type=\"floating\" units=\"inches\"", "</hourly-qpf>", " in",
     "--        ", kHourlyPrecipitation},
};

constexpr std::string_view kNil = "xsi:nil";
constexpr std::string_view kValue = "<value";
constexpr std::string_view kValueEnd = "</value>";
constexpr std::string_view kConditions = "<weather-conditions";
constexpr std::string_view kConditionsEnd = "</weather-conditions>";
constexpr std::string_view kStartTime = "<start-valid-time>";
constexpr std::string_view kStartTimeEnd = "</start-valid-time>";

// `needle` at or after `from`, ending at or before `limit`.
size_t FindBefore(std::string_view text, std::string_view needle, size_t from, size_t limit) {
    return text.substr(0, limit).find(needle, from);
}

// The text between the first two double quotes at or after `from` in `tag`;
// false without them. `close` receives the closing quote.
bool QuotedIn(std::string_view tag, size_t from, std::string_view* value, size_t* close) {
    size_t open = tag.find('"', from);
    if (open == kNotFound)
        return false;
    *close = tag.find('"', open + 1);
    if (*close == kNotFound)
        return false;
    *value = tag.substr(open + 1, *close - open - 1);
    return true;
}

// The text of a "WD" cell: the compass sector and the number as "%g", or the
// text as read for a value on a sector boundary or one that is no number.
std::string DirectionText(std::string_view value) {
    static const struct {
        double Low, High;
        const char* Name;
    } kSectors[] = {{22.5, 67.5, "NE"},  {67.5, 112.5, "E"},   {112.5, 157.5, "SE"},
                    {157.5, 202.5, "S"}, {202.5, 247.5, "SW"}, {247.5, 292.5, "W"},
                    {292.5, 337.5, "NW"}};
    double d;
    if (!ReadDecimal(value, &d))
        return std::string(value);
    const char* name = d < 22.5 || d > 337.5 ? "N" : nullptr;
    for (const auto& sector : kSectors)
        if (d > sector.Low && d < sector.High)
            name = sector.Name;
    if (!name)
        return std::string(value);
    char number[64];
    FormatText(number, sizeof number, "%g", d);
    return std::string(name) + "  " + number;
}

// The cell of a number element's value.
std::string NumberText(const Element& element, std::string_view read) {
    std::string cell = element.Kind == Cells::Direction ? DirectionText(read) : std::string(read);
    return cell.append(element.Suffix);
}

// One weather item's values in [from, close): "type (coverage)" joined by " -- ".
// A value tag ends at its first '>' (at the latest the one of the item's
// closing tag), and its attributes are read inside it; the next value is
// looked for after it, so no attribute is read twice.
std::string WeatherText(std::string_view document, size_t from, size_t close) {
    std::string_view item = document.substr(0, close + kConditionsEnd.size());
    std::string cell;
    bool typed = false;
    size_t at = item.find("<value ", from);
    while (at != kNotFound && at < close) {
        size_t end = item.find('>', at);
        std::string_view tag = item.substr(at, end - at), kind, cover;
        size_t name = tag.find("weather-type="), kindClose = 0, coverClose = 0;
        if (name != kNotFound && QuotedIn(tag, name + 13, &kind, &kindClose)) {
            if (!kind.empty()) {
                cell.append(typed ? " -- " : "").append(kind);
                typed = true;
            }
            size_t covered = tag.find("coverage=", kindClose);
            if (covered != kNotFound && QuotedIn(tag, covered + 9, &cover, &coverClose) &&
                !cover.empty())
                cell.append(" (").append(cover).append(")");
        }
        at = item.find("<value ", end);
    }
    return cell;
}

// The cells of an element in [start, end): one per item `open` ("<value",
// a weather item), in order. An item that is nil, or has no `close` of its
// own before the next item, gets the element's empty text; any other the
// cell `make` builds from its text, from one character past `open` up to
// `close`.
template <typename MakeCell>
void ElementCells(std::string_view text, const Element& element, std::string_view open,
                  std::string_view close, size_t start, size_t end, size_t rows,
                  std::vector<std::string>* cells, MakeCell make) {
    size_t item = text.find(open, start);
    while (cells->size() < rows && item != kNotFound) {
        size_t v = item + open.size() + 1; // past the tag's name and the next character
        if (v >= end)
            break;
        size_t next = FindBefore(text, open, v, end);
        size_t last = FindBefore(text, close, v, next == kNotFound ? end : next);
        if (text.substr(v, kNil.size()) == kNil || last == kNotFound || last == v)
            cells->emplace_back(element.Empty);
        else
            cells->push_back(make(v, last));
        item = next;
    }
}

// The text of the first `open` .. `close` element inside [from, to), from the
// first '>' of its start tag; empty when it is not wholly inside.
bool InnerText(std::string_view text, size_t from, size_t to, std::string_view open,
               std::string_view close, std::string_view* inner) {
    size_t start = FindBefore(text, open, from, to);
    if (start == kNotFound)
        return false;
    size_t end = FindBefore(text, close, start + open.size(), to);
    if (end == kNotFound)
        return false;
    size_t gt = text.find('>', start);
    *inner = gt < end ? text.substr(gt + 1, end - gt - 1) : std::string_view();
    return true;
}

// The first element `open` .. `close` (the close after the open) as positions.
bool Span(std::string_view text, std::string_view open, std::string_view close, size_t* start,
          size_t* end) {
    *start = text.find(open);
    if (*start == kNotFound)
        return false;
    *end = text.find(close, *start + open.size());
    return *end != kNotFound;
}

std::string FormatIso(std::string_view iso, std::string_view format, IsoTimeReader readTime,
                      bool* read) {
    CalendarTime time{};
    *read = readTime(iso, &time);
    if (!*read)
        return std::string(iso);
    char formatted[kFormattedTimeSize];
    FormatTime(time, format, formatted, sizeof formatted);
    return formatted;
}

std::string StatusText(std::string_view text, std::string_view format, IsoTimeReader readTime) {
    std::string status;
    size_t start, end;
    std::string_view inner;
    if (Span(text, "<location>", "</location>", &start, &end) &&
        (InnerText(text, start, end, "<area-description>", "</area-description>", &inner) ||
         InnerText(text, start, end, "<city state=", "</city>", &inner)))
        status = inner;
    if (Span(text, "<head>", "</head>", &start, &end) &&
        InnerText(text, start, end, "<creation-date ", "</creation-date>", &inner)) {
        bool read = false;
        std::string created = FormatIso(inner, format, readTime, &read);
        if (read)
            status.append(" -- ").append(created);
    }
    return status;
}

// The rows: every "<start-valid-time>" of the first time layout whose own
// closing tag follows before the next one and leaves a text.
void RowTimes(std::string_view text, std::string_view format, IsoTimeReader readTime,
              HourlyTable* table) {
    size_t layout = text.find("<time-layout");
    if (layout == kNotFound)
        return;
    table->TimeColumn = text.find(kStartTime, layout) != kNotFound;
    size_t layoutEnd = text.find("</time-layout>", layout);
    if (layoutEnd == kNotFound)
        return;
    size_t at = FindBefore(text, kStartTime, layout, layoutEnd);
    while (at != kNotFound) {
        size_t from = at + kStartTime.size();
        size_t next = FindBefore(text, kStartTime, from, layoutEnd);
        size_t close = FindBefore(text, kStartTimeEnd, from, next == kNotFound ? layoutEnd : next);
        if (close != kNotFound && close > from) {
            bool read = false;
            table->Rows.push_back(
                FormatIso(text.substr(from, close - from), format, readTime, &read));
        }
        at = next;
    }
}

} // namespace

HourlyTable BuildHourlyTable(std::string_view document, uint32_t flags, std::string_view rowFormat,
                             std::string_view statusFormat, IsoTimeReader readTime) {
    std::string_view text = UpToFirstNul(document);
    HourlyTable table;
    table.Status = StatusText(text, statusFormat, readTime);
    RowTimes(text, rowFormat, readTime, &table);
    if (table.Rows.empty())
        return table;
    for (const Element& element : kElements) {
        size_t start, end;
        if (!(flags & element.Bit) || !Span(text, element.Start, element.End, &start, &end))
            continue;
        HourlyColumn column{element.Caption, element.Width, {}};
        if (element.Kind == Cells::Weather)
            ElementCells(text, element, kConditions, kConditionsEnd, start, end, table.Rows.size(),
                         &column.Cells,
                         [&](size_t from, size_t close) { return WeatherText(text, from, close); });
        else
            ElementCells(text, element, kValue, kValueEnd, start, end, table.Rows.size(),
                         &column.Cells, [&](size_t from, size_t close) {
                             return NumberText(element, text.substr(from, close - from));
                         });
        table.Columns.push_back(std::move(column));
    }
    return table;
}
