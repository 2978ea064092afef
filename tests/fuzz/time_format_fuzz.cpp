// The time-stamp parsers and the format language on arbitrary bytes. The
// formatted text must end inside its fixed buffer (the callers print it).
#include "services/time_format.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    int64_t ticks;
    CalendarTime time{};
    if (ParseIsoTimeUtc(text, &ticks))
        TicksToCalendar(ticks, &time);
    if (ParseRfc822TimeUtc(text, &ticks))
        TicksToCalendar(ticks, &time);
    ParseIsoTime(text, &time);
    ParseRfc822Time(text, &time);

    // The first 16 bytes, when present, make the calendar time (any values).
    CalendarTime any{};
    size_t header = size >= sizeof any ? sizeof any : 0;
    std::memcpy(&any, data, header);
    char out[kFormattedTimeSize], small[5];
    FormatTime(any, text.substr(header), out, sizeof out);
    FormatTime(any, text.substr(header), small, sizeof small);
    if (!std::memchr(out, 0, sizeof out) || !std::memchr(small, 0, sizeof small))
        __builtin_trap();
    return 0;
}
