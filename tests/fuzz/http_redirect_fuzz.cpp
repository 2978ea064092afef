// Redirect targets and response heads on any bytes: the first line is the
// address the request went to, the rest the answer's head. A followed
// redirect must lead to an address the downloader accepts, never down from
// https to http.
#include "services/http_redirect.h"
#include "services/http_request.h"
#include "services/http_response.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

struct Source {
    std::string_view Data;
};

size_t Read(void* context, char* buffer, size_t size) {
    Source* source = static_cast<Source*>(context);
    size_t n = std::min(size, source->Data.size());
    if (n == 0)
        return 0;
    std::memcpy(buffer, source->Data.data(), n);
    source->Data.remove_prefix(n);
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t end = text.find('\n');
    std::string_view from = text.substr(0, end);
    Source source{end == std::string_view::npos ? std::string_view() : text.substr(end + 1)};
    ResponseReader reader;
    InitResponseReader(&reader, ByteSource{Read, &source});
    ResponseHead head;
    ReadResponseHead(&reader, true, &head);
    char next[300];
    for (int hops : {0, 5}) {
        RedirectVerdict verdict = FollowRedirect(from, head.Location, hops, next, sizeof next);
        HttpUrl before, after;
        if (verdict == RedirectVerdict::Follow &&
            (hops == 5 || !SplitHttpUrl(next, &after) || !SplitHttpUrl(from, &before) ||
             (before.Secure && !after.Secure)))
            __builtin_trap();
    }
    return 0;
}
