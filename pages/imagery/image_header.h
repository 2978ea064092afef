// What a cached picture file says it is, read from its own bytes before any
// decoder sees it: the format by its signature (never by the file's name)
// and the width and height from its header. Only the formats the feeds send
// are taken (GIF, PNG, JPEG), and only up to 4096 x 4096 pixels, so a
// hostile file can neither reach another decoder (EMF, WMF, TIFF, BMP) nor
// make one allocate gigabytes. Portable: no Windows header.
#ifndef CUMULON_IMAGE_HEADER_H
#define CUMULON_IMAGE_HEADER_H

#include <cstdint>
#include <string_view>

enum class ImageFormat { Unknown, Gif, Png, Jpeg };

struct ImageHeader {
    ImageFormat Format = ImageFormat::Unknown;
    uint32_t Width = 0, Height = 0;
};

// The largest width and height a picture may have.
constexpr uint32_t kLargestPictureSide = 4096;

// Reads the format and size. A GIF's size is its logical screen's, and every
// frame it holds must lie within kLargestPictureSide too (a frame is decoded
// at its own size). False for any other content, a header cut short, a zero
// width or height, or a GIF frame beyond the bound.
bool ReadImageHeader(std::string_view bytes, ImageHeader* header);

// ReadImageHeader, and width and height at most kLargestPictureSide.
bool PictureAllowed(std::string_view bytes, ImageHeader* header);

#endif
