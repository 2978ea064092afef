#include "ticker/ticker_options.h"

#include "services/text_buffer.h"
#include "services/text_scan.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

bool ParseHexColour(std::string_view text, uint32_t* value) {
    uint32_t result = 0;
    size_t digits = 0;
    for (; digits < text.size(); ++digits) {
        int digit = HexDigitValue(text[digits]);
        if (digit < 0)
            break;
        result = result > 0x0FFFFFFF ? 0xFFFFFFFF : result << 4 | static_cast<uint32_t>(digit);
    }
    if (digits == 0)
        return false;
    *value = result;
    return true;
}

TickerOptions ParseTickerOptions(std::string_view commandLine) {
    TickerOptions options{};
    size_t at = 0;
    while (at < commandLine.size()) {
        while (at < commandLine.size() && IsBlank(commandLine[at]))
            ++at;
        size_t end = at;
        while (end < commandLine.size() && !IsBlank(commandLine[end]))
            ++end;
        std::string_view word = commandLine.substr(at, end - at);
        at = end;
        if (word.starts_with("-f")) {
            std::string_view name = word.substr(2);
            if (name.size() >= kTickerPathSize)
                name = {}; // refused: a cut name would be another file
            CopyText(options.QueueFile, name);
        } else if (word.starts_with("-tx")) {
            if (ParseHexColour(word.substr(3), &options.TextColour))
                options.HasTextColour = true;
        } else if (word.starts_with("-bk")) {
            if (ParseHexColour(word.substr(3), &options.BackgroundColour))
                options.HasBackgroundColour = true;
        } else if (word == "-tb") {
            options.ShowToolbar = true;
        } else if (word == "-tt") {
            options.Tooltips = true;
        }
    }
    return options;
}
