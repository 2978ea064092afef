"""Writes the pictures the imagery end-to-end test puts in Cumulon's cache:
flat colours and bands whose pixels the test then reads off the screen.
    test_pictures.py FOLDER
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "..", "tools", "sample-service"))
from cumulon_sample.image_codecs import encode_gif, encode_png  # noqa: E402


def rows(width, height, index):
    return [bytes(index(x, y) for x in range(width)) for y in range(height)]


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
}

if __name__ == "__main__":
    os.makedirs(sys.argv[1], exist_ok=True)
    for name, data in PICTURES.items():
        with open(os.path.join(sys.argv[1], name), "wb") as out:
            out.write(data)
