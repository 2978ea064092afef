#include "pages/imagery/picture.h"

#include "pages/imagery/gdiplus_flat.h"
#include "pages/imagery/image_header.h"
#include "resources/resource_ids.h"
#include "services/feed_catalog.h"
#include "services/file_io.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr char kLoading[] = "Loading...";

// One decoded picture file, and everything that holds it, released together.
struct DecodedImage {
    IStream* Stream = nullptr;
    GpImage* Image = nullptr;
    ~DecodedImage() {
        if (Image)
            GdipDisposeImage(Image);
        if (Stream)
            Stream->Release();
    }
};

// Decodes from a copy of the file in memory, whose header has been read and
// allowed; the stream must outlive the image, which may decode lazily.
bool Decode(const std::string& bytes, DecodedImage* decoded) {
    if (bytes.empty())
        return false;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory)
        return false;
    void* data = GlobalLock(memory);
    if (!data) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &decoded->Stream))) {
        GlobalFree(memory);
        return false;
    }
    return GdipLoadImageFromStream(decoded->Stream, &decoded->Image) == kGdipOk;
}

// The bytes of a cached picture that may be decoded: a GIF, PNG or JPEG by
// its content, at most 4096 x 4096. Any other file is refused and shown as a
// missing one, so no other decoder and no huge picture is ever reached.
bool ReadPicture(const char* path, std::string* bytes) {
    ImageHeader header;
    return ReadWholeFile(path, bytes) && PictureAllowed(*bytes, &header);
}

// Draws one picture into `target`, stretched to it or, for a view that keeps
// proportions, placed in it by FitPicture; a picture that cannot be decoded
// draws nothing.
void DrawLayer(GpGraphics* graphics, const GpImageAttributes* attributes, const std::string& bytes,
               const PictureSpec& spec) {
    DecodedImage decoded;
    UINT width = 0, height = 0;
    if (!Decode(bytes, &decoded) || GdipGetImageWidth(decoded.Image, &width) != kGdipOk ||
        GdipGetImageHeight(decoded.Image, &height) != kGdipOk || width == 0 || height == 0)
        return;
    const PictureRect target =
        spec.KeepProportions ? FitPicture(spec.Target, int(width), int(height)) : spec.Target;
    // A picture of the target's own size is copied pixel for pixel.
    const bool ownSize = int(width) == target.Width && int(height) == target.Height;
    GdipSetInterpolationMode(graphics, ownSize ? kGdipInterpolationNearestNeighbor
                                               : kGdipInterpolationDefault);
    GdipSetPixelOffsetMode(graphics, ownSize ? kGdipPixelOffsetHalf : kGdipPixelOffsetDefault);
    // Always through image attributes: Wine's plain path copies a picture
    // with a transparent index as it is, transparent parts black.
    GdipDrawImageRectRectI(graphics, decoded.Image, target.X, target.Y, target.Width, target.Height,
                           0, 0, static_cast<INT>(width), static_cast<INT>(height), kGdipUnitPixel,
                           attributes, nullptr, nullptr);
}

// The layers in order into the memory picture; false when the radar's rule
// applies and the last timed layer's file is missing (the picture is then
// not shown).
bool Compose(HDC memory, const PictureSpec& spec) {
    bool timedMissing = false;
    GpGraphics* graphics = nullptr;
    GpImageAttributes* attributes = nullptr;
    if (GdipCreateFromHDC(memory, &graphics) != kGdipOk)
        return true; // nothing can be drawn: the picture stays black
    if (GdipCreateImageAttributes(&attributes) != kGdipOk ||
        GdipSetImageAttributesWrapMode(attributes, kGdipWrapModeTileFlipXY, 0, FALSE) != kGdipOk) {
        if (attributes)
            GdipDisposeImageAttributes(attributes);
        attributes = nullptr; // plain drawing still works
    }
    for (const PictureLayer& layer : spec.Layers) {
        std::string bytes;
        const bool missing = !ReadPicture(layer.CachePath.c_str(), &bytes);
        if (layer.Timed)
            timedMissing = missing;
        if (!missing)
            DrawLayer(graphics, attributes, bytes, spec);
    }
    if (attributes)
        GdipDisposeImageAttributes(attributes);
    GdipDeleteGraphics(graphics); // flushes into the bitmap
    return !(spec.MissingTimedBlanks && timedMissing);
}

void DrawLoading(HDC memory, HWND window) {
    HGDIOBJ oldFont =
        SelectObject(memory, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    SetMapMode(memory, MM_TEXT);
    RECT rect = {5, 5, 5, 5};
    DrawTextA(memory, kLoading, -1, &rect, DT_CALCRECT | DT_SINGLELINE);
    SetTextColor(memory, RGB(255, 255, 255));
    SetBkMode(memory, TRANSPARENT);
    DrawTextA(memory, kLoading, -1, &rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    SelectObject(memory, oldFont);
}

// WM_DRAWITEM of the area: the whole picture made in a memory bitmap that
// starts black, then copied to the screen at once.
void DrawPicture(const FeedPage& page, const PictureView& view, HWND window,
                 const DRAWITEMSTRUCT& item) {
    HDC memory = CreateCompatibleDC(item.hDC);
    HBITMAP bitmap = CreateCompatibleBitmap(item.hDC, view.Width, view.Height);
    if (!memory || !bitmap) {
        FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        if (bitmap)
            DeleteObject(bitmap);
        if (memory)
            DeleteDC(memory);
        return;
    }
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, view.Width, view.Height, BLACKNESS);
    if (RuntimeFlagSet(page.BusyBit)) {
        DrawLoading(memory, window);
    } else {
        PictureSpec spec = view.Spec(page, window);
        if (spec.Shown && !Compose(memory, spec))
            PatBlt(memory, 0, 0, view.Width, view.Height, BLACKNESS);
    }
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    if (width == view.Width && height == view.Height) {
        BitBlt(item.hDC, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    } else { // a screen too small for the picture: the area was made smaller
        SetStretchBltMode(item.hDC, HALFTONE);
        SetBrushOrgEx(item.hDC, 0, 0, nullptr);
        StretchBlt(item.hDC, 0, 0, width, height, memory, 0, 0, view.Width, view.Height, SRCCOPY);
    }
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

// The margin kept right of and under the area, in dialog units.
constexpr int kMarginUnits = 5;

// How many pixels the window lacks, across and down, to hold the area at the
// picture's own size with the margin right of and under it.
SIZE Shortfall(const PictureView& view, HWND window) {
    RECT margin = {0, 0, kMarginUnits, kMarginUnits}, client, area;
    MapDialogRect(window, &margin);
    GetWindowRect(GetDlgItem(window, IDC_OUTPUT), &area);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
    GetClientRect(window, &client);
    return {std::max<LONG>(0, area.left + view.Width + margin.right - client.right),
            std::max<LONG>(0, area.top + view.Height + margin.bottom - client.bottom)};
}

// The area takes the picture's size in pixels, so the picture is shown pixel
// for pixel. A modal view grows to hold it, within the screen's work area (a
// page is grown by the main window, which asks it with
// WM_PICTURE_SHORTFALL). Only where the window still lacks room (a screen
// too small) does the area shrink to fit, keeping the picture's proportions.
void FitArea(const FeedPage& page, const PictureView& view, HWND window) {
    SIZE lack = Shortfall(view, window);
    if (page.Modal && (lack.cx || lack.cy)) {
        RECT frame, work;
        GetWindowRect(window, &frame);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        const int width = std::min<int>(frame.right - frame.left + lack.cx, work.right - work.left);
        const int height =
            std::min<int>(frame.bottom - frame.top + lack.cy, work.bottom - work.top);
        // Grown, it stays on the work area.
        const int left = std::max<int>(work.left, std::min<int>(frame.left, work.right - width));
        const int top = std::max<int>(work.top, std::min<int>(frame.top, work.bottom - height));
        SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        lack = Shortfall(view, window);
    }
    const double scale = std::min({1.0, double(view.Width - lack.cx) / view.Width,
                                   double(view.Height - lack.cy) / view.Height});
    const int width = std::max(1, int(view.Width * scale));
    SetWindowPos(GetDlgItem(window, IDC_OUTPUT), nullptr, 0, 0, width,
                 std::max(1, int(view.Height * scale)), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The status line above it, which starts where the area does, is centred over it.
    HWND status = GetDlgItem(window, IDC_STATUS);
    RECT line;
    GetClientRect(status, &line);
    SetWindowPos(status, nullptr, 0, 0, width, line.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FocusListIfActive(const FeedPage& page, HWND window) {
    HWND list = GetDlgItem(window, IDC_LIST);
    if (page.ListSection && list && MainWindow && GetActiveWindow() == MainWindow &&
        GetFocus() != list && IsWindowVisible(window))
        SetFocus(list);
}

} // namespace

void ShowPicture(const FeedPage& page, HWND window, const PictureView& view) {
    HWND area = GetDlgItem(window, IDC_OUTPUT);
    if (RuntimeFlagSet(page.BusyBit)) {
        SetDlgItemTextA(window, IDC_STATUS, "");
    } else if (PictureSpec spec = view.Spec(page, window); spec.Shown) {
        std::string status, time;
        for (const PictureLayer& layer : spec.Layers) {
            if (!layer.Timed)
                continue;
            std::string bytes; // a refused picture counts as a missing one
            if (ReadPicture(layer.CachePath.c_str(), &bytes) &&
                FormatFileTime(layer.CachePath.c_str(), &time))
                status = time;
            else if (spec.MissingTimedBlanks)
                status.clear();
        }
        SetDlgItemTextA(window, IDC_STATUS, status.c_str());
    }
    InvalidateRect(area, nullptr, FALSE);
}

INT_PTR PictureViewMessage(const FeedPage& page, const PictureView& view, HWND window, UINT message,
                           WPARAM, LPARAM lParam, bool* handled) {
    switch (message) {
    case WM_INITDIALOG:
        FitArea(page, view, window);
        if (!page.ListSection)
            ShowPicture(page, window, view);
        return FALSE; // the skeleton goes on
    case WM_SIZE:
        if (!page.Modal) // a page is sized by the main window's tab
            FitArea(page, view, window);
        return FALSE;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != IDC_OUTPUT)
            return FALSE;
        DrawPicture(page, view, window, *item);
        *handled = true;
        return TRUE;
    }
    case WM_PICTURE_SHORTFALL: {
        const SIZE lack = Shortfall(view, window);
        SetWindowLongPtrA(window, DWLP_MSGRESULT, MAKELONG(lack.cx, lack.cy));
        *handled = true;
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != GetDlgItem(window, IDC_OUTPUT))
            return FALSE;
        *handled = true;
        return reinterpret_cast<INT_PTR>(GetStockObject(BLACK_BRUSH));
    case WM_PAINT:
        FocusListIfActive(page, window);
        return FALSE; // the dialog paints itself as usual
    }
    return FALSE;
}

int CatalogPictureTarget(const char* section, const std::vector<std::string>& keys,
                         std::vector<FeedTarget>* targets) {
    std::string catalog;
    if (!LoadCatalogFile(kCatalogFileName, &catalog))
        return -1;
    char cacheFolder[MAX_PATH];
    const std::vector<std::string_view> wanted(keys.begin(), keys.end());
    std::vector<CatalogEntry> entries = ReadCatalogSection(catalog, section, wanted);
    if (entries.empty() || !GetUserDataPath(cacheFolder, sizeof cacheFolder, "cache"))
        return 0;
    // Every matching line, in catalog order: a key given twice is fetched and
    // drawn twice, the later picture over the earlier.
    for (const CatalogEntry& entry : entries) {
        FeedTarget target{entry.UrlTemplate, JoinPath(cacheFolder, entry.FileTemplate)};
        if (target.Url.size() <= kFeedNameMax && target.CachePath.size() <= kFeedNameMax)
            targets->push_back(std::move(target));
    }
    return 0;
}

PictureSpec CatalogPictureSpec(const char* section, const std::vector<std::string>& keys,
                               PictureRect target) {
    PictureSpec spec;
    std::vector<FeedTarget> targets;
    CatalogPictureTarget(section, keys, &targets);
    spec.Shown = true; // the status line is emptied before the catalog is read
    for (const FeedTarget& t : targets)
        spec.Layers.push_back({t.CachePath, true});
    spec.Target = target;
    spec.KeepProportions = true;
    return spec;
}
