// The picture header reader on arbitrary file contents, and the placement of
// whatever size it reads in the satellite area.
#include "pages/imagery/image_header.h"
#include "pages/imagery/image_keys.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ImageHeader header;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (ReadImageHeader(bytes, &header) &&
        (header.Width == 0 || header.Height == 0 || header.Format == ImageFormat::Unknown))
        __builtin_trap();
    if (PictureAllowed(bytes, &header)) {
        if (header.Width > kLargestPictureSide || header.Height > kLargestPictureSide)
            __builtin_trap();
        const PictureRect area{0, 0, 720, 480};
        const PictureRect fit = FitPicture(area, int(header.Width), int(header.Height));
        if (fit.X < 0 || fit.Y < 0 || fit.X + fit.Width > 720 || fit.Y + fit.Height > 480)
            __builtin_trap();
    }
    return 0;
}
