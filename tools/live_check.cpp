// live_check.exe: every feed of a catalog fetched for one known place
// (Louisville, Kentucky) with Cumulon's own downloader, and read by the page
// that shows it. Per entry it prints the download's result, the bytes the
// cache file holds and what the page's reader found. Not a test: it needs the
// internet and says so when there is none (exit 0). Exit 1 when a feed gave
// nothing its page can show.
//   live_check.exe [CATALOG] [WORK_FOLDER]
// The catalog defaults to links.dat beside the program, the work folder to a
// "live-check" folder in the temporary folder.
#include "pages/alerts/alert_feed.h"
#include "pages/forecast/forecast_text.h"
#include "pages/forecast/hourly_table.h"
#include "pages/imagery/image_header.h"
#include "pages/stations/metar_report.h"
#include "pages/stations/observations_report.h"
#include "pages/stations/river_report.h"
#include "services/feed_catalog.h"
#include "services/file_io.h"
#include "services/http_fetch.h"
#include "services/text_buffer.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

// What a page's reader finds in a document: a short description, empty when nothing.
using Reader = std::string (*)(const std::string& document);

std::string Count(size_t count, const char* what) {
    return std::to_string(count) + " " + what;
}

std::string PointForecast(const std::string& document) {
    std::string text = RenderPointForecast(document);
    return text.empty() ? "" : Count(text.size(), "characters of forecast");
}
std::string HourlyForecast(const std::string& document) {
    HourlyTable table = BuildHourlyTable(document, ~0u, "%H", "%H");
    return table.Rows.empty() ? "" : Count(table.Rows.size(), "hours");
}
std::string Observations(const std::string& document) {
    CalendarTime time{};
    return ObservationTime(document, &time) ? "an observation with its time" : "";
}
std::string Metar(const std::string& document) {
    MetarReport report = BuildMetarReport(document, kMetarDefaultFlags, "KSDF");
    return report.ObservationTime.empty() ? ""
                                          : "a report of " + std::string(report.ObservationTime);
}
std::string River(const std::string& document) {
    RiverGaugeText text = RenderRiverGauge(document, "%c");
    return text.Output.empty() ? ""
           : text.HasStatus    ? "a gauge report with its time"
                               : "a gauge report";
}
std::string Alerts(const std::string& document) {
    return AlertFeedUpdated(document).empty()
               ? ""
               : "a feed of " + Count(ReadAlertEntries(document).size(), "alerts");
}
// The imagery pages draw only a GIF, PNG or JPEG within their size bound.
std::string Picture(const std::string& document) {
    ImageHeader header;
    if (!PictureAllowed(document, &header))
        return "";
    const char* format = header.Format == ImageFormat::Gif   ? "GIF"
                         : header.Format == ImageFormat::Png ? "PNG"
                                                             : "JPEG";
    return std::string("a ") + format + " picture of " + std::to_string(header.Width) + " x " +
           std::to_string(header.Height);
}

// Each page's section, its known place (a code, or a point for the point
// templates, or nothing for the fixed pictures) and its reader.
struct Page {
    const char* Section;
    const char* Code;
    Reader Read;
};
constexpr char kLatitude[] = "38.25", kLongitude[] = "-85.76";
const Page kPages[] = {
    {"POINTFORECAST", nullptr, PointForecast},
    {"HOURLYPOINTFORECAST", nullptr, HourlyForecast},
    {"OBSERVATIONS", "KSDF", Observations},
    {"METAR", "KSDF", Metar},
    {"RIVERGAUGES", "MLUK2", River},
    {"ALERTS", "KYZ030", Alerts},
    {"RADAR", "KLVX", Picture},
    {"SATELLITE", "", Picture},
    {"SATELLITEWIDE", "", Picture},
    {"ALERTMAPS", "", Picture},
};

// The address of an entry for the page's place: a run of "#" gets as many of
// the code's last characters (a radar's "###" is the site without its first
// letter, "####" the whole site).
bool EntryUrl(const Page& page, const CatalogEntry& entry, std::string* url) {
    if (!page.Code) {
        std::string cachePath;
        return BuildPointFeedNames(entry, kLatitude, kLongitude, "", url, &cachePath);
    }
    *url = entry.UrlTemplate;
    size_t start = url->find('#');
    if (start == std::string::npos)
        return true;
    size_t length = url->find_first_not_of('#', start);
    length = (length == std::string::npos ? url->size() : length) - start;
    std::string_view code = page.Code;
    return length <= code.size() &&
           FillPlaceholder(url, std::string(length, '#'), code.substr(code.size() - length));
}

// Every key of a section: each begins with a letter or a digit.
const std::vector<std::string_view>& AnyKey() {
    static const std::string characters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::vector<std::string_view> keys;
    if (keys.empty())
        for (size_t at = 0; at < characters.size(); ++at)
            keys.push_back(std::string_view(characters).substr(at, 1));
    return keys;
}

std::string HostOf(std::string_view url) {
    size_t start = url.find("://");
    start = start == std::string_view::npos ? 0 : start + 3;
    size_t end = url.find_first_of(":/?", start);
    return std::string(url.substr(start, end == std::string_view::npos ? end : end - start));
}

// Whether a host's name is known here: no name service, no internet.
bool Online(const std::string& host) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return false;
    addrinfo* found = nullptr;
    bool online = getaddrinfo(host.c_str(), nullptr, nullptr, &found) == 0;
    if (found)
        freeaddrinfo(found);
    WSACleanup();
    return online;
}

// Downloads one address into `cachePath`: the result as the page would see it.
std::string Fetch(const std::string& url, const std::string& cachePath) {
    DeleteFileA(cachePath.c_str());
    FetchRequest* request = new FetchRequest;
    InitFetchRequest(request);
    std::string result;
    if (!CopyText(request->Url, url) || !CopyText(request->CachePath, cachePath))
        result = "address too long";
    else if (HttpFetch(request) != 0)
        result = (request->Flags & kFetchAborted) ? "no answer for 60 s" : "failed";
    else
        result = (request->Flags & kFetchReplaced) ? "answered" : "refused (status)";
    delete request;
    return result;
}

} // namespace

int main(int argc, char** argv) {
    char folder[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, folder, sizeof folder);
    std::string programFolder = folder;
    programFolder.erase(programFolder.find_last_of('\\') + 1);
    std::string catalogPath = argc > 1 ? argv[1] : programFolder + kCatalogFileName;
    char temporary[MAX_PATH] = "";
    GetTempPathA(sizeof temporary, temporary);
    std::string work = argc > 2 ? argv[2] : JoinPath(temporary, "live-check");

    std::string catalog;
    if (!LoadCatalogFile(catalogPath.c_str(), &catalog)) {
        std::printf("cannot read the catalog %s\n", catalogPath.c_str());
        return 1;
    }
    std::vector<CatalogEntry> first = ReadCatalogSection(catalog, "[POINTFORECAST]", AnyKey());
    std::string firstUrl;
    if (!first.empty() && EntryUrl(kPages[0], first[0], &firstUrl) && !Online(HostOf(firstUrl))) {
        std::printf("No internet connection (%s cannot be found): the live check needs one. "
                    "Nothing was fetched.\n",
                    HostOf(firstUrl).c_str());
        return 0;
    }
    EnsureFolder(work.c_str());

    std::printf("Catalog %s, place Louisville KY (%s, %s)\n\n", catalogPath.c_str(), kLatitude,
                kLongitude);
    std::printf("%-20s %-14s %-17s %9s  %s\n", "page", "key", "download", "bytes",
                "the page reads");
    int empty = 0, number = 0;
    for (const Page& page : kPages) {
        std::string section = std::string("[") + page.Section + "]";
        std::vector<CatalogEntry> entries = ReadCatalogSection(catalog, section, AnyKey());
        if (entries.empty())
            std::printf("%-20s %-14s %s\n", page.Section, "-", "no entry in the catalog");
        for (const CatalogEntry& entry : entries) {
            std::string url, result, found;
            std::string cachePath = JoinPath(work, "feed" + std::to_string(++number) + ".dat");
            std::string document;
            if (!EntryUrl(page, entry, &url))
                result = "bad template";
            else
                result = Fetch(url, cachePath);
            bool read = ReadWholeFile(cachePath.c_str(), &document);
            if (read)
                found = page.Read(document);
            empty += found.empty();
            std::printf("%-20s %-14s %-17s %9s  %s\n", page.Section, entry.Key.c_str(),
                        result.c_str(), read ? std::to_string(document.size()).c_str() : "-",
                        found.empty() ? "NOTHING" : found.c_str());
            if (found.empty())
                std::printf("%20s %s\n", "", url.c_str());
        }
    }
    std::printf("\n%d of %d feeds gave their page nothing to show.\n", empty, number);
    return empty ? 1 : 0;
}
