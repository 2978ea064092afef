#include "services/http_request.h"

#include "services/text_buffer.h"
#include "services/text_scan.h"

namespace {

bool IsHostNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

// "1" to "65535", digits only (leading zeros allowed, at most five digits).
bool ParsePort(std::string_view text, uint16_t* port) {
    if (text.empty() || text.size() > 5)
        return false;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value < 1 || value > 65535)
        return false;
    *port = static_cast<uint16_t>(value);
    return true;
}

} // namespace

bool SplitHttpUrl(std::string_view url, HttpUrl* parts) {
    for (char c : url)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F)
            return false;
    HttpUrl result;
    result.Secure = StartsWithNoCase(url, "https://");
    if (!result.Secure && !StartsWithNoCase(url, "http://"))
        return false;
    std::string_view rest = url.substr(result.Secure ? 8 : 7);
    size_t slash = rest.find('/');
    if (slash == std::string_view::npos)
        return false;
    result.Host = rest.substr(0, slash);
    result.Resource = rest.substr(slash);
    result.LastSegment = url.substr(url.rfind('/') + 1);
    result.Port = result.Secure ? 443 : 80;
    size_t colon = result.Host.find(':');
    result.HostName = result.Host.substr(0, colon);
    if (colon != std::string_view::npos && !ParsePort(result.Host.substr(colon + 1), &result.Port))
        return false;
    if (result.HostName.empty())
        return false;
    for (char c : result.HostName)
        if (!IsHostNameCharacter(c)) // also refuses "user@host"
            return false;
    *parts = result;
    return true;
}

void ClearFetchResponseState(FetchRequest* request) {
    request->DateText[0] = '\0';
    request->Host[0] = '\0';
    request->Resource[0] = '\0';
    request->RequestText[0] = '\0';
    request->FileTime = 0;
    request->Port = 80;
    request->Secure = false;
}

bool SetFetchTarget(FetchRequest* request, std::string_view url, std::string_view cachePath,
                    bool conditional) {
    if (!CopyText(request->Url, url) || !CopyText(request->CachePath, cachePath)) {
        request->Url[0] = '\0';
        request->CachePath[0] = '\0';
        return false;
    }
    if (conditional)
        request->Flags |= kFetchConditional;
    return true;
}

bool PrepareFetchRequest(FetchRequest* request) {
    ClearFetchResponseState(request);

    // A field the caller filled to the last byte has lost its end: refused, not cut.
    if (BoundedLength(request->Url, sizeof request->Url) == sizeof request->Url ||
        BoundedLength(request->CachePath, sizeof request->CachePath) == sizeof request->CachePath)
        return false;
    HttpUrl url;
    if (!SplitHttpUrl(TextOf(request->Url), &url) ||
        !TargetFetchRequest(request, TextOf(request->Url)))
        return false;
    if (TextOf(request->CachePath).empty())
        CopyText(request->CachePath, url.LastSegment);
    return !TextOf(request->CachePath).empty();
}

bool TargetFetchRequest(FetchRequest* request, std::string_view address) {
    HttpUrl url;
    if (!SplitHttpUrl(address, &url) || url.Host.size() >= sizeof request->Host ||
        url.Resource.size() >= sizeof request->Resource)
        return false;
    CopyText(request->Host, url.Host);
    CopyText(request->Resource, url.Resource);
    request->Port = url.Port;
    request->Secure = url.Secure;
    return true;
}

bool ComposeHeaderLines(const FetchRequest* request, bool ifModifiedSince, char* text,
                        size_t size) {
    text[0] = '\0';
    bool fits = AppendText(text, size, "User-Agent: ") && AppendText(text, size, kHttpUserAgent) &&
                AppendText(text, size, "\r\nAccept: ") && AppendText(text, size, kHttpAccept) &&
                AppendText(text, size, "\r\n");
    if (fits && ifModifiedSince)
        fits = AppendText(text, size, "If-Modified-Since: ") &&
               AppendText(text, size, TextOf(request->DateText)) && AppendText(text, size, "\r\n");
    if (!fits)
        text[0] = '\0';
    return fits;
}

bool ComposeRequestText(FetchRequest* request, bool ifModifiedSince) {
    char* text = request->RequestText;
    constexpr size_t size = sizeof request->RequestText;
    char headers[sizeof request->RequestText];
    bool fits = ComposeHeaderLines(request, ifModifiedSince, headers, sizeof headers) &&
                CopyText(text, size, "GET ") && AppendText(text, size, TextOf(request->Resource)) &&
                AppendText(text, size, " HTTP/1.1\r\nHost: ") &&
                AppendText(text, size, TextOf(request->Host)) && AppendText(text, size, "\r\n") &&
                AppendText(text, size, headers) &&
                AppendText(text, size, "Connection: close\r\n\r\n");
    if (!fits)
        text[0] = '\0';
    return fits;
}
