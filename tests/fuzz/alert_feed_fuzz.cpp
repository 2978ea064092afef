// The alert feed on arbitrary documents (two leading bytes choose the alert
// flags): the page's display must stay inside the document, and the queue
// records read back by the ticker's own reader must be as many as were
// written, each with the zone's location and exactly four fields when it has
// a header, none holding a line break.
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
    const int written = AppendAlertRecords(document, "Zone", settings, &queue);
    TickerQueue reader;
    OpenTickerQueue(&reader, queue);
    size_t lineStart = 0;
    while (NextTickerRecord(&reader)) {
        size_t lineEnd = queue.find("\r\n", lineStart);
        std::string_view line(queue.data() + lineStart, lineEnd - lineStart);
        size_t separators = std::count(line.begin(), line.end(), kTickerSeparator);
        if ((separators != 0 && separators != 3) || line.find_first_of("\r\n") != line.npos ||
            (separators == 3 && std::string_view(reader.Location) != "Zone"))
            __builtin_trap();
        lineStart = lineEnd + 2;
    }
    if (reader.RecordCount != written || lineStart != queue.size())
        __builtin_trap();
    return 0;
}
