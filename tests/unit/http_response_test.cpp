#include "services/http_character_references.h"
#include "services/http_date.h"
#include "services/http_response.h"
#include "services/time_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// Hands out the raw response in pieces of `Piece` bytes, as receives arrive,
// and fails the test if it is read again after it has reported the end.
struct PieceSource {
    std::string_view Data;
    size_t Piece;
    size_t Offset = 0;
    bool Ended = false;
};

size_t ReadPiece(void* context, char* buffer, size_t size) {
    auto* source = static_cast<PieceSource*>(context);
    if (source->Ended)
        ADD_FAILURE() << "read again after the end";
    size_t n = std::min({size, source->Piece, source->Data.size() - source->Offset});
    std::memcpy(buffer, source->Data.data() + source->Offset, n);
    source->Offset += n;
    source->Ended = n == 0;
    return n;
}

struct Converted {
    ResponseHead Head;
    bool Copied;
    std::string Body;
    std::vector<size_t> Blocks;
    size_t RefuseAfter; // blocks the sink accepts before it refuses
};

bool WriteBlock(void* context, const char* data, size_t size) {
    auto* out = static_cast<Converted*>(context);
    if (out->Blocks.size() >= out->RefuseAfter)
        return false;
    out->Body.append(data, size);
    out->Blocks.push_back(size);
    return true;
}

// The conversion as the downloader runs it: the head, then the body when the
// response passed the status test.
Converted Convert(std::string_view raw, bool conditional = false, size_t piece = 1024,
                  size_t refuseAfter = SIZE_MAX) {
    PieceSource source{raw, piece};
    ResponseReader reader;
    InitResponseReader(&reader, ByteSource{ReadPiece, &source});
    Converted out{};
    out.RefuseAfter = refuseAfter;
    ReadResponseHead(&reader, conditional, &out.Head);
    out.Copied =
        out.Head.Success && CopyResponseBody(&reader, out.Head.Chunked, ByteSink{WriteBlock, &out});
    return out;
}

// The body, the same for every size of receive.
std::string Body(std::string_view raw) {
    std::string whole = Convert(raw, false, 1 << 20).Body;
    for (size_t piece : {1, 2, 3, 7, 1023, 1024, 1025})
        EXPECT_EQ(Convert(raw, false, piece).Body, whole) << "piece " << piece;
    return whole;
}

uint64_t Utc(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute,
             uint16_t second) {
    int64_t ticks = 0;
    EXPECT_TRUE(CalendarToTicks({year, month, 0, day, hour, minute, second, 0}, &ticks));
    return static_cast<uint64_t>(ticks);
}

std::string Pattern(size_t size) {
    std::string text(size, '\0');
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>((i * 7 + 3) % 256);
    return text;
}

const std::string kOk = "HTTP/1.1 200 OK\r\n\r\n";
const std::string kChunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

// Success: "HTTP", "200" and "OK" on one header line (any line, not the
// body). Not modified: only a status line whose code is 304.
TEST(ResponseStatus, SuccessAndNotModifiedAsTheHeadSaysThem) {
    struct Case {
        const char* raw;
        bool success, notModified;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\n\r\nx", true, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n", true, false}, // no empty line
        {"HTTP/1.1 200\r\nContent-Length: 1\r\n\r\nx", false, false},
        {"HTTP/1.1 200 Okay\r\n\r\nx", false, false}, // letter case counts
        {"HTTP/2 200\r\n\r\nx", true, false},         // no reason phrase from HTTP/2 on
        {"HTTP/2 404\r\n\r\nx", false, false},
        {"HTTP/1.1 304 Not Modified\r\n\r\n", false, true},
        {"HTTP/1.0 304\r\n\r\n", false, true},
        {"HTTP/1.1 3040 Odd\r\n\r\n", false, false},
        {"HTTP/1.1 404 Not Found\r\nX-Note: 304\r\n\r\n", false, false},
        {"HTTP/1.1 200 OK\r\nX-Old: HTTP/1.1 304 x\r\n\r\n", true, false},
        {"HTTP/1.1 404 Not Found\r\nHTTP/1.1 304 Not Modified\r\n\r\n", false, false},
        {"", false, false},
        {"HTTP/1.1 200 Fine\r\nX-Status: OK\r\n\r\n", false, false},
        {"HTTP/1.1 404 Not Found\r\nX-Note: HTTP 200 OK\r\n\r\n", true, false},
        {"HTTP/1.1 404 Not Found\r\n\r\nHTTP/1.1 200 OK\r\n", false, false},
    };
    for (const Case& c : cases) {
        Converted converted = Convert(c.raw);
        EXPECT_EQ(converted.Head.Success, c.success) << c.raw;
        EXPECT_EQ(converted.Copied, c.success) << c.raw;
        EXPECT_EQ(converted.Head.NotModified, c.notModified) << c.raw;
    }
}

// What the hops of a fetch read: the status code, where a redirect leads, and
// a body in an encoding the downloader did not ask for.
TEST(ResponseStatus, CodeLocationAndEncodingAsTheHeadSaysThem) {
    const std::string longLocation = "Location: http://h/" + std::string(1100, 'x') + "\r\n";
    const struct {
        std::string raw;
        int status;
        const char* location;
        bool encoded;
    } cases[] = {
        {"HTTP/1.1 301 Moved\r\nLocation: https://h/a?b=1 \r\n\r\n", 301, "https://h/a?b=1", false},
        {"HTTP/1.1 308\r\nlocation:/next\r\n\r\n", 308, "/next", false},
        {"HTTP/1.1 302 Found\r\nX-Location: /no\r\nContent-Location: /no\r\n\r\n", 302, "", false},
        {"HTTP/1.1 302 Found\r\n" + longLocation + "\r\n", 302, "", false}, // cut: not followed
        {"HTTP/1.1 204 No Content\r\n\r\n", 204, "", false},
        {"HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\n\r\n", 200, "", true},
        {"HTTP/1.1 200 OK\r\ncontent-encoding: Identity\r\n\r\n", 200, "", false},
        {"HTTP/1.1 2x0 OK\r\n\r\n", 0, "", false},
        {"ICY 200 OK\r\n\r\n", 0, "", false},
        {"HTTP/1.1 99\r\n\r\n", 0, "", false},
    };
    for (const auto& c : cases) {
        Converted converted = Convert(c.raw);
        EXPECT_EQ(converted.Head.Status, c.status) << c.raw;
        EXPECT_STREQ(converted.Head.Location, c.location) << c.raw;
        EXPECT_EQ(converted.Head.Encoded, c.encoded) << c.raw;
    }
}

TEST(ResponseBody, PlainOrDeChunkedWhateverTheReceivesAndTheLengthsSay) {
    const std::string binary = "line one\r\n\r\nline two\n\0binary\xFF\x95 end\0"s;
    const std::string data = Pattern(0x1A) + "\r\n" + Pattern(0xA0);
    const struct {
        std::string raw, body;
    } cases[] = {
        // Plain: everything after the empty line, whatever Content-Length says.
        {"HTTP/1.1 200 OK\r\nContent-Length: 999\r\n\r\n" + binary, binary},
        {"HTTP/1.1 200 OK\nServer: x\n\nbody\n", "body\n"},
        {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n", ""},
        {kOk + Pattern(2500), Pattern(2500)},
        // The rest of a header line beyond 1023 bytes is not taken for the empty line.
        {"HTTP/1.1 200 OK\r\nX-Long: " + std::string(1023 - 8, 'a') + "\r\nX: 1\r\n\r\nbody",
         "body"},
        {"HTTP/1.1 200 OK\r\nX-Long: " + std::string(5000, 'b') + "\n\r\nbody", "body"},
        // Both words on one line, or the body is plain.
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\nX: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
         "3\r\nabc\r\n0\r\n\r\n"},
        // The header in any letter case, as proxies send it.
        {"HTTP/1.1 200 OK\r\ntransfer-encoding: Chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n", "abc"},
        // Chunked: hex sizes in either case, extensions and trailers ignored.
        {kChunked + "5\r\nhello\r\n7\r\n, world\r\n0\r\n\r\n", "hello, world"},
        {kChunked + "1a\r\n" + data.substr(0, 0x1A) + "\r\n0002\r\n" + data.substr(0x1A, 2) +
             "\r\nA0\r\n" + data.substr(0x1C) + "\r\n0\r\n\r\n",
         data},
        {kChunked +
             "4;name=value\r\nabcd\r\n3 ; q=\"x;y\"\r\nefg\r\n0;last\r\nX-Trailer: 1\r\n\r\nafter",
         "abcdefg"},
        {kChunked + "1388\r\n" + Pattern(5000) + "\r\n0\r\n\r\n", Pattern(5000)},
        // A size beyond what follows copies what arrived; huge sizes saturate, never wrap.
        {kChunked + "100\r\nonly this", "only this"},
        {kChunked + "3\r\nabc\r\nFFFFFFFF\r\nrest", "abcrest"},
        {kChunked + "10000000000000003\r\nabcdefgh", "abcdefgh"},
        {kChunked + std::string(300, 'f') + "\r\nxyz\r\n0\r\n\r\n", "xyz\r\n0\r\n\r\n"},
        // A negative or missing size ends the body; so does its end.
        {kChunked + "3\r\nabc\r\n-5\r\nhello\r\n0\r\n\r\n", "abc"},
        {kChunked + "3\r\nabc\r\nzz\r\nhello\r\n", "abc"},
        {kChunked + "\r\nhello", ""},
        {kChunked + ";ext\r\nhello", ""},
        {kChunked, ""},
        {kChunked + "3\r\nabc\r\n0\r\n\r\n2\r\nde\r\n", "abc"},
        {kChunked + "5\r\nhello\r\n", "hello"},
        {kChunked + "5\r\nhello", "hello"},
        {kChunked + "5", ""},
        // The two bytes after the data are skipped, a bare LF alone.
        {kChunked + "3\r\nabc\n2\r\nde\r\n0\r\n\r\n", "abcde"},
        {kChunked + "3\r\nabcxy\r\n2\r\nde\r\n0\r\n\r\n", "abc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Body(c.raw), c.body) << testing::PrintToString(c.raw);
}

TEST(ResponseBody, GoesOutInBlocksOf1024UntilTheSinkRefuses) {
    std::string chunked = kChunked + "1388\r\n" + Pattern(5000) + "\r\n0\r\n\r\n";
    EXPECT_EQ(Convert(kOk + Pattern(2500), false, 1).Blocks,
              (std::vector<size_t>{1024, 1024, 452}));
    EXPECT_EQ(Convert(chunked, false, 1).Blocks,
              (std::vector<size_t>{1024, 1024, 1024, 1024, 904}));
    Converted refused = Convert(kOk + Pattern(5000), false, 1024, 2);
    EXPECT_FALSE(refused.Copied);
    EXPECT_EQ(refused.Body.size(), 2048u);
}

TEST(LastModified, InConditionalModeTheLastValidLineOfASuccessOrNotModified) {
    const std::string lm = "Last-Modified: Thu, 08 Aug 2013 01:02:03 GMT\r\n";
    const struct {
        std::string raw;
        bool conditional;
        uint64_t time; // 0: none
    } cases[] = {
        {"HTTP/1.1 200 OK\r\n" + lm + "\r\nx", true, Utc(2013, 8, 8, 1, 2, 3)},
        {"HTTP/1.1 200 OK\r\n" + lm + "\r\nx", false, 0},
        {"HTTP/1.1 304 Not Modified\r\n" + lm + "\r\n", true, Utc(2013, 8, 8, 1, 2, 3)},
        {"HTTP/1.1 200 OK\r\n" + lm + "Last-Modified: Fri, 09 Aug 2013 04:05:06 GMT\r\n" +
             "Last-Modified: yesterday\r\n\r\n",
         true, Utc(2013, 8, 9, 4, 5, 6)},
        {"HTTP/1.1 200 OK\r\nLast-Modified: Thu, 31 Feb 2013 01:02:03 GMT\r\n\r\n", true, 0},
    };
    for (const auto& c : cases) {
        ResponseHead head = Convert(c.raw, c.conditional).Head;
        EXPECT_EQ(head.HasLastModified, c.time != 0) << c.raw;
        EXPECT_EQ(head.HasLastModified ? head.LastModified : 0, c.time) << c.raw;
    }
}

TEST(LastModified, TheLineIsCutAtItsEndAndReadAfterTheFirstSpace) {
    uint64_t time = 7;
    EXPECT_TRUE(ParseLastModifiedLine("Last-Modified: Thu, 08 Aug 2013 01:02:03 GMT\r\n", &time));
    EXPECT_EQ(time, Utc(2013, 8, 8, 1, 2, 3));
    EXPECT_TRUE(ParseLastModifiedLine("X-Last-Modified: Thu, 08 Aug 2013 01:02:03", &time));
    EXPECT_TRUE(ParseLastModifiedLine("last-modified: Fri, 09 Aug 2013 01:02:03 GMT", &time));
    EXPECT_EQ(time, Utc(2013, 8, 9, 1, 2, 3));
    time = 7;
    for (const char* line : {
             "Last-Modified:Thu, 08 Aug 2013 01:02:03 GMT",   // the first space is after "Thu,"
             "Last-Modified: Thu, 08 Aug 2013 01:02\r03 GMT", // cut at the CR
             "Last-Modified: Thu, 08 Aug 2013 01:02\n03 GMT", // cut at the LF
             "Last-Modified: Thu, 08 Aug 2013",
             "Last-Modified:",
             "Last-Modified",
             "Date: Thu, 08 Aug 2013 01:02:03 GMT",
             "",
         })
        EXPECT_FALSE(ParseLastModifiedLine(line, &time)) << line;
    EXPECT_EQ(time, 7u);
}

std::string Format(uint64_t time) {
    char out[64];
    EXPECT_TRUE(FormatHttpDate(time, out, sizeof out));
    return out;
}

// The text, in a heap block of exactly its size so that the sanitizer catches
// a read past its end, parsed; 42 when refused (the result is left untouched).
uint64_t ParsedDate(std::string_view text) {
    std::vector<char> bytes(text.begin(), text.end());
    uint64_t time = 42;
    ParseHttpDate(std::string_view(bytes.data(), bytes.size()), &time);
    return time;
}

TEST(FormatHttpDate, FixedFieldsWithEnglishNamesSubSecondsDropped) {
    EXPECT_EQ(Format(Utc(2013, 8, 7, 13, 40, 32)), "Wed, 07 Aug 2013 13:40:32 GMT");
    EXPECT_EQ(Format(Utc(2001, 2, 3, 4, 5, 6) + 9999999), "Sat, 03 Feb 2001 04:05:06 GMT");
    EXPECT_EQ(Format(0), "Mon, 01 Jan 1601 00:00:00 GMT");
    EXPECT_EQ(Format(Utc(9999, 12, 31, 23, 59, 59)), "Fri, 31 Dec 9999 23:59:59 GMT");
}

TEST(FormatHttpDate, RefusesTimesBeyondTheCalendarAndSmallBuffers) {
    char out[64] = "stale";
    EXPECT_FALSE(FormatHttpDate(UINT64_MAX, out, sizeof out));
    EXPECT_STREQ(out, "");
    char small[29] = "stale"; // one byte short of the 29 characters and terminator
    EXPECT_FALSE(FormatHttpDate(Utc(2013, 8, 7, 13, 40, 32), small, sizeof small));
    EXPECT_STREQ(small, "");
}

TEST(ParseHttpDate, ReadsTheFieldsByPositionAndTheMonthInAnyLetterCase) {
    const uint64_t time = Utc(2013, 8, 8, 1, 2, 3);
    const struct {
        const char* text;
        uint64_t time;
    } cases[] = {
        {"Thu, 08 Aug 2013 01:02:03 GMT", time},
        {"Thu, 08 AUG 2013 01:02:03 GMT", time},
        {"thu, 08 aUg 2013 01:02:03 gmt", time},
        // Weekday and zone are not looked at; the text may end after the seconds.
        {"???, 29 Feb 2012 23:59:59", Utc(2012, 2, 29, 23, 59, 59)},
        {"Thu, 8  Aug 2013 01:02:03 GMT", 42},  // day not two digits
        {"Thu, 08 Agu 2013 01:02:03 GMT", 42},  // no such month
        {"Thu, 08 Aug 13   01:02:03 GMT", 42},  // two-digit year
        {"Thu, 08 Aug 2013 1:02:03  GMT", 42},  // hour not two digits
        {"Thu, 08 Aug 2013 01:02:+3 GMT", 42},  // sign in a field
        {"Thu, 29 Feb 2013 01:02:03 GMT", 42},  // not a leap year
        {"Thu, 31 Apr 2013 01:02:03 GMT", 42},  // April has 30 days
        {"Thu, 00 Aug 2013 01:02:03 GMT", 42},  // day 0
        {"Thu, 08 Aug 2013 24:00:00 GMT", 42},  // hour 24
        {"Thu, 08 Aug 2013 23:60:00 GMT", 42},  // minute 60
        {"Thu, 08 Aug 2013 23:59:60 GMT", 42},  // leap second
        {"Thu, 08 Aug 1600 01:02:03 GMT", 42},  // before file times begin
        {"2013-08-08T01:02:03Z          ", 42}, // another format
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParsedDate(c.text), c.time) << c.text;
    const std::string_view full = "Thu, 08 Aug 2013 01:02:03 GMT";
    for (size_t n : {0, 24}) // cut before the seconds end
        EXPECT_EQ(ParsedDate(full.substr(0, n)), 42u) << n;
    EXPECT_EQ(ParsedDate(full.substr(0, 25)), time);
}

TEST(DecodeCharacterReferences, FourExactSpellingsOnePassEachThenTheFillerBytesDropped) {
    const struct {
        std::string text, decoded;
    } cases[] = {
        {"&#x3C;&#x3E;&#x27;&#x26;", "<>'&"},
        {"a &#x3C;b&#x3E; &#x26;#x3C;", "a <b> &#x3C;"},
        {"&#x3C;&#x3C;&#x3C;", "<<<"},
        // A reference spelled by decoding is left alone.
        {"&#x26;#x26;", "&#x26;"},
        {"&#x26;#x3E;", "&#x3E;"}, // the "&#x3E;" pass ran before
        {"&&#x26;#x27;", "&&#x27;"},
        {"&#x3c;&#X3C;&#x3C&#60;&lt;&#x003C;&#x3", "&#x3c;&#X3C;&#x3C&#60;&lt;&#x003C;&#x3"},
        {"", ""},
        // Filler bytes already in the text go too; NUL bytes are text like any other.
        {"\x95 bullet \x95&#x3E;\x95", " bullet >"},
        {"a\0&#x3C;\0b"s, "a\0<\0b"s},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        size_t length = DecodeCharacterReferenceText(text.data(), text.size());
        ASSERT_LE(length, text.size());
        EXPECT_EQ(text.substr(0, length), c.decoded) << testing::PrintToString(c.text);
    }
}

} // namespace
