#include "services/http_response.h"
#include "services/time_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

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

struct BlockSink {
    std::string Data;
    std::vector<size_t> Blocks;
    size_t RefuseAfter = SIZE_MAX; // blocks accepted before it refuses
};

bool WriteBlock(void* context, const char* data, size_t size) {
    auto* sink = static_cast<BlockSink*>(context);
    if (sink->Blocks.size() >= sink->RefuseAfter)
        return false;
    sink->Data.append(data, size);
    sink->Blocks.push_back(size);
    return true;
}

struct Converted {
    ResponseHead Head;
    std::string Body;
    std::vector<size_t> Blocks;
    bool Copied;
};

// The conversion as the downloader runs it: the head, then the body when the
// response passed the status test.
Converted Convert(std::string_view raw, bool conditional = false, size_t piece = 1024) {
    PieceSource source{raw, piece};
    ResponseReader reader;
    InitResponseReader(&reader, ByteSource{ReadPiece, &source});
    Converted result{};
    ReadResponseHead(&reader, conditional, &result.Head);
    BlockSink sink;
    result.Copied = result.Head.Success &&
                    CopyResponseBody(&reader, result.Head.Chunked, ByteSink{WriteBlock, &sink});
    result.Body = sink.Data;
    result.Blocks = sink.Blocks;
    return result;
}

// Every piece size gives the same result as one large read.
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

const char kChunkedHead[] = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

// --- the status test -----------------------------------------------------------

// Success: "HTTP", "200" and "OK" on one header line (any line, not the
// body). Not modified: only a status line whose code is 304.
TEST(ResponseStatus, SuccessAndNotModifiedAsTheHeadSaysThem) {
    struct Case {
        const char* raw;
        bool success, notModified;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\n\r\nx", true, false},
        {"HTTP/1.0 200 OK\r\nServer: y\r\n\r\nx", true, false},
        {"HTTP/1.1 200\r\nContent-Length: 1\r\n\r\nx", false, false},
        {"HTTP/1.1 200 Okay\r\n\r\nx", false, false}, // letter case counts
        {"HTTP/1.1 304 Not Modified\r\n\r\n", false, true},
        {"HTTP/1.0 304\r\n\r\n", false, true},
        {"HTTP/1.1 3040 Odd\r\n\r\n", false, false},
        {"HTTP/1.1 404 Not Found\r\nX-Note: 304\r\n\r\n", false, false},
        {"HTTP/1.1 200 OK\r\nX-Old: HTTP/1.1 304 x\r\n\r\n", true, false},
        {"HTTP/1.1 404 Not Found\r\n\r\nerror page OK 200", false, false},
        {"HTTP/1.1 500 Internal Server Error\r\n\r\n", false, false},
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

// --- plain bodies ---------------------------------------------------------------

TEST(PlainBody, EverythingAfterTheEmptyLineExactly) {
    const char text[] = "line one\r\n\r\nline two\n\0binary\xFF\x95 end\0";
    std::string body(text, sizeof text - 1);
    ASSERT_EQ(body.size(), 35u);
    EXPECT_EQ(Body("HTTP/1.1 200 OK\r\nContent-Length: 999\r\n\r\n" + body), body);
}

TEST(PlainBody, ABareLineFeedEndsTheHeaders) {
    EXPECT_EQ(Body("HTTP/1.1 200 OK\nServer: x\n\nbody\n"), "body\n");
}

TEST(PlainBody, LargeBodiesGoOutInBlocksOf1024) {
    std::string body = Pattern(2500);
    Converted c = Convert("HTTP/1.1 200 OK\r\n\r\n" + body, false, 1);
    EXPECT_EQ(c.Body, body);
    EXPECT_EQ(c.Blocks, (std::vector<size_t>{1024, 1024, 452}));
    EXPECT_EQ(Body("HTTP/1.1 200 OK\r\n\r\n" + body), body);
}

TEST(PlainBody, HeadersWithoutTheEmptyLineGiveAnEmptyBody) {
    Converted c = Convert("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n");
    EXPECT_TRUE(c.Head.Success);
    EXPECT_TRUE(c.Copied);
    EXPECT_EQ(c.Body, "");
}

TEST(PlainBody, TheRestOfALongHeaderLineIsNotTakenForTheEmptyLine) {
    // 1023 bytes, then "\r\n": the line end lies beyond what a header line keeps.
    std::string longLine = "X-Long: " + std::string(1023 - 8, 'a') + "\r\n";
    EXPECT_EQ(Body("HTTP/1.1 200 OK\r\n" + longLine + "X-After: 1\r\n\r\nbody"), "body");
    std::string longer = "X-Long: " + std::string(5000, 'b') + "\n";
    EXPECT_EQ(Body("HTTP/1.1 200 OK\r\n" + longer + "\r\nbody"), "body");
}

TEST(PlainBody, ASinkThatRefusesStopsTheCopy) {
    std::string raw = "HTTP/1.1 200 OK\r\n\r\n" + Pattern(5000);
    PieceSource source{raw, 1024};
    ResponseReader reader;
    InitResponseReader(&reader, ByteSource{ReadPiece, &source});
    ResponseHead head;
    ReadResponseHead(&reader, false, &head);
    BlockSink sink;
    sink.RefuseAfter = 2;
    EXPECT_FALSE(CopyResponseBody(&reader, false, ByteSink{WriteBlock, &sink}));
    EXPECT_EQ(sink.Data.size(), 2048u);
}

// --- chunked bodies ---------------------------------------------------------------

TEST(ChunkedBody, TheConcatenatedChunkData) {
    EXPECT_TRUE(Convert(std::string(kChunkedHead) + "0\r\n\r\n").Head.Chunked);
    EXPECT_EQ(Body(std::string(kChunkedHead) + "5\r\nhello\r\n7\r\n, world\r\n0\r\n\r\n"),
              "hello, world");
}

TEST(ChunkedBody, HexSizesInEitherCaseWithLeadingZerosAndCrLfInTheData) {
    std::string data = Pattern(0x1A) + "\r\n" + Pattern(0xA0);
    std::string raw = std::string(kChunkedHead) + "1a\r\n" + data.substr(0, 0x1A) + "\r\n" +
                      "0002\r\n" + data.substr(0x1A, 2) + "\r\n" + "A0\r\n" + data.substr(0x1C) +
                      "\r\n0\r\n\r\n";
    EXPECT_EQ(Body(raw), data);
}

TEST(ChunkedBody, ExtensionsAndTrailersAreIgnored) {
    std::string raw = std::string(kChunkedHead) +
                      "4;name=value\r\nabcd\r\n3 ; q=\"x;y\"\r\nefg\r\n" +
                      "0;last\r\nX-Trailer: 1\r\nX-Checksum: abc\r\n\r\nafter the end";
    EXPECT_EQ(Body(raw), "abcdefg");
}

TEST(ChunkedBody, ChunksLargerThanABlockAndThanAReceive) {
    std::string data = Pattern(5000);
    std::string raw = std::string(kChunkedHead) + "1388\r\n" + data + "\r\n0\r\n\r\n";
    Converted c = Convert(raw, false, 1);
    EXPECT_EQ(c.Body, data);
    EXPECT_EQ(c.Blocks, (std::vector<size_t>{1024, 1024, 1024, 1024, 904}));
    EXPECT_EQ(Body(raw), data);
}

TEST(ChunkedBody, ALengthLargerThanWhatFollowsCopiesWhatArrived) {
    EXPECT_EQ(Body(std::string(kChunkedHead) + "100\r\nonly this"), "only this");
    EXPECT_EQ(Body(std::string(kChunkedHead) + "3\r\nabc\r\nFFFFFFFF\r\nrest"), "abcrest");
}

TEST(ChunkedBody, HugeSizesSaturateInsteadOfWrapping) {
    // 2^64 + 3 would wrap to 3 in 64 bits.
    EXPECT_EQ(Body(std::string(kChunkedHead) + "10000000000000003\r\nabcdefgh"), "abcdefgh");
    EXPECT_EQ(Body(std::string(kChunkedHead) + std::string(300, 'f') + "\r\nxyz\r\n0\r\n\r\n"),
              "xyz\r\n0\r\n\r\n");
}

TEST(ChunkedBody, NegativeOrMissingSizesEndTheBody) {
    EXPECT_EQ(Body(std::string(kChunkedHead) + "3\r\nabc\r\n-5\r\nhello\r\n0\r\n\r\n"), "abc");
    EXPECT_EQ(Body(std::string(kChunkedHead) + "3\r\nabc\r\nzz\r\nhello\r\n"), "abc");
    EXPECT_EQ(Body(std::string(kChunkedHead) + "\r\nhello"), "");
    EXPECT_EQ(Body(std::string(kChunkedHead) + ";ext\r\nhello"), "");
    EXPECT_EQ(Body(std::string(kChunkedHead)), "");
}

TEST(ChunkedBody, ABodyThatEndsEarlyKeepsWhatArrived) {
    EXPECT_EQ(Body(std::string(kChunkedHead) + "5\r\nhello\r\n"), "hello");
    EXPECT_EQ(Body(std::string(kChunkedHead) + "5\r\nhello"), "hello");
    EXPECT_EQ(Body(std::string(kChunkedHead) + "5"), "");
}

TEST(ChunkedBody, TheTwoBytesAfterTheDataAreSkipped) {
    // A bare LF after the data is taken alone.
    EXPECT_EQ(Body(std::string(kChunkedHead) + "3\r\nabc\n2\r\nde\r\n0\r\n\r\n"), "abcde");
    // Data longer than announced: two bytes are skipped and the rest is no size.
    EXPECT_EQ(Body(std::string(kChunkedHead) + "3\r\nabcxy\r\n2\r\nde\r\n0\r\n\r\n"), "abc");
}

TEST(ChunkedBody, BothWordsOnOneLineOrTheBodyIsPlain) {
    std::string raw =
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\nX: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n";
    EXPECT_FALSE(Convert(raw).Head.Chunked);
    EXPECT_EQ(Body(raw), "3\r\nabc\r\n0\r\n\r\n");
}

// --- Last-Modified ----------------------------------------------------------------

TEST(LastModified, ReadInConditionalModeOnly) {
    std::string raw = "HTTP/1.1 200 OK\r\nLast-Modified: Thu, 08 Aug 2013 01:02:03 GMT\r\n\r\nx";
    Converted conditional = Convert(raw, true);
    EXPECT_TRUE(conditional.Head.HasLastModified);
    EXPECT_EQ(conditional.Head.LastModified, Utc(2013, 8, 8, 1, 2, 3));
    EXPECT_FALSE(Convert(raw, false).Head.HasLastModified);
}

TEST(LastModified, InANotModifiedAnswerToo) {
    Converted c = Convert(
        "HTTP/1.1 304 Not Modified\r\nLast-Modified: Thu, 08 Aug 2013 01:02:03 GMT\r\n\r\n", true);
    EXPECT_FALSE(c.Head.Success);
    EXPECT_TRUE(c.Head.HasLastModified);
}

TEST(LastModified, AnInvalidLineIsIgnoredAndTheLastValidOneWins) {
    Converted c = Convert("HTTP/1.1 200 OK\r\n"
                          "Last-Modified: Thu, 08 Aug 2013 01:02:03 GMT\r\n"
                          "Last-Modified: Fri, 09 Aug 2013 04:05:06 GMT\r\n"
                          "Last-Modified: yesterday\r\n\r\n",
                          true);
    EXPECT_TRUE(c.Head.HasLastModified);
    EXPECT_EQ(c.Head.LastModified, Utc(2013, 8, 9, 4, 5, 6));
    EXPECT_FALSE(
        Convert("HTTP/1.1 200 OK\r\nLast-Modified: Thu, 31 Feb 2013 01:02:03 GMT\r\n\r\n", true)
            .Head.HasLastModified);
}

TEST(LastModified, TheLineIsCutAtItsEndAndReadAfterTheFirstSpace) {
    uint64_t time = 7;
    EXPECT_TRUE(ParseLastModifiedLine("Last-Modified: Thu, 08 Aug 2013 01:02:03 GMT\r\n", &time));
    EXPECT_EQ(time, Utc(2013, 8, 8, 1, 2, 3));
    EXPECT_TRUE(ParseLastModifiedLine("X-Last-Modified: Thu, 08 Aug 2013 01:02:03", &time));
    time = 7;
    for (const char* line : {
             "Last-Modified:Thu, 08 Aug 2013 01:02:03 GMT",    // the first space is after "Thu,"
             "Last-Modified: Thu, 08 Aug 2013 01:02\r:03 GMT", // cut at the CR
             "Last-Modified: Thu, 08 Aug 2013 01:02\n:03 GMT", // cut at the LF
             "Last-Modified: Thu, 08 Aug 2013",
             "Last-Modified:",
             "Last-Modified",
             "Date: Thu, 08 Aug 2013 01:02:03 GMT",
             "",
         })
        EXPECT_FALSE(ParseLastModifiedLine(line, &time)) << line;
    EXPECT_EQ(time, 7u);
}

} // namespace
