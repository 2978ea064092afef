#include "services/http_fetch.h"
#include "services/http_request.h"
#include "services/text_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The parts of a URL as "host | host name | port | resource | last segment".
std::string Parts(std::string_view url) {
    HttpUrl p{};
    if (!SplitHttpUrl(url, &p))
        return "(refused)";
    return std::string(p.Host) + " | " + std::string(p.HostName) + " | " + std::to_string(p.Port) +
           " | " + std::string(p.Resource) + " | " + std::string(p.LastSegment);
}

std::unique_ptr<FetchRequest> Request(std::string_view url, std::string_view cachePath = "") {
    auto request = std::make_unique<FetchRequest>();
    CopyText(request->Url, url);
    CopyText(request->CachePath, cachePath);
    return request;
}

TEST(SplitHttpUrl, HostPortResourceAndLastSegment) {
    const struct {
        const char* url;
        const char* parts;
    } cases[] = {
        {"http://w1.weather.gov/xml/current_obs/KLOT.xml",
         "w1.weather.gov | w1.weather.gov | 80 | /xml/current_obs/KLOT.xml | KLOT.xml"},
        {"HtTp://forecast.weather.gov/MapClick.php?lat=41.8&lon=-87.6",
         "forecast.weather.gov | forecast.weather.gov | 80 | /MapClick.php?lat=41.8&lon=-87.6 | "
         "MapClick.php?lat=41.8&lon=-87.6"},
        {"http://h/", "h | h | 80 | / | "},
        {"http://127.0.0.1:8080/x", "127.0.0.1:8080 | 127.0.0.1 | 8080 | /x | x"},
        {"http://h:1/x", "h:1 | h | 1 | /x | x"},
        {"http://h:65535/x", "h:65535 | h | 65535 | /x | x"},
        {"http://h:00080/x", "h:00080 | h | 80 | /x | x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parts(c.url), c.parts) << c.url;
}

TEST(SplitHttpUrl, RefusesWhatItCannotFetch) {
    const std::vector<const char*> refused[] = {
        {"", "http", "http:", "http://", "https://h/x", "ftp://h/x", "file:///c:/x", "http:/h/x",
         "http:h/x", " http://h/x"},
        {"http://h", "http://h?x=1", "http:///x", "http://user@h/x", "http://user:pw@h/x",
         "http://@h/x"},
        {"http://:8080/x", "http://h:/x", "http://h:0/x", "http://h:65536/x", "http://h:999999/x",
         "http://h:8o/x", "http://h:-1/x", "http://h:80:81/x"},
        // Characters that would end the request line, or let a header in.
        {"http://[::1]:80/x", "http://h%2f/x", "http://h x/y", "http://h/x y", "http://h/x\tz",
         "http://h/x\r\nEvil: 1", "http://h/x\x7f"},
    };
    for (const auto& group : refused)
        for (const char* url : group)
            EXPECT_EQ(Parts(url), "(refused)") << url;
}

// "host | port | resource | cache path" after PrepareFetchRequest, which also
// clears what an earlier fetch left.
std::string Prepared(FetchRequest* request) {
    CopyText(request->DateText, "stale");
    CopyText(request->RequestText, "stale");
    request->FileTime = 12345;
    bool prepared = PrepareFetchRequest(request);
    EXPECT_STREQ(request->DateText, "");
    EXPECT_STREQ(request->RequestText, "");
    EXPECT_EQ(request->FileTime, 0u);
    if (!prepared)
        return "(refused)";
    return std::string(request->Host) + " | " + std::to_string(request->Port) + " | " +
           request->Resource + " | " + request->CachePath;
}

TEST(PrepareFetchRequest, HostPortResourceAndTheCachePathOrTheLastSegment) {
    const struct {
        const char *url, *cachePath, *prepared;
    } cases[] = {
        {"http://127.0.0.1:8080/feeds/KLOT.xml", "C:\\c\\KLOT.xml",
         "127.0.0.1:8080 | 8080 | /feeds/KLOT.xml | C:\\c\\KLOT.xml"},
        {"http://w1.weather.gov/xml/KLOT.xml", "",
         "w1.weather.gov | 80 | /xml/KLOT.xml | KLOT.xml"},
        {"http://w1.weather.gov/xml/", "", "(refused)"}, // names no file
        {"https://h/x", "x", "(refused)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Prepared(Request(c.url, c.cachePath).get()), c.prepared) << c.url;
    // Fields filled to their last byte have lost their end: refused, not cut.
    auto url = Request("");
    std::memset(url->Url, 'a', sizeof url->Url);
    std::memcpy(url->Url, "http://h/", 9);
    EXPECT_EQ(Prepared(url.get()), "(refused)");
    auto path = Request("http://h/x");
    std::memset(path->CachePath, 'a', sizeof path->CachePath);
    EXPECT_EQ(Prepared(path.get()), "(refused)");
}

// The lines and their order are checked on the wire by the downloader's test.
TEST(ComposeRequestText, TheLongestUrlStillFits) {
    std::string url = "http://" + std::string(60, 'h') + ":65535/";
    url += std::string(256 - url.size(), 'r');
    auto request = Request(url, "x");
    ASSERT_TRUE(PrepareFetchRequest(request.get()));
    CopyText(request->DateText, "Wed, 07 Aug 2013 13:40:32 GMT");
    ASSERT_TRUE(ComposeRequestText(request.get(), true));
    std::string text = request->RequestText;
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
    EXPECT_NE(text.find(std::string(" /") + std::string(256 - 74, 'r') + " HTTP/1.1\r\n"),
              std::string::npos);
}

} // namespace
