#include "services/http_response.h"

#include "services/text_scan.h"

#include "services/http_date.h"
#include "services/text_buffer.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Where `part` first stands in `text`, in any letter case; npos
// when it does not. Header names and their tokens are not case-sensitive: a
// proxy that sends "transfer-encoding: chunked" must not leave the chunk
// sizes in the cache file.
size_t FindNoCase(std::string_view text, std::string_view part) {
    for (size_t at = 0; at + part.size() <= text.size(); ++at)
        if (StartsWithNoCase(text.substr(at), part))
            return at;
    return std::string_view::npos;
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
    return FindNoCase(text, part) != std::string_view::npos;
}

// Makes unread bytes available unless the source has ended; false at the end.
bool Fill(ResponseReader* reader) {
    if (reader->Start < reader->End)
        return true;
    if (reader->Ended)
        return false;
    size_t n = reader->Source.Read(reader->Source.Context, reader->Buffer, sizeof reader->Buffer);
    if (n == 0) {
        reader->Ended = true;
        return false;
    }
    reader->Start = 0;
    reader->End = std::min(n, sizeof reader->Buffer); // a source never gives more than asked
    return true;
}

// Reads one line through its LF (or to the end), keeping its first `lineSize`
// bytes in `line` and skipping the rest. False when nothing was left.
bool ReadLine(ResponseReader* reader, char* line, size_t lineSize, size_t* kept) {
    *kept = 0;
    bool any = false;
    while (Fill(reader)) {
        any = true;
        const char* begin = reader->Buffer + reader->Start;
        size_t available = reader->End - reader->Start;
        const void* lf = std::memchr(begin, '\n', available);
        size_t take =
            lf ? static_cast<size_t>(static_cast<const char*>(lf) - begin) + 1 : available;
        size_t copy = std::min(take, lineSize - *kept);
        std::memcpy(line + *kept, begin, copy);
        *kept += copy;
        reader->Start += take;
        if (lf)
            break;
    }
    return any;
}

// Reads up to `size` bytes, fewer only at the end.
size_t ReadBytes(ResponseReader* reader, char* out, size_t size) {
    size_t done = 0;
    while (done < size && Fill(reader)) {
        size_t copy = std::min(size - done, reader->End - reader->Start);
        std::memcpy(out + done, reader->Buffer + reader->Start, copy);
        reader->Start += copy;
        done += copy;
    }
    return done;
}

int PeekByte(ResponseReader* reader) {
    return Fill(reader) ? static_cast<unsigned char>(reader->Buffer[reader->Start]) : -1;
}

// The size at the start of a chunk line; anything after the digits (";name=
// value" extensions) is ignored. False when the line starts with no digit
// (a negative or missing size). A size too large for 64 bits saturates: the
// copy stops at the end of the data anyway.
bool ParseChunkSize(std::string_view line, uint64_t* size) {
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    uint64_t value = 0;
    bool any = false;
    for (; i < line.size() && HexDigitValue(line[i]) >= 0; ++i) {
        any = true;
        if (value > (UINT64_MAX >> 4))
            value = UINT64_MAX;
        else
            value = (value << 4) | static_cast<uint64_t>(HexDigitValue(line[i]));
    }
    *size = value;
    return any;
}

// Copies `count` bytes (or what is left) in blocks; false when the sink fails.
bool CopyBytes(ResponseReader* reader, uint64_t count, ByteSink sink, bool* ended) {
    char block[kBodyBlockSize];
    while (count > 0) {
        size_t want = count < sizeof block ? static_cast<size_t>(count) : sizeof block;
        size_t got = ReadBytes(reader, block, want);
        if (got > 0 && !sink.Write(sink.Context, block, got))
            return false;
        if (got < want) {
            *ended = true;
            return true;
        }
        count -= got;
    }
    return true;
}

} // namespace

void InitResponseReader(ResponseReader* reader, ByteSource source) {
    reader->Source = source;
    reader->Start = 0;
    reader->End = 0;
    reader->Ended = false;
}

bool IsSuccessLine(std::string_view line) {
    return Contains(line, "HTTP") && Contains(line, "200") && Contains(line, "OK");
}

bool IsChunkedLine(std::string_view line) {
    return ContainsNoCase(line, "transfer-encoding") && ContainsNoCase(line, "chunked");
}

bool ParseLastModifiedLine(std::string_view line, uint64_t* fileTime) {
    line = CutAtLineEnd(line);
    size_t name = FindNoCase(line, "last-modified");
    if (name == std::string_view::npos)
        return false;
    size_t space = line.find(' ', name);
    if (space == std::string_view::npos)
        return false;
    return ParseHttpDate(line.substr(space + 1), fileTime);
}

int StatusLineCode(std::string_view line) {
    // "HTTP/1.1 304 Not Modified": the code is the word after the protocol.
    if (line.substr(0, 5) != "HTTP/")
        return 0;
    size_t space = line.find(' ');
    if (space == std::string_view::npos || line.size() < space + 4)
        return 0;
    int code = 0;
    for (char c : line.substr(space + 1, 3)) {
        if (c < '0' || c > '9')
            return 0;
        code = code * 10 + (c - '0');
    }
    if (line.size() > space + 4 && line[space + 4] != ' ' && line[space + 4] != '\r' &&
        line[space + 4] != '\n')
        return 0;
    return code;
}

bool IsNotModifiedStatusLine(std::string_view line) {
    return StatusLineCode(line) == 304;
}

void ReadResponseHead(ResponseReader* reader, bool conditional, ResponseHead* head) {
    *head = ResponseHead{};
    char buffer[kHeaderLineMax];
    size_t kept;
    bool first = true;
    while (ReadLine(reader, buffer, sizeof buffer, &kept)) {
        std::string_view line(buffer, kept);
        if (line == "\r\n" || line == "\n")
            break;
        if (first) {
            head->Status = StatusLineCode(line);
            head->NotModified = head->Status == 304;
            // HTTP/2 and later (WinHTTP may speak them) have no reason phrase.
            if (head->Status == 200 &&
                (line.substr(0, 7) == "HTTP/2 " || line.substr(0, 7) == "HTTP/3 "))
                head->Success = true;
        }
        first = false;
        // A header's value: after its name and colon, blanks skipped, line end cut.
        auto value = [&](std::string_view name) -> std::optional<std::string_view> {
            if (line.size() <= name.size() || !StartsWithNoCase(line, name) ||
                line[name.size()] != ':')
                return std::nullopt;
            std::string_view rest = CutAtLineEnd(line.substr(name.size() + 1));
            while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
                rest.remove_prefix(1);
            while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t'))
                rest.remove_suffix(1);
            return rest;
        };
        bool whole = kept < sizeof buffer || line.back() == '\n'; // not cut at the line limit
        if (auto location = value("Location"); location && whole)
            CopyText(head->Location, *location);
        if (auto encoding = value("Content-Encoding");
            encoding && !encoding->empty() && !StartsWithNoCase(*encoding, "identity"))
            head->Encoded = true;
        if (IsSuccessLine(line))
            head->Success = true;
        if (IsChunkedLine(line))
            head->Chunked = true;
        uint64_t modified;
        if (conditional && ParseLastModifiedLine(line, &modified)) {
            head->HasLastModified = true;
            head->LastModified = modified;
        }
    }
}

bool CopyResponseBody(ResponseReader* reader, bool chunked, ByteSink sink) {
    bool ended = false;
    if (!chunked)
        return CopyBytes(reader, UINT64_MAX, sink, &ended);
    char buffer[kHeaderLineMax];
    size_t kept;
    while (ReadLine(reader, buffer, sizeof buffer, &kept)) {
        uint64_t size;
        if (!ParseChunkSize(CutAtLineEnd(std::string_view(buffer, kept)), &size) || size == 0)
            break; // the last chunk: trailer lines are not read
        if (!CopyBytes(reader, size, sink, &ended))
            return false;
        if (ended)
            break;
        // The CR LF after the chunk's data (a bare LF is taken alone).
        char skip[2];
        ReadBytes(reader, skip, PeekByte(reader) == '\n' ? 1 : 2);
    }
    return true;
}
