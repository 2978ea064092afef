// Not a test: the native cost of building the METAR page's text for a typical
// answer (one report) and for a 1 MB answer (many reports; the page reads the
// first). Prints the median of 101 runs of each.
#include "pages/stations/metar_report.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kReport[] =
    "    <METAR>\r\n"
    "      <raw_text>KORD 062353Z 04012G19KT 1/2SM +SN FZFG FEW006 SCT021 BKN046 BKN086 OVC146 "
    "M02/M04 A2954 RMK AO2 SLP001 T10201042</raw_text>\r\n"
    "      <station_id>KORD</station_id>\r\n"
    "      <observation_time>2013-12-06T23:53:00Z</observation_time>\r\n"
    "      <latitude>41.98</latitude>\r\n      <longitude>-87.92</longitude>\r\n"
    "      <temp_c>-2.0</temp_c>\r\n      <dewpoint_c>-4.2</dewpoint_c>\r\n"
    "      <wind_dir_degrees>40</wind_dir_degrees>\r\n      <wind_speed_kt>12</wind_speed_kt>\r\n"
    "      <wind_gust_kt>19</wind_gust_kt>\r\n"
    "      <visibility_statute_mi>0.5</visibility_statute_mi>\r\n"
    "      <altim_in_hg>29.54</altim_in_hg>\r\n"
    "      <sea_level_pressure_mb>1000.1</sea_level_pressure_mb>\r\n"
    "      <wx_string>+SN FZFG</wx_string>\r\n"
    "      <sky_condition sky_cover=\"FEW\" cloud_base_ft_agl=\"600\" />\r\n"
    "      <sky_condition sky_cover=\"SCT\" cloud_base_ft_agl=\"2100\" />\r\n"
    "      <sky_condition sky_cover=\"BKN\" cloud_base_ft_agl=\"4600\" />\r\n"
    "      <sky_condition sky_cover=\"BKN\" cloud_base_ft_agl=\"8600\" />\r\n"
    "      <sky_condition sky_cover=\"OVC\" cloud_base_ft_agl=\"14600\" />\r\n"
    "      <flight_category>LIFR</flight_category>\r\n"
    "      <three_hr_pressure_tendency_mb>-2.9</three_hr_pressure_tendency_mb>\r\n"
    "      <maxT_c>-0.8</maxT_c>\r\n      <minT_c>-2.0</minT_c>\r\n"
    "      <maxT24hr_c>1.8</maxT24hr_c>\r\n      <minT24hr_c>-2.4</minT24hr_c>\r\n"
    "      <precip_in>0.42</precip_in>\r\n      <pcp3hr_in>0.92</pcp3hr_in>\r\n"
    "      <pcp6hr_in>1.47</pcp6hr_in>\r\n      <snow_in>4</snow_in>\r\n"
    "      <pcp24hr_in>3.92</pcp24hr_in>\r\n      <metar_type>METAR</metar_type>\r\n"
    "      <elevation_m>285.1</elevation_m>\r\n"
    "    </METAR>\r\n";

double MedianMilliseconds(const std::string& document, size_t* outputSize) {
    std::vector<double> runs;
    for (int run = 0; run < 101; ++run) {
        auto start = std::chrono::steady_clock::now();
        *outputSize =
            BuildMetarReport(document, kMetarDefaultFlags, "KORD Chicago O'Hare").Output.size();
        auto end = std::chrono::steady_clock::now();
        runs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(runs.begin(), runs.end());
    return runs[50];
}

} // namespace

int main() {
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<response>\r\n"
                             "  <data num_results=\"1\">\r\n";
    const std::string tail = "  </data>\r\n</response>\r\n";
    std::string typical = head + kReport + tail, large = head;
    while (large.size() < (1u << 20) - sizeof kReport)
        large += kReport;
    large += tail;
    size_t typicalOutput = 0, largeOutput = 0;
    double typicalMs = MedianMilliseconds(typical, &typicalOutput);
    double largeMs = MedianMilliseconds(large, &largeOutput);
    std::printf("METAR report: typical %zu-byte answer %.4f ms (%zu bytes of text); "
                "%.2f MB answer %.3f ms (%zu bytes of text)\n",
                typical.size(), typicalMs, typicalOutput, large.size() / 1048576.0, largeMs,
                largeOutput);
    // The worst 1 MB answer: no element the page reads, so every search runs
    // to the end of the document.
    std::string empty = head + std::string((1u << 20) - head.size(), 'x');
    size_t emptyOutput = 0;
    std::printf("METAR report: 1 MB answer without any element the page reads %.3f ms\n",
                MedianMilliseconds(empty, &emptyOutput));
    return 0;
}
