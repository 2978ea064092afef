// The clean-up of downloaded text that the river gauges page applies to its
// cache file: four hexadecimal character references decoded.
#ifndef CUMULON_HTTP_CHARACTER_REFERENCES_H
#define CUMULON_HTTP_CHARACTER_REFERENCES_H

#include <cstddef>

// The byte that stands in for the five bytes a decoded reference gives up; every
// such byte is dropped at the end, including any that was in the text before.
constexpr char kReferenceFiller = static_cast<char>(0x95);

// Decodes, in this order and one pass each over the text as the previous pass
// left it, "&#x3C;" to "<", "&#x3E;" to ">", "&#x27;" to "'" and "&#x26;" to
// "&", then removes every filler byte. Works in place on `length` bytes (NUL
// bytes included) and returns the new length, never more than `length`.
size_t DecodeCharacterReferenceText(char* text, size_t length);

#endif
