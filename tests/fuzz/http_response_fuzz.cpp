// The conversion of a raw response into the cache file's content, on any bytes.
// The first byte picks conditional mode and the size of the receives; the
// result must not depend on how the bytes were cut into receives.
#include "services/http_response.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

struct Source {
    std::string_view Data;
    size_t Piece;
    size_t Offset;
};

size_t Read(void* context, char* buffer, size_t size) {
    auto* source = static_cast<Source*>(context);
    size_t n = std::min({size, source->Piece, source->Data.size() - source->Offset});
    std::memcpy(buffer, source->Data.data() + source->Offset, n);
    source->Offset += n;
    return n;
}

bool Write(void* context, const char* data, size_t size) {
    if (size == 0 || size > kBodyBlockSize)
        __builtin_trap();
    static_cast<std::string*>(context)->append(data, size);
    return true;
}

struct Result {
    ResponseHead Head;
    std::string Body;
};

Result Convert(std::string_view raw, bool conditional, size_t piece) {
    Source source{raw, piece, 0};
    ResponseReader reader;
    InitResponseReader(&reader, ByteSource{Read, &source});
    Result result;
    ReadResponseHead(&reader, conditional, &result.Head);
    if (result.Head.Success &&
        !CopyResponseBody(&reader, result.Head.Chunked, ByteSink{Write, &result.Body}))
        __builtin_trap();
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    bool conditional = data[0] & 1;
    size_t piece = 1 + (data[0] >> 1);
    std::string_view raw(reinterpret_cast<const char*>(data + 1), size - 1);
    Result cut = Convert(raw, conditional, piece);
    Result whole = Convert(raw, conditional, 1 << 16);
    if (cut.Body.size() > raw.size() || cut.Body != whole.Body ||
        cut.Head.Success != whole.Head.Success || cut.Head.Chunked != whole.Head.Chunked ||
        cut.Head.HasLastModified != whole.Head.HasLastModified ||
        cut.Head.LastModified != whole.Head.LastModified ||
        (cut.Head.HasLastModified && !conditional))
        __builtin_trap();
    return 0;
}
