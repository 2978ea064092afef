// Bounded text helpers for the fixed-size buffers of the file formats and the
// registry. Every function cuts its result to fit and always terminates it; the
// return value tells whether the whole text fitted.
#ifndef CUMULON_TEXT_BUFFER_H
#define CUMULON_TEXT_BUFFER_H

#include <cstddef>
#include <string_view>

bool CopyText(char* dst, size_t dstSize, std::string_view src);
bool AppendText(char* dst, size_t dstSize, std::string_view src);
#if defined(__GNUC__)
__attribute__((format(printf, 3, 4)))
#endif
bool FormatText(char* dst, size_t dstSize, const char* format, ...);

// Length of a text held in a fixed buffer that may lack its terminator.
size_t BoundedLength(const char* text, size_t size);

template <size_t N> bool CopyText(char (&dst)[N], std::string_view src) {
    return CopyText(dst, N, src);
}
template <size_t N> bool AppendText(char (&dst)[N], std::string_view src) {
    return AppendText(dst, N, src);
}
template <size_t N> std::string_view TextOf(const char (&buffer)[N]) {
    return std::string_view(buffer, BoundedLength(buffer, N));
}

#endif
