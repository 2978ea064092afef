// Queue records from arbitrary feeds, read back by the ticker's own reader:
// as many records as were written, each with the zone's location and, when it
// has a header, exactly four fields; no record holds a line break.
#include "pages/alerts/alert_queue.h"
#include "ticker/ticker_queue.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    AlertSettingsSnapshot settings;
    settings.Flags = static_cast<uint32_t>(data[0]) << 2 | (data[1] & 3);
    settings.WarningSound = "w.wav";
    settings.SevereSound = "s.wav";
    settings.NotifySound = "n.wav";
    std::string document(reinterpret_cast<const char*>(data) + 2, size - 2);
    std::string queue;
    int written = AppendAlertRecords(document, "Zone", settings, &queue);

    TickerQueue reader;
    OpenTickerQueue(&reader, queue);
    if (reader.RecordCount != written)
        __builtin_trap();
    size_t lineStart = 0;
    while (NextTickerRecord(&reader)) {
        size_t lineEnd = queue.find("\r\n", lineStart);
        std::string_view line(queue.data() + lineStart, lineEnd - lineStart);
        size_t separators = 0;
        for (char c : line)
            separators += c == kTickerSeparator;
        if ((separators != 0 && separators != 3) || line.find_first_of("\r\n") != line.npos ||
            (separators == 3 && std::string_view(reader.Location) != "Zone"))
            __builtin_trap();
        lineStart = lineEnd + 2;
    }
    if (lineStart != queue.size())
        __builtin_trap();
    return 0;
}
