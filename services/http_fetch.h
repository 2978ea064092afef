// The one downloader and its cache. HttpFetch sends a GET request (http://
// over a socket of its own, https:// through WinHTTP), follows up to five
// redirects, writes the body into a temporary file of its own beside the
// cache file under a watchdog, and moves it over the cache file in one step
// (status test, plain or chunked body), optionally conditional on the cache
// file's time. Every page worker and the auto-alert thread use it; the pages
// display only from the cache files.
//
// A worker's protocol:
//   FetchRequest* request = new FetchRequest;
//   InitFetchRequest(request);
//   PublishFetch(&page.Request, request);   // Stop can reach it from now on
//   ...fill Url and CachePath, set kFetchConditional if wanted...
//   HttpFetch(request);
//   RetireFetch(&page.Request);             // no Stop can touch it after this
//   delete request;
#ifndef CUMULON_HTTP_FETCH_H
#define CUMULON_HTTP_FETCH_H

#include <atomic>
#include <cstdint>
#include <mutex>

// Flags bits.
constexpr uint32_t kFetchConditional = 0x1; // caller: If-Modified-Since, keep the server's time
constexpr uint32_t kFetchDone = 0x2;        // HttpFetch: the transfer is over, the watchdog ends
constexpr uint32_t kFetchAborted = 0x4;     // AbortFetch: Stop or the watchdog ended the transfer
constexpr uint32_t kFetchReplaced = 0x8; // HttpFetch: a successful answer replaced the cache file

// The watchdog gives up after 60 s without received data, looking once a second.
constexpr uint32_t kWatchdogSilenceMs = 60000;
constexpr uint32_t kWatchdogCheckMs = 1000;

struct WatchdogLimits {
    uint32_t SilenceMs = kWatchdogSilenceMs;
    uint32_t CheckMs = kWatchdogCheckMs;
};

// The socket handle value of no socket (the Windows INVALID_SOCKET).
constexpr uintptr_t kNoSocket = ~static_cast<uintptr_t>(0);

// One download. Allocate it with new (it holds a lock and atomics), initialise
// it with InitFetchRequest and release it after HttpFetch has returned.
// LastActivity and Flags are written by the fetching thread and read by the
// watchdog and by Stop, hence atomic.
struct FetchRequest {
    char Url[257] = {};       // http[s]://host/path, or http[s]://host:port/path
    char CachePath[257] = {}; // empty: the URL's last path segment, in the current folder
    std::atomic<uintptr_t> Socket{kNoSocket};
    std::atomic<uint32_t> LastActivity{0}; // tick count of the last received data
    std::atomic<uint32_t> Flags{0};
    char DateText[1024] = {}; // the If-Modified-Since text
    char Host[261] = {};      // as written in the URL, with its port if it has one
    char Resource[261] = {};  // from the "/" after the host, query included
    char RequestText[1024] = {};
    char ReceiveBuffer[1024] = {};
    uint64_t FileTime = 0; // the cache file's last-write time, UTC, Windows file-time units
    uint32_t WatchdogId = 0;
    void* Watchdog = nullptr; // thread handle
    uint16_t Port = 80;
    bool Secure = false;          // this hop goes over TLS (WinHTTP), not the socket
    void* WatchdogWake = nullptr; // event that ends the watchdog's wait when the transfer ends
    void* SecureCall = nullptr;   // the running WinHTTP request's state, for AbortFetch
    std::mutex SocketLock;        // AbortFetch against the closing of Socket or SecureCall
};

// Clears Url, CachePath, Flags and the response state; LastActivity = now.
void InitFetchRequest(FetchRequest* request);

// Downloads Url into CachePath on the caller's thread. 0 only when the cache
// file was replaced (200 OK, or 204 No Content: an empty file) or confirmed
// (304 Not Modified over an existing file, which then takes the server's time
// in conditional mode). -1 otherwise: the URL is unusable (not "http:" or
// "https:", no path after the host, credentials, a bad port), the host is
// unknown, the certificate is refused, the connection, send, temporary file or
// a receive fails, Stop or the watchdog ended it, a redirect is refused (a
// sixth hop, or from https down to http), the answer is an error or the cache
// file could not be replaced. On -1 the cache file and its time are untouched.
// Temporary files are gone on every path.
int HttpFetch(FetchRequest* request, const WatchdogLimits& limits = WatchdogLimits{});

// Ends the request's transfer from any thread: marks it aborted, shuts its
// socket down in both directions and cancels a receive in progress, which then
// fails so that HttpFetch returns -1. The socket itself is closed by HttpFetch.
void AbortFetch(FetchRequest* request);

// Rewrites the file at CachePath with "&#x3C;", "&#x3E;", "&#x27;" and
// "&#x26;" decoded (in that order, one pass each, so "&#x26;#x3C;" gives
// "&#x3C;") and every 0x95 byte dropped, keeping the file's creation and
// last-write times. 0, or -1 when the file is missing or cannot be read or
// replaced.
int DecodeCharacterReferences(FetchRequest* request);

// The guard that keeps the Stop button and the release of a request apart. The
// slot is the page's current-request pointer; all three take one lock, so once
// RetireFetch has returned no StopFetch is using the request and it may be
// released.
void PublishFetch(FetchRequest** slot, FetchRequest* request); // worker, before HttpFetch
void StopFetch(FetchRequest** slot);                           // main thread, Stop
void RetireFetch(FetchRequest** slot);                         // worker, after HttpFetch

// Socket library start-ups made by fetches and not yet released (0 whenever no
// fetch runs), and all such start-ups since the program began.
int OutstandingSocketStartups();
long TotalSocketStartups();

#endif
