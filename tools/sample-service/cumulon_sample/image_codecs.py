"""Small PNG and GIF encoders for palette pictures (standard library only),
and JPEG through libjpeg-turbo's cjpeg.

All take the picture as rows of palette indices (bytes of one index per
pixel) and a palette of (r, g, b) triples; PNG and GIF optionally the index
that is transparent.  GDI+ loads all three, with the transparency the radar
layers rely on.
"""

import struct
import subprocess
import zlib


def _png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def encode_png(rows, palette, transparent=None, level=6):
    """An 8-bit palette PNG; 'transparent' is an index or a list of (index, alpha)."""
    height = len(rows)
    width = len(rows[0]) if rows else 0
    if not 1 <= len(palette) <= 256:
        raise ValueError("a palette holds 1 to 256 colours")
    header = struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)
    plte = b"".join(bytes(colour) for colour in palette)
    chunks = [_png_chunk(b"IHDR", header), _png_chunk(b"PLTE", plte)]
    if transparent is not None:
        pairs = [(transparent, 0)] if isinstance(transparent, int) else list(transparent)
        alpha = bytearray([255] * (max(i for i, _ in pairs) + 1))
        for index, value in pairs:
            alpha[index] = value
        chunks.append(_png_chunk(b"tRNS", bytes(alpha)))
    # Filter type 0 (none) on every row: palette pictures compress well as they are.
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    chunks.append(_png_chunk(b"IDAT", zlib.compress(raw, level)))
    chunks.append(_png_chunk(b"IEND", b""))
    return b"\x89PNG\r\n\x1a\n" + b"".join(chunks)


def _lzw(indices, min_code_size):
    """GIF's variable-width LZW, with a clear code whenever the table fills."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0
    code_size = min_code_size + 1

    def emit(code):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += code_size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    table = {}
    next_code = end + 1
    emit(clear)
    prefix = None
    for index in indices:
        if prefix is None:
            prefix = index
            continue
        key = (prefix, index)
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        emit(prefix)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            if next_code > (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear)
            table = {}
            next_code = end + 1
            code_size = min_code_size + 1
        prefix = index
    if prefix is not None:
        emit(prefix)
    emit(end)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def encode_gif(rows, palette, transparent=None):
    """A still GIF89a; 'transparent' is the index drawn as see-through, or None."""
    height = len(rows)
    width = len(rows[0]) if rows else 0
    bits = 1
    while (1 << bits) < max(2, len(palette)):
        bits += 1
    table = b"".join(bytes(c) for c in palette) + b"\x00\x00\x00" * ((1 << bits) - len(palette))
    parts = [b"GIF89a", struct.pack("<HHBBB", width, height, 0x80 | (bits - 1), 0, 0), table]
    if transparent is not None:
        parts.append(struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 1, 0, transparent, 0))
    parts.append(struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0))
    min_code_size = max(2, bits)
    data = _lzw(b"".join(bytes(r) for r in rows), min_code_size)
    parts.append(bytes([min_code_size]))
    for start in range(0, len(data), 255):
        block = data[start:start + 255]
        parts.append(bytes([len(block)]) + block)
    parts.append(b"\x00;")
    return b"".join(parts)


def rgb_pixels(rows, palette):
    """The rows as packed 8-bit R, G, B bytes."""
    indices = b"".join(bytes(r) for r in rows)
    padded = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    out = bytearray(len(indices) * 3)
    for channel in range(3):
        table = bytes(colour[channel] for colour in padded)
        out[channel::3] = indices.translate(table)
    return bytes(out)


def encode_jpeg(rows, palette, quality=85):
    """A baseline JPEG (4:2:0), encoded by cjpeg from the rows in colour."""
    height = len(rows)
    width = len(rows[0]) if rows else 0
    ppm = b"P6\n%d %d\n255\n" % (width, height) + rgb_pixels(rows, palette)
    return subprocess.run(["cjpeg", "-quality", str(quality), "-optimize"], input=ppm,
                          capture_output=True, check=True).stdout
