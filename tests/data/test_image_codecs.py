"""The sample service's PNG and GIF encoders, read back by this test's own
decoders and, when ImageMagick is installed, by its decoder too."""

import os
import shutil
import subprocess
import tempfile
import unittest

import support
from cumulon_sample import image_codecs


def pattern(width, height, colours, seed=7):
    """Rows of indices that compress badly (so the LZW table fills and resets)."""
    state = seed
    rows = []
    for _ in range(height):
        row = bytearray()
        for _ in range(width):
            state = (state * 1103515245 + 12345) & 0x7FFFFFFF
            row.append((state >> 16) % colours)
        rows.append(bytes(row))
    return rows


def palette(count):
    return [((i * 37) % 256, (i * 91) % 256, (i * 151) % 256) for i in range(count)]


class Png(unittest.TestCase):
    def test_round_trip_of_indices_and_palette(self):
        rows = pattern(37, 23, 200)
        width, height, back, colours, alpha = support.png_info(
            image_codecs.encode_png(rows, palette(200)))
        self.assertEqual((width, height), (37, 23))
        self.assertEqual(back, rows)
        self.assertEqual(colours, palette(200))
        self.assertEqual(alpha, b"")

    def test_transparent_index(self):
        data = image_codecs.encode_png([b"\x00\x01\x02"], palette(3), transparent=2)
        self.assertEqual(support.png_info(data)[4], b"\xff\xff\x00")

    def test_partial_transparency_list(self):
        data = image_codecs.encode_png([b"\x00\x01"], palette(2), transparent=[(0, 0), (1, 128)])
        self.assertEqual(support.png_info(data)[4], b"\x00\x80")

    def test_palette_limits(self):
        with self.assertRaises(ValueError):
            image_codecs.encode_png([b"\x00"], [])
        with self.assertRaises(ValueError):
            image_codecs.encode_png([b"\x00"], palette(257))


class Gif(unittest.TestCase):
    def round_trip(self, rows, colours, transparent=None):
        data = image_codecs.encode_gif(rows, palette(colours), transparent)
        width, height, back, table, clear = support.gif_info(data)
        self.assertEqual((width, height), (len(rows[0]), len(rows)))
        self.assertEqual(back, rows)
        self.assertEqual(table[:colours], palette(colours))
        self.assertEqual(clear, transparent)
        return data

    def test_noise_fills_the_code_table_and_starts_again(self):
        self.round_trip(pattern(300, 200, 256), 256)

    def test_few_colours_use_short_codes(self):
        self.round_trip(pattern(64, 64, 2), 2)
        self.round_trip(pattern(64, 64, 5), 5)

    def test_long_runs(self):
        self.round_trip([b"\x00" * 600] * 550, 4)

    def test_a_single_pixel(self):
        self.round_trip([b"\x03"], 4)

    def test_transparency(self):
        data = self.round_trip(pattern(20, 10, 16), 16, transparent=0)
        self.assertIn(b"\x21\xf9\x04\x01", data)


class Jpeg(unittest.TestCase):
    def test_blocks_of_colour_come_back_close(self):
        colours = [(200, 30, 30), (30, 160, 60), (40, 60, 200), (230, 210, 40)]
        rows = [bytes(x // 16 % 4 for x in range(64)) for _ in range(40)]
        data = image_codecs.encode_jpeg(rows, colours)
        self.assertEqual(support.jpeg_frame(data), (64, 40, 0xC0))
        width, height, pixels = support.jpeg_pixels(data)
        for x in (8, 24, 40, 56):  # the middle of each 16-pixel block
            got = pixels[(20 * width + x) * 3:(20 * width + x) * 3 + 3]
            want = colours[x // 16 % 4]
            self.assertTrue(all(abs(a - b) <= 12 for a, b in zip(got, want)), (x, got, want))


@unittest.skipUnless(shutil.which("stream"), "ImageMagick is not installed")
class ImageMagickReadsThem(unittest.TestCase):
    def pixels(self, data, suffix):
        with tempfile.NamedTemporaryFile(suffix=suffix) as handle:
            handle.write(data)
            handle.flush()
            return subprocess.run(["stream", "-map", "rgb", "-storage-type", "char",
                                   handle.name, "-"], check=True, capture_output=True).stdout

    def expected(self, rows, colours):
        return b"".join(bytes(colours[i]) for row in rows for i in row)

    def test_png(self):
        rows = pattern(50, 30, 120)
        data = image_codecs.encode_png(rows, palette(120))
        self.assertEqual(self.pixels(data, ".png"), self.expected(rows, palette(120)))

    def test_gif(self):
        rows = pattern(300, 100, 256)
        data = image_codecs.encode_gif(rows, palette(256))
        self.assertEqual(self.pixels(data, ".gif"), self.expected(rows, palette(256)))


if __name__ == "__main__":
    unittest.main()
