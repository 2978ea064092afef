"""Radar layers of one site, the way the weather service's radar pages cut them:
600 x 550 pictures over the same box, drawn one over another.

  topo      shaded relief with lakes and sea (opaque JPEG at half the size:
            the page scales it to the picture)
  county    county lines, state lines brighter (transparent GIF)
  rivers    the big rivers through their gauges
  highways  roads between the big towns
  cities    town names
  warnings  warning boxes around the strongest storms
  products  N0R N0S N0V N1P NCR NTP (short range), N0Z (long range)
  legends   the colour scale, site and time of each product
"""

import math

from . import geography, image_codecs, mapdata, raster, weather

WIDTH, HEIGHT = 600, 550
TALL = {"Short": 4.4, "Long": 8.8}        # degrees of latitude the picture spans
RANGE_KM = {"Short": 230.0, "Long": 460.0}

PRODUCT_NAMES = {
    "N0R": "BASE REFLECTIVITY", "N0S": "STORM RELATIVE MOTION", "N0V": "BASE VELOCITY",
    "N1P": "ONE-HOUR PRECIPITATION", "NCR": "COMPOSITE REFLECTIVITY",
    "NTP": "STORM TOTAL PRECIPITATION", "N0Z": "LONG RANGE BASE REFLECTIVITY",
}

REFLECTIVITY = [(4, 233, 231), (1, 159, 244), (3, 0, 244), (2, 253, 2), (1, 197, 1),
                (0, 142, 0), (253, 248, 2), (229, 188, 0), (253, 149, 0), (253, 0, 0),
                (212, 0, 0), (188, 0, 0), (248, 0, 253), (152, 84, 198), (253, 253, 253)]
VELOCITY = [(2, 252, 2), (1, 228, 1), (1, 197, 1), (7, 172, 4), (6, 143, 3), (4, 114, 2),
            (124, 151, 123), (152, 119, 119), (137, 0, 0), (162, 0, 0), (185, 0, 0),
            (216, 0, 0), (239, 0, 0), (254, 0, 0)]
PRECIPITATION = [(170, 170, 170), (118, 118, 118), (0, 255, 255), (0, 175, 175), (0, 255, 0),
                 (0, 143, 0), (255, 0, 255), (175, 50, 125), (0, 0, 255), (50, 0, 150),
                 (255, 255, 0), (255, 170, 0), (255, 0, 0), (174, 0, 0), (255, 255, 255)]
VELOCITY_LABELS = ["-64", "-50", "-36", "-26", "-20", "-10", "-1", "0", "10", "20", "26",
                   "36", "50", "64"]
REFLECTIVITY_LABELS = [str(5 * (i + 1)) for i in range(15)]
PRECIPITATION_LABELS = ["0.0", ".10", ".25", ".50", ".75", "1.0", "1.25", "1.5", "1.75", "2.0",
                        "2.5", "3.0", "4.0", "5.0", "6.0"]


def view_for(site, span):
    return geography.View.around(site.lat, site.lon, TALL[span], WIDTH, HEIGHT)


class Layer(bytes):
    """A layer's GIF file that keeps its palette rows, for today's pictures,
    which have every layer drawn into one."""


def gif(rows, palette):
    layer = Layer(image_codecs.encode_gif(rows, palette, transparent=0))
    layer.rows, layer.palette = rows, palette
    return layer


# ---------------------------------------------------------------- topography

TOPO_BANDS = [(0, (96, 130, 78)), (500, (120, 150, 86)), (1000, (146, 168, 98)),
              (2000, (178, 180, 112)), (3000, (196, 180, 120)), (4500, (184, 156, 106)),
              (6000, (164, 130, 94)), (8000, (150, 120, 100)), (10000, (214, 210, 206))]
SHADES = 12


def _topo_palette():
    palette = [(50, 80, 130), (58, 92, 146), (66, 104, 160), (74, 116, 172)]
    for _, colour in TOPO_BANDS:
        for s in range(SHADES):
            light = 0.55 + 0.9 * s / (SHADES - 1)
            palette.append(tuple(min(255, int(c * light)) for c in colour))
    return palette


TOPO_PALETTE = _topo_palette()


def topo(land_mask, site, span):
    return image_codecs.encode_jpeg(topo_rows(land_mask, site, span), TOPO_PALETTE, quality=90)


def topo_rows(land_mask, site, span):
    """The relief at half the picture's size, as palette rows."""
    view = view_for(site, span)
    half = view.scaled(2)
    heights = geography.elevation_grid(half)
    land = geography.sample_smooth(land_mask, half)
    limits = [b[0] for b in TOPO_BANDS]
    # Light from the north-west: slopes facing it are lit, the others shaded.
    km_per_pixel = (view.north - view.south) * 111.0 / half.height
    rows = []
    for y in range(half.height):
        above = heights[max(0, y - 1)]
        here = heights[y]
        row = bytearray()
        for x in range(half.width):
            if not land[y][x]:
                row.append(1 + (x * 7 + y * 3) % 3 // 2)
                continue
            h = here[x]
            slope = (h - here[max(0, x - 1)]) + (h - above[x])
            shade = int(SHADES / 2 + slope / (km_per_pixel * 12.0))
            shade = max(0, min(SHADES - 1, shade))
            band = sum(1 for limit in limits if h >= limit) - 1
            row.append(4 + band * SHADES + shade)
        rows.append(bytes(row))
    return rows


# ---------------------------------------------------------------- overlays

def counties(registry, land_mask, site, span):
    view = view_for(site, span)
    half = view.scaled(2)
    nearby = [c for c in registry.counties if view.contains(c.lat, c.lon, margin=1.5)]
    ids = mapdata.NearestCells(nearby, lambda c: (c.lat, c.lon)).grid(half)
    land = geography.sample_smooth(land_mask, half)
    canvas = raster.Canvas(WIDTH, HEIGHT)

    def kind(a, b):
        return 2 if nearby[a].state != nearby[b].state else 1

    for x, y, k in mapdata.borders(ids, kind):
        if land[y][x]:
            canvas.rect(2 * x + 1, 2 * y, 2 * x + 2 + (k == 2), 2 * y + 2 + (k == 2), k)
    return gif(canvas.rows(), [(0, 0, 0), (170, 170, 170), (255, 255, 255)])


def _draw_lines(canvas, view, lines, index, width):
    for points in lines:
        pixels = [view.to_pixel(lat, lon) for lat, lon in points]
        canvas.polyline(pixels, index, width)


def rivers(registry, site, span):
    view = view_for(site, span)
    canvas = raster.Canvas(WIDTH, HEIGHT)
    lines = [mapdata.wiggle(points, seed=i + 5) for i, points in
             enumerate(mapdata.river_lines(registry).values())]
    _draw_lines(canvas, view, lines, 1, 2 if span == "Short" else 1)
    return gif(canvas.rows(), [(0, 0, 0), (70, 110, 255)])


def _ranked_towns(registry, weights, majors, view, margin, spacing):
    """Towns in and around a view, the major cities first, then the heaviest
    others, none closer than 'spacing' degrees to one before it."""
    rank = {t.fips: i for i, t in enumerate(majors)}
    score = {t.fips: 1e6 - rank[t.fips] for t in majors}
    nearby = [t for t in registry.towns if view.contains(t.lat, t.lon, margin=margin)
              and (t.fips in score or weights.get(t.fips, 0.0) > 0.5)]
    return mapdata.spaced(nearby, {t.fips: score.get(t.fips, weights.get(t.fips, 0.0))
                                   for t in nearby}, spacing)


def highways(registry, weights, majors, site, span):
    view = view_for(site, span)
    canvas = raster.Canvas(WIDTH, HEIGHT)
    spacing = 0.55 if span == "Short" else 1.1
    towns = _ranked_towns(registry, weights, majors, view, 3.0 * spacing, spacing)[:60]
    lines = [mapdata.wiggle([(towns[a].lat, towns[a].lon), (towns[b].lat, towns[b].lon)],
                            seed=17, amount=0.03)
             for a, b in mapdata.highway_links(towns, max_degrees=4.5 * spacing)]
    _draw_lines(canvas, view, lines, 1, 2 if span == "Short" else 1)
    return gif(canvas.rows(), [(0, 0, 0), (200, 40, 40)])


def cities(registry, weights, majors, site, span):
    view = view_for(site, span)
    canvas = raster.Canvas(WIDTH, HEIGHT)
    spacing = 0.3 if span == "Short" else 0.6
    ranked = _ranked_towns(registry, weights, majors, view, 0.0, spacing)
    placed = []
    limit = 16 if span == "Short" else 24
    for town in ranked:
        if len(placed) >= limit:
            break
        x, y = view.to_pixel(town.lat, town.lon)
        name = mapdata.label(town)
        box = (x - 4, y - 6, x + 8 + raster.text_width(name), y + 8)
        if (box[0] < 0 or box[2] > WIDTH or box[1] < 0 or box[3] > HEIGHT - 32
                or any(not (box[2] < b[0] or box[0] > b[2] or box[3] < b[1] or box[1] > b[3])
                       for b in placed)):
            continue
        placed.append(box)
        canvas.rect(int(x) - 2, int(y) - 2, int(x) + 3, int(y) + 3, 2)
        canvas.rect(int(x) - 1, int(y) - 1, int(x) + 2, int(y) + 2, 1)
        canvas.text(int(x) + 6, int(y) - 3, name, 1, shadow=2)
    return gif(canvas.rows(), [(0, 0, 0), (255, 255, 255), (16, 16, 16)])


def warnings(site, span, now):
    """Boxes around the strongest cells: tornado (red), severe thunderstorm
    (yellow), flash flood (green)."""
    view = view_for(site, span)
    coarse = view.scaled(12)
    t = weather.hours_since_epoch(now)
    field = weather.evolving_grid(coarse, t, weather.STORM_SEED, weather.STORM_SCALE, 5)
    canvas = raster.Canvas(WIDTH, HEIGHT)
    temperature = weather.conditions(site.lat, site.lon, now).temp_f
    for y in range(1, coarse.height - 1):
        for x in range(1, coarse.width - 1):
            v = field[y][x]
            if v < 0.78 or any(field[y + dy][x + dx] > v for dy in (-1, 0, 1) for dx in (-1, 0, 1)):
                continue
            if temperature < 45:
                continue
            colour = 1 if v > 0.83 else (2 if temperature > 55 else 3)
            cx, cy = (x + 0.5) * 12, (y + 0.5) * 12
            size = 26 + (v - 0.78) * 400
            # Boxes lean with the storms, which drift to the east-north-east.
            corners = [(-1.0, -0.6), (1.3, -0.9), (1.1, 0.8), (-1.2, 0.6)]
            points = [(cx + dx * size, cy + dy * size) for dx, dy in corners]
            canvas.polyline(points + points[:1], colour, 2)
    return gif(canvas.rows(), [(0, 0, 0), (255, 0, 0), (255, 255, 0), (0, 255, 0)])


# ---------------------------------------------------------------- products

def _distances(site, view):
    """Kilometres from the radar to every pixel of a view, and the bearings."""
    lats, lons = view.lats(), view.lons()
    scale = math.cos(math.radians(site.lat))
    dist, azimuth = [], []
    for lat in lats:
        dy = (lat - site.lat) * 111.2
        dist.append([math.hypot(dy, (lon - site.lon) * 111.2 * scale) for lon in lons])
        azimuth.append([math.atan2((lon - site.lon) * scale, lat - site.lat) for lon in lons])
    return dist, azimuth


def _storm_rows(view, now, hours_back=0.0, octaves=7):
    t = weather.hours_since_epoch(now) - hours_back
    return weather.evolving_grid(view, t, weather.STORM_SEED, weather.STORM_SCALE, octaves)


def _reflectivity_index(value, boost=0.0):
    """Palette index 1..15 of a storm value (5 dBZ steps), 0 for no echo."""
    v = value + boost
    if v < weather.RAIN_THRESHOLD - 0.035:
        return 0
    return max(1, min(15, int((v - weather.RAIN_THRESHOLD + 0.035) / 0.14 * 15) + 1))


def product(site, name, now):
    span = "Long" if name == "N0Z" else "Short"
    view = view_for(site, span)
    half = view.scaled(2)
    reach = RANGE_KM[span]
    dist, azimuth = _distances(site, half)
    storms = _storm_rows(half, now, octaves=6 if span == "Long" else 7)
    rows = []
    if name in ("N0R", "NCR", "N0Z"):
        boost = 0.015 if name == "NCR" else 0.0
        for srow, drow in zip(storms, dist):
            rows.append(bytes(_reflectivity_index(v, boost) if d < reach else 0
                              for v, d in zip(srow, drow)))
        palette = [(0, 0, 0)] + REFLECTIVITY
    elif name in ("N0V", "N0S"):
        c = weather.conditions(site.lat, site.lon, now)
        toward = math.radians((c.wind_dir + 180.0) % 360.0)
        speed_kt = c.wind_mph / 1.15 * (1.6 if name == "N0V" else 0.8) + 8
        for srow, drow, arow in zip(storms, dist, azimuth):
            out = bytearray()
            for v, d, a in zip(srow, drow, arow):
                echo = v > weather.RAIN_THRESHOLD - 0.05 or (d < 60 and v > 0.45)
                if not echo or d >= reach:
                    out.append(0)
                    continue
                radial = speed_kt * math.cos(a - toward) * (1.0 + (v - 0.6) * 2.0)
                if name == "N0S":
                    radial *= 0.5 + v
                out.append(max(1, min(14, int(7.5 + radial / 9.0))))
            rows.append(bytes(out))
        palette = [(0, 0, 0)] + VELOCITY
    else:
        # Accumulations: one hour for N1P, the whole storm (six hours) for NTP.
        history = [0.0, 0.5] if name == "N1P" else [0.0, 2.0, 4.0, 6.0]
        fields = [storms] + [_storm_rows(half, now, h, octaves=5) for h in history[1:]]
        scale = 1.0 if name == "N1P" else 2.6
        for y, drow in enumerate(dist):
            out = bytearray()
            for x, d in enumerate(drow):
                if d >= reach:
                    out.append(0)
                    continue
                total = sum(weather.rain_intensity(f[y][x] + 0.03) for f in fields)
                amount = total / len(fields) * scale
                out.append(0 if amount < 0.02 else max(1, min(15, int(amount * 9) + 1)))
            rows.append(bytes(out))
        palette = [(0, 0, 0)] + PRECIPITATION
    return gif(raster.enlarge_twice(rows, WIDTH, HEIGHT), palette)


def legend(site, name, now):
    """The strip along the bottom: colour scale, site, product and time."""
    canvas = raster.Canvas(WIDTH, HEIGHT)
    top = HEIGHT - 30
    canvas.rect(0, top, WIDTH, HEIGHT, 1)
    if name in ("N0V", "N0S"):
        colours, labels, unit = VELOCITY, VELOCITY_LABELS, "KT"
    elif name in ("N1P", "NTP"):
        colours, labels, unit = PRECIPITATION, PRECIPITATION_LABELS, "IN"
    else:
        colours, labels, unit = REFLECTIVITY, REFLECTIVITY_LABELS, "DBZ"
    first = 3
    box = 20
    left = WIDTH - 6 - box * len(colours)
    for i, label in enumerate(labels):
        canvas.rect(left + i * box, top + 4, left + (i + 1) * box - 1, top + 14, first + i)
        if i % 2 == 0:
            canvas.text(left + i * box, top + 18, label, 2)
    canvas.text(left - raster.text_width(unit) - 6, top + 6, unit, 2)
    code = site.code
    canvas.text(6, top + 4, "%s %s" % (code, PRODUCT_NAMES[name]), 2)
    canvas.text(6, top + 17, now.strftime("%m/%d/%Y %H:%M UTC"), 2)
    palette = [(0, 0, 0), (12, 12, 12), (255, 255, 255)] + list(colours)
    return gif(canvas.rows(), palette)


# ---------------------------------------------------------------- today's pictures

TITLE_HEIGHT = 18


def title(site, name, now):
    """The bar along the top of today's pictures: site, place, product and time."""
    canvas = raster.Canvas(WIDTH, HEIGHT)
    canvas.rect(0, 0, WIDTH, TITLE_HEIGHT, 1)
    canvas.text(6, 5, "%s - %s   %s   %s" % (site.code, site.name.upper(), PRODUCT_NAMES[name],
                                            now.strftime("%m/%d/%Y %H:%M UTC")), 2)
    return gif(canvas.rows(), [(0, 0, 0), (24, 24, 40), (255, 255, 255)])


def standard(relief_rows, layers):
    """One opaque picture: the relief (half-size rows of TOPO_PALETTE) with
    each layer (rows and palette, index 0 see-through) drawn over it in turn,
    as radar.weather.gov/ridge/standard/ serves it since December 2020."""
    palette = list(TOPO_PALETTE)
    picture = raster.enlarge_twice(relief_rows, WIDTH, HEIGHT)
    for layer in layers:
        shift = len(palette) - 1
        palette += layer.palette[1:]
        table = bytes([0] + [min(255, i + shift) for i in range(1, 256)])
        for y, row in enumerate(layer.rows):
            if not any(row):
                continue
            moved = bytes(row).translate(table)
            line = picture[y]
            for x, index in enumerate(moved):
                if index:
                    line[x] = index
    assert len(palette) <= 256
    return image_codecs.encode_gif(picture, palette)
