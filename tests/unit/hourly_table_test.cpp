#include "pages/forecast/hourly_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Times shown in UTC, so the expectations hold on any computer.
bool ReadUtc(std::string_view text, CalendarTime* time) {
    int64_t ticks = 0;
    return ParseIsoTimeUtc(text, &ticks) && TicksToCalendar(ticks, time);
}

// The document in a heap block of exactly its size, with no terminator after it.
HourlyTable Build(std::string_view document, uint32_t flags = 0x1FFC) {
    std::vector<char> bytes(document.begin(), document.end());
    return BuildHourlyTable(std::string_view(bytes.data(), bytes.size()), flags, "%HH;h",
                            "%HH;:%mm;", ReadUtc);
}

const std::string kTwoHours = "<time-layout><start-valid-time>2013-08-07T14:00:00-05:00"
                              "</start-valid-time><start-valid-time>2013-08-07T15:00:00-05:00"
                              "</start-valid-time></time-layout>";

// "Caption=cell|cell" for each column, joined by "; ".
std::string Columns(const HourlyTable& table) {
    std::string out;
    for (const HourlyColumn& column : table.Columns) {
        out += (out.empty() ? "" : "; ") + column.Caption + "=";
        for (size_t i = 0; i < column.Cells.size(); ++i)
            out += (i ? "|" : "") + column.Cells[i];
    }
    return out;
}

TEST(HourlyStatus, PlaceAndCreationTime) {
    const std::string head = "<head><creation-date refresh-frequency=\"PT1H\">"
                             "2013-08-07T13:00:00-05:00</creation-date></head>";
    const std::string city = "<city state=\"IL\">Chicago</city>";
    struct {
        std::string document, status;
    } cases[] = {
        {head + "<location>" + city +
             "<area-description>3 Miles NE Chicago IL</area-description>"
             "</location>",
         "3 Miles NE Chicago IL -- 18:00"},
        {head + "<location>" + city + "</location>", "Chicago -- 18:00"},
        // Today's digitalDWML: https schema addresses in the root tag change nothing.
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><dwml version=\"1.0\" "
         "xmlns:xsd=\"https://www.w3.org/2001/XMLSchema\" xsi:noNamespaceSchemaLocation="
         "\"https://graphical.weather.gov/xml/DWMLgen/schema/DWML.xsd\">" +
             head + "<location>" + city + "</location>",
         "Chicago -- 18:00"},
        {head + "<location>" + city + "</location><area-description>Sea</area-description>",
         "Chicago -- 18:00"},
        {"<location>" + city + "</location><location><city state=\"KY\">Hazard</city></location>",
         "Chicago"},
        {head, " -- 18:00"},
        {"<head><creation-date x>soon</creation-date></head><location>" + city + "</location>",
         "Chicago"}, // a time that does not read is left out
        {"<head></head><creation-date x>2013-08-07T13:00:00Z</creation-date><location>" + city,
         ""}, // outside the head; no "</location>"
    };
    for (const auto& c : cases)
        EXPECT_EQ(Build(c.document).Status, c.status) << c.document;
}

TEST(HourlyRows, TheStartTimesOfTheFirstLayoutInOrder) {
    const std::string start = "<start-valid-time>", end = "</start-valid-time>";
    struct {
        std::string document, rows;
        bool timeColumn;
    } cases[] = {
        {kTwoHours, "19h|20h", true},
        {"<time-layout>" + start + "tomorrow" + end + start + end + start +
             "2013-08-07T16:00:00-05:00" + end + "</time-layout>",
         "tomorrow|21h", true}, // unreadable kept as read, empty left out
        {"<time-layout>" + start + "2013-08-07T14:00:00Z" + start + "2013-08-07T15:00:00Z" + end +
             "</time-layout>",
         "15h", true}, // a start without its own end gives no row
        {"<time-layout>" + start + "2013-08-07T14:00:00Z" + end, "", true}, // no "</time-layout>"
        {"<time-layout></time-layout><time-layout>" + start + "2013-08-07T14:00:00Z" + end +
             "</time-layout>",
         "", true},
        {"<start-valid-time>2013-08-07T14:00:00Z</start-valid-time>", "", false},
    };
    for (const auto& c : cases) {
        HourlyTable table = Build(c.document);
        std::string rows;
        for (const std::string& row : table.Rows)
            rows += (rows.empty() ? "" : "|") + row;
        EXPECT_EQ(rows, c.rows) << c.document;
        EXPECT_EQ(table.TimeColumn, c.timeColumn) << c.document;
        EXPECT_TRUE(!table.Rows.empty() || table.Columns.empty());
    }
}

TEST(HourlyCells, NumberElements) {
    struct {
        uint32_t flags;
        std::string parameters, columns;
    } cases[] = {
        {kHourlyTemperature,
         "<temperature type=\"hourly\"><value xsi:nil=\"true\"/><value>72</value></temperature>",
         "T\xB0=--     |72 \xB0"
         "F"},
        {kHourlyTemperature,
         "<temperature type=\"hourly\"><value></value><value/>"
         "<value>70</value></temperature>",
         "T\xB0=--     |--     "}, // an empty value never takes its neighbour's text
        {kHourlyGust, "<wind-speed type=\"gust\"><value xsi:nil=\"true\"/></wind-speed>",
         "GST=--        "}, // shorter than the layout: the last row has no cell
        {kHourlyCloud | kHourlyPrecipitation,
         "<cloud-amount type=\"total\" units=\"percent\"><value>5</value><value>6</value>"
         "<value>7</value></cloud-amount>",
         "CLD=5 %|6 %"}, // no QPF element: no column; more values than rows
        {kHourlyWindChillHeatIndex,
         "<temperature type=\"heat index\"><value>99</value></temperature>"
         "<temperature type=\"wind chill\"><value>9</value></temperature>",
         "WC=9 \xB0"
         "F; HI=99 \xB0"
         "F"},
        {kHourlyPrecipitationChance | kHourlyWindSpeed | kHourlyHumidity | kHourlyPrecipitation,
         "<probability-of-precipitation type=\"floating\" units=\"percent\"><value>20</value>"
         "<value xsi:nil=\"true\"/></probability-of-precipitation>"
         "<wind-speed type=\"sustained\"><value xsi:nil=\"true\"/><value>12</value></wind-speed>"
         "<humidity type=\"relative\" units=\"percent\"><value>85</value>"
         "<value xsi:nil=\"true\"/></humidity>"
         "<hourly-qpf type=\"floating\" units=\"inches\"><value xsi:nil=\"true\"/>"
         "<value>0.05</value></hourly-qpf>",
         "PoP=20 %|--       ; WS=--       |12 mph; RH=85 %|--       ; QPF=--        |0.05 in"},
        {0, "<temperature type=\"hourly\"><value>72</value></temperature>", ""},
        {kHourlyDewPoint, "<temperature type=\"dew point\"><value>61</value>", ""}, // no end
    };
    for (const auto& c : cases)
        EXPECT_EQ(Columns(Build(kTwoHours + c.parameters, c.flags)), c.columns) << c.parameters;
}

TEST(HourlyCells, WindDirections) {
    struct {
        const char* value;
        const char* cell;
    } cases[] = {
        {"230.0", "SW  230 \xB0"}, {"350", "N  350 \xB0"},     {"200", "S  200 \xB0"},
        {"10", "N  10 \xB0"},      {"45", "NE  45 \xB0"},      {"22.5", "22.5 \xB0"},
        {"337.5", "337.5 \xB0"},   {"292.50", "292.50 \xB0"},  {"calm", "calm \xB0"},
        {" +90", "E  90 \xB0"},    {"135deg", "SE  135 \xB0"},
    };
    for (const auto& c : cases) {
        std::string document = kTwoHours +
                               "<direction type=\"wind\" units=\"degrees true\">"
                               "<value>" +
                               c.value + "</value></direction>";
        EXPECT_EQ(Columns(Build(document, kHourlyWindDirection)), std::string("WD=") + c.cell);
    }
}

TEST(HourlyCells, WeatherTypesWithTheirCoverage) {
    struct {
        const char* item;
        const char* cell;
    } cases[] = {
        {"<weather-conditions><value weather-type=\"rain\" coverage=\"chance\"/><value "
         "weather-type=\"thunderstorms\" coverage=\"likely\"/></weather-conditions>",
         "rain (chance) -- thunderstorms (likely)"},
        {"<weather-conditions><value coverage=\"chance\" weather-type=\"rain\"/><value "
         "coverage=\"likely\" weather-type=\"thunderstorms\"/></weather-conditions>",
         "rain -- thunderstorms"},
        {"<weather-conditions><value weather-type=\"\" coverage=\"areas\"/><value "
         "weather-type=\"fog\"/></weather-conditions>",
         " (areas)fog"},
        {"<weather-conditions xsi:nil=\"true\"/>", "--       "},
        {"<weather-conditions></weather-conditions>", "--       "},
        {"<weather-conditions> </weather-conditions>", ""},
        {"<weather-conditions><value weather-type=rain/></weather-conditions>", ""},
    };
    for (const auto& c : cases) {
        std::string document = kTwoHours + "<weather time-layout=\"k\">" + c.item + "</weather>";
        EXPECT_EQ(Columns(Build(document, kHourlyWeather)), std::string("WX=") + c.cell) << c.item;
    }
}

} // namespace
