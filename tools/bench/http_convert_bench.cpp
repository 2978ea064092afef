// The cost of turning a raw response into the cache file's content, without
// any file system: a plain and a chunked body of SIZE bytes, held in memory,
// read back in 1024-byte receives and copied into a sink that keeps a checksum.
//   http_convert_bench SIZE RUNS
// Prints "plain SECONDS" and "chunked SECONDS" for the fastest run of each.
#include "services/http_response.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Memory {
    const std::string* Data;
    size_t Offset;
};

size_t ReadMemory(void* context, char* buffer, size_t size) {
    auto* memory = static_cast<Memory*>(context);
    size_t n = std::min({size, size_t{1024}, memory->Data->size() - memory->Offset});
    std::memcpy(buffer, memory->Data->data() + memory->Offset, n);
    memory->Offset += n;
    return n;
}

bool Checksum(void* context, const char* data, size_t size) {
    auto* sum = static_cast<unsigned long long*>(context);
    for (size_t i = 0; i < size; i += 64)
        *sum += static_cast<unsigned char>(data[i]);
    *sum += size;
    return true;
}

double Convert(const std::string& raw, size_t expected) {
    auto start = std::chrono::steady_clock::now();
    Memory memory{&raw, 0};
    ResponseReader reader;
    InitResponseReader(&reader, ByteSource{ReadMemory, &memory});
    ResponseHead head;
    ReadResponseHead(&reader, true, &head);
    unsigned long long sum = 0;
    CopyResponseBody(&reader, head.Chunked, ByteSink{Checksum, &sum});
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!head.Success || sum < expected) {
        std::fprintf(stderr, "conversion lost data\n");
        std::exit(1);
    }
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: http_convert_bench SIZE RUNS\n");
        return 2;
    }
    size_t size = std::strtoull(argv[1], nullptr, 10);
    int runs = std::atoi(argv[2]);
    std::string body(size, 'x');
    for (size_t i = 0; i < size; ++i)
        body[i] = static_cast<char>((i * 7 + 3) % 256);
    std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n"
                       "Last-Modified: Thu, 08 Aug 2013 01:02:03 GMT\r\n";
    std::string plain = head + "\r\n" + body;
    std::string chunked = head + "Transfer-Encoding: chunked\r\n\r\n";
    constexpr size_t kChunk = 4096; // what a typical server sends per chunk
    char line[32];
    for (size_t at = 0; at < size; at += kChunk) {
        size_t n = std::min(kChunk, size - at);
        std::snprintf(line, sizeof line, "%zx\r\n", n);
        chunked += line;
        chunked.append(body, at, n);
        chunked += "\r\n";
    }
    chunked += "0\r\n\r\n";
    double bestPlain = 1e9, bestChunked = 1e9;
    for (int run = 0; run < runs; ++run) {
        bestPlain = std::min(bestPlain, Convert(plain, size));
        bestChunked = std::min(bestChunked, Convert(chunked, size));
    }
    std::printf("plain %.6f\nchunked %.6f\n", bestPlain, bestChunked);
    return 0;
}
