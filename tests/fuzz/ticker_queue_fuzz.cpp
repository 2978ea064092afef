// The ticker's queue reader on arbitrary files. Sound and location are fixed
// arrays inside the queue record, where an unterminated field escapes ASan.
#include "ticker/ticker_queue.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TickerQueue queue;
    OpenTickerQueue(&queue, std::string(reinterpret_cast<const char*>(data), size));
    while (NextTickerRecord(&queue))
        if (strnlen(queue.Sound, sizeof queue.Sound) >= sizeof queue.Sound ||
            strnlen(queue.Location, sizeof queue.Location) >= sizeof queue.Location)
            __builtin_trap();
    return 0;
}
