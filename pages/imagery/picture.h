// The one picture routine of the radar page, the satellite page, the
// satellite wide view and the alert map: cached picture files drawn, scaled,
// into a fixed-size area over black, in the order given, with the file time
// of the last timed layer in the status line; "Loading..." while the view
// downloads. The area is the picture's size in pixels; a radar picture of
// that size is copied pixel for pixel. A missing file draws nothing, and so
// does a refused one (not a GIF, PNG or JPEG by its content, or larger than
// 4096 x 4096); on the radar page a missing radar image (the last timed
// layer) empties the status line and leaves the whole area black.
//
// The area is an owner-drawn static: Display (ShowPicture) sets the status
// line and invalidates the area, and the area's WM_DRAWITEM composes the
// picture in a memory bitmap and copies it to the screen in one step. Each
// paint reads the catalog and decodes the files again; the files are read
// into memory with full sharing, so a download replacing a cache file never
// fails because a repaint has it open.
#ifndef CUMULON_PICTURE_H
#define CUMULON_PICTURE_H

#include "pages/imagery/image_keys.h"
#include "services/feed_page.h"

#include <windows.h>

#include <string>
#include <vector>

struct PictureLayer {
    std::string CachePath;
    bool Timed; // its file's time goes to the status line
};

struct PictureSpec {
    // False: nothing selected, or the radar without a catalog (black, status kept).
    bool Shown = false;
    std::vector<PictureLayer> Layers;
    PictureRect Target; // where in the area every layer is drawn, scaled to it
    // Pictures placed by FitPicture (the satellite views and the alert map):
    // one of other proportions keeps them, centred on black.
    bool KeepProportions = false;
    // The radar's rule: when the last timed layer's file is missing, the
    // status line is emptied and the area shows black. Otherwise a missing
    // file is simply left out and the status keeps the time of the last
    // timed file that exists (empty when there is none).
    bool MissingTimedBlanks = false;
};

struct PictureView {
    int Width, Height; // the area in pixels
    // What the view shows now, read on the user-interface thread.
    PictureSpec (*Spec)(const FeedPage& page, HWND window);
};

// Sent by the main window to a page: how many pixels the page lacks to show
// its picture at the picture's own size, MAKELONG(across, down) (a page
// without a picture answers 0).
constexpr UINT WM_PICTURE_SHORTFALL = WM_APP + 30;

// The display of a picture view: the status line, and the area invalidated.
void ShowPicture(const FeedPage& page, HWND window, const PictureView& view);

// The messages every picture view handles: the area sized to the picture at
// opening and when a page is resized (and a view without a list displayed),
// WM_PICTURE_SHORTFALL, its WM_DRAWITEM and black background, and the list
// given the focus on WM_PAINT when the main window is active.
INT_PTR PictureViewMessage(const FeedPage& page, const PictureView& view, HWND window, UINT message,
                           WPARAM wParam, LPARAM lParam, bool* handled);

// The lines of `section` that begin with one of `keys` (keys with no
// placeholder), in catalog order: their addresses and cache files; -1 when
// the catalog cannot be read.
int CatalogPictureTarget(const char* section, const std::vector<std::string>& keys,
                         std::vector<FeedTarget>* targets);
// Their pictures drawn into `target` one over the other, each timed and
// keeping its proportions. Without a catalog nothing is drawn and the status
// line is emptied.
PictureSpec CatalogPictureSpec(const char* section, const std::vector<std::string>& keys,
                               PictureRect target);

#endif
