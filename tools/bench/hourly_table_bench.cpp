// Not a test: the native cost of turning hourly forecast documents into the
// page's table (every column on): a 72-hour document as the weather service
// sends it and a 1 MB one. Prints the median of 21 runs.
#include "pages/forecast/hourly_table.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Time(int hour) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:00:00-05:00", 2013 + hour / 8064,
                  1 + hour / 672 % 12, 1 + hour / 24 % 28, hour % 24);
    return text;
}

// A document of the weather service's shape with `hours` hours.
std::string Document(int hours) {
    std::string d = "<?xml version=\"1.0\"?>\r\n<dwml version=\"1.0\"><head><product>"
                    "<creation-date refresh-frequency=\"PT1H\">2013-08-07T13:00:00-05:00"
                    "</creation-date></product></head>\r\n<data><location><city state=\"IL\">"
                    "Chicago</city><area-description>4 Miles NE Chicago IL</area-description>"
                    "</location>\r\n<time-layout time-coordinate=\"local\">\r\n";
    for (int h = 0; h < hours; ++h)
        d += "<start-valid-time>" + Time(h) + "</start-valid-time>\r\n<end-valid-time>" +
             Time(h + 1) + "</end-valid-time>\r\n";
    d += "</time-layout>\r\n<parameters>\r\n";
    const char* elements[][2] = {
        {"<temperature type=\"hourly\" units=\"Fahrenheit\">", "</temperature>"},
        {"<temperature type=\"dew point\" units=\"Fahrenheit\">", "</temperature>"},
        {"<temperature type=\"wind chill\" units=\"Fahrenheit\">", "</temperature>"},
        {"<temperature type=\"heat index\" units=\"Fahrenheit\">", "</temperature>"},
        {"<probability-of-precipitation type=\"floating\" units=\"percent\">",
         "</probability-of-precipitation>"},
        {"<wind-speed type=\"sustained\" units=\"miles/hour\">", "</wind-speed>"},
        {"<wind-speed type=\"gust\" units=\"miles/hour\">", "</wind-speed>"},
        {"<direction type=\"wind\" units=\"degrees true\">", "</direction>"},
        {"<cloud-amount type=\"total\" units=\"percent\">", "</cloud-amount>"},
        {"<humidity type=\"relative\" units=\"percent\">", "</humidity>"},
        {"<hourly-qpf type=\"floating\" units=\"inches\">", "</hourly-qpf>"}};
    for (const auto& element : elements) {
        d += std::string(element[0]) + "\r\n";
        for (int h = 0; h < hours; ++h)
            d += h % 5 == 4 ? "<value xsi:nil=\"true\"/>\r\n"
                            : "<value>" + std::to_string(h * 37 % 360) + "</value>\r\n";
        d += std::string(element[1]) + "\r\n";
    }
    d += "<weather time-layout=\"k-p1h\">\r\n";
    for (int h = 0; h < hours; ++h)
        d += h % 3 ? "<weather-conditions xsi:nil=\"true\"/>\r\n"
                   : "<weather-conditions><value coverage=\"chance\" intensity=\"light\" "
                     "weather-type=\"rain showers\" qualifier=\"none\"/><value "
                     "weather-type=\"thunderstorms\" coverage=\"likely\" additive=\"and\"/>"
                     "</weather-conditions>\r\n";
    return d + "</weather>\r\n</parameters></data></dwml>\r\n";
}

void Measure(const char* name, const std::string& document) {
    std::vector<double> runs;
    size_t rows = 0;
    for (int run = 0; run < 21; ++run) {
        auto start = std::chrono::steady_clock::now();
        HourlyTable table = BuildHourlyTable(document, 0x1FFC, "%Dow; %dd;, %hh; %ampm;",
                                             "%Dow; %Mon; %dd; %yyyy; - %hh;:%mm; %ampm;");
        auto end = std::chrono::steady_clock::now();
        rows = table.Rows.size();
        runs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(runs.begin(), runs.end());
    std::printf("hourly table, %s: %.0f KB, %zu rows, median %.3f ms (%.3f ms per MB)\n", name,
                document.size() / 1024.0, rows, runs[10], runs[10] / (document.size() / 1048576.0));
}

} // namespace

int main() {
    Measure("72 hours", Document(72));
    int hours = 72;
    while (Document(hours).size() < (1u << 20))
        hours += 100;
    Measure("1 MB", Document(hours));
    return 0;
}
