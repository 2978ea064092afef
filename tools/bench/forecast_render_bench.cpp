// Not a test: the native cost of turning a 1 MB point forecast document into
// the page's text. Prints milliseconds per document and per megabyte.
#include "pages/forecast/forecast_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

int main() {
    std::string document = "<?xml version=\"1.0\"?>\r\n<Forecast location=\"Louisville KY\" elevation=\"836 ft\">\r\n"
                           "<creationTime>Sun, Dec 6, 2026 4:00 PM EST</creationTime>\r\n";
    for (int period = 0; document.size() < (1u << 20) - 400; ++period)
        document.append("<period><valid>Period ")
            .append(std::to_string(period))
            .append("</valid><text>A chance of rain. Partly cloudy, with a high near 38. North wind 10 to 15 mph. "
                    "Chance of precipitation is 40%.</text></period>\r\n");
    document.append("</Forecast>\r\n");

    std::vector<double> runs;
    size_t checksum = 0;
    for (int run = 0; run < 21; ++run) {
        auto start = std::chrono::steady_clock::now();
        checksum += RenderPointForecast(document).size();
        auto end = std::chrono::steady_clock::now();
        runs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(runs.begin(), runs.end());
    double megabytes = document.size() / 1048576.0;
    std::printf("forecast rendering: %.2f MB document, median %.3f ms (%.3f ms per MB), output %zu bytes\n",
                megabytes, runs[10], runs[10] / megabytes, checksum / runs.size());
    return 0;
}
