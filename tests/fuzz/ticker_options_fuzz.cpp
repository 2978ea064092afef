// The ticker's command-line reader on arbitrary texts. The queue file name is a
// fixed array inside the options, where an unterminated name escapes ASan.
#include "ticker/ticker_options.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TickerOptions options =
        ParseTickerOptions(std::string_view(reinterpret_cast<const char*>(data), size));
    if (strnlen(options.QueueFile, sizeof options.QueueFile) >= sizeof options.QueueFile)
        __builtin_trap();
    return 0;
}
