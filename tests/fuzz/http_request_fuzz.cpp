// URL splitting, the request text and the two date texts on any bytes. An
// accepted URL gives a request whose lines cannot be broken by the URL; a date
// that parses prints back to the same instant.
#include "services/http_date.h"
#include "services/http_fetch.h"
#include "services/http_request.h"
#include "services/text_buffer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    HttpUrl url;
    if (SplitHttpUrl(text, &url)) {
        if (url.Resource.empty() || url.Resource[0] != '/' || url.HostName.empty() ||
            url.Port == 0 || url.Host.size() + url.Resource.size() + 7 != text.size())
            __builtin_trap();
        auto request = std::make_unique<FetchRequest>();
        if (CopyText(request->Url, text) && PrepareFetchRequest(request.get())) {
            CopyText(request->DateText, "Wed, 07 Aug 2013 13:40:32 GMT");
            if (!ComposeRequestText(request.get(), true))
                __builtin_trap(); // every URL that fits the field fits the request
            std::string_view sent = TextOf(request->RequestText);
            size_t lines = 0;
            for (char c : sent)
                lines += c == '\n';
            if (lines != 7 || sent.find('\r') != sent.find("\r\n"))
                __builtin_trap();
        }
    }

    uint64_t time = 0;
    if (ParseHttpDate(text, &time)) {
        char printed[64];
        uint64_t back = 0;
        if (!FormatHttpDate(time, printed, sizeof printed) || !ParseHttpDate(printed, &back) ||
            back != time)
            __builtin_trap();
    }
    return 0;
}
