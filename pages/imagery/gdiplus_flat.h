// The few entries of the GDI+ flat API the picture views use (gdiplus.dll;
// the program starts GDI+ once at start-up). Every call returns a status, 0
// for success.
#ifndef CUMULON_GDIPLUS_FLAT_H
#define CUMULON_GDIPLUS_FLAT_H

#include <windows.h>
#include <objidl.h>

struct GpImage;
struct GpGraphics;
struct GpImageAttributes;

using GpStatus = int;
constexpr GpStatus kGdipOk = 0;
constexpr int kGdipUnitPixel = 2;
constexpr int kGdipWrapModeTileFlipXY = 3; // a scaled picture's edges sample its own pixels
constexpr int kGdipInterpolationDefault = 0;
constexpr int kGdipInterpolationNearestNeighbor = 5;
constexpr int kGdipPixelOffsetDefault = 0;
constexpr int kGdipPixelOffsetHalf = 4;

extern "C" {
GpStatus WINAPI GdipLoadImageFromStream(IStream* stream, GpImage** image);
GpStatus WINAPI GdipDisposeImage(GpImage* image);
GpStatus WINAPI GdipGetImageWidth(GpImage* image, UINT* width);
GpStatus WINAPI GdipGetImageHeight(GpImage* image, UINT* height);
GpStatus WINAPI GdipCreateFromHDC(HDC dc, GpGraphics** graphics);
GpStatus WINAPI GdipDeleteGraphics(GpGraphics* graphics);
GpStatus WINAPI GdipCreateImageAttributes(GpImageAttributes** attributes);
GpStatus WINAPI GdipSetImageAttributesWrapMode(GpImageAttributes* attributes, int wrap, DWORD argb,
                                               BOOL clamp);
GpStatus WINAPI GdipDisposeImageAttributes(GpImageAttributes* attributes);
GpStatus WINAPI GdipSetInterpolationMode(GpGraphics* graphics, int mode);
GpStatus WINAPI GdipSetPixelOffsetMode(GpGraphics* graphics, int mode);
GpStatus WINAPI GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstX, INT dstY,
                                       INT dstWidth, INT dstHeight, INT srcX, INT srcY,
                                       INT srcWidth, INT srcHeight, int srcUnit,
                                       const GpImageAttributes* attributes, void* abort,
                                       void* abortData);
}

#endif
