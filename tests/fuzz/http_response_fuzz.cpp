// The conversion of a raw response into the cache file's content, on any bytes.
// The first byte picks conditional mode and the size of the receives; the
// result must not depend on how the bytes were cut into receives (a state
// lost at a receive's end changes the file without any bad memory access).
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
    static_cast<std::string*>(context)->append(data, size);
    return true;
}

std::string Convert(std::string_view raw, bool conditional, size_t piece) {
    Source source{raw, piece, 0};
    ResponseReader reader;
    InitResponseReader(&reader, ByteSource{Read, &source});
    ResponseHead head;
    ReadResponseHead(&reader, conditional, &head);
    std::string result = std::to_string(head.Success) + std::to_string(head.Chunked) +
                         std::to_string(head.HasLastModified ? head.LastModified : 0) + "|";
    if (head.Success)
        CopyResponseBody(&reader, head.Chunked, ByteSink{Write, &result});
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    std::string_view raw(reinterpret_cast<const char*>(data + 1), size - 1);
    if (Convert(raw, data[0] & 1, 1 + (data[0] >> 1)) != Convert(raw, data[0] & 1, 1 << 16))
        __builtin_trap();
    return 0;
}
