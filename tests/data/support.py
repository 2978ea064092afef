"""Shared helpers of the data tests: paths, and readers written from the file
formats (independent of the code that writes the files)."""

import os
import re
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(os.path.dirname(HERE))
DATA = os.path.join(REPOSITORY, "data")
TOOLS = os.path.join(REPOSITORY, "tools")
SERVICE = os.path.join(TOOLS, "sample-service")
for path in (TOOLS, SERVICE):
    if path not in sys.path:
        sys.path.insert(0, path)

# The folder the windows build puts Cumulon and its data in (set by ctest).
PROGRAM_DIR = os.environ.get("CUMULON_PROGRAM_DIR", "")

SEPARATOR = b"\xbb"


def read(path):
    with open(path, "rb") as handle:
        return handle.read()


def lines_of(data):
    """Lines as the program reads them (cut at the first CR or LF), with a
    flag telling whether each ended with CR LF."""
    out = []
    for raw in data.split(b"\n"):
        out.append((re.split(rb"[\r\n]", raw, maxsplit=1)[0], raw.endswith(b"\r")))
    if out and out[-1][0] == b"":
        out.pop()
    return out


# ---------------------------------------------------------------- feed catalog

def catalog_sections(data):
    """{section: [(key, address, cache file)]} read as the pages read the catalog:
    a header line equal to the section name, body lines up to the first empty
    line, key up to its first "=", address up to the first 0xBB."""
    sections, current = {}, None
    for line, _ in lines_of(data):
        if current is None:
            if line.startswith(b"[") and line.endswith(b"]"):
                current = sections.setdefault(line.decode("cp1252"), [])
            continue
        if line == b"":
            current = None
            continue
        key, equals, rest = line.partition(b"=")
        if not equals:
            continue
        address, _, cache_file = rest.partition(SEPARATOR)
        current.append((key.decode() + "=", address.decode("cp1252"), cache_file.decode("cp1252")))
    return sections


# ---------------------------------------------------------------- station trees

def read_tree(data):
    """Parses a .trv file: returns (tree, problems).  The tree is a list of
    first-level headings (name, leaves, [(subheading, leaves)])."""
    tree, problems = [], []
    first, second = None, None
    for number, (line, crlf) in enumerate(lines_of(data), 1):
        text = line.decode("cp1252", "replace")
        if len(line) > 1023:
            problems.append("line %d is longer than 1023 bytes" % number)
        if not crlf:
            problems.append("line %d does not end with CR LF" % number)
        if not text:
            problems.append("line %d is empty" % number)
        elif text.startswith("++"):
            if first is None:
                problems.append("line %d: subheading before any heading" % number)
                continue
            second = (text[2:], [])
            first[2].append(second)
        elif text.startswith("+"):
            first, second = (text[1:], [], []), None
            tree.append(first)
        elif second is not None:
            second[1].append(text)
        elif first is not None:
            first[1].append(text)
        else:
            problems.append("line %d: leaf before any heading" % number)
    return tree, problems


def tree_leaves(tree):
    for name, leaves, subgroups in tree:
        for leaf in leaves:
            yield (name, None, leaf)
        for subname, subleaves in subgroups:
            for leaf in subleaves:
                yield (name, subname, leaf)


# ---------------------------------------------------------------- pictures

def png_info(data):
    """(width, height, rows of palette indices, palette, alpha) of an 8-bit
    palette PNG; checks every chunk's CRC."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    at, chunks = 8, {}
    idat = b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        crc = struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0]
        assert zlib.crc32(kind + body) & 0xFFFFFFFF == crc, "bad CRC in %s" % kind
        if kind == b"IDAT":
            idat += body
        else:
            chunks[kind] = body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"])
    assert (depth, colour, interlace) == (8, 3, 0), "expected an 8-bit palette picture"
    raw = zlib.decompress(idat)
    rows = []
    stride = width + 1
    previous = bytearray(width)
    for y in range(height):
        kind, line = raw[y * stride], bytearray(raw[y * stride + 1:(y + 1) * stride])
        if kind == 2:
            line = bytearray((a + b) & 255 for a, b in zip(line, previous))
        elif kind != 0:
            raise AssertionError("filter %d not expected in a palette picture" % kind)
        rows.append(bytes(line))
        previous = line
    plte = chunks[b"PLTE"]
    palette = [tuple(plte[i:i + 3]) for i in range(0, len(plte), 3)]
    return width, height, rows, palette, chunks.get(b"tRNS", b"")


def gif_info(data):
    """(width, height, rows of palette indices, palette, transparent index or
    None) of a single-frame GIF, decoded with an LZW decoder of its own."""
    assert data[:6] in (b"GIF87a", b"GIF89a"), "not a GIF"
    width, height, flags, _, _ = struct.unpack("<HHBBB", data[6:13])
    at = 13
    palette = []
    if flags & 0x80:
        size = 2 << (flags & 7)
        palette = [tuple(data[at + 3 * i:at + 3 * i + 3]) for i in range(size)]
        at += 3 * size
    transparent = None
    while data[at] == 0x21:
        label = data[at + 1]
        at += 2
        block = b""
        while data[at]:
            block += data[at + 1:at + 1 + data[at]]
            at += data[at] + 1
        at += 1
        if label == 0xF9 and block[0] & 1:
            transparent = block[3]
    assert data[at] == 0x2C, "no image descriptor"
    _, _, w, h, local = struct.unpack("<HHHHB", data[at + 1:at + 10])
    assert (w, h, local & 0x80) == (width, height, 0)
    at += 10
    min_code = data[at]
    at += 1
    stream = b""
    while data[at]:
        stream += data[at + 1:at + 1 + data[at]]
        at += data[at] + 1
    assert data[at + 1:at + 2] == b";", "no trailer"
    pixels = _lzw_decode(stream, min_code)
    assert len(pixels) == width * height, "%d pixels for %dx%d" % (len(pixels), width, height)
    rows = [bytes(pixels[y * width:(y + 1) * width]) for y in range(height)]
    return width, height, rows, palette, transparent


def _lzw_decode(stream, min_code):
    clear, end = 1 << min_code, (1 << min_code) + 1
    size = min_code + 1
    table = [bytes([i]) for i in range(clear)] + [b"", b""]
    out = bytearray()
    bits = int.from_bytes(stream, "little")
    position, total = 0, len(stream) * 8
    previous = None
    while position + size <= total:
        code = (bits >> position) & ((1 << size) - 1)
        position += size
        if code == clear:
            size = min_code + 1
            table = table[:end + 1]
            previous = None
            continue
        if code == end:
            break
        if previous is None:
            entry = table[code]
        elif code < len(table):
            entry = table[code]
            table.append(previous + entry[:1])
        elif code == len(table):
            entry = previous + previous[:1]
            table.append(entry)
        else:
            raise AssertionError("LZW code %d beyond the table (%d)" % (code, len(table)))
        out += entry
        previous = entry
        if len(table) == (1 << size) and size < 12:
            size += 1
    return out


def jpeg_frame(data):
    """(width, height, start-of-frame marker) of a JPEG, from its markers."""
    assert data[:2] == b"\xff\xd8", "not a JPEG"
    at = 2
    while at + 4 <= len(data):
        assert data[at] == 0xFF, "bad JPEG marker at %d" % at
        marker, length = data[at + 1], struct.unpack(">H", data[at + 2:at + 4])[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            height, width = struct.unpack(">HH", data[at + 5:at + 9])
            return width, height, marker
        at += 2 + length
    raise AssertionError("a JPEG without a frame")


def jpeg_pixels(data):
    """(width, height, packed R, G, B bytes) of a JPEG, decoded by djpeg."""
    import subprocess
    ppm = subprocess.run(["djpeg", "-ppm"], input=data, capture_output=True, check=True).stdout
    magic, width, height, top, pixels = ppm.split(maxsplit=4)
    assert (magic, top) == (b"P6", b"255")
    return int(width), int(height), pixels


def picture_size(data):
    if data[:2] == b"\xff\xd8":
        return jpeg_frame(data)[:2]
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        return struct.unpack(">II", data[16:24])
    if data[:6] in (b"GIF87a", b"GIF89a"):
        return struct.unpack("<HH", data[6:10])
    raise AssertionError("neither PNG nor GIF: %r" % data[:8])


# ---------------------------------------------------------------- compiled help

def _encint(data, at):
    value = 0
    while True:
        byte = data[at]
        at += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, at


def chm_directory(data):
    """{name: (section, offset, length)} of a compiled help file, from its
    listing chunks; and the start of content section 0."""
    assert data[:4] == b"ITSF", "not a compiled help file"
    header_length = struct.unpack("<I", data[8:12])[0]
    section_table = struct.unpack("<QQQQ", data[0x38:0x58])
    directory_offset, directory_length = section_table[2], section_table[3]
    content_offset = (struct.unpack("<Q", data[0x58:0x60])[0] if header_length >= 0x60
                      else directory_offset + directory_length)
    itsp = data[directory_offset:directory_offset + directory_length]
    assert itsp[:4] == b"ITSP"
    itsp_length, chunk_size = struct.unpack("<II", itsp[8:16]), struct.unpack("<I", itsp[16:20])[0]
    chunks_start = directory_offset + itsp_length[0]
    entries = {}
    count = (directory_length - itsp_length[0]) // chunk_size
    for n in range(count):
        chunk = data[chunks_start + n * chunk_size:chunks_start + (n + 1) * chunk_size]
        if chunk[:4] != b"PMGL":
            continue
        free = struct.unpack("<I", chunk[4:8])[0]
        at, stop = 20, chunk_size - free
        while at < stop:
            length, at = _encint(chunk, at)
            name = chunk[at:at + length].decode("utf-8")
            at += length
            section, at = _encint(chunk, at)
            offset, at = _encint(chunk, at)
            size, at = _encint(chunk, at)
            entries[name] = (section, offset, size)
    return entries, content_offset


# ---------------------------------------------------------------- sample service

def start_service(now=None):
    """Starts the sample weather service on a free port in this process; returns
    (server, port).  Stop it with server.shutdown() and server.server_close()."""
    import sample_service
    from cumulon_sample import http_app
    service = sample_service.build_service(DATA, "/usr/share/weather-util", now)
    server = http_app.Server(("127.0.0.1", 0), service)
    http_app.serve_in_thread(server)
    return server, server.server_address[1]


def raw_get(port, path, headers=(), timeout=30, user_agent="Cumulon 3.0.7.143"):
    """Sends one GET and returns (status line, {header: value}, raw body bytes)
    read until the server closes the connection.  Without a user agent the
    request has no User-Agent line; an "Accept:" among the headers replaces the
    default one."""
    import socket
    request = ["GET %s HTTP/1.1" % path, "Host: 127.0.0.1:%d" % port]
    if user_agent:
        request.append("User-Agent: " + user_agent)
    if not any(h.lower().startswith("accept:") for h in headers):
        request.append("Accept: *.*")
    request += list(headers)
    request += ["Connection: close", "", ""]
    with socket.create_connection(("127.0.0.1", port), timeout=timeout) as connection:
        connection.sendall("\r\n".join(request).encode("latin-1"))
        received = bytearray()
        while True:
            block = connection.recv(65536)
            if not block:
                break
            received += block
    head, _, body = bytes(received).partition(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    fields = {}
    for line in lines[1:]:
        name, _, value = line.partition(":")
        fields[name.strip().lower()] = value.strip()
    return lines[0], fields, body


def dechunk(body):
    """The data of a chunked body, read the way the downloader reads it."""
    out, at = bytearray(), 0
    while True:
        end = body.index(b"\r\n", at)
        size = int(body[at:end].split(b";")[0], 16)
        if size == 0:
            return bytes(out)
        out += body[end + 2:end + 2 + size]
        at = end + 2 + size + 2


def decode_character_references(text):
    """What the river gauges page does to its cache file after a download."""
    for reference, character in (("&#x3C;", "<"), ("&#x3E;", ">"), ("&#x27;", "'"),
                                 ("&#x26;", "&")):
        text = text.replace(reference, "\x95" * 5 + character)
    return text.replace("\x95", "")


def between(text, start, end, after=0):
    """The text between the first 'start' (from 'after') and the next 'end', or None."""
    at = text.find(start, after)
    if at < 0:
        return None
    value_start = text.find(">", at) + 1 if not start.endswith(">") else at + len(start)
    stop = text.find(end, value_start)
    return None if stop < 0 else text[value_start:stop]
