// Not a test: the native cost of building the current observations report and
// the river gauge report (text and status time), for documents of the feeds'
// usual size and for 1 MB documents whose tags all stand at the end.
#include "pages/stations/observations_report.h"
#include "pages/stations/river_report.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const std::string kObservation =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<current_observation version=\"1.0\">\r\n"
    "\t<credit>NOAA's National Weather Service</credit>\r\n\t<location>Standiford Field, "
    "KY</location>\r\n"
    "\t<station_id>KSDF</station_id>\r\n\t<latitude>38.18</latitude>\r\n\t<longitude>-85.73</"
    "longitude>\r\n"
    "\t<observation_time>Last Updated on Aug 7 2013, 1:53 pm EDT</observation_time>\r\n"
    "\t<observation_time_rfc822>Wed, 07 Aug 2013 13:53:00 -0400</observation_time_rfc822>\r\n"
    "\t<weather>A Few Clouds</weather>\r\n\t<temperature_string>88.0 F (31.1 "
    "C)</temperature_string>\r\n"
    "\t<temp_f>88.0</temp_f>\r\n\t<temp_c>31.1</temp_c>\r\n\t<relative_humidity>55</"
    "relative_humidity>\r\n"
    "\t<wind_string>South at 10.4 MPH (9 KT)</wind_string>\r\n\t<wind_dir>South</wind_dir>\r\n"
    "\t<wind_degrees>180</wind_degrees>\r\n\t<wind_mph>10.4</wind_mph>\r\n\t<wind_kt>9</"
    "wind_kt>\r\n"
    "\t<wind_gust_mph>20.7</wind_gust_mph>\r\n\t<wind_gust_kt>18</wind_gust_kt>\r\n"
    "\t<pressure_string>1016.2 mb</pressure_string>\r\n\t<pressure_mb>1016.2</pressure_mb>\r\n"
    "\t<pressure_in>30.01</pressure_in>\r\n\t<dewpoint_string>70.0 F (21.1 C)</dewpoint_string>\r\n"
    "\t<dewpoint_f>70.0</dewpoint_f>\r\n\t<dewpoint_c>21.1</dewpoint_c>\r\n\t<heat_index_f>95</"
    "heat_index_f>\r\n"
    "\t<heat_index_c>35</heat_index_c>\r\n\t<visibility_mi>10.00</visibility_mi>\r\n"
    "\t<two_day_history_url>http://www.weather.gov/data/obhistory/KSDF.html</"
    "two_day_history_url>\r\n"
    "</current_observation>\r\n";

const std::string kRiver =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<rss version=\"2.0\" "
    "xmlns:geo=\"http://www.w3.org/2003/01/geo/wgs84_pos#\">\r\n<channel>\r\n"
    "<title>MLUK2 - Ohio River at Louisville (McAlpine Upper), KY</title>\r\n"
    "<link>http://water.weather.gov/ahps2/hydrograph.php?wfo=mlu&amp;gage=mluk2</link>\r\n"
    "<description>River Observation for Ohio River at Louisville</description>\r\n"
    "<lastBuildDate>Wed, 07 Aug 2013 18:15:00 GMT</lastBuildDate>\r\n<item>\r\n"
    "<title>MLUK2 - Ohio River at Louisville (McAlpine Upper), KY - Observation</title>\r\n"
    "<description><div>Observation Time: Aug 07, 2013 02:00 PM EDT<br />Flood Stage: 23 ft<br />"
    "Latest Observation: 12.10 ft<br />Latest Observation Category: Normal<br />Stages are in feet "
    "above the gauge's datum. <a "
    "href='http://water.weather.gov/ahps2/hydrograph.php'>Hydrograph</a>"
    "</div></description>\r\n<geo:lat>38.28</geo:lat>\r\n<geo:long>-85.80</geo:long>\r\n"
    "</item>\r\n</channel>\r\n</rss>\r\n";

// Microseconds per call, median of 21 batches.
double Measure(const std::function<size_t()>& build, int batch) {
    std::vector<double> runs;
    size_t checksum = 0;
    for (int run = 0; run < 21; ++run) {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < batch; ++i)
            checksum += build();
        auto end = std::chrono::steady_clock::now();
        runs.push_back(std::chrono::duration<double, std::micro>(end - start).count() / batch);
    }
    std::sort(runs.begin(), runs.end());
    if (checksum == 0)
        std::printf("(no output)\n");
    return runs[10];
}

size_t Observation(const std::string& document) {
    CalendarTime time;
    return BuildObservationReport(document, 0x15, "KSDF").size() + ObservationTime(document, &time);
}

size_t River(const std::string& document) {
    CalendarTime time;
    return BuildRiverReport(document).size() + RiverBuildTime(document, &time);
}

} // namespace

int main() {
    const std::string filler((1u << 20) - 4096, ' ');
    const std::string bigObservation = filler + kObservation, bigRiver = filler + kRiver;
    std::printf("observation report: %zu-byte document %.2f us; 1 MB document %.0f us\n",
                kObservation.size(), Measure([&] { return Observation(kObservation); }, 2000),
                Measure([&] { return Observation(bigObservation); }, 3));
    std::printf("river report: %zu-byte document %.2f us; 1 MB document %.0f us\n", kRiver.size(),
                Measure([&] { return River(kRiver); }, 2000),
                Measure([&] { return River(bigRiver); }, 3));
    return 0;
}
