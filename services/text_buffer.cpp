#include "services/text_buffer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

size_t BoundedLength(const char* text, size_t size) {
    const void* end = std::memchr(text, 0, size);
    return end ? static_cast<size_t>(static_cast<const char*>(end) - text) : size;
}

bool CopyText(char* dst, size_t dstSize, std::string_view src) {
    if (dstSize == 0)
        return src.empty();
    size_t n = src.size() < dstSize ? src.size() : dstSize - 1;
    if (n > 0)
        std::memmove(dst, src.data(), n);
    dst[n] = '\0';
    return n == src.size();
}

bool AppendText(char* dst, size_t dstSize, std::string_view src) {
    if (dstSize == 0)
        return src.empty();
    size_t used = BoundedLength(dst, dstSize);
    if (used == dstSize) { // no terminator: the buffer is already full
        dst[dstSize - 1] = '\0';
        return src.empty();
    }
    return CopyText(dst + used, dstSize - used, src);
}

bool FormatText(char* dst, size_t dstSize, const char* format, ...) {
    if (dstSize == 0)
        return false;
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(dst, dstSize, format, args);
    va_end(args);
    if (n < 0) {
        dst[0] = '\0';
        return false;
    }
    return static_cast<size_t>(n) < dstSize;
}
