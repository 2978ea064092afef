// The ticker's command-line reader on arbitrary texts: a queue file name
// within its buffer and without blanks, and the options it read come back
// the same from the command line the main program would build from them.
#include "ticker/ticker_options.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TickerOptions options =
        ParseTickerOptions(std::string_view(reinterpret_cast<const char*>(data), size));
    size_t length = strnlen(options.QueueFile, sizeof options.QueueFile);
    if (length >= sizeof options.QueueFile || std::strpbrk(options.QueueFile, " \t"))
        __builtin_trap();
    char colours[64] = "";
    if (options.HasTextColour || options.HasBackgroundColour)
        std::snprintf(colours, sizeof colours, " -tx%X -bk%X", options.TextColour,
                      options.BackgroundColour);
    std::string line = "-f" + std::string(options.QueueFile) + colours +
                       (options.ShowToolbar ? " -tb" : "") + (options.Tooltips ? " -tt" : "");
    TickerOptions again = ParseTickerOptions(line);
    if (std::strcmp(again.QueueFile, options.QueueFile) != 0 ||
        again.ShowToolbar != options.ShowToolbar || again.Tooltips != options.Tooltips ||
        (options.HasTextColour && again.TextColour != options.TextColour) ||
        (options.HasBackgroundColour && again.BackgroundColour != options.BackgroundColour))
        __builtin_trap();
    return 0;
}
