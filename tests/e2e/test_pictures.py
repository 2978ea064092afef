"""Writes the pictures the imagery end-to-end test puts in Cumulon's cache:
flat colours and bands whose pixels the test then reads off the screen.
    test_pictures.py FOLDER
"""
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "..", "tools", "sample-service"))
from cumulon_sample.image_codecs import _png_chunk, encode_gif, encode_png  # noqa: E402


def rows(width, height, index):
    return [bytes(index(x, y) for x in range(width)) for y in range(height)]


def own_size(x, y):
    """600 x 550: four quadrants meeting at (300, 275), and a one-pixel
    checkerboard at x 100-199, y 100-109 that any resampling would blur."""
    if 100 <= x < 200 and 100 <= y < 110:
        return 4 + (x + y) % 2
    return (x >= 300) + 2 * (y >= 275)


def declared_huge_png(side):
    """A whole 1-bit PNG of side x side pixels, all index 0: small on disk,
    side * side pixels once decoded."""
    header = struct.pack(">IIBBBBB", side, side, 1, 3, 0, 0, 0)
    row = b"\x00" * (1 + (side + 7) // 8)
    idat = zlib.compressobj(9)
    data = b"".join(idat.compress(row) for _ in range(side)) + idat.flush()
    return (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", header)
            + _png_chunk(b"PLTE", bytes((250, 250, 250, 0, 0, 0)))
            + _png_chunk(b"IDAT", data) + _png_chunk(b"IEND", b""))


CLEAR = (0, 0, 0)
PICTURES = {
    # An opaque base: a PNG under a .jpg name, as files are decoded by what they hold.
    "topo.jpg": encode_png(rows(120, 110, lambda x, y: 0), [(60, 110, 70)]),
    # A red band across and a later yellow band down, index 0 transparent.
    "n0r.gif": encode_gif(rows(120, 110, lambda x, y: int(40 <= y < 60)),
                          [CLEAR, (250, 20, 20)], transparent=0),
    "county.gif": encode_gif(rows(120, 110, lambda x, y: int(50 <= x < 70)),
                             [CLEAR, (240, 230, 20)], transparent=0),
    # A legend strip of half-transparent white (alpha 128) along the bottom.
    "legend.gif": encode_png(rows(120, 110, lambda x, y: int(y >= 96)),
                             [CLEAR, (255, 255, 255)], transparent=[(0, 0), (1, 128)]),
    "alertmap_gu.png": encode_png(rows(354, 274, lambda x, y: 0), [(90, 140, 200)]),
    # Today's radar: one picture of the product, 600 x 550.
    "radar_own_size.gif": encode_gif(rows(600, 550, own_size),
                                     [(200, 30, 30), (30, 160, 60), (40, 60, 200),
                                      (230, 210, 40), (0, 0, 0), (255, 255, 255)]),
    # A square satellite sector: shown 480 x 480 in the middle of 720 x 480.
    "square.png": encode_png(rows(60, 60, lambda x, y: 0), [(90, 140, 200)]),
    # A hostile picture: 16000 x 16000 declared (and really encoded).
    "huge.png": declared_huge_png(16000),
}

if __name__ == "__main__":
    os.makedirs(sys.argv[1], exist_ok=True)
    for name, data in PICTURES.items():
        with open(os.path.join(sys.argv[1], name), "wb") as out:
            out.write(data)
