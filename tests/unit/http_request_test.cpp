#include "services/http_fetch.h"
#include "services/http_redirect.h"
#include "services/http_request.h"
#include "services/text_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// The parts of a URL as "[s] host | host name | port | resource | last segment".
std::string Parts(std::string_view url) {
    HttpUrl p{};
    if (!SplitHttpUrl(url, &p))
        return "(refused)";
    return std::string(p.Secure ? "s " : "") + std::string(p.Host) + " | " +
           std::string(p.HostName) + " | " + std::to_string(p.Port) + " | " +
           std::string(p.Resource) + " | " + std::string(p.LastSegment);
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
        {"http://h:9/x", "h:9 | h | 9 | /x | x"},
        {"http://h:8999/x", "h:8999 | h | 8999 | /x | x"},
        {"https://api.weather.gov/alerts/active/zone/ILZ014",
         "s api.weather.gov | api.weather.gov | 443 | /alerts/active/zone/ILZ014 | ILZ014"},
        {"HTTPS://h:8443/", "s h:8443 | h | 8443 | / | "},
        {"https://h:19/x", "s h:19 | h | 19 | /x | x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parts(c.url), c.parts) << c.url;
}

TEST(SplitHttpUrl, RefusesWhatItCannotFetch) {
    const std::vector<const char*> refused[] = {
        {"", "http", "http:", "http://", "https://", "https://h", "httpss://h/x", "https:/h/x",
         "ftp://h/x", "file:///c:/x", "http:/h/x", "http:h/x", " http://h/x"},
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
        {"https://h/x", "x", "h | 443 | /x | x"},
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

TEST(ComposeRequestText, TheWholeRequestLineByLine) {
    const std::string agent = "User-Agent: "s + kHttpUserAgent + "\r\n"; // its text: the wire test
    const std::string accept =
        "Accept: application/atom+xml, application/xml;q=0.9, text/xml;q=0.9, "
        "application/json;q=0.8, image/*;q=0.8, */*;q=0.5\r\n";
    const struct {
        const char* url;
        bool ifModifiedSince;
        std::string text;
    } cases[] = {
        {"http://127.0.0.1:8080/feeds/KLOT.xml?a=1", false,
         "GET /feeds/KLOT.xml?a=1 HTTP/1.1\r\nHost: 127.0.0.1:8080\r\n" + agent + accept +
             "Connection: close\r\n\r\n"},
        {"https://h/x", true,
         "GET /x HTTP/1.1\r\nHost: h\r\n" + agent + accept +
             "If-Modified-Since: Wed, 07 Aug 2013 13:40:32 GMT\r\nConnection: close\r\n\r\n"},
    };
    for (const auto& c : cases) {
        auto request = Request(c.url, "x");
        ASSERT_TRUE(PrepareFetchRequest(request.get())) << c.url;
        CopyText(request->DateText, "Wed, 07 Aug 2013 13:40:32 GMT");
        ASSERT_TRUE(ComposeRequestText(request.get(), c.ifModifiedSince)) << c.url;
        EXPECT_EQ(request->RequestText, c.text) << c.url;
    }
}

// Where each redirect leads after the hops already taken, and which are refused.
TEST(FollowRedirect, WhereItLeadsAndWhatIsRefused) {
    const std::string far = "http://h/" + std::string(1100, 'x');
    const struct {
        const char* from;
        std::string location;
        int hops;
        const char* next; // or the refusal
    } cases[] = {
        {"http://h/a/b?c=1", "https://g:8443/x", 0, "https://g:8443/x"},
        {"http://h:81/a/b?c=/1", "/x?y", 4, "http://h:81/x?y"},
        {"http://h/a/b?c=/1", "x", 0, "http://h/a/x"},
        {"https://h/a/b", "//g/y#frag", 0, "https://g/y"},
        {"https://h/a", " https://h/b \r\n", 0, "https://h/b"},
        {"http://h/a", "/b", 5, "too many"},
        {"https://h/a", "http://h/a", 0, "down to http"},
        {"https://h/a", "//g/y", 5, "too many"},
        {"http://h/a", "", 0, "unusable"},
        {"http://h/a", "ftp://h/a", 0, "unusable"},
        {"http://h/a", "https://user@h/a", 0, "unusable"},
        {"http://h/a", "/a b", 0, "unusable"},
        {"http://h/a", far, 0, "unusable"},
    };
    for (const auto& c : cases) {
        char next[300] = "untouched";
        RedirectVerdict verdict = FollowRedirect(c.from, c.location, c.hops, next, sizeof next);
        const char* names[] = {next, "too many", "down to http", "unusable"};
        EXPECT_STREQ(names[static_cast<int>(verdict)], c.next) << c.from << " " << c.location;
    }
    EXPECT_TRUE(IsRedirectStatus(301) && IsRedirectStatus(302) && IsRedirectStatus(303) &&
                IsRedirectStatus(307) && IsRedirectStatus(308));
    EXPECT_FALSE(IsRedirectStatus(300) || IsRedirectStatus(304) || IsRedirectStatus(305) ||
                 IsRedirectStatus(306) || IsRedirectStatus(200));
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
