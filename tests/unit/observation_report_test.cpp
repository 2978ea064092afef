#include "pages/stations/observations_report.h"
#include "services/time_format.h"
#include "tests/unit/today_documents.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr uint32_t F = kObservationFahrenheit, C = kObservationCelsius, In = kObservationInches,
                   Mb = kObservationMillibars, Mph = kObservationMph, Kt = kObservationKnots;

// The document in a heap block of exactly its size: the sanitizer sees any
// read past its end.
std::string Report(std::string_view document, uint32_t flags) {
    std::vector<char> bytes(document.begin(), document.end());
    return BuildObservationReport(std::string_view(bytes.data(), bytes.size()), flags, "KSDF");
}

const std::string kFull =
    "<location>Standiford Field, KY</location><weather>Fair</weather>"
    "<temp_f>88.0</temp_f><temp_c>31.1</temp_c><heat_index_f>95</heat_index_f>"
    "<heat_index_c>35</heat_index_c><windchill_f>80</windchill_f><windchill_c>27</windchill_c>"
    "<relative_humidity>55</relative_humidity><wind_dir>South</wind_dir>"
    "<wind_degrees>180</wind_degrees><wind_mph>10.4</wind_mph><wind_kt>9</wind_kt>"
    "<wind_gust_mph>20.7</wind_gust_mph><wind_gust_kt>18</wind_gust_kt>"
    "<pressure_in>30.01</pressure_in><pressure_mb>1016.2</pressure_mb>"
    "<dewpoint_f>70.0</dewpoint_f><dewpoint_c>21.1</dewpoint_c>"
    "<visibility_mi>10.00</visibility_mi>";

TEST(ObservationReport, EachUnitChoiceInTheFixedLineOrder) {
    struct Case {
        uint32_t flags;
        std::string report;
    } cases[] = {
        {F | In | Mph,
         "KSDF Standiford Field, KY\r\n\r\nWeather: Fair\r\nTemperature: 88.0\260F\r\n"
         "Heat Index: 95\260F\r\nWindchill: 80\260F\r\n"
         "Wind: South(180\260) at 10.4 mph - gusts up to 20.7 mph\r\nHumidity: 55%\r\n"
         "Pressure: 30.01 in\r\nDew Point: 70.0\260F\r\nVisibility: 10.00 mi\r\n"},
        {C | Mb | Kt, "KSDF Standiford Field, KY\r\n\r\nWeather: Fair\r\nTemperature: 31.1\260C\r\n"
                      "Heat Index: 35\260C\r\nWindchill: 27\260C\r\n"
                      "Wind: South(180\260) at 9 kts - gusts up to 18 kts\r\nHumidity: 55%\r\n"
                      "Pressure: 1016.2 mb\r\nDew Point: 21.1\260C\r\nVisibility: 10.00 mi\r\n"},
        // A stored word with neither bit of a pair writes neither line, both bits both.
        {0, "KSDF Standiford Field, KY\r\n\r\nWeather: Fair\r\nWind: South(180\260)\r\n"
            "Humidity: 55%\r\nVisibility: 10.00 mi\r\n"},
        {In | Mb | Mph | Kt,
         "KSDF Standiford Field, KY\r\n\r\nWeather: Fair\r\nWind: South(180\260) "
         "at 10.4 mph at 9 kts - gusts up to 20.7 mph - gusts up to 18 kts\r\n"
         "Humidity: 55%\r\nPressure: 30.01 in\r\nPressure: 1016.2 mb\r\n"
         "Visibility: 10.00 mi\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Report(kFull, c.flags), c.report) << c.flags;
}

TEST(ObservationReport, WindLineAndGustRules) {
    const std::string wind = "<wind_dir>South</wind_dir><wind_degrees>180</wind_degrees>"
                             "<wind_mph>10.4</wind_mph><wind_kt>9</wind_kt>";
    struct Case {
        std::string document;
        uint32_t flags;
        std::string report;
    } cases[] = {
        {wind + "<wind_gust_mph>0.0</wind_gust_mph>", Mph,
         "KSDFWind: South(180\260) at 10.4 mph\r\n"},
        {wind + "<wind_gust_mph>0.04</wind_gust_mph>", Mph,
         "KSDFWind: South(180\260) at 10.4 mph\r\n"},
        {wind + "<wind_gust_mph>5.8</wind_gust_mph>", Mph,
         "KSDFWind: South(180\260) at 10.4 mph - gusts up to 5.8 mph\r\n"},
        {wind + "<wind_gust_kt>0</wind_gust_kt>", Kt, "KSDFWind: South(180\260) at 9 kts\r\n"},
        {wind + "<wind_gust_kt>05</wind_gust_kt>", Kt, "KSDFWind: South(180\260) at 9 kts\r\n"},
        {wind + "<wind_gust_kt></wind_gust_kt><wind_gust_mph></wind_gust_mph>", Kt | Mph,
         "KSDFWind: South(180\260) at 10.4 mph at 9 kts - gusts up to  mph - gusts up to  kts\r\n"},
        // No direction, no wind line; no degrees or speed, the direction alone.
        {"<wind_degrees>180</wind_degrees><wind_mph>10.4</wind_mph>", Mph, "KSDF"},
        {"<wind_dir>Calm</wind_dir><wind_mph>0.0</wind_mph>", Kt, "KSDFWind: Calm\r\n"},
        {"<wind_dir></wind_dir><wind_degrees></wind_degrees>", Mph, "KSDFWind: (\260)\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Report(c.document, c.flags), c.report) << c.document;
}

TEST(ObservationReport, MissingEmptyAndUnfinishedElements) {
    struct Case {
        std::string document, report;
    } cases[] = {
        {"", "KSDF"},
        {"<weather>Fair</weather>", "KSDFWeather: Fair\r\n"}, // no location: straight on
        {"<location></location><temp_f></temp_f>", "KSDF \r\n\r\nTemperature: \260F\r\n"},
        {"<weather>Fair</weather", "KSDF"},
        {"<temp_f>1</temp_c>", "KSDF"},
        {std::string("<weather>Fair</weather>\0<temp_f>1</temp_f>", 40), "KSDFWeather: Fair\r\n"},
        // A value runs to the next closing tag, wherever it stands.
        {"<weather><b>x</weather></weather>", "KSDFWeather: <b>x\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Report(c.document, F), c.report) << c.document;
}

TEST(ObservationReport, TheObservationTimeIsAbsentUnlessItParses) {
    CalendarTime time{};
    EXPECT_TRUE(ObservationTime("<observation_time_rfc822>Wed, 07 Aug 2013 13:53:00 -0400"
                                "</observation_time_rfc822>",
                                &time));
    EXPECT_EQ(time.minute, 53);
    for (const char* document :
         {"", "<observation_time_rfc822></observation_time_rfc822>",
          "<observation_time_rfc822>Last Updated on Aug 7</observation_time_rfc822>",
          "<observation_time_rfc822>Wed, 07 Aug 2013 13:53:00 -0400"})
        EXPECT_FALSE(ObservationTime(document, &time)) << document;
}

// The 2024+ layout: every line and the status time read as from the old one.
TEST(ObservationReport, TodaysLayoutGivesEveryLine) {
    EXPECT_EQ(Report(kCurrentObs2025, F | In | Mph),
              "KSDF Los Alamitos Army Airfield, CA\r\n\r\nWeather: OvercastClouds\r\n"
              "Temperature: 63.5\260F\r\nWind: Southeast(150\260) at 4.6 mph\r\nHumidity: 85%\r\n"
              "Pressure: 29.93 in\r\nDew Point: 58.8\260F\r\nVisibility: 10.00 mi\r\n");
    EXPECT_EQ(Report(kCurrentObs2025, C | Mb | Kt),
              "KSDF Los Alamitos Army Airfield, CA\r\n\r\nWeather: OvercastClouds\r\n"
              "Temperature: 17.5\260C\r\nWind: Southeast(150\260) at 4 kts\r\nHumidity: 85%\r\n"
              "Pressure: 1013.8 mb\r\nDew Point: 14.9\260C\r\nVisibility: 10.00 mi\r\n");
    CalendarTime shown{}, expected{};
    ASSERT_TRUE(ObservationTime(kCurrentObs2025, &shown));
    ASSERT_TRUE(ParseIsoTime("2025-06-09T15:55:00Z", &expected));
    EXPECT_EQ(std::make_tuple(shown.year, shown.month, shown.day, shown.hour, shown.minute),
              std::make_tuple(expected.year, expected.month, expected.day, expected.hour,
                              expected.minute));
}

} // namespace
