// What the downloader sends: the URL split into host, port and resource, and
// the request text with its header lines in their fixed order.
#ifndef CUMULON_HTTP_REQUEST_H
#define CUMULON_HTTP_REQUEST_H

#include "services/http_fetch.h"

#include <cstdint>
#include <string_view>

constexpr char kHttpUserAgent[] = "Cumulon 3.0.7.143";

// The parts of "http://host[:port]/resource". Views into the URL.
struct HttpUrl {
    std::string_view Host;        // as written: "127.0.0.1:8080" or "example.com"
    std::string_view HostName;    // without the port
    uint16_t Port;                // 80 unless written
    std::string_view Resource;    // from the "/" after the host to the end
    std::string_view LastSegment; // after the URL's last "/" (may be empty)
};

// Accepts "http:" in any letter case followed by "//", a host name of
// letters, digits, '.', '-' and '_', an optional ":port" (1 to 65535), and a
// "/" path. Refuses an empty URL, another scheme, credentials ("user@host"),
// a host without a path, and any control character or space (they would end
// the request line).
bool SplitHttpUrl(std::string_view url, HttpUrl* parts);

// Clears what a fetch fills in: Host, Resource, RequestText, DateText,
// FileTime and the port.
void ClearFetchResponseState(FetchRequest* request);

// Fills Url and CachePath and the Conditional bit of an initialised request.
// False, with the fields left empty, when the address or the path does not
// fit its field: a cut address would fetch something else.
bool SetFetchTarget(FetchRequest* request, std::string_view url, std::string_view cachePath, bool conditional);

// The first steps of a fetch: clears the response state (Host, Resource,
// RequestText, DateText, FileTime), splits Url into Host, Port and Resource,
// and fills an empty CachePath with the URL's last path segment. False when
// the URL is refused or no cache path results (a URL ending in "/").
bool PrepareFetchRequest(FetchRequest* request);

// Writes RequestText: GET, Host, User-Agent, Accept, If-Modified-Since (only
// when `ifModifiedSince`, with DateText), Connection: close, and the empty
// line. False when it does not fit.
bool ComposeRequestText(FetchRequest* request, bool ifModifiedSince);

#endif
