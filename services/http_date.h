// The two date texts of the downloader: the If-Modified-Since text it sends and
// the Last-Modified text it reads back. Both are UTC and fixed-position:
// "Wed, 07 Aug 2013 13:40:32 GMT".
#ifndef CUMULON_HTTP_DATE_H
#define CUMULON_HTTP_DATE_H

#include <cstddef>
#include <cstdint>
#include <string_view>

// Writes `fileTime` (100-nanosecond units since 1 January 1601 UTC) as
// "Www, DD Mon YYYY HH:MM:SS GMT". False, with `out` empty, when the time is
// beyond the calendar or the text does not fit.
bool FormatHttpDate(uint64_t fileTime, char* out, size_t outSize);

// Reads "Www, DD Mon YYYY HH:MM:SS ..." by position: day at 5, month name at 8
// (any letter case), year at 12, hour at 17, minute at 20, second at 23. The
// weekday and whatever follows the seconds are not looked at. False, leaving
// `fileTime` alone, for a short text, a field that is not all digits, an
// unknown month or an impossible date.
bool ParseHttpDate(std::string_view text, uint64_t* fileTime);

#endif
