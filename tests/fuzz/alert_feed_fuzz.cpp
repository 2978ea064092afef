// The alert feed on arbitrary documents (two leading bytes choose the alert
// flags). Every queue line must hold either no separator or exactly the three
// of a record with a header: a separator byte copied from the feed would
// shift the ticker's fields.
#include "pages/alerts/alert_feed.h"
#include "pages/alerts/alert_queue.h"
#include "ticker/ticker_queue.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    std::vector<char> bytes(data + 2, data + size); // nothing after it may be read
    std::string_view document(bytes.data(), bytes.size());
    RenderAlertFeed(document);
    AlertFeedUpdated(document);
    AlertSettingsSnapshot settings{static_cast<uint32_t>(data[0]) << 2 | (data[1] & 3), "w.wav",
                                   "s.wav", "n.wav"};
    std::string queue;
    AppendAlertRecords(document, "Zone", settings, &queue);
    for (size_t start = 0, end; (end = queue.find("\r\n", start)) != queue.npos; start = end + 2) {
        size_t separators = std::count(queue.begin() + start, queue.begin() + end, kTickerSeparator);
        if (separators != 0 && separators != 3)
            __builtin_trap();
    }
    return 0;
}
