#include "pages/imagery/image_header.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Big32(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
std::string Big16(uint32_t v) {
    return {char(v >> 8), char(v)};
}
std::string Little16(uint32_t v) {
    return {char(v), char(v >> 8)};
}

// The signature and an IHDR chunk (8-bit palette), then an IEND chunk.
std::string Png(uint32_t width, uint32_t height, uint32_t length = 13, const char* type = "IHDR") {
    return std::string("\x89PNG\r\n\x1A\n", 8) + Big32(length) + type + Big32(width) +
           Big32(height) + std::string("\x08\x03\0\0\0", 5) + "CRC!" + Big32(0) + "IENDCRC!";
}

// A GIF89a logical screen with a 2-colour global table, then `blocks`.
std::string Gif(uint32_t width, uint32_t height, const std::string& blocks) {
    return "GIF89a" + Little16(width) + Little16(height) + std::string("\x80\0\0", 3) +
           std::string(6, '\x7F') + blocks;
}
// A frame: its place and size, no local table, a code size and one data sub-block.
std::string Frame(uint32_t left, uint32_t top, uint32_t width, uint32_t height) {
    return "," + Little16(left) + Little16(top) + Little16(width) + Little16(height) +
           std::string("\0\x02\x02\x4C\x01\0", 6);
}
const std::string kControl = std::string("!\xF9\x04\x01\0\0\0\0", 8); // graphic control extension

// A JPEG: start of image, then `segments`.
std::string Jpeg(const std::string& segments) {
    return "\xFF\xD8" + segments;
}
std::string Segment(uint8_t marker, const std::string& body) {
    return std::string("\xFF") + char(marker) + Big16(uint32_t(body.size() + 2)) + body;
}
std::string Sof(uint8_t marker, uint32_t width, uint32_t height) {
    return Segment(marker,
                   "\x08" + Big16(height) + Big16(width) + std::string("\x01\x01\x11\0", 4));
}
const std::string kApp0 = Segment(0xE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));

TEST(ImageHeader, FormatsByContentSizesAndTheBound) {
    using F = ImageFormat;
    const std::string png = Png(600, 550), gif = Gif(600, 550, kControl + Frame(0, 0, 600, 550));
    const std::string jpeg = Jpeg(kApp0 + Segment(0xC4, "table") + Sof(0xC0, 600, 550));
    struct Case {
        const char* what;
        std::string bytes;
        bool read;    // a header of a known format was read
        bool allowed; // and the picture may be decoded
        F format;
        uint32_t width, height;
    } cases[] = {
        {"png", png, true, true, F::Png, 600, 550},
        {"png at the bound", Png(4096, 4096), true, true, F::Png, 4096, 4096},
        {"png one wider", Png(4097, 10), true, false, F::Png, 4097, 10},
        {"png one taller", Png(10, 4097), true, false, F::Png, 10, 4097},
        {"png 16000 x 16000", Png(16000, 16000), true, false, F::Png, 16000, 16000},
        {"png zero width", Png(0, 550), false, false, F::Png, 0, 550},
        {"png width beyond 2^31", Png(0x80000000u, 5), false, false, F::Png, 0x80000000u, 5},
        {"png IHDR of another length", Png(600, 550, 14), false, false, F::Png, 0, 0},
        {"png other chunk first", Png(600, 550, 13, "tEXt"), false, false, F::Png, 0, 0},
        {"png cut in the height", png.substr(0, 23), false, false, F::Png, 0, 0},
        {"png signature only", png.substr(0, 8), false, false, F::Png, 0, 0},
        {"png whole IHDR, nothing after", png.substr(0, 24), true, true, F::Png, 600, 550},

        {"gif", gif, true, true, F::Gif, 600, 550},
        {"gif87a", "GIF87a" + gif.substr(6), true, true, F::Gif, 600, 550},
        {"gif frames at the bound", Gif(100, 100, Frame(4000, 0, 96, 4096) + ";"), true, true,
         F::Gif, 100, 100},
        {"gif frame past the bound across", Gif(100, 100, Frame(4000, 0, 97, 10)), false, false,
         F::Gif, 100, 100},
        {"gif frame past the bound down", Gif(100, 100, Frame(0, 1, 10, 4096)), false, false,
         F::Gif, 100, 100},
        {"gif huge second frame", Gif(600, 550, Frame(0, 0, 600, 550) + Frame(0, 0, 16000, 16000)),
         false, false, F::Gif, 600, 550},
        {"gif screen too wide", Gif(16000, 100, Frame(0, 0, 10, 10)), true, false, F::Gif, 16000,
         100},
        {"gif without a frame", Gif(600, 550, kControl + ";"), false, false, F::Gif, 600, 550},
        {"gif screen only", gif.substr(0, 13), false, false, F::Gif, 0, 0},
        {"gif cut in the colour table", gif.substr(0, 15), false, false, F::Gif, 0, 0},
        {"gif cut in the screen", gif.substr(0, 12), false, false, F::Gif, 0, 0},
        {"gif cut in a frame's descriptor", Gif(600, 550, Frame(0, 0, 16000, 16000).substr(0, 7)),
         false, false, F::Gif, 600, 550},
        {"gif cut in a frame's data", gif.substr(0, gif.size() - 2), true, true, F::Gif, 600, 550},
        {"gif unknown block after a frame",
         Gif(6, 5, Frame(0, 0, 6, 5) + "\x99" + Frame(0, 0, 9000, 9000)), true, true, F::Gif, 6, 5},
        {"gif zero screen", Gif(0, 550, Frame(0, 0, 6, 5)), false, false, F::Gif, 0, 550},

        {"jpeg", jpeg, true, true, F::Jpeg, 600, 550},
        {"jpeg progressive, fill bytes, restart marker",
         Jpeg("\xFF\xFF" + kApp0.substr(1) + "\xFF\xD0" + Sof(0xC2, 600, 550)), true, true, F::Jpeg,
         600, 550},
        {"jpeg 16000 x 16000", Jpeg(Sof(0xC1, 16000, 16000)), true, false, F::Jpeg, 16000, 16000},
        {"jpeg height from a later DNL", Jpeg(Sof(0xC0, 600, 0)), false, false, F::Jpeg, 600, 0},
        {"jpeg image data before a frame", Jpeg(kApp0 + Segment(0xDA, "scan") + Sof(0xC0, 6, 5)),
         false, false, F::Jpeg, 0, 0},
        {"jpeg end before a frame", Jpeg(kApp0 + "\xFF\xD9"), false, false, F::Jpeg, 0, 0},
        {"jpeg segment past the end", Jpeg(kApp0.substr(0, 10)), false, false, F::Jpeg, 0, 0},
        {"jpeg segment length 1", Jpeg("\xFF\xE1" + Big16(1) + Sof(0xC0, 6, 5)), false, false,
         F::Jpeg, 0, 0},
        {"jpeg frame too short", Jpeg(Segment(0xC0, "\x08\0\x05")), false, false, F::Jpeg, 0, 0},
        {"jpeg not a marker", Jpeg("\x12\x34" + Sof(0xC0, 6, 5)), false, false, F::Jpeg, 0, 0},
        {"jpeg cut after its start", "\xFF\xD8", false, false, F::Jpeg, 0, 0},

        // Formats the feeds never send reach no decoder.
        {"bmp", "BM" + std::string(52, '\x01'), false, false, F::Unknown, 0, 0},
        {"emf", std::string("\x01\0\0\0\x6C\0\0\0", 8) + std::string(32, '\0') + " EMF", false,
         false, F::Unknown, 0, 0},
        {"placeable wmf", std::string("\xD7\xCD\xC6\x9A", 4) + std::string(40, '\0'), false, false,
         F::Unknown, 0, 0},
        {"tiff", std::string("II*\0\x08\0\0\0", 8) + std::string(40, '\0'), false, false,
         F::Unknown, 0, 0},
        {"icon", std::string("\0\0\x01\0\x01\0", 6) + std::string(40, '\0'), false, false,
         F::Unknown, 0, 0},
        {"text", "<html>not a picture</html>", false, false, F::Unknown, 0, 0},
        {"empty", "", false, false, F::Unknown, 0, 0},
        {"png signature late", " " + png, false, false, F::Unknown, 0, 0},
    };
    for (const Case& c : cases) {
        ImageHeader header;
        EXPECT_EQ(ReadImageHeader(c.bytes, &header), c.read) << c.what;
        EXPECT_EQ(header.Format, c.format) << c.what;
        if (c.read || c.width || c.height)
            EXPECT_TRUE(header.Width == c.width && header.Height == c.height)
                << c.what << ": " << header.Width << " x " << header.Height;
        EXPECT_EQ(PictureAllowed(c.bytes, &header), c.allowed) << c.what;
    }
}

} // namespace
