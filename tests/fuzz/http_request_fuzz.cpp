// URL splitting, the request text and the two date texts on any bytes. An
// accepted URL must not break the request into more lines (header injection).
#include "services/http_date.h"
#include "services/http_fetch.h"
#include "services/http_request.h"
#include "services/text_buffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    HttpUrl url;
    auto request = std::make_unique<FetchRequest>();
    if (SplitHttpUrl(text, &url) && CopyText(request->Url, text) &&
        PrepareFetchRequest(request.get())) {
        CopyText(request->DateText, "Wed, 07 Aug 2013 13:40:32 GMT");
        ComposeRequestText(request.get(), true);
        std::string_view sent = TextOf(request->RequestText);
        if (std::count(sent.begin(), sent.end(), '\n') != 7 ||
            std::count(sent.begin(), sent.end(), '\r') != 7)
            __builtin_trap();
    }
    uint64_t time = 0;
    char printed[64];
    if (ParseHttpDate(text, &time))
        FormatHttpDate(time, printed, sizeof printed);
    return 0;
}
