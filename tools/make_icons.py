#!/usr/bin/env python3
"""Generate the icon resources of Cumulon.exe and Ticker.exe.

Run from anywhere:  python3 tools/make_icons.py [--preview DIR]

Writes resources/icons/iconNNN.ico (Cumulon) and resources/ticker/icons/iconNNN.ico
(Ticker), NNN being the resource number. Output is byte-for-byte deterministic.
With --preview DIR it also writes enlarged PNG contact sheets into DIR.

Python 3 standard library only. The drawing is a tiny supersampling rasteriser over
signed distance functions (negative inside), composited in premultiplied RGBA floats.
"""

import argparse
import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CUMULON_DIR = os.path.join(ROOT, "resources", "icons")
TICKER_DIR = os.path.join(ROOT, "resources", "ticker", "icons")

SS = 8  # subsamples per pixel axis on edge pixels


# ---------------------------------------------------------------------------
# Shapes: a 1-Lipschitz signed distance function plus a bounding box.
# ---------------------------------------------------------------------------


class Shape:
    __slots__ = ("f", "bb")

    def __init__(self, f, bb):
        self.f = f
        self.bb = bb

    def __or__(self, other):
        a, b = self.f, other.f
        return Shape(lambda x, y: min(a(x, y), b(x, y)), _bb_union(self.bb, other.bb))

    def __and__(self, other):
        a, b = self.f, other.f
        return Shape(lambda x, y: max(a(x, y), b(x, y)), _bb_inter(self.bb, other.bb))

    def __sub__(self, other):
        a, b = self.f, other.f
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.bb)

    def grow(self, d):
        f = self.f
        x0, y0, x1, y1 = self.bb
        e = max(d, 0.0)
        return Shape(lambda x, y: f(x, y) - d, (x0 - e, y0 - e, x1 + e, y1 + e))


def _bb_union(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def _bb_inter(a, b):
    return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))


def union(*shapes):
    out = shapes[0]
    for s in shapes[1:]:
        out = out | s
    return out


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    m = min(rx, ry)
    return Shape(
        lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * m,
        (cx - rx, cy - ry, cx + rx, cy + ry),
    )


def rrect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def f(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - r

    return Shape(f, (x0, y0, x1, y1))


def capsule(ax, ay, bx, by, r):
    ex, ey = bx - ax, by - ay
    ee = ex * ex + ey * ey or 1e-12

    def f(x, y):
        wx, wy = x - ax, y - ay
        t = min(max((wx * ex + wy * ey) / ee, 0.0), 1.0)
        return math.hypot(wx - ex * t, wy - ey * t) - r

    return Shape(f, (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r))


def polygon(pts):
    pts = [(float(x), float(y)) for x, y in pts]
    n = len(pts)

    def f(x, y):
        vx, vy = pts[0]
        d = (x - vx) ** 2 + (y - vy) ** 2
        s = 1.0
        j = n - 1
        for i in range(n):
            vix, viy = pts[i]
            vjx, vjy = pts[j]
            ex, ey = vjx - vix, vjy - viy
            wx, wy = x - vix, y - viy
            ee = ex * ex + ey * ey or 1e-12
            t = min(max((wx * ex + wy * ey) / ee, 0.0), 1.0)
            bx, by = wx - ex * t, wy - ey * t
            d = min(d, bx * bx + by * by)
            c1 = y >= viy
            c2 = y < vjy
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)

    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(f, (min(xs), min(ys), max(xs), max(ys)))


def arc(cx, cy, r, w, a0, a1):
    """Stroke of width w along a circle of radius r from angle a0 to a1 (degrees,
    screen coordinates so increasing angles turn clockwise), round caps."""
    h = w / 2
    p0 = (cx + r * math.cos(math.radians(a0)), cy + r * math.sin(math.radians(a0)))
    p1 = (cx + r * math.cos(math.radians(a1)), cy + r * math.sin(math.radians(a1)))
    span = a1 - a0

    def f(x, y):
        ang = math.degrees(math.atan2(y - cy, x - cx))
        rel = (ang - a0) % 360.0
        if rel <= span:
            return abs(math.hypot(x - cx, y - cy) - r) - h
        return min(math.hypot(x - p0[0], y - p0[1]), math.hypot(x - p1[0], y - p1[1])) - h

    R = r + h
    return Shape(f, (cx - R, cy - R, cx + R, cy + R))


def halfplane(nx, ny, c, bb=(-1e4, -1e4, 1e4, 1e4)):
    """Inside where nx*x + ny*y < c (n must be a unit vector)."""
    return Shape(lambda x, y: nx * x + ny * y - c, bb)


def regular_polygon(cx, cy, r, n, rot=0.0):
    return polygon(
        [
            (cx + r * math.cos(math.radians(rot + 360.0 * k / n)),
             cy + r * math.sin(math.radians(rot + 360.0 * k / n)))
            for k in range(n)
        ]
    )


def cells_shape(cells, x0, y0, scale=1.0):
    """The union of the unit cells (column, row) of a pixel grid, e.g. bitmap-font glyphs."""
    cells = frozenset(cells)

    def f(x, y):
        u, v = (x - x0) / scale, (y - y0) / scale
        cu, cv = math.floor(u), math.floor(v)
        if (cu, cv) in cells:
            return -min(u - cu, cu + 1 - u, v - cv, cv + 1 - v) * scale
        best = 2.0
        for dv in (-2, -1, 0, 1, 2):
            for du in (-2, -1, 0, 1, 2):
                if (cu + du, cv + dv) in cells:
                    qx = max(cu + du - u, u - (cu + du + 1), 0.0)
                    qy = max(cv + dv - v, v - (cv + dv + 1), 0.0)
                    best = min(best, math.hypot(qx, qy))
        return best * scale

    us = [c for c, _ in cells]
    vs = [r for _, r in cells]
    return Shape(f, (x0 + min(us) * scale, y0 + min(vs) * scale,
                     x0 + (max(us) + 1) * scale, y0 + (max(vs) + 1) * scale))


# ---------------------------------------------------------------------------
# Paints
# ---------------------------------------------------------------------------


def hexc(s, a=1.0):
    s = s.lstrip("#")
    return (int(s[0:2], 16) / 255.0, int(s[2:4], 16) / 255.0, int(s[4:6], 16) / 255.0, a)


def mix(c0, c1, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def linear(x0, y0, c0, x1, y1, c1):
    if isinstance(c0, str):
        c0 = hexc(c0)
    if isinstance(c1, str):
        c1 = hexc(c1)
    dx, dy = x1 - x0, y1 - y0
    dd = dx * dx + dy * dy or 1e-12

    def paint(x, y):
        return mix(c0, c1, ((x - x0) * dx + (y - y0) * dy) / dd)

    return paint


def radial(cx, cy, r, c0, c1):
    if isinstance(c0, str):
        c0 = hexc(c0)
    if isinstance(c1, str):
        c1 = hexc(c1)

    def paint(x, y):
        return mix(c0, c1, math.hypot(x - cx, y - cy) / r)

    return paint


# ---------------------------------------------------------------------------
# Canvas
# ---------------------------------------------------------------------------


class Canvas:
    """w x h pixels; shapes and paints are given in units of 1/k pixel, so artwork drawn
    on the 16-unit grid renders sharp, from its shapes, at any size (k = size / 16)."""

    def __init__(self, w, h, k=1.0):
        self.w, self.h, self.k = w, h, k
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]  # premultiplied

    def _coverage(self, shape):
        """Yields (index, coverage, x_center, y_center) for covered pixels."""
        k = self.k
        if k == 1.0:
            f = shape.f
        else:
            g = shape.f

            def f(x, y):
                return g(x / k, y / k) * k
        x0, y0, x1, y1 = (v * k for v in shape.bb)
        i0 = max(int(math.floor(x0)) - 1, 0)
        j0 = max(int(math.floor(y0)) - 1, 0)
        i1 = min(int(math.ceil(x1)) + 1, self.w)
        j1 = min(int(math.ceil(y1)) + 1, self.h)
        offs = [(k + 0.5) / SS for k in range(SS)]
        n = float(SS * SS)
        for j in range(j0, j1):
            for i in range(i0, i1):
                cx, cy = i + 0.5, j + 0.5
                d = f(cx, cy)
                if d >= 0.75:
                    continue
                if d <= -0.75:
                    cov = 1.0
                else:
                    hits = 0
                    for oy in offs:
                        for ox in offs:
                            if f(i + ox, j + oy) < 0.0:
                                hits += 1
                    if not hits:
                        continue
                    cov = hits / n
                yield j * self.w + i, cov, cx / k, cy / k

    def fill(self, shape, paint, opacity=1.0):
        if isinstance(paint, str):
            paint = hexc(paint)
        const = paint if isinstance(paint, tuple) else None
        px = self.px
        for idx, cov, cx, cy in self._coverage(shape):
            r, g, b, a = const if const else paint(cx, cy)
            ea = a * cov * opacity
            p = px[idx]
            k = 1.0 - ea
            p[0] = r * ea + p[0] * k
            p[1] = g * ea + p[1] * k
            p[2] = b * ea + p[2] * k
            p[3] = ea + p[3] * k

    def erase(self, shape):
        px = self.px
        for idx, cov, _, _ in self._coverage(shape):
            k = 1.0 - cov
            p = px[idx]
            for c in range(4):
                p[c] *= k

    def outlined(self, shape, paint, line, width, inside=True):
        """Fill a shape with a darker edge line: inside the shape (default) or around it."""
        if inside:
            self.fill(shape, line)
            self.fill(shape.grow(-width), paint)
        else:
            self.fill(shape.grow(width), line)
            self.fill(shape, paint)

    def rgba8(self):
        """Straight (non-premultiplied) 8-bit RGBA, rows top to bottom."""
        out = bytearray()
        for r, g, b, a in self.px:
            a8 = int(round(min(max(a, 0.0), 1.0) * 255))
            if a8 == 0:
                out += b"\0\0\0\0"
                continue
            out += bytes(min(255, int(round(c / a * 255))) for c in (r, g, b))
            out.append(a8)
        return bytes(out)


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------


def dib_bytes(canvas):
    """32-bit BGRA DIB with doubled height and a 1-bit AND mask, bottom-up."""
    w, h = canvas.w, canvas.h
    rgba = canvas.rgba8()
    color = bytearray()
    mask = bytearray()
    stride = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        row = rgba[y * w * 4:(y + 1) * w * 4]
        bits = bytearray(stride)
        for x in range(w):
            r, g, b, a = row[x * 4:x * 4 + 4]
            color += bytes((b, g, r, a))
            if a == 0:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(color) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(color) + bytes(mask)


def ico_bytes(canvases):
    n = len(canvases)
    out = struct.pack("<HHH", 0, 1, n)
    offset = 6 + 16 * n
    blobs = []
    for c in canvases:
        blob = dib_bytes(c)
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


def png_bytes(w, h, rgba):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = b"".join(b"\0" + rgba[y * w * 4:(y + 1) * w * 4] for y in range(h))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# ---------------------------------------------------------------------------
# Palette
# ---------------------------------------------------------------------------

GREEN = ("#7ad66a", "#2f9a3a", "#1c5e24")  # top, bottom, edge line
RED = ("#ff7a6b", "#d2281f", "#7e1410")
BLUE = ("#7cb8f5", "#2c6cd0", "#173f86")
YELLOW = ("#ffe27a", "#f4b223", "#9a6608")
GREY = ("#a9b3bf", "#5d6876", "#2e353f")
HILITE = "#3d8ee8"


def vgrad(y0, y1, colors):
    return linear(0, y0, colors[0], 0, y1, colors[1])


def edge_width(s):
    return {16: 1.0, 32: 1.5, 48: 2.0}.get(s, s / 16.0)


# ---------------------------------------------------------------------------
# Shared motifs
# ---------------------------------------------------------------------------


CLOUD_BIG = ((0.8, 8.6, 15.2, 14.6, 3.0), ((5.0, 9.4, 3.4), (9.6, 7.6, 4.3), (13.0, 10.6, 2.6)))
CLOUD_16 = ((0.5, 9.0, 14.5, 15.0, 2.9), ((4.6, 9.8, 3.3), (8.6, 8.6, 3.7), (12.0, 11.0, 2.6)))


def cloud_shape(k, ox=0.0, oy=0.0, geo=CLOUD_BIG):
    """The cumulus of the application icon in a 16-unit box, scaled by k."""
    (bx0, by0, bx1, by1, br), puffs = geo
    shapes = [rrect(ox + bx0 * k, oy + by0 * k, ox + bx1 * k, oy + by1 * k, br * k)]
    shapes += [circle(ox + x * k, oy + y * k, r * k) for x, y, r in puffs]
    return union(*shapes)


def draw_cloud(c, k, ox=0.0, oy=0.0, edge=1.0, tint=("#ffffff", "#c9d4e2"), line="#6a7d96",
               geo=CLOUD_BIG):
    shape = cloud_shape(k, ox, oy, geo)
    y0, y1 = oy + 4.0 * k, oy + 14.6 * k
    c.outlined(shape, linear(0, y0, tint[0], 0, y1, tint[1]), line, edge)
    return shape


def draw_sun(c, cx, cy, r, edge, rays=0, ray_len=0.0, ray_w=0.0):
    if rays:
        tris = []
        for n in range(rays):
            a = math.radians(-90 + 360.0 * n / rays)
            ca, sa = math.cos(a), math.sin(a)
            r0, r1 = r + edge * 0.6, r + edge * 0.6 + ray_len
            tris.append(polygon([(cx + ca * r0 - sa * ray_w, cy + sa * r0 + ca * ray_w),
                                 (cx + ca * r1, cy + sa * r1),
                                 (cx + ca * r0 + sa * ray_w, cy + sa * r0 - ca * ray_w)]))
        c.fill(union(*tris), radial(cx, cy, r + ray_len, "#ffc21a", "#ff9d0a"))
    face = radial(cx - r * 0.35, cy - r * 0.35, r * 1.5, "#fff27a", "#ffb000")
    c.outlined(circle(cx, cy, r), face, "#c77800", edge)


def hover_highlight(s=16):
    """Drawn over a 16x16 toolbar icon while the mouse is on it: a soft blue rounded frame
    with a faint glow, the middle almost clear so the icon stays visible."""
    c = Canvas(s, s, s / 16.0)
    outer = rrect(0, 0, 16, 16, 3.0)
    inner = rrect(1, 1, 15, 15, 2.2)
    c.fill(inner, hexc("#d8ecff", 0.10))                     # faint tint of the inside
    c.fill(inner - rrect(2, 2, 14, 14, 1.5), hexc("#ffffff", 0.35))  # inner glow line
    c.fill(outer - inner, hexc(HILITE, 0.80))                # the frame
    return c


# ---------------------------------------------------------------------------
# Cumulon icons
# ---------------------------------------------------------------------------


def draw_weather(c, s, k=None, oy=0.0):
    """The application's motif: a cumulus in front of the sun, in a 16-unit box."""
    k = k or s / 16.0
    e = edge_width(s)
    if s >= 32:
        draw_sun(c, 10.8 * k, 5.3 * k, 3.5 * k, e, rays=8, ray_len=1.6 * k, ray_w=0.85 * k)
    else:
        draw_sun(c, 11.0 * k, 4.8 * k, 4.1 * k, e)
    draw_cloud(c, k, 0, oy, edge=e, geo=CLOUD_16)


def app_icon(s):
    c = Canvas(s, s)
    draw_weather(c, s)
    return c


def about_icon(s):
    c = Canvas(s, s)
    e = edge_width(s)
    draw_weather(c, s)
    if s >= 32:
        bx, by, br = 23.5, 23.5, 7.6
        c.erase(circle(bx, by, br + 1.6))
        c.outlined(circle(bx, by, br), radial(bx - 3, by - 4, 12, BLUE[0], BLUE[1]), BLUE[2], 1.2)
        c.fill(circle(bx, by - 3.6, 1.55), "#ffffff")
        c.fill(rrect(bx - 1.35, by - 1.0, bx + 1.35, by + 5.0, 0.5), "#ffffff")
    else:
        k = s / 16.0
        c.erase(circle(12 * k, 12 * k, 5.0 * k))
        c.outlined(circle(12 * k, 12 * k, 4.0 * k), radial(10.5 * k, 10 * k, 6 * k, BLUE[0], BLUE[1]),
                   BLUE[2], e)
        c.fill(rrect(11 * k, 9 * k, 13 * k, 10 * k), "#ffffff")
        c.fill(rrect(11 * k, 11 * k, 13 * k, 15 * k), "#ffffff")
    return c


def icon_update(s=16):
    c = Canvas(s, s, s / 16.0)
    cx, cy, r, w = 8.0, 8.0, 5.2, 1.5
    parts = []
    for a0, a1 in ((190.0, 305.0), (10.0, 125.0)):
        parts.append(arc(cx, cy, r, w, a0, a1))
        t = math.radians(a1)
        ux, uy = math.cos(t), math.sin(t)      # radial
        tx, ty = -uy, ux                       # clockwise tangent
        bx, by = cx + r * ux, cy + r * uy
        parts.append(polygon([(bx + ux * 2.4, by + uy * 2.4), (bx + tx * 2.8, by + ty * 2.8),
                              (bx - ux * 1.9, by - uy * 1.9)]))
    c.outlined(union(*parts), vgrad(2, 14, GREEN), GREEN[2], 0.8, inside=False)
    return c


def icon_edit(s=16):
    c = Canvas(s, s, s / 16.0)
    # Local frame: t along the pencil from its point (bottom left) to the eraser (top right).
    ax, ay = 1.6, 14.4
    ux, uy = math.sqrt(0.5), -math.sqrt(0.5)
    nx, ny = -uy, ux

    def P(t, n):
        return ax + ux * t + nx * n, ay + uy * t + ny * n

    h = 2.3
    lead = polygon([P(0, 0), P(1.9, -0.9), P(1.9, 0.9)])
    wood = polygon([P(0, 0), P(4.6, -h), P(4.6, h)])
    body = polygon([P(4.4, -h), P(13.4, -h), P(13.4, h), P(4.4, h)])
    stripe = polygon([P(4.4, -0.35), P(13.4, -0.35), P(13.4, 0.35), P(4.4, 0.35)])
    ferrule = polygon([P(13.2, -h), P(15.2, -h), P(15.2, h), P(13.2, h)])
    eraser = capsule(*P(15.6, 0), *P(16.3, 0), h) & halfplane(-ux, -uy, -(ax * ux + ay * uy) - 15.1)
    whole = union(wood, body, ferrule, eraser)
    c.fill(whole.grow(1.0), "#4a3208")
    c.fill(wood, "#f6d7a4")
    c.fill(lead, "#3a3a3a")
    c.fill(body, linear(*P(0, -h), "#ffd44d", *P(0, h), "#f08a00"))
    c.fill(stripe, hexc("#fff3b0", 0.55))
    c.fill(ferrule, linear(*P(0, -h), "#e4e8ee", *P(0, h), "#8a939f"))
    c.fill(eraser, linear(*P(0, -h), "#ffa3b5", *P(0, h), "#e0566f"))
    return c


def icon_delete(s=16):
    c = Canvas(s, s, s / 16.0)
    shape = capsule(4.4, 4.4, 11.6, 11.6, 1.6) | capsule(11.6, 4.4, 4.4, 11.6, 1.6)
    c.outlined(shape, vgrad(2, 14, RED), RED[2], 1.0, inside=False)
    return c


def icon_help(s=16):
    c = Canvas(s, s, s / 16.0)
    c.outlined(circle(8, 8, 7.5), radial(6, 5, 10, BLUE[0], BLUE[1]), BLUE[2], 1.0)
    hook_x = 8.0 + 2.15 * math.cos(math.radians(40))
    hook_y = 6.1 + 2.15 * math.sin(math.radians(40))
    q = arc(8.0, 6.1, 2.15, 1.9, 180.0, 400.0) | capsule(hook_x, hook_y, 8.0, 9.4, 0.95)
    c.fill(q, "#ffffff")
    c.fill(circle(8.0, 12.0, 1.15), "#ffffff")
    return c


def arrow_shape(up):
    pts = [(8, 1.0), (15.0, 8.0), (11.0, 8.0), (11.0, 15.0), (5.0, 15.0), (5.0, 8.0), (1.0, 8.0)]
    if not up:
        pts = [(x, 16 - y) for x, y in pts]
    return polygon(pts)


def icon_arrow(up, s=16):
    c = Canvas(s, s, s / 16.0)
    c.outlined(arrow_shape(up), vgrad(1, 15, BLUE), BLUE[2], 1.0)
    return c


def icon_index(s=16):
    c = Canvas(s, s, s / 16.0)
    # Tree lines.
    line = "#808a97"
    c.fill(rrect(3.5, 7, 4.5, 14), line)
    c.fill(rrect(3.5, 9, 7, 10), line)
    c.fill(rrect(3.5, 13, 7, 14), line)
    # Globe (the root of the tree).
    g = circle(4.0, 4.0, 3.6)
    c.outlined(g, radial(3, 2.6, 5.5, "#9ad8ff", "#2a77d6"), BLUE[2], 1.0)
    gi = g.grow(-1.0)
    c.fill((ellipse(4.0, 4.0, 1.3, 3.6) - ellipse(4.0, 4.0, 0.45, 2.8)) & gi, hexc("#ffffff", 0.75))
    c.fill(rrect(0, 3.5, 8, 4.5) & gi, hexc("#ffffff", 0.75))
    # Stations: small coloured dots with a line of text.
    for y, col in ((9.5, GREEN), (13.5, RED)):
        c.outlined(circle(8.8, y, 1.9), radial(8.2, y - 0.8, 2.8, col[0], col[1]), col[2], 0.9)
        c.fill(rrect(11.5, y - 0.75, 15.5, y + 0.75, 0.3), "#4b5563")
    c.fill(rrect(9.0, 2.5, 15.5, 4.0, 0.3), "#4b5563")
    c.fill(rrect(9.0, 5.5, 13.5, 7.0, 0.3), "#8c96a3")
    return c


def icon_add(s=16):
    c = Canvas(s, s, s / 16.0)
    shape = rrect(6.0, 1.0, 10.0, 15.0, 0.9) | rrect(1.0, 6.0, 15.0, 10.0, 0.9)
    c.outlined(shape, vgrad(1, 15, GREEN), GREEN[2], 1.0)
    return c


def icon_open(s=16):
    c = Canvas(s, s, s / 16.0)
    back = rrect(1.0, 2.0, 7.0, 5.0, 1.0) | rrect(1.0, 3.0, 14.0, 14.0, 1.0)
    c.outlined(back, vgrad(2, 14, ("#f3c34a", "#d18f12")), YELLOW[2], 1.0)
    c.fill(rrect(3.0, 5.0, 12.0, 9.0), "#ffffff")
    c.fill(rrect(4.0, 6.0, 10.0, 7.0), "#b5bec9")
    front = polygon([(4.0, 8.0), (16.0, 8.0), (13.4, 14.0), (1.0, 14.0), (1.0, 12.0)])
    c.outlined(front, vgrad(7.8, 14, YELLOW), YELLOW[2], 1.0)
    return c


def speaker_shape():
    return (rrect(1.0, 5.6, 5.0, 10.4, 0.6)
            | polygon([(3.6, 5.6), (8.6, 1.6), (8.6, 14.4), (3.6, 10.4)]))


def draw_speaker(c):
    c.outlined(speaker_shape(), linear(0, 2, "#9aa6b4", 0, 14, "#4c5664"), GREY[2], 1.0)


def icon_play(s=16):
    c = Canvas(s, s, s / 16.0)
    draw_speaker(c)
    waves = union(arc(8.2, 8.0, 3.0, 1.5, -50, 50), arc(8.2, 8.0, 5.8, 1.5, -55, 55))
    c.fill(waves, linear(0, 2, "#4a90e2", 0, 14, "#1f58b5"))
    return c


def icon_stop(s=16):
    c = Canvas(s, s, s / 16.0)
    c.outlined(regular_polygon(8, 8, 7.0 / math.cos(math.pi / 8), 8, 22.5), vgrad(1, 15, RED),
               RED[2], 1.0)
    c.fill(rrect(4.0, 7.0, 12.0, 9.0, 0.3), "#ffffff")
    return c


def about_picture():
    w, h = 128, 96
    c = Canvas(w, h)
    panel = rrect(0.5, 0.5, w - 0.5, h - 0.5, 9)
    c.fill(panel, "#3f74b4")
    inner = panel.grow(-1.0)
    c.fill(inner, linear(0, 0, "#3b8ee6", 0, 72, "#cde9ff"))
    # Sun with glow and rays.
    sx, sy = 40.0, 30.0
    def glow(x, y):
        return hexc("#fff6b0", 0.7 * max(0.0, 1 - math.hypot(x - sx, y - sy) / 27) ** 1.5)

    c.fill(circle(sx, sy, 27) & inner, glow)
    rays = []
    for n in range(12):
        a = math.radians(360.0 * n / 12 + 15)
        ca, sa = math.cos(a), math.sin(a)
        r0, r1, hw = 15.5, 23.5, 2.6
        rays.append(polygon([(sx + ca * r0 - sa * hw, sy + sa * r0 + ca * hw),
                             (sx + ca * r1, sy + sa * r1),
                             (sx + ca * r0 + sa * hw, sy + sa * r0 - ca * hw)]))
    c.fill(union(*rays) & inner, linear(0, 5, "#ffd43a", 0, 55, "#ff9f1a"))
    c.outlined(circle(sx, sy, 13), radial(sx - 5, sy - 5, 20, "#fff48a", "#ffae00"), "#d98a00", 1.5)
    # A small distant cloud at the upper right.
    far = union(rrect(88, 14, 118, 22, 4), circle(98, 14, 5.5), circle(107, 12.5, 6.5))
    c.outlined(far & inner, linear(0, 6, "#ffffff", 0, 22, "#d6e2f0"), hexc("#8aa2c0"), 1.0)
    # Hills.
    c.fill(circle(28, 150, 72) & inner, linear(0, 70, "#7cc95a", 0, 96, "#3f8f2e"))
    c.fill(circle(112, 160, 80) & inner, linear(0, 78, "#5fb548", 0, 96, "#2e7424"))
    c.fill((circle(28, 150, 72) - circle(28, 150, 71)) & inner, hexc("#2f6e22", 0.6))
    # The big cumulus in front.
    cloud = union(rrect(36, 46, 122, 70, 12), circle(56, 48, 13), circle(78, 38, 19),
                  circle(101, 46, 14), circle(113, 57, 10))
    c.fill(cloud.grow(1.0) & inner, "#6d84a3")
    c.fill(cloud & inner, linear(0, 22, "#ffffff", 0, 70, "#c5d3e4"))
    # Soft shading under the puffs.
    c.fill((cloud - circle(74, 30, 24) - circle(52, 40, 13) - circle(98, 38, 14)) & inner,
           hexc("#b3c4da", 0.5))
    # Two birds.
    for bx, by, s in ((16, 59, 1.3), (28, 66, 1.0)):
        c.fill(arc(bx - 2.6 * s, by + 2.4 * s, 2.8 * s, 1.3 * s, 215, 330)
               | arc(bx + 2.6 * s, by + 2.4 * s, 2.8 * s, 1.3 * s, 210, 325), "#2b4566")
    return c


FONT = {
    "P": ["######.", "##...##", "##...##", "##...##", "######.", "##.....", "##.....", "##.....",
          "##....."],
    "N": ["##....##", "###...##", "####..##", "####..##", "##.##.##", "##..####", "##..####",
          "##...###", "##....##"],
    "a": [".####.", "....##", ".#####", "##..##", "##..##", "##.###", ".##.##"],
    "o": [".####.", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."],
    "y": ["##..##", "##..##", "##..##", "##..##", "##..##", "##.###", ".##.##", "....##", "##..##",
          ".####."],
    "w": ["##......##", "##......##", "##..##..##", "##..##..##", "##.####.##", "####..####",
          ".##....##."],
}
CAP, XH = 9, 7


def text_shape(text, x, y_cap):
    """The text in the bitmap font, x the left edge, y_cap the top of the capitals."""
    cells = set()
    for ch in text:
        if ch == " ":
            x += 3
            continue
        rows = FONT[ch]
        top = y_cap + (CAP - XH if ch.islower() else 0)
        cells |= {(x + c, top + r) for r, line in enumerate(rows)
                  for c, bit in enumerate(line) if bit == "#"}
        x += len(rows[0]) + 1
    return cells_shape(cells, 0, 0)


def text_width(text):
    return sum(3 if ch == " " else len(FONT[ch][0]) + 1 for ch in text) - 1


def paynow_picture():
    w, h = 86, 21
    c = Canvas(w, h)
    btn = rrect(0, 0, w, h, 6)
    c.fill(btn, "#c98a12")
    c.fill(btn.grow(-1.0), linear(0, 1, "#ffe79a", 0, 20, "#f6a623"))
    c.fill(rrect(2, 1.6, w - 2, 10.5, 4.5), hexc("#ffffff", 0.35))
    label = "Pay Now"
    tx = (w - text_width(label)) // 2
    c.fill(text_shape(label, tx, 7), hexc("#ffffff", 0.45))
    c.fill(text_shape(label, tx, 6), "#16306a")
    return c


# ---------------------------------------------------------------------------
# Ticker icons
# ---------------------------------------------------------------------------


def bell_shape(k, ox=0.0, oy=0.0):
    def P(x, y):
        return ox + x * k, oy + y * k

    dome = circle(*P(8.0, 6.6), 4.6 * k) & halfplane(0, 1, oy + 9.0 * k)
    skirt = polygon([P(3.4, 6.5), P(12.6, 6.5), P(13.6, 11.2), P(14.9, 12.4), P(1.1, 12.4),
                     P(2.4, 11.2)])
    rim = rrect(*P(0.9, 11.3), *P(15.1, 13.4), 1.0 * k)
    knob = circle(*P(8.0, 1.9), 1.3 * k)
    return union(dome, skirt, rim, knob), circle(*P(8.0, 14.0), 1.7 * k)


def ticker_app_icon(s):
    c = Canvas(s, s)
    u = s / 16.0
    e = edge_width(s)
    if s >= 32:
        k = u * 0.84
        ox, oy = (s - 16 * k) / 2, 1.6 * u
        wx, wy = 8.0 * u, oy + 6.6 * k   # the waves radiate from the dome's centre
        for r in (5.4, 7.0):
            waves = (arc(wx, wy, r * u, 0.8 * u, -70, -30) | arc(wx, wy, r * u, 0.8 * u, 210, 250))
            c.fill(waves, "#d83a1c")
    else:
        k, ox, oy = u, 0.0, 0.0
    bell, clapper = bell_shape(k, ox, oy)
    c.outlined(clapper, "#d98c00", "#6e2a00", e * 0.8)
    c.outlined(bell, linear(0, oy + 1 * k, "#ffcf4a", 0, oy + 13 * k, "#e8401c"), "#7a1f06", e)
    c.fill(rrect(ox + 5.0 * k, oy + 4.0 * k, ox + 6.4 * k, oy + 10.5 * k, 0.7 * k),
           hexc("#ffffff", 0.3))
    return c


def icon_skip(s=16):
    c = Canvas(s, s, s / 16.0)
    shape = union(polygon([(1.0, 3.0), (7.4, 8.0), (1.0, 13.0)]),
                  polygon([(6.4, 3.0), (12.8, 8.0), (6.4, 13.0)]),
                  rrect(12.2, 3.0, 15.0, 13.0, 0.6))
    c.outlined(shape, vgrad(3, 13, BLUE), BLUE[2], 1.0)
    return c


def icon_exit(s=16):
    c = Canvas(s, s, s / 16.0)
    c.outlined(circle(8, 8, 7.5), radial(6, 5, 11, RED[0], RED[1]), RED[2], 1.0)
    x = capsule(5.2, 5.2, 10.8, 10.8, 1.1) | capsule(10.8, 5.2, 5.2, 10.8, 1.1)
    c.fill(x, "#ffffff")
    return c


def icon_mute(s=16):
    c = Canvas(s, s, s / 16.0)
    draw_speaker(c)
    waves = union(arc(8.2, 8.0, 3.0, 1.5, -50, 50), arc(8.2, 8.0, 5.8, 1.5, -55, 55))
    c.fill(waves, linear(0, 2, "#4a90e2", 0, 14, "#1f58b5"))
    slash = capsule(2.2, 2.2, 13.8, 13.8, 0.85)
    c.erase(slash.grow(1.5))
    c.outlined(slash, vgrad(2, 14, RED), RED[2], 0.7, inside=False)
    return c


# ---------------------------------------------------------------------------
# Catalogue and main
# ---------------------------------------------------------------------------


# The sizes of every icon the screen shows: 16 at 96 DPI, 20 at 120, 24 at 144,
# 32 at 192, and 48 for the large window icon at 144 DPI.
SIZES = (16, 20, 24, 32, 48)


def sized(draw, first):
    """Every size of an icon, the one shown at "actual size" first: a load at size 0 (as
    an SS_REALSIZEIMAGE static does) takes the first image, so a toolbar icon shows at
    16x16 and icon 101 at 32x32 on the main window; the program loads the other sizes
    for denser screens."""
    return [draw(first)] + [draw(s) for s in SIZES if s != first]


def catalogue():
    """[(folder, resource number, [canvas, ...])] in a fixed order."""
    return [
        (CUMULON_DIR, 100, sized(app_icon, 48)),
        (CUMULON_DIR, 101, sized(about_icon, 32)),
        (CUMULON_DIR, 102, sized(icon_update, 16)),
        (CUMULON_DIR, 103, sized(icon_edit, 16)),
        (CUMULON_DIR, 104, sized(icon_delete, 16)),
        (CUMULON_DIR, 105, sized(icon_help, 16)),
        (CUMULON_DIR, 106, sized(lambda s: icon_arrow(True, s), 16)),
        (CUMULON_DIR, 107, sized(lambda s: icon_arrow(False, s), 16)),
        (CUMULON_DIR, 108, sized(icon_index, 16)),
        (CUMULON_DIR, 109, sized(hover_highlight, 16)),
        (CUMULON_DIR, 110, sized(icon_add, 16)),
        (CUMULON_DIR, 111, sized(icon_open, 16)),
        (CUMULON_DIR, 112, sized(icon_play, 16)),
        (CUMULON_DIR, 113, [about_picture()]),
        (CUMULON_DIR, 114, sized(icon_stop, 16)),
        (CUMULON_DIR, 115, [paynow_picture()]),
        (TICKER_DIR, 100, sized(ticker_app_icon, 48)),
        (TICKER_DIR, 101, sized(icon_skip, 16)),
        (TICKER_DIR, 102, sized(icon_exit, 16)),
        (TICKER_DIR, 103, sized(icon_mute, 16)),
        (TICKER_DIR, 104, sized(hover_highlight, 16)),
    ]


def render_files():
    """{path: bytes} of every icon file."""
    return {os.path.join(folder, "icon%d.ico" % num): ico_bytes(images)
            for folder, num, images in catalogue()}


# --- previews -------------------------------------------------------------


class Sheet:
    """An opaque RGB image for previews."""

    def __init__(self, w, h, bg=(240, 240, 240)):
        self.w, self.h = w, h
        self.px = bytearray(bytes(bg) * (w * h))

    def rect(self, x, y, w, h, col):
        for yy in range(max(y, 0), min(y + h, self.h)):
            for xx in range(max(x, 0), min(x + w, self.w)):
                o = (yy * self.w + xx) * 3
                self.px[o:o + 3] = bytes(col)

    def blit(self, canvas, x, y, scale=1):
        rgba = canvas.rgba8()
        for j in range(canvas.h):
            for i in range(canvas.w):
                o = (j * canvas.w + i) * 4
                r, g, b, a = rgba[o:o + 4]
                if not a:
                    continue
                for yy in range(y + j * scale, y + (j + 1) * scale):
                    for xx in range(x + i * scale, x + (i + 1) * scale):
                        if 0 <= xx < self.w and 0 <= yy < self.h:
                            p = (yy * self.w + xx) * 3
                            for c, v in enumerate((r, g, b)):
                                self.px[p + c] = (v * a + self.px[p + c] * (255 - a) + 127) // 255

    def png(self):
        rgba = bytearray()
        for o in range(0, len(self.px), 3):
            rgba += self.px[o:o + 3] + b"\xff"
        return png_bytes(self.w, self.h, bytes(rgba))


def write_previews(folder):
    os.makedirs(folder, exist_ok=True)
    cat = catalogue()
    hover = hover_highlight()
    # One sheet per program: each image at 8x (large pictures at 4x) over button face,
    # then the same at 1x, on a light and a dark background.
    for name, base in (("cumulon", CUMULON_DIR), ("ticker", TICKER_DIR)):
        items = [(num, imgs) for folder, num, imgs in cat if folder == base]
        small = [(num, im) for num, imgs in items for im in imgs if im.w <= 48]
        big = [(num, im) for num, imgs in items for im in imgs if im.w > 48]
        cols = 6
        cell = 48 * 4 + 16
        rows = (len(small) + cols - 1) // cols
        H = rows * (cell + 80) + sum(im.h * 4 + 20 for _, im in big) + 20
        sh = Sheet(cols * cell + 20, H)
        for n, (num, im) in enumerate(small):
            sc = 8 if im.w <= 16 else 4 if im.w <= 32 else 4
            x = 10 + (n % cols) * cell
            y = 10 + (n // cols) * (cell + 80)
            sh.blit(im, x, y, sc)
            sh.blit(im, x, y + im.h * sc + 8, 1)
            sh.rect(x + 60, y + im.h * sc + 4, im.w + 8, im.h + 8, (40, 44, 52))
            sh.blit(im, x + 64, y + im.h * sc + 8, 1)
            sh.rect(x + 120, y + im.h * sc + 4, im.w + 8, im.h + 8, (212, 208, 200))
            sh.blit(im, x + 124, y + im.h * sc + 8, 1)
        y = 10 + rows * (cell + 80)
        for num, im in big:
            sh.blit(im, 10, y, 4)
            sh.blit(im, 10 + im.w * 4 + 20, y, 1)
            y += im.h * 4 + 20
        with open(os.path.join(folder, name + ".png"), "wb") as f:
            f.write(sh.png())
    # A toolbar strip, as the pages show it: 1x and 4x, the hover highlight over "edit".
    order = [102, 110, 108, 103, 104, 106, 107, 105, 114, 111, 112]
    imgs = {num: imgs[0] for folder, num, imgs in cat if folder == CUMULON_DIR}
    tick = {num: imgs[0] for folder, num, imgs in cat if folder == TICKER_DIR}
    strip = [imgs[n] for n in order] + [tick[101], tick[103], tick[102]]
    sh = Sheet(len(strip) * 22 * 4 + 20, 16 * 4 * 2 + 80)
    for sc, y in ((1, 10), (4, 40)):
        for n, im in enumerate(strip):
            x = 10 + n * 22 * sc
            sh.blit(im, x, y, sc)
            if n == 3:
                sh.blit(hover, x, y, sc)
    for n, im in enumerate(strip):
        sh.blit(im, 10 + n * 22, 120, 1)
        sh.blit(hover, 10 + n * 22, 120, 1)
    with open(os.path.join(folder, "toolbar.png"), "wb") as f:
        f.write(sh.png())
    # Every image alone, enlarged 12x (large pictures 4x).
    for folder_, num, images in cat:
        prog = "t" if folder_ == TICKER_DIR else "c"
        for im in images:
            sc = 12 if im.w <= 16 else 6 if im.w <= 48 else 4
            sh = Sheet(im.w * sc, im.h * sc)
            sh.blit(im, 0, 0, sc)
            with open(os.path.join(folder, "%s%d_%dx%d.png" % (prog, num, im.w, im.h)), "wb") as f:
                f.write(sh.png())


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--preview", metavar="DIR", help="also write enlarged PNG previews into DIR")
    args = ap.parse_args(argv)
    for path, data in render_files().items():
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    if args.preview:
        write_previews(args.preview)
    return 0


if __name__ == "__main__":
    sys.exit(main())
