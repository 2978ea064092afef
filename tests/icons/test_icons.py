"""Checks the committed icon files of Cumulon and Ticker (see tools/make_icons.py).

Run from the worktree root: python3 -m unittest tests/icons/test_icons.py
"""

import importlib.util
import os
import struct
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CUMULON = os.path.join(ROOT, "resources", "icons")
TICKER = os.path.join(ROOT, "resources", "ticker", "icons")

# Every icon the screen shows comes in the sizes of 96, 120, 144 and 192 DPI and the
# large window icon's; the first image is the one an "actual size" load (size 0, an
# SS_REALSIZEIMAGE static) takes: the size shown at 96 DPI.
SIZES = [(16, 16), (20, 20), (24, 24), (32, 32), (48, 48)]
TOOL = (SIZES, (16, 16))
APP = (SIZES, (48, 48))
EXPECTED = {
    CUMULON: {100: APP, 101: (SIZES, (32, 32)), 102: TOOL, 103: TOOL, 104: TOOL, 105: TOOL,
              106: TOOL, 107: TOOL, 108: TOOL, 109: TOOL, 110: TOOL, 111: TOOL, 112: TOOL,
              113: ([(128, 96)], (128, 96)), 114: TOOL, 115: ([(86, 21)], (86, 21))},
    TICKER: {100: APP, 101: TOOL, 102: TOOL, 103: TOOL, 104: TOOL},
}
HOVER = {(CUMULON, 109), (TICKER, 104)}


def parse_ico(data):
    """[(width, height, alpha rows top-down, mask bits rows top-down)]; asserts the layout."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1), "not an icon file"
    assert count >= 1 and 6 + 16 * count <= len(data)
    images, spans = [], []
    for n in range(count):
        entry = struct.unpack_from("<BBBBHHII", data, 6 + 16 * n)
        bw, bh, colors, res, planes, bpp, size, offset = entry
        assert (colors, res, planes, bpp) == (0, 0, 1, 32), "entry %d header" % n
        assert 6 + 16 * count <= offset and offset + size <= len(data), "entry %d outside" % n
        spans.append((offset, offset + size))
        hsize, w, h2, dplanes, dbpp, comp = struct.unpack_from("<IiiHHI", data, offset)
        assert (hsize, dplanes, dbpp, comp) == (40, 1, 32, 0), "entry %d DIB header" % n
        h = h2 // 2
        assert (w, h2) == (bw or 256, 2 * (bh or 256)), "entry %d size mismatch" % n
        stride = (w + 31) // 32 * 4
        assert size == 40 + w * h * 4 + stride * h, "entry %d byte count" % n
        pix = offset + 40
        alpha = [[data[pix + ((h - 1 - y) * w + x) * 4 + 3] for x in range(w)] for y in range(h)]
        mbase = pix + w * h * 4
        mask = [[(data[mbase + (h - 1 - y) * stride + x // 8] >> (7 - x % 8)) & 1
                 for x in range(w)] for y in range(h)]
        images.append((w, h, alpha, mask))
    spans.sort()
    for (a0, a1), (b0, b1) in zip(spans, spans[1:]):
        assert a1 <= b0, "overlapping images"
    return images


class IconFiles(unittest.TestCase):
    def test_expected_files_and_sizes(self):
        for folder, icons in EXPECTED.items():
            names = sorted(f for f in os.listdir(folder) if f.endswith(".ico"))
            self.assertEqual(names, sorted("icon%d.ico" % n for n in icons), folder)
            for num, (sizes, first) in icons.items():
                with open(os.path.join(folder, "icon%d.ico" % num), "rb") as f:
                    images = parse_ico(f.read())
                self.assertEqual(sorted((w, h) for w, h, _, _ in images), sorted(sizes),
                                 (folder, num))
                self.assertEqual((images[0][0], images[0][1]), first, (folder, num))

    def test_alpha_content_and_mask(self):
        for folder, icons in EXPECTED.items():
            for num in icons:
                with open(os.path.join(folder, "icon%d.ico" % num), "rb") as f:
                    images = parse_ico(f.read())
                for w, h, alpha, mask in images:
                    where = (folder, num, w)
                    flat = [a for row in alpha for a in row]
                    for a, m in zip(flat, [b for row in mask for b in row]):
                        self.assertEqual(m, 1 if a == 0 else 0, where)
                    mean = sum(flat) / (255.0 * len(flat))
                    if (folder, num) in HOVER:
                        centre = [alpha[y][x] for y in range(w // 4, w * 3 // 4)
                                  for x in range(w // 4, w * 3 // 4)]
                        self.assertLess(mean, 0.35, where)
                        self.assertLessEqual(max(centre), 64, where)
                        self.assertGreater(max(flat), 128, where)   # the frame is visible
                    else:
                        solid = sum(1 for a in flat if a > 200) / len(flat)
                        self.assertGreater(solid, 0.2, where)
                        self.assertGreater(mean, 0.25, where)


class Generator(unittest.TestCase):
    def test_regenerates_committed_bytes(self):
        spec = importlib.util.spec_from_file_location(
            "make_icons", os.path.join(ROOT, "tools", "make_icons.py"))
        mod = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(mod)
        files = mod.render_files()
        expected = {os.path.join(folder, "icon%d.ico" % n)
                    for folder, icons in EXPECTED.items() for n in icons}
        self.assertEqual(set(files), expected)
        for path, data in sorted(files.items()):
            with open(path, "rb") as f:
                self.assertEqual(f.read(), data, "%s is stale: run tools/make_icons.py" % path)


if __name__ == "__main__":
    unittest.main()
