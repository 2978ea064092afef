#include "services/http_fetch.h"
#include "services/http_request.h"
#include "services/text_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

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
        {"http://h/a/b/", "h | h | 80 | /a/b/ | "},
        {"http://127.0.0.1:8080/x", "127.0.0.1:8080 | 127.0.0.1 | 8080 | /x | x"},
        {"http://h:1/x", "h:1 | h | 1 | /x | x"},
        {"http://h:65535/x", "h:65535 | h | 65535 | /x | x"},
        {"http://h:00080/x", "h:00080 | h | 80 | /x | x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parts(c.url), c.parts) << c.url;
}

TEST(SplitHttpUrl, RefusesWhatItCannotFetch) {
    for (const char* url : {
             "",
             "http",
             "http:",
             "http://",
             "https://h/x",
             "ftp://h/x",
             "file:///c:/x",
             "http:/h/x",             // one slash
             "http:h/x",              // none
             " http://h/x",           // leading space
             "http://h",              // no path
             "http://h?x=1",          // a query but no path
             "http:///x",             // no host
             "http://:8080/x",        // a port but no host
             "http://user@h/x",       // credentials
             "http://user:pw@h/x",    // credentials with a password
             "http://@h/x",           // empty credentials
             "http://h:/x",           // empty port
             "http://h:0/x",          // port 0
             "http://h:65536/x",      // beyond 16 bits
             "http://h:999999/x",     // six digits
             "http://h:8o/x",         // letter in the port
             "http://h:-1/x",         // signed port
             "http://h:80:81/x",      // two ports
             "http://[::1]:80/x",     // bracketed addresses
             "http://h%2f/x",         // escapes in the host
             "http://h x/y",          // space in the host
             "http://h/x y",          // space in the path
             "http://h/x\tz",         // tab
             "http://h/x\r\nEvil: 1", // a header smuggled into the request
             "http://h/x\x7f",        // DEL
         })
        EXPECT_EQ(Parts(url), "(refused)") << url;
}

TEST(PrepareFetchRequest, FillsHostResourceAndClearsTheResponseState) {
    auto request = Request("http://127.0.0.1:8080/feeds/KLOT.xml", "C:\\cache\\KLOT.xml");
    CopyText(request->DateText, "stale");
    CopyText(request->RequestText, "stale");
    request->FileTime = 12345;
    ASSERT_TRUE(PrepareFetchRequest(request.get()));
    EXPECT_STREQ(request->Host, "127.0.0.1:8080");
    EXPECT_STREQ(request->Resource, "/feeds/KLOT.xml");
    EXPECT_EQ(request->Port, 8080);
    EXPECT_STREQ(request->CachePath, "C:\\cache\\KLOT.xml");
    EXPECT_STREQ(request->DateText, "");
    EXPECT_STREQ(request->RequestText, "");
    EXPECT_EQ(request->FileTime, 0u);
}

TEST(PrepareFetchRequest, AnEmptyCachePathTakesTheLastSegment) {
    auto request = Request("http://w1.weather.gov/xml/current_obs/KLOT.xml");
    ASSERT_TRUE(PrepareFetchRequest(request.get()));
    EXPECT_STREQ(request->CachePath, "KLOT.xml");
    // A URL ending in "/" names no file.
    auto folder = Request("http://w1.weather.gov/xml/");
    EXPECT_FALSE(PrepareFetchRequest(folder.get()));
}

TEST(PrepareFetchRequest, RefusesFieldsWithoutTheirEnd) {
    auto url = Request("");
    std::memset(url->Url, 'a', sizeof url->Url);
    std::memcpy(url->Url, "http://h/", 9);
    EXPECT_FALSE(PrepareFetchRequest(url.get()));
    auto path = Request("http://h/x");
    std::memset(path->CachePath, 'a', sizeof path->CachePath);
    EXPECT_FALSE(PrepareFetchRequest(path.get()));
    auto refused = Request("https://h/x", "x");
    EXPECT_FALSE(PrepareFetchRequest(refused.get()));
}

TEST(ComposeRequestText, EveryLineInItsOrderIfModifiedSinceOnlyWhenAsked) {
    auto request = Request("http://127.0.0.1:8080/xml/KLOT.xml?a=1", "x");
    ASSERT_TRUE(PrepareFetchRequest(request.get()));
    CopyText(request->DateText, "Wed, 07 Aug 2013 13:40:32 GMT");
    for (bool ifModifiedSince : {false, true}) {
        ASSERT_TRUE(ComposeRequestText(request.get(), ifModifiedSince));
        EXPECT_EQ(
            TextOf(request->RequestText),
            std::string("GET /xml/KLOT.xml?a=1 HTTP/1.1\r\n"
                        "Host: 127.0.0.1:8080\r\n"
                        "User-Agent: Cumulon 3.0.7.143\r\n"
                        "Accept: *.*\r\n") +
                (ifModifiedSince ? "If-Modified-Since: Wed, 07 Aug 2013 13:40:32 GMT\r\n" : "") +
                "Connection: close\r\n\r\n");
    }
}

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
