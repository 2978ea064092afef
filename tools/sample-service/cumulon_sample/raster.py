"""Palette canvases and the few drawing operations the sample pictures need:
lines, dots, polygons and text in a small pixel font."""

import math
import operator


def enlarge_twice(rows, width, height):
    """Nearest-neighbour enlargement of half-size rows (bytes) to width x height."""
    pick = operator.itemgetter(*[min(x // 2, len(rows[0]) - 1) for x in range(width)])
    return [bytearray(pick(rows[min(y // 2, len(rows) - 1)])) for y in range(height)]


def polygon_spans(points, height):
    """Yields (y, x_start, x_end) spans (end exclusive) that fill a polygon
    given as (x, y) points, by the even-odd rule over pixel centres."""
    if len(points) < 3:
        return
    ys = [p[1] for p in points]
    top = max(0, int(math.floor(min(ys))))
    bottom = min(height - 1, int(math.ceil(max(ys))))
    edges = list(zip(points, points[1:] + points[:1]))
    for y in range(top, bottom + 1):
        cy = y + 0.5
        crossings = []
        for (x0, y0), (x1, y1) in edges:
            if (y0 <= cy < y1) or (y1 <= cy < y0):
                crossings.append(x0 + (cy - y0) * (x1 - x0) / (y1 - y0))
        crossings.sort()
        for a, b in zip(crossings[0::2], crossings[1::2]):
            start, end = int(math.ceil(a - 0.5)), int(math.ceil(b - 0.5))
            if end > start:
                yield y, start, end


class Canvas:
    """A width x height picture of palette indices (one byte per pixel)."""

    def __init__(self, width, height, fill=0):
        self.width, self.height = width, height
        self.pixels = bytearray([fill]) * (width * height)

    @classmethod
    def from_rows(cls, rows):
        canvas = cls(len(rows[0]), len(rows))
        canvas.pixels = bytearray(b"".join(bytes(r) for r in rows))
        return canvas

    def rows(self):
        w = self.width
        return [self.pixels[y * w:(y + 1) * w] for y in range(self.height)]

    def put(self, x, y, index):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = index

    def rect(self, x0, y0, x1, y1, index):
        """Fills the rectangle from (x0, y0) to (x1, y1), both exclusive at the end."""
        x0, x1 = max(0, x0), min(self.width, x1)
        if x1 <= x0:
            return
        run = bytes([index]) * (x1 - x0)
        for y in range(max(0, y0), min(self.height, y1)):
            start = y * self.width
            self.pixels[start + x0:start + x1] = run

    def line(self, x0, y0, x1, y1, index, width=1):
        """A line of 'width' pixels between two points (floats allowed)."""
        steps = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        half = (width - 1) // 2
        for i in range(steps + 1):
            t = i / steps
            x = int(round(x0 + (x1 - x0) * t))
            y = int(round(y0 + (y1 - y0) * t))
            if width == 1:
                self.put(x, y, index)
            else:
                self.rect(x - half, y - half, x - half + width, y - half + width, index)

    def polyline(self, points, index, width=1):
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            self.line(x0, y0, x1, y1, index, width)

    def text(self, x, y, text, index, scale=1, shadow=None):
        """Draws 'text' with its top-left corner at (x, y); returns the width drawn."""
        if shadow is not None:
            self.text(x + scale, y + scale, text, shadow, scale)
        cursor = x
        for char in text.upper():
            glyph = FONT.get(char, FONT["?"])
            for row, bits in enumerate(glyph):
                for col in range(5):
                    if bits >> (4 - col) & 1:
                        self.rect(cursor + col * scale, y + row * scale,
                                  cursor + (col + 1) * scale, y + (row + 1) * scale, index)
            cursor += 6 * scale
        return cursor - x


def text_width(text, scale=1):
    return len(text) * 6 * scale


# A 5 x 7 pixel font: each glyph is seven rows of five bits, leftmost bit first.
_GLYPHS = """
A 01110 10001 10001 11111 10001 10001 10001
B 11110 10001 10001 11110 10001 10001 11110
C 01110 10001 10000 10000 10000 10001 01110
D 11110 10001 10001 10001 10001 10001 11110
E 11111 10000 10000 11110 10000 10000 11111
F 11111 10000 10000 11110 10000 10000 10000
G 01110 10001 10000 10111 10001 10001 01111
H 10001 10001 10001 11111 10001 10001 10001
I 01110 00100 00100 00100 00100 00100 01110
J 00111 00010 00010 00010 00010 10010 01100
K 10001 10010 10100 11000 10100 10010 10001
L 10000 10000 10000 10000 10000 10000 11111
M 10001 11011 10101 10101 10001 10001 10001
N 10001 11001 10101 10011 10001 10001 10001
O 01110 10001 10001 10001 10001 10001 01110
P 11110 10001 10001 11110 10000 10000 10000
Q 01110 10001 10001 10001 10101 10010 01101
R 11110 10001 10001 11110 10100 10010 10001
S 01111 10000 10000 01110 00001 00001 11110
T 11111 00100 00100 00100 00100 00100 00100
U 10001 10001 10001 10001 10001 10001 01110
V 10001 10001 10001 10001 10001 01010 00100
W 10001 10001 10001 10101 10101 10101 01010
X 10001 10001 01010 00100 01010 10001 10001
Y 10001 10001 01010 00100 00100 00100 00100
Z 11111 00001 00010 00100 01000 10000 11111
0 01110 10001 10011 10101 11001 10001 01110
1 00100 01100 00100 00100 00100 00100 01110
2 01110 10001 00001 00010 00100 01000 11111
3 11111 00010 00100 00010 00001 10001 01110
4 00010 00110 01010 10010 11111 00010 00010
5 11111 10000 11110 00001 00001 10001 01110
6 00110 01000 10000 11110 10001 10001 01110
7 11111 00001 00010 00100 01000 01000 01000
8 01110 10001 10001 01110 10001 10001 01110
9 01110 10001 10001 01111 00001 00010 01100
. 00000 00000 00000 00000 00000 01100 01100
, 00000 00000 00000 00000 01100 00100 01000
: 00000 01100 01100 00000 01100 01100 00000
- 00000 00000 00000 11111 00000 00000 00000
+ 00000 00100 00100 11111 00100 00100 00000
/ 00001 00010 00010 00100 01000 01000 10000
( 00010 00100 01000 01000 01000 00100 00010
) 01000 00100 00010 00010 00010 00100 01000
' 00100 00100 01000 00000 00000 00000 00000
% 11000 11001 00010 00100 01000 10011 00011
? 01110 10001 00001 00010 00100 00000 00100
> 01000 00100 00010 00001 00010 00100 01000
< 00010 00100 01000 10000 01000 00100 00010
= 00000 00000 11111 00000 11111 00000 00000
# 01010 01010 11111 01010 11111 01010 01010
& 01100 10010 10100 01000 10101 10010 01101
"""
FONT = {" ": [0] * 7}
for _line in _GLYPHS.strip().splitlines():
    _char, *_rows = _line.split()
    FONT[_char] = [int(r, 2) for r in _rows]
