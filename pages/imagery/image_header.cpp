#include "pages/imagery/image_header.h"

#include <cstddef>

namespace {

// Every read is checked against the end first: a header cut short is false.
struct Reader {
    std::string_view Bytes;
    size_t At = 0;

    bool Has(size_t count) const { return count <= Bytes.size() - At; }
    uint8_t Byte(size_t offset) const { return static_cast<uint8_t>(Bytes[At + offset]); }
    uint32_t Little16(size_t offset) const { return Byte(offset) | Byte(offset + 1) << 8; }
    uint32_t Big16(size_t offset) const { return Byte(offset) << 8 | Byte(offset + 1); }
    uint32_t Big32(size_t offset) const {
        return uint32_t(Byte(offset)) << 24 | Byte(offset + 1) << 16 | Byte(offset + 2) << 8 |
               Byte(offset + 3);
    }
    bool Skip(size_t count) {
        if (!Has(count))
            return false;
        At += count;
        return true;
    }
};

bool StartsWith(std::string_view bytes, std::string_view signature) {
    return bytes.substr(0, signature.size()) == signature;
}

// A colour table follows when bit 0x80 of a packed field is set.
size_t ColourTableSize(uint8_t packed) {
    return packed & 0x80 ? 3u << ((packed & 7) + 1) : 0;
}

// Data sub-blocks: a length byte and that many bytes, up to a zero length.
bool SkipSubBlocks(Reader* in) {
    while (in->Has(1)) {
        const uint8_t length = in->Byte(0);
        if (!in->Skip(1 + size_t(length)))
            return false;
        if (length == 0)
            return true;
    }
    return false;
}

// The logical screen, then every block up to the trailer (or where the data
// ends or stops making sense, as far as a decoder could go): each frame must
// lie within the bound, and there must be one whole frame descriptor.
bool ReadGif(std::string_view bytes, ImageHeader* header) {
    Reader in{bytes};
    if (!in.Has(13))
        return false;
    header->Width = in.Little16(6);
    header->Height = in.Little16(8);
    const uint8_t packed = in.Byte(10);
    if (!in.Skip(13) || !in.Skip(ColourTableSize(packed)))
        return false;
    bool frameSeen = false;
    while (in.Has(1)) {
        const uint8_t block = in.Byte(0);
        if (block == 0x3B) // trailer
            break;
        if (block == 0x21) { // extension: its label, then sub-blocks
            if (!in.Skip(2) || !SkipSubBlocks(&in))
                break;
        } else if (block == 0x2C) { // frame: its place and size, then its data
            if (!in.Has(10))
                break;
            if (in.Little16(1) + in.Little16(5) > kLargestPictureSide ||
                in.Little16(3) + in.Little16(7) > kLargestPictureSide)
                return false;
            frameSeen = true;
            const uint8_t framePacked = in.Byte(9);
            if (!in.Skip(10) || !in.Skip(ColourTableSize(framePacked)) || !in.Skip(1) ||
                !SkipSubBlocks(&in))
                break;
        } else {
            break;
        }
    }
    return frameSeen;
}

bool ReadPng(std::string_view bytes, ImageHeader* header) {
    Reader in{bytes, 8};
    // The first chunk is IHDR, 13 bytes long: width and height first.
    if (!in.Has(16) || in.Big32(0) != 13 || in.Bytes.substr(in.At + 4, 4) != "IHDR")
        return false;
    header->Width = in.Big32(8);
    header->Height = in.Big32(12);
    return header->Width <= 0x7FFFFFFF && header->Height <= 0x7FFFFFFF;
}

// Markers up to the first start of frame (any of the thirteen SOF kinds);
// image data or the end before it is no picture.
bool ReadJpeg(std::string_view bytes, ImageHeader* header) {
    Reader in{bytes, 2};
    for (;;) {
        if (!in.Has(2) || in.Byte(0) != 0xFF)
            return false;
        while (in.Has(2) && in.Byte(1) == 0xFF) // fill bytes before a marker
            in.Skip(1);
        if (!in.Has(2))
            return false;
        const uint8_t marker = in.Byte(1);
        in.Skip(2);
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // stands alone
        if (marker == 0x00 || marker == 0xD8 || marker == 0xD9 || marker == 0xDA)
            return false; // no frame before the image data or the end
        if (!in.Has(2))
            return false;
        const size_t length = in.Big16(0);
        if (length < 2 || !in.Has(length))
            return false;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8)
                return false;
            header->Height = in.Big16(3);
            header->Width = in.Big16(5);
            return true;
        }
        in.Skip(length);
    }
}

} // namespace

bool ReadImageHeader(std::string_view bytes, ImageHeader* header) {
    *header = ImageHeader{};
    bool read = false;
    if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) {
        header->Format = ImageFormat::Gif;
        read = ReadGif(bytes, header);
    } else if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) {
        header->Format = ImageFormat::Png;
        read = ReadPng(bytes, header);
    } else if (StartsWith(bytes, "\xFF\xD8")) {
        header->Format = ImageFormat::Jpeg;
        read = ReadJpeg(bytes, header);
    }
    return read && header->Width > 0 && header->Height > 0;
}

bool PictureAllowed(std::string_view bytes, ImageHeader* header) {
    return ReadImageHeader(bytes, header) && header->Width <= kLargestPictureSide &&
           header->Height <= kLargestPictureSide;
}
