"""Land, water and terrain for the sample pictures and forecasts.

There is no map data on the machine, but the census places, ZIP centroids and
weather stations are dense wherever people live: a grid cell holding one of
them is land.  Grown by a few cells (more around the sparse foreign stations)
and with small holes closed, that mask draws recognisable coastlines, the Great
Lakes and the Gulf.  Heights come from a coarse model of the main mountain
ranges and plateaus of North America, roughened by noise.
"""

import math
import operator

from . import noise
from .raster import polygon_spans

CELL = 0.1                 # degrees per mask cell
LAT_SOUTH, LAT_NORTH = -20.0, 75.0
LON_WEST = -180.0
COLUMNS = int(360 / CELL)
ROWS = int((LAT_NORTH - LAT_SOUTH) / CELL)


def _dilate_rows(rows, radius):
    """Grows the set bits of a bitmask (one int per row) by 'radius' cells."""
    if radius <= 0:
        return rows
    full = (1 << COLUMNS) - 1
    grown = []
    for row in rows:
        wide = row
        for step in range(1, radius + 1):
            wide |= (row << step) | (row >> step)
        grown.append(wide & full)
    out = []
    for r in range(len(grown)):
        value = 0
        for s in range(max(0, r - radius), min(len(grown), r + radius + 1)):
            value |= grown[s]
        out.append(value)
    return out


def _erode_rows(rows, radius):
    full = (1 << COLUMNS) - 1
    inverted = [~row & full for row in rows]
    return [~row & full for row in _dilate_rows(inverted, radius)]


# Coarse outlines of land the census and the few foreign stations cannot
# draw well: southern Canada and Newfoundland, Mexico and Central America, the
# Greater Antilles and the north of South America.  (latitude, longitude) points.
LAND_OUTLINES = [
    [(48.3, -124.6), (50.8, -128.4), (54.6, -130.5), (56.0, -130.0), (59.5, -135.5),
     (60.0, -141.0), (69.6, -141.0), (69.0, -135.0), (68.5, -125.0), (67.8, -115.0),
     (68.5, -105.0), (67.5, -97.0), (64.0, -88.0), (61.0, -94.0), (58.8, -94.2),
     (57.0, -92.0), (55.3, -85.0), (52.0, -80.5), (54.5, -79.5), (58.5, -78.0),
     (62.5, -77.5), (60.5, -69.5), (58.5, -68.0), (60.3, -64.5), (55.5, -60.0),
     (52.0, -55.7), (50.2, -59.0), (50.2, -66.5), (49.2, -68.2), (47.0, -70.9),
     (48.8, -64.5), (47.0, -65.0), (46.0, -64.0), (45.3, -61.0), (43.5, -65.7),
     (44.7, -66.9), (45.2, -67.2), (47.3, -68.3), (45.0, -71.5), (45.0, -74.7),
     (43.6, -76.2), (43.2, -79.1), (42.3, -83.1), (43.0, -82.4), (46.5, -84.4),
     (48.0, -89.5), (49.0, -95.2), (49.0, -123.1)],
    [(46.7, -53.1), (47.6, -52.7), (49.5, -53.5), (51.6, -55.5), (49.5, -58.5),
     (47.6, -59.3), (47.0, -55.5)],
    [(69.6, -141.0), (70.2, -148.0), (71.3, -156.8), (70.0, -162.0), (68.9, -166.2),
     (67.0, -164.0), (66.9, -162.6), (66.0, -164.5), (65.6, -168.0), (64.5, -165.4),
     (64.4, -161.0), (63.5, -162.0), (62.0, -165.0), (61.0, -165.3), (59.8, -162.0),
     (58.7, -158.5), (57.8, -157.5), (55.5, -161.5), (54.8, -163.5), (55.8, -158.5),
     (57.5, -155.0), (58.6, -153.5), (59.5, -151.5), (60.5, -151.3), (61.2, -149.9),
     (60.3, -148.5), (60.5, -145.8), (60.0, -142.0), (59.5, -139.7), (58.3, -136.5),
     (57.0, -135.5), (56.0, -134.5), (55.0, -132.0), (54.7, -130.6), (56.0, -130.0),
     (59.5, -135.5), (60.3, -141.0)],
    [(32.6, -117.1), (31.8, -116.6), (30.0, -115.8), (28.0, -114.2), (26.7, -113.3),
     (24.8, -112.1), (22.9, -109.9), (24.1, -110.3), (26.0, -111.3), (27.3, -112.3),
     (29.0, -113.6), (31.0, -114.8), (31.7, -114.7), (31.3, -113.5), (27.9, -110.9),
     (25.6, -109.0), (23.2, -106.4), (21.5, -105.3), (20.6, -105.3), (19.1, -104.3),
     (17.9, -102.2), (16.8, -99.9), (15.9, -97.1), (16.2, -95.2), (14.7, -92.4),
     (13.9, -90.8), (13.3, -88.5), (12.0, -86.8), (10.5, -85.7), (9.6, -84.7),
     (8.4, -83.1), (7.5, -80.5), (8.9, -79.5), (7.8, -77.3), (9.4, -79.9),
     (9.3, -82.2), (10.0, -83.0), (11.5, -83.7), (13.0, -83.5), (15.0, -83.2),
     (15.9, -85.9), (15.7, -88.0), (17.5, -88.2), (18.5, -88.3), (20.2, -87.4),
     (21.2, -86.8), (21.5, -87.5), (21.3, -89.7), (19.8, -90.5), (18.6, -91.8),
     (18.4, -93.3), (18.2, -94.4), (19.2, -96.1), (22.3, -97.8), (25.0, -97.5),
     (25.9, -97.2), (26.4, -99.0), (29.4, -101.0), (29.8, -104.5), (31.8, -106.5),
     (31.3, -108.2), (31.3, -111.0), (32.5, -114.8)],
    [(23.1, -82.4), (23.2, -80.9), (22.4, -78.3), (21.2, -76.1), (20.2, -74.1),
     (19.9, -75.2), (19.9, -77.6), (20.7, -78.0), (21.6, -78.9), (22.0, -80.4),
     (22.1, -81.8), (21.8, -82.9), (21.9, -84.9), (22.7, -84.0)],
    [(19.9, -72.8), (19.7, -70.0), (19.3, -69.2), (18.5, -68.4), (18.2, -69.9),
     (18.2, -71.2), (18.0, -72.8), (18.2, -74.4), (18.6, -74.3), (18.6, -72.7),
     (19.7, -73.4)],
    [(18.5, -78.3), (18.5, -76.4), (17.9, -76.2), (17.9, -77.8)],
    [(7.8, -77.3), (8.6, -76.8), (10.4, -75.5), (11.2, -74.2), (11.6, -72.9),
     (12.4, -71.7), (11.0, -71.6), (11.7, -70.2), (10.5, -68.0), (10.6, -66.9),
     (10.6, -64.2), (10.7, -61.9), (8.6, -60.5), (6.8, -58.2), (5.9, -55.2),
     (4.9, -52.3), (2.0, -50.0), (0.0, -50.0), (-2.5, -44.0), (-5.0, -35.0),
     (-20.0, -40.0), (-20.0, -70.2), (-5.0, -81.2), (0.0, -80.2), (1.5, -79.0),
     (4.0, -77.5), (7.0, -77.9)],
]
# Water that the outlines, the sparse stations or the filling of gaps between
# towns would otherwise cover: Hudson Bay, the Great Lakes, the Gulf of
# California, Lake Okeechobee and the Great Salt Lake.
WATER_OUTLINES = [
    [(27.2, -80.85), (27.05, -80.65), (26.75, -80.65), (26.7, -80.85), (26.85, -81.0),
     (27.05, -81.0)],
    [(41.65, -112.65), (41.45, -112.2), (41.1, -112.05), (40.85, -112.25), (40.95, -112.8),
     (41.35, -112.95)],
    [(41.7, -87.45), (42.0, -87.55), (42.5, -87.7), (43.0, -87.8), (43.5, -87.62),
     (44.0, -87.5), (44.5, -87.4), (45.0, -87.05), (45.4, -86.8), (45.75, -86.4),
     (45.9, -85.9), (45.95, -85.0), (45.75, -84.85), (45.35, -85.2), (44.9, -85.7),
     (44.5, -86.15), (44.0, -86.4), (43.5, -86.35), (43.0, -86.15), (42.5, -86.2),
     (42.0, -86.45), (41.75, -86.85)],
    [(58.8, -94.2), (61.0, -94.0), (63.5, -91.0), (64.0, -86.5), (63.0, -80.5),
     (62.5, -78.0), (58.5, -77.5), (55.3, -77.5), (52.0, -79.5), (51.5, -80.5),
     (55.3, -85.0), (57.0, -92.0)],
    [(46.6, -92.1), (47.7, -90.2), (48.4, -89.2), (48.8, -87.7), (48.6, -86.4),
     (48.0, -84.9), (47.3, -84.7), (46.5, -84.4), (46.7, -85.5), (46.5, -86.6),
     (46.6, -87.4), (47.4, -88.0), (46.9, -88.5), (46.75, -89.6), (46.6, -90.8)],
    [(46.0, -84.0), (45.8, -84.7), (45.3, -83.4), (44.0, -83.4), (43.6, -83.9),
     (44.0, -82.8), (43.0, -82.4), (43.75, -81.7), (44.7, -81.3), (45.2, -81.6),
     (45.0, -80.0), (44.5, -80.1), (45.9, -80.6), (46.0, -81.6), (46.2, -83.0)],
    [(43.2, -79.8), (43.65, -79.4), (43.95, -78.0), (44.2, -76.5), (43.5, -76.2),
     (43.3, -77.6), (43.26, -79.0)],
    [(41.7, -83.4), (42.0, -83.0), (42.6, -81.2), (42.85, -79.0), (42.5, -79.5),
     (42.1, -80.1), (41.5, -81.7), (41.45, -82.7)],
    [(31.5, -114.7), (29.0, -112.8), (27.0, -111.2), (24.3, -109.8), (23.3, -109.2),
     (23.0, -106.9), (25.6, -109.2), (27.9, -110.8), (29.9, -112.6), (31.3, -113.8)],
]


def _outline_rows(outlines):
    """Bitmask rows of the cells inside any of the outlines."""
    rows = [0] * ROWS
    for outline in outlines:
        points = [((lon - LON_WEST) / CELL, (lat - LAT_SOUTH) / CELL) for lat, lon in outline]
        for y, start, end in polygon_spans(points, ROWS):
            start, end = max(0, start), min(COLUMNS, end)
            if end > start:
                rows[y] |= ((1 << (end - start)) - 1) << start
    return rows


# The lower 48 states: water inside this box that does not reach its edge is a
# gap between sparse towns (the deserts of the West), not a lake.
INTERIOR = (25.0, 49.0, -125.0, -66.0)


def _fill_holes(rows, box):
    """Turns water cells inside 'box' that are not connected to its edge into land."""
    south, north, west, east = box
    r0, c0 = LandMask._cell(south, west)
    r1, c1 = LandMask._cell(north, east)
    height, width = r1 - r0 + 1, c1 - c0 + 1
    water = bytearray(height * width)
    for r in range(height):
        bits = rows[r0 + r] >> c0
        for c in range(width):
            if not bits >> c & 1:
                water[r * width + c] = 1
    reached = bytearray(height * width)
    stack = [i for i in range(height * width)
             if water[i] and (i < width or i >= (height - 1) * width
                              or i % width in (0, width - 1))]
    for i in stack:
        reached[i] = 1
    while stack:
        i = stack.pop()
        r, c = divmod(i, width)
        for j in ((i - width) if r else -1, (i + width) if r < height - 1 else -1,
                  (i - 1) if c else -1, (i + 1) if c < width - 1 else -1):
            if j >= 0 and water[j] and not reached[j]:
                reached[j] = 1
                stack.append(j)
    for r in range(height):
        fill = 0
        base = r * width
        for c in range(width):
            if water[base + c] and not reached[base + c]:
                fill |= 1 << c
        rows[r0 + r] |= fill << c0


def _bit(rows, r, c):
    return 0 <= r < ROWS and rows[r] >> c & 1


def _point_rows(points):
    rows = [0] * ROWS
    for lat, lon in points:
        r, c = LandMask._cell(lat, lon)
        if 0 <= r < ROWS:
            rows[r] |= 1 << c
    return rows


class LandMask:
    """A 0.1 degree land/water grid over the Americas and the Pacific.

    'dense_points' (towns, ZIP centroids) decide alone near themselves; farther
    away the 'sparse_points' (foreign stations) are grown into rough land, the
    outlines add what neither covers and cut the big lakes back out.
    """

    def __init__(self, dense_points, sparse_points):
        full = (1 << COLUMNS) - 1
        dense = _dilate_rows(_point_rows(dense_points), 1)
        dense = _erode_rows(_dilate_rows(dense, 3), 3)
        outlines = _outline_rows(LAND_OUTLINES)
        # Stations inside an outline add nothing: the outline already says land.
        sparse_points = [(lat, lon) for lat, lon in sparse_points
                         if not _bit(outlines, *LandMask._cell(lat, lon))]
        sparse = _dilate_rows(_point_rows(sparse_points), 3)
        sparse = _erode_rows(_dilate_rows(sparse, 3), 3)
        water = _outline_rows(WATER_OUTLINES)
        land = [d | s | o for d, s, o in zip(dense, sparse, outlines)]
        _fill_holes(land, INTERIOR)
        land = [row & ~w & full for row, w in zip(land, water)]
        self.rows = [row.to_bytes(COLUMNS // 8 + 1, "little") for row in land]

    @staticmethod
    def _cell(lat, lon):
        r = int((lat - LAT_SOUTH) / CELL)
        c = int(((lon - LON_WEST) % 360.0) / CELL) % COLUMNS
        return r, c

    def is_land(self, lat, lon):
        r, c = self._cell(lat, lon)
        if not 0 <= r < ROWS:
            return False
        return bool(self.rows[r][c >> 3] >> (c & 7) & 1)

    def sample(self, view):
        """Rows of 0 (water) / 1 (land) bytes for every pixel of 'view'."""
        cols = [self._cell(0.0, lon)[1] for lon in view.lons()]
        byte_of = operator.itemgetter(*[c >> 3 for c in cols])
        shifts = [c & 7 for c in cols]
        out = []
        for lat in view.lats():
            r = self._cell(lat, 0.0)[0]
            if not 0 <= r < ROWS:
                out.append(bytes(len(cols)))
                continue
            row_bytes = byte_of(self.rows[r])
            out.append(bytes((b >> s) & 1 for b, s in zip(row_bytes, shifts)))
        return out


def sample_smooth(mask, view):
    """Like LandMask.sample, but with coastlines smoothed and roughened for close
    views, where one mask cell spans many pixels."""
    lats, lons = view.lats(), view.lons()
    fcols = [((lon - LON_WEST) % 360.0) / CELL - 0.5 for lon in lons]
    c0s = [int(math.floor(f)) % COLUMNS for f in fcols]
    c1s = [(c + 1) % COLUMNS for c in c0s]
    wcs = [f - math.floor(f) for f in fcols]
    jitter = noise.value_grid([lon * 14.0 for lon in lons], [lat * 14.0 for lat in lats], 606)
    out = []
    for lat, jrow in zip(lats, jitter):
        fr = (lat - LAT_SOUTH) / CELL - 0.5
        r0 = int(math.floor(fr))
        wr = fr - r0
        if not 0 <= r0 < ROWS - 1:
            out.append(bytes(len(lons)))
            continue
        a, b = mask.rows[r0], mask.rows[r0 + 1]
        row = bytearray()
        for c0, c1, wc, j in zip(c0s, c1s, wcs, jrow):
            top = (a[c0 >> 3] >> (c0 & 7) & 1) * (1 - wc) + (a[c1 >> 3] >> (c1 & 7) & 1) * wc
            bottom = (b[c0 >> 3] >> (c0 & 7) & 1) * (1 - wc) + (b[c1 >> 3] >> (c1 & 7) & 1) * wc
            row.append(1 if top + (bottom - top) * wr + (j - 0.5) * 0.5 > 0.5 else 0)
        out.append(bytes(row))
    return out


class View:
    """A picture of 'width' x 'height' pixels over a latitude/longitude box."""

    def __init__(self, north, south, west, east, width, height):
        self.north, self.south, self.west, self.east = north, south, west, east
        self.width, self.height = width, height

    @classmethod
    def around(cls, lat, lon, degrees_tall, width, height):
        """A view centred on a point, square in kilometres at its latitude."""
        tall = degrees_tall
        wide = tall * width / height / max(0.2, math.cos(math.radians(lat)))
        return cls(lat + tall / 2, lat - tall / 2, lon - wide / 2, lon + wide / 2, width, height)

    def lats(self):
        step = (self.north - self.south) / self.height
        return [self.north - (y + 0.5) * step for y in range(self.height)]

    def lons(self):
        step = (self.east - self.west) / self.width
        return [self.west + (x + 0.5) * step for x in range(self.width)]

    def to_pixel(self, lat, lon):
        x = (lon - self.west) / (self.east - self.west) * self.width
        y = (self.north - lat) / (self.north - self.south) * self.height
        return x, y

    def contains(self, lat, lon, margin=0.0):
        return (self.south - margin <= lat <= self.north + margin
                and self.west - margin <= lon <= self.east + margin)

    def scaled(self, factor):
        """The same box at 1/factor of the pixels (for computing coarse fields)."""
        return View(self.north, self.south, self.west, self.east,
                    max(1, self.width // factor), max(1, self.height // factor))


# Mountain ranges: (crest height in feet, half width in degrees, crest line).
RANGES = [
    (9500, 1.6, [(60, -129), (55, -123), (50, -116), (47, -113), (44.5, -110.5),
                 (41.5, -107), (39.5, -106), (37.5, -105.7), (35.5, -105.8), (33, -105.7)]),
    (8500, 0.5, [(40.5, -121.3), (39, -120.2), (37.5, -119.2), (36, -118.3), (35.3, -118.3)]),
    (6500, 0.55, [(49.5, -121.2), (47, -121.6), (44.5, -121.8), (42, -122.2), (40.6, -121.5)]),
    (2600, 0.4, [(48, -123.6), (45, -123.6), (42, -123.8), (39, -123), (37, -122),
                 (35, -120.6), (34.3, -118.6), (33.3, -116.6), (32.5, -116.3)]),
    (7000, 1.0, [(44.5, -116), (43, -113), (40.5, -111.6), (38.5, -111.8), (37.2, -113)]),
    (3200, 1.1, [(33.8, -86.2), (35.5, -83.6), (37.4, -80.8), (39.3, -79.3), (41, -77.3),
                 (42.3, -75), (44, -73), (45, -71), (46, -69)]),
    (1500, 1.4, [(37.4, -93.5), (36.2, -92.5), (35.5, -94)]),
    (9000, 0.8, [(63.8, -153), (63.2, -149), (62.7, -145), (62, -141)]),
    (5500, 0.9, [(68, -162), (68.3, -153), (68.5, -145)]),
    (7500, 1.3, [(31.5, -108.5), (27, -106.5), (23, -104.5), (20, -103)]),
    (6500, 0.9, [(29.5, -101.6), (25.5, -100.2), (21.5, -99), (19, -97.5)]),
    (13000, 0.25, [(19.82, -155.47), (19.48, -155.6)]),
    (9000, 0.15, [(20.71, -156.25), (20.72, -156.26)]),
    (4000, 0.12, [(22.07, -159.5), (22.07, -159.49)]),
]
# Plateaus: (height in feet, south, north, west, east, soft edge in degrees).
PLATEAUS = [
    (5200, 36.5, 43.5, -119.5, -111.5, 1.5),
    (6000, 34.5, 39.5, -112.5, -107.5, 1.2),
    (5500, 21, 31, -106, -99.5, 1.5),
    (2000, 48, 60, -120, -105, 3),
]


def _segment_distance(lat, lon, a, b):
    """Distance in degrees (longitude scaled) from a point to a crest segment."""
    scale = math.cos(math.radians(lat))
    ax, ay = a[1] * scale, a[0]
    bx, by = b[1] * scale, b[0]
    px, py = lon * scale, lat
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


_SEGMENTS = []
for _height, _width, _line in RANGES:
    for _a, _b in zip(_line, _line[1:]):
        _SEGMENTS.append((_height, _width, _a, _b,
                          min(_a[0], _b[0]) - 3 * _width, max(_a[0], _b[0]) + 3 * _width,
                          min(_a[1], _b[1]) - 4 * _width, max(_a[1], _b[1]) + 4 * _width))


def _smoothstep(edge0, edge1, x):
    t = max(0.0, min(1.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)


def base_elevation(lat, lon):
    """Smooth height in feet of the ground at a point (no roughness)."""
    height = 0.0
    # The interior lowlands rise from the coasts; the plains climb to the Rockies.
    if -125 < lon < -60 and 24 < lat < 55:
        height = 500 + 500 * _smoothstep(-80, -90, lon)
        height += 4500 * _smoothstep(-97, -105, lon)
    for h, south, north, west, east, soft in PLATEAUS:
        inside = (_smoothstep(south - soft, south, lat) * _smoothstep(north + soft, north, lat)
                  * _smoothstep(west - soft, west, lon) * _smoothstep(east + soft, east, lon))
        height = max(height, h * inside)
    for h, width, a, b, s, n, w, e in _SEGMENTS:
        if s <= lat <= n and w <= lon <= e:
            d = _segment_distance(lat, lon, a, b) / width
            height = max(height, h * math.exp(-d * d))
    return height


def elevation(lat, lon):
    """Height in feet at a point, roughness included (what forecasts quote)."""
    base = base_elevation(lat, lon)
    rough = noise.fbm(lon * 3.0, lat * 3.0, 404, octaves=4) - 0.5
    return max(0.0, base + rough * (600 + 0.35 * base))


def elevation_grid(view, coarse_step=4):
    """Heights in feet for every pixel of 'view': the smooth model on a coarse
    grid, interpolated, plus fine roughness."""
    coarse = view.scaled(coarse_step)
    clats, clons = coarse.lats(), coarse.lons()
    smooth = [[base_elevation(lat, lon) for lon in clons] for lat in clats]
    rough = noise.fbm_grid([lon * 3.0 for lon in view.lons()],
                           [lat * 3.0 for lat in view.lats()], 404, octaves=6)
    cw, ch = len(clons), len(clats)
    fx = [min(cw - 1.001, max(0.0, (x + 0.5) / coarse_step - 0.5)) for x in range(view.width)]
    ix = [int(f) for f in fx]
    wx = [f - i for f, i in zip(fx, ix)]
    rows = []
    for y in range(view.height):
        fy = min(ch - 1.001, max(0.0, (y + 0.5) / coarse_step - 0.5))
        iy = int(fy)
        wy = fy - iy
        upper, lower = smooth[iy], smooth[min(iy + 1, ch - 1)]
        mixed = [u + (l - u) * wy for u, l in zip(upper, lower)]
        mixed.append(mixed[-1])
        rows.append([max(0.0, mixed[i] + (mixed[i + 1] - mixed[i]) * w
                         + (r - 0.5) * (600 + 0.35 * (mixed[i])))
                     for i, w, r in zip(ix, wx, rough[y])])
    return rows


def build_land_mask(registry):
    """The land mask from every place, ZIP centroid and station the registry knows.

    Alaska's towns are as far apart as foreign stations, so they count as sparse."""
    def alaskan(point):
        return point[0] > 51 and point[1] < -129

    us = [(p.lat, p.lon) for p in registry.towns]
    us += [(p.lat, p.lon) for p in registry.counties]
    us += [(z.lat, z.lon) for z in registry.zip_centroids()]
    us += [(z.lat, z.lon) for z in registry.zones.values()]
    # Stations of the contiguous states add nothing the census lacks, and some
    # stand on oil platforms in the Gulf; Alaska's are needed.
    us += [(s.lat, s.lon) for s in registry.stations.values() if s.state == "AK"]
    foreign = [(s.lat, s.lon) for s in registry.stations.values()
               if s.country != "United States"]
    dense = [p for p in us if not alaskan(p)]
    sparse = [p for p in us if alaskan(p)] + foreign
    return LandMask(dense, sparse)
