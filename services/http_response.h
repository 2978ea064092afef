// Turning the raw response, as it arrived, into the cache file's content: the
// header lines decide success ("HTTP", "200" and "OK" on one line), chunked
// transfer and the Last-Modified time; the body is then copied plain or
// de-chunked. Works on a byte source and a byte sink, reads nothing beyond
// what the source gives, and trusts no length the server sent.
#ifndef CUMULON_HTTP_RESPONSE_H
#define CUMULON_HTTP_RESPONSE_H

#include <cstddef>
#include <cstdint>
#include <string_view>

// Read: up to `size` bytes into `buffer`; the count, 0 at the end or on an error.
struct ByteSource {
    size_t (*Read)(void* context, char* buffer, size_t size);
    void* Context;
};

// Write: all `size` bytes or false.
struct ByteSink {
    bool (*Write)(void* context, const char* data, size_t size);
    void* Context;
};

// Header lines are examined up to this many bytes (the rest of a longer line is
// skipped, never taken for the next line); the body is copied in blocks of
// kBodyBlockSize bytes and a final shorter block.
constexpr size_t kHeaderLineMax = 1023;
constexpr size_t kBodyBlockSize = 1024;

struct ResponseReader {
    ByteSource Source;
    char Buffer[1024];
    size_t Start; // unread bytes are Buffer[Start, End)
    size_t End;
    bool Ended; // the source has given its last byte
};

void InitResponseReader(ResponseReader* reader, ByteSource source);

struct ResponseHead {
    bool Success; // some header line holds "HTTP", "200" and "OK" (or "HTTP/2 200")
    bool Chunked; // some header line holds "Transfer-Encoding" and "chunked", in any letter case
    bool NotModified;      // the status line is a 304 answer
    bool HasLastModified;  // conditional mode and a valid Last-Modified line
    uint64_t LastModified; // UTC, Windows file-time units; the last valid line wins
    int Status;            // the status line's code, 0 when it has none
    bool Encoded;          // a Content-Encoding other than "identity": a body not to keep
    char Location[1024];   // the Location header's value, empty when none (or cut)
};

// Reads the header lines up to the empty line ("\r\n" or "\n") or the end.
// Last-Modified is read only when `conditional`.
void ReadResponseHead(ResponseReader* reader, bool conditional, ResponseHead* head);

// Copies the rest of the response, de-chunked when `chunked`, into `sink`. A
// body that ends early gives what arrived. False only when the sink refused a
// block.
bool CopyResponseBody(ResponseReader* reader, bool chunked, ByteSink sink);

// The single-line tests, for a line as read (line end included or not).
bool IsSuccessLine(std::string_view line);
bool IsChunkedLine(std::string_view line);
// "HTTP/1.1 304 Not Modified": the status line of a not-modified answer.
bool IsNotModifiedStatusLine(std::string_view line);
// The three-digit code of a status line "HTTP/x.y NNN ...", 0 when it has none.
int StatusLineCode(std::string_view line);
// "Last-Modified: Thu, 08 Aug 2013 01:02:03 GMT": the line is cut at its first
// CR or LF, the date is what follows the first space after "Last-Modified"
// (the name in any letter case).
bool ParseLastModifiedLine(std::string_view line, uint64_t* fileTime);

#endif
