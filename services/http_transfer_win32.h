// The two ways one hop of a fetch travels, behind HttpFetch: plain HTTP over
// a socket, and HTTPS through WinHTTP. Each sends the request the FetchRequest
// is pointed at, reads the answer's head into `head` and, when the answer
// carries the feed (WantsBody), its body, de-chunked, into `body`.
#ifndef CUMULON_HTTP_TRANSFER_WIN32_H
#define CUMULON_HTTP_TRANSFER_WIN32_H

#include "services/http_fetch.h"
#include "services/http_response.h"

#include <windows.h>

// 200 with "OK", or 204 (an empty feed).
inline bool WantsBody(const ResponseHead& head) {
    return head.Success || head.Status == 204;
}

bool WriteAll(HANDLE file, const char* data, size_t size);

// 0 when the server answered (whatever its status); -1 when the transfer
// failed, was refused (certificate, name) or was aborted.
int SecureTransfer(FetchRequest* request, HANDLE body, const WatchdogLimits& limits,
                   ResponseHead* head);

// Ends a running WinHTTP transfer of `request` at once. Called by AbortFetch
// with request->SocketLock held.
void AbortSecureTransfer(FetchRequest* request);

#endif
