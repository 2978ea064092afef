// The ticker's command line: "-f" with the queue file name, "-tx" and "-bk"
// with the text and background colours in hexadecimal, and the switches "-tb"
// (toolbar) and "-tt" (tooltips). Words are separated by blanks; other words
// are ignored.
#ifndef CUMULON_TICKER_OPTIONS_H
#define CUMULON_TICKER_OPTIONS_H

#include <cstddef>
#include <cstdint>
#include <string_view>

constexpr size_t kTickerPathSize = 260; // file paths: at most 259 characters

struct TickerOptions {
    char QueueFile[kTickerPathSize]; // empty: no usable "-f" word
    bool ShowToolbar;
    bool Tooltips;
    bool HasTextColour;
    bool HasBackgroundColour;
    uint32_t TextColour;
    uint32_t BackgroundColour;
};

// Reads the words of `commandLine` (without the program name). A later word
// of the same kind replaces an earlier one. A queue file name longer than 259
// characters is refused (the queue file is left empty); a colour word is read
// as far as it holds hexadecimal digits (leading zeros do not count, a value
// past 32 bits stays at 0xFFFFFFFF), and one without any digit is ignored.
TickerOptions ParseTickerOptions(std::string_view commandLine);

// The hexadecimal value of the digits (either case) at the start of `text`;
// false when `text` does not start with a digit.
bool ParseHexColour(std::string_view text, uint32_t* value);

#endif
