#include "pages/stations/metar_report.h"
#include "services/time_format.h"
#include "tests/unit/today_documents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string E(const std::string& tag, const std::string& value) {
    return "<" + tag + ">" + value + "</" + tag + ">";
}
std::string Sky(const std::string& cover, const std::string& base = "") {
    return "<sky_condition sky_cover=\"" + cover + "\"" +
           (base.empty() ? "" : " cloud_base_ft_agl=\"" + base + "\"") + " />";
}

// The document in a heap block of exactly its size, so the sanitizer catches
// any read past its end.
MetarReport Build(const std::string& document, uint32_t flags) {
    static std::vector<char> bytes;
    bytes.assign(document.begin(), document.end());
    return BuildMetarReport(std::string_view(bytes.data(), bytes.size()), flags, "O'Hare");
}

const std::string kFull =
    "<data num_results=\"1\"><METAR>" + E("raw_text", "KORD 071753Z 27009G18KT 10SM -RA BR") +
    E("observation_time", "2013-08-07T17:53:00Z") + E("latitude", "41.98") +
    E("longitude", "-87.90") + E("temp_c", "22.0") + E("dewpoint_c", "-1.1") +
    E("wind_dir_degrees", "270") + E("wind_speed_kt", "10") + E("wind_gust_kt", "18") +
    E("visibility_statute_mi", "10.0") + E("altim_in_hg", "29.92") +
    E("sea_level_pressure_mb", "1013.2") + E("wx_string", "-RA BR") + Sky("FEW", "4500") +
    Sky("BKN", "25000") + E("flight_category", "VFR") + E("three_hr_pressure_tendency_mb", "-1.5") +
    E("maxT_c", "24.0") + E("minT_c", "15.0") + E("maxT24hr_c", "25.0") + E("minT24hr_c", "13.0") +
    E("precip_in", "0.02") + E("pcp3hr_in", "0.05") + E("pcp6hr_in", "0.10") +
    E("pcp24hr_in", "0.50") + E("snow_in", "2") + E("vert_vis_ft", "100") +
    E("metar_type", "METAR") + E("elevation_m", "0") + "</METAR></data>";
constexpr uint32_t kAll = kMetarDefaultFlags;
constexpr uint32_t kOthers = kMetarCelsius | kMetarKnots | kMetarMillibars | kMetarMeters;
constexpr uint32_t kBare = kAll & ~kMetarLatLon;
constexpr uint32_t kLines = kBare & ~(kMetarFahrenheit | kMetarMph | kMetarInches | kMetarFeet);

const std::string kFullText = "O'Hare (41.98 -87.90)\r\n"
                              "Elevation: 0.0 ft\r\n"
                              "Weather: light rain - mist\r\n"
                              "Temp: 71.6 (6hr mn/mx 59.0/75.2) (24hr mn/mx 55.4/77.0) \260F\r\n"
                              "Dewpoint: 30.0 \260F\r\n"
                              "Wind: 11.5 (270\260) gusts 20.7 mph\r\n"
                              "Pressure: 29.9 in (3hr Tendency: -0.0 in)\r\n"
                              "Visibility: 10.0 mi Vertical Visibility: 100 ft\r\n"
                              "Sky Cover: (FEW 4500 ft) (BKN 25000 ft)\r\n"
                              "Precipitation: 1hr/0.02 3hr/0.05 6hr/0.10 24hr/0.50\r\n"
                              "Snow: 2 in\r\n"
                              "Altimeter: 29.92 in\r\n"
                              "Flight Category: VFR\r\n"
                              "Metar Type: METAR\r\n"
                              "Raw Metar: KORD 071753Z 27009G18KT 10SM -RA BR\r\n";

struct Case {
    std::string Document;
    uint32_t Flags;
    std::string Expected;
};

TEST(MetarReport, DocumentsGiveTheirTexts) {
    const Case cases[] = {
        {kFull, kAll, kFullText},
        {kFull,
         kOthers | kMetarElevation | kMetarTemperature | kMetarMinMaxTemp | kMetarDewpoint |
             kMetarWind | kMetarPressure,
         "O'Hare\r\nElevation: 0 m\r\nTemp: 22.0 (6hr mn/mx 15.0/24.0) (24hr mn/mx 13.0/25.0) "
         "\260C\r\n"
         "Dewpoint: -1.1 \260C\r\nWind: 10 (270\260) gusts 18 kts\r\nPressure: 1013.2 mb (3hr "
         "Tendency: -1.5 mb)\r\n"},
        // Every line off; "Min/Max Temp" without "Temperature"; a pair with both bits or neither.
        {kFull, kMetarFahrenheit | kMetarKnots, "O'Hare\r\n"},
        {kFull, kMetarMinMaxTemp, "O'Hare\r\n"},
        {kFull, kOthers | kMetarFahrenheit | kMetarTemperature | kMetarWind,
         "O'Hare\r\nTemp: 71.6 \260F\r\nWind: 10 (270\260) gusts 18 kts\r\n"},
        {kFull, kMetarTemperature | kMetarElevation,
         "O'Hare\r\nElevation: 0.0 ft\r\nTemp: 71.6 \260F\r\n"},
        // The six- and 24-hour groups, with and without a minimum or a temperature.
        {E("maxT_c", "24.0"), kBare, "O'Hare\r\n(6hr mn/mx /75.2) \260F\r\n"},
        {E("temp_c", "0.0") + E("minT_c", "-1.1"), kBare,
         "O'Hare\r\nTemp: 32.0 (6hr mn/mx 30.0/) \260F\r\n"},
        {E("minT_c", "1") + E("minT24hr_c", "2") + E("maxT24hr_c", "3"), kLines | kOthers,
         "O'Hare\r\n(6hr mn/mx 1/)(24hr mn/mx 2/3) \260C\r\n"}, // a 6hr minimum is no value printed
        {E("temp_c", "5") + E("maxT24hr_c", "9"), kLines | kOthers,
         "O'Hare\r\nTemp: 5 (24hr mn/mx /9) \260C\r\n"},
        // Missing, empty, unclosed and cut-off values.
        // "Lat/Lon" brackets stand alone; "Wind: " and " (" of the direction both keep their space.
        {E("latitude", "41.98"), kAll, "O'Hare (41.98)\r\n"},
        {E("longitude", "-87.90") + E("wind_dir_degrees", "90"), kAll,
         "O'Hare ( -87.90)\r\nWind:  (90\260) mph\r\n"},
        {E("wind_gust_kt", "10"), kAll, "O'Hare ()\r\nWind:  gusts 11.5 mph\r\n"},
        {E("temp_c", "") + "<dewpoint_c>5" + E("three_hr_pressure_tendency_mb", "1.0"), kBare,
         "O'Hare\r\n3hr Tendency: 0.0 in\r\n"},
        {E("vert_vis_ft", "200") + E("pcp6hr_in", "0.3") + E("temp_c", std::string("1\0", 2)),
         kBare, "O'Hare\r\n Vertical Visibility: 200 ft\r\nPrecipitation: 6hr/0.3\r\n"},
        {"", kBare, "no data"}, // the service's "204 No Content"
        {std::string("\0<temp_c>1</temp_c>", 20), kBare, "no data"},
        {E("temp_c", "abc") + E("elevation_m", " 100.04x"), kBare,
         "O'Hare\r\nElevation: 328.2 ft\r\nTemp: 32.0 \260F\r\n"},
        // Weather codes: intensity, two codes in one token, proximity, codes beyond rain and snow.
        {E("wx_string", "+SHRASN -DZBR VCTS"), kBare,
         "O'Hare\r\nWeather: heavy snow - heavy rain - light drizzle - light mist - VCTS\r\n"},
        {E("wx_string", "+TSGR  FU HZ VCFG -IC FZFG -"), kBare,
         "O'Hare\r\nWeather: heavy hail - smoke - HZ - fog - light ice - fog - -\r\n"},
        // Sky cover: at most four, attributes inside their own tag, a bad tag ends the line.
        {Sky("FEW", "1") + Sky("SCT", "2") + Sky("BKN", "3") + Sky("BKN", "4") + Sky("OVC", "5"),
         kBare, "O'Hare\r\nSky Cover: (FEW 1 ft) (SCT 2 ft) (BKN 3 ft) (BKN 4 ft)\r\n"},
        {Sky("CLR") + "<sky_condition /> sky_cover=\"OVC\" cloud_base_ft_agl=\"9\" " +
             Sky("FEW", "7"),
         kBare, "O'Hare\r\nSky Cover: (CLR)\r\n"},
        {Sky("SCT", "30") + "<sky_condition sky_cover=\"BKN />" + Sky("OVC", "8"), kBare,
         "O'Hare\r\nSky Cover: (SCT 30 ft)\r\n"},
        {Sky("FEW", "30") + "<sky_condition sky_cover=\"BKN\"", kBare,
         "O'Hare\r\nSky Cover: (FEW 30 ft)\r\n"},
        // Answers with no results, and tags that only look like one.
        {"<data num_results=\"0\" />" + E("temp_c", "5"), kAll, "no data"},
        {"<data num_results=\"10\">" + E("temp_c", "0"), kMetarTemperature,
         "O'Hare\r\nTemp: 32.0 \260F\r\n"},
        {"<data num_results>\"0\"", 0, "O'Hare\r\n"},
        // Today's API: one line, "10+" kept, whole numbers and two decimals
        // as sent; a variable wind has no degrees.
        {std::string(kAviationMetar), kAll,
         "O'Hare (42.1290 -86.4152)\r\nElevation: 643.1 ft\r\nTemp: 73.9 \260F\r\n"
         "Dewpoint: 68.0 \260F\r\nWind: 0.0 (0\260) mph\r\nPressure: 30.1 in\r\n"
         "Visibility: 10+ mi\r\nSky Cover: (OVC 9000 ft)\r\nPrecipitation: 1hr/0.03\r\n"
         "Altimeter: 30.07 in\r\nFlight Category: VFR\r\nMetar Type: METAR\r\n"
         "Raw Metar: METAR KBEH 201853Z AUTO 00000KT 10SM OVC090 23/20 A3007 RMK AO2 RAB06E24 "
         "SLP180 P0003 T02330200 $\r\n"},
        {std::string(kAviationMetar), kOthers | kMetarPressure | kMetarVisibility,
         "O'Hare\r\nPressure: 1018 mb\r\nVisibility: 10+ mi\r\n"},
        {E("wind_dir_degrees", "VRB") + E("wind_speed_kt", "3"), kLines | kOthers,
         "O'Hare\r\nWind: 3 (VRB) kts\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Build(c.Document, c.Flags).Output, c.Expected)
            << c.Document << " / " << std::hex << c.Flags;
}

// Each box takes its line of the full text out (the lines after the location
// line, in order), or its part of a line, and leaves the rest as it was.
TEST(MetarReport, EachLineSwitchedOffLeavesTheOthersAsTheyWere) {
    const uint32_t lines[] = {kMetarElevation,  kMetarWeather,   kMetarTemperature,
                              kMetarDewpoint,   kMetarWind,      kMetarPressure,
                              kMetarVisibility, kMetarSkyCover,  kMetarPrecipitation,
                              kMetarSnow,       kMetarAltimeter, kMetarFlightCategory,
                              kMetarType,       kMetarRaw};
    size_t start = kFullText.find("\r\n") + 2;
    for (uint32_t bit : lines) {
        size_t end = kFullText.find("\r\n", start) + 2;
        EXPECT_EQ(Build(kFull, kAll & ~bit).Output,
                  kFullText.substr(0, start) + kFullText.substr(end));
        start = end;
    }
    for (auto [bit, part] : {std::pair<uint32_t, std::string>{kMetarLatLon, " (41.98 -87.90)"},
                             {kMetarMinMaxTemp, " (6hr mn/mx 59.0/75.2) (24hr mn/mx 55.4/77.0)"}}) {
        std::string expected = kFullText;
        EXPECT_EQ(Build(kFull, kAll & ~bit).Output,
                  expected.erase(expected.find(part), part.size()));
    }
}

TEST(MetarReport, ObservationTimeOnlyWithResults) {
    EXPECT_EQ(Build(kFull, kAll).ObservationTime, "2013-08-07T17:53:00Z");
    EXPECT_EQ(Build("<data num_results=\"0\">" + E("observation_time", "x"), kAll).ObservationTime,
              "");
    EXPECT_EQ(Build("<observation_time>2013", kAll).ObservationTime, "");
    // Today's times carry milliseconds; the status line still reads them.
    int64_t withMilliseconds, plain;
    ASSERT_TRUE(ParseIsoTimeUtc(Build(std::string(kAviationMetar), kAll).ObservationTime,
                                &withMilliseconds));
    ASSERT_TRUE(ParseIsoTimeUtc("2025-09-20T18:53:00Z", &plain));
    EXPECT_EQ(withMilliseconds, plain);
}

TEST(MetarReport, HugeNumbersPrintAllTheirDigits) {
    std::string line = Build(E("elevation_m", "1e300"), kMetarElevation | kMetarFeet).Output;
    EXPECT_EQ(line.rfind("O'Hare\r\nElevation: 328", 0), 0u) << line;
    EXPECT_EQ(line.substr(line.size() - 7), ".0 ft\r\n");
    EXPECT_EQ(line.size(), 8 + 11 + 301 + 2 + 5u);
}

TEST(MetarReport, UnitPairsWithBothOrNeitherBitTakeTheFirstUnit) {
    EXPECT_EQ(NormalizeMetarUnits(kMetarDefaultFlags), kMetarDefaultFlags);
    EXPECT_EQ(NormalizeMetarUnits(kOthers), kOthers);
    EXPECT_EQ(NormalizeMetarUnits(0xFFFFFFFF), 0xFFFFFFFF & ~kOthers);
    EXPECT_EQ(NormalizeMetarUnits(0), kMetarFahrenheit | kMetarMph | kMetarInches | kMetarFeet);
}

} // namespace
