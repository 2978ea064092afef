// The ticker's queue reader on arbitrary files: as many records as it
// counted, fields within their buffers, messages inside the file and free of
// line ends.
#include "ticker/ticker_queue.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TickerQueue queue;
    OpenTickerQueue(&queue, std::string(reinterpret_cast<const char*>(data), size));
    int records = 0;
    while (NextTickerRecord(&queue)) {
        ++records;
        const char* begin = queue.Text.data();
        const char* message = queue.Message.data();
        if (strnlen(queue.Sound, sizeof queue.Sound) >= sizeof queue.Sound ||
            strnlen(queue.Location, sizeof queue.Location) >= sizeof queue.Location ||
            queue.Message.find_first_of("\r\n") != std::string_view::npos ||
            (!queue.Message.empty() &&
             (message < begin || message + queue.Message.size() > begin + queue.Text.size())))
            __builtin_trap();
    }
    if (records != queue.RecordCount || queue.CurrentRecord != records)
        __builtin_trap();
    return 0;
}
