// What the downloader sends: the URL split into scheme, host, port and
// resource, and the request text with its header lines in their fixed order.
#ifndef CUMULON_HTTP_REQUEST_H
#define CUMULON_HTTP_REQUEST_H

#include "services/http_fetch.h"

#include <cstdint>
#include <string_view>

#ifndef CUMULON_VERSION
#define CUMULON_VERSION "3.0.7.143"
#endif

// The program, its version and where to reach its makers: the weather
// service's API refuses requests that do not say who is asking.
constexpr char kHttpUserAgent[] = "Cumulon/" CUMULON_VERSION " (+https://quillmoor.example)";

// The feeds' own types first: the alerts API answers ATOM only when asked
// for it (and GeoJSON otherwise); the other services send XML, JSON or
// pictures whatever is asked. No compressed encodings are asked for.
constexpr char kHttpAccept[] =
    "application/atom+xml, application/xml;q=0.9, text/xml;q=0.9, application/json;q=0.8, "
    "image/*;q=0.8, */*;q=0.5";

// The parts of "http[s]://host[:port]/resource". Views into the URL.
struct HttpUrl {
    bool Secure;                  // "https:": over TLS
    std::string_view Host;        // as written: "127.0.0.1:8080" or "example.com"
    std::string_view HostName;    // without the port
    uint16_t Port;                // 80 (443 for https) unless written
    std::string_view Resource;    // from the "/" after the host to the end
    std::string_view LastSegment; // after the URL's last "/" (may be empty)
};

// Accepts "http:" or "https:" in any letter case followed by "//", a host name of
// letters, digits, '.', '-' and '_', an optional ":port" (1 to 65535), and a
// "/" path. Refuses an empty URL, another scheme, credentials ("user@host"),
// a host without a path, and any control character or space (they would end
// the request line).
bool SplitHttpUrl(std::string_view url, HttpUrl* parts);

// Clears what a fetch fills in: Host, Resource, RequestText, DateText,
// FileTime, the port and the scheme.
void ClearFetchResponseState(FetchRequest* request);

// Fills Url and CachePath and the Conditional bit of an initialised request.
// False, with the fields left empty, when the address or the path does not
// fit its field: a cut address would fetch something else.
bool SetFetchTarget(FetchRequest* request, std::string_view url, std::string_view cachePath,
                    bool conditional);

// The first steps of a fetch: clears the response state (Host, Resource,
// RequestText, DateText, FileTime), splits Url into Host, Port and Resource,
// and fills an empty CachePath with the URL's last path segment. False when
// the URL is refused or no cache path results (a URL ending in "/").
bool PrepareFetchRequest(FetchRequest* request);

// Points the request at `url` (the first address or a redirect's): Secure,
// Host, Port and Resource. False, with nothing changed, when it is refused.
bool TargetFetchRequest(FetchRequest* request, std::string_view url);

// Writes the header lines every request carries after its Host line:
// User-Agent, Accept and (only when `ifModifiedSince`, with DateText)
// If-Modified-Since, each ended by CR LF. False when they do not fit.
bool ComposeHeaderLines(const FetchRequest* request, bool ifModifiedSince, char* text, size_t size);

// Writes RequestText: GET, Host, the header lines above, Connection: close,
// and the empty line. False when it does not fit.
bool ComposeRequestText(FetchRequest* request, bool ifModifiedSince);

#endif
