"""Satellite pictures of the fourteen sectors and the two wide views.

One infrared picture per sector and time slot holds the cloud-top (or ground)
temperature of every pixel as a palette index, 0 warmest to 255 coldest; the
eight infrared colour enhancements are that same picture with eight palettes.
The visible picture shows sunlit cloud over dark land and darker sea (and
night where the sun is down); water vapour shows moist and dry air.
"""

from . import geography, image_codecs, mapdata, raster, weather

# name: (north, south, west, east, width, height, satellite)
REGIONS = {
    "watl": (45, 20, -83.0, -45.5, 720, 480, "GOES-EAST"),
    "catl": (35, 10, -70.0, -32.5, 720, 480, "GOES-EAST"),
    "carb": (28, 8, -90.0, -60.0, 720, 480, "GOES-EAST"),
    "gmex": (32, 16, -99.0, -75.0, 720, 480, "GOES-EAST"),
    "eaus": (48, 26, -96.0, -63.0, 720, 480, "GOES-EAST"),
    "ceus": (50, 28, -112.0, -79.0, 720, 480, "GOES-EAST"),
    "nwatl": (58, 36, -80.0, -47.0, 720, 480, "GOES-EAST"),
    "natl": (66, 40, -62.0, -23.0, 720, 480, "GOES-EAST"),
    "eepac": (30, 8, -125.0, -92.0, 720, 480, "GOES-EAST"),
    "wepac": (30, 8, -155.0, -122.0, 720, 480, "GOES-WEST"),
    "cpac": (35, 10, -180.0, -142.5, 720, 480, "GOES-WEST"),
    "hi": (27, 15, -166.0, -148.0, 720, 480, "GOES-WEST"),
    "nepac": (60, 36, -160.0, -124.0, 720, 480, "GOES-WEST"),
    "weus": (50, 28, -130.0, -97.0, 720, 480, "GOES-WEST"),
    "tatl": (35, 0, -100.0, -18.3, 1120, 480, "GOES-EAST"),
    "tpac": (35, 0, -180.0, -98.3, 1120, 480, "GOES-WEST"),
}
PRODUCTS = ("vis", "wv", "avn", "ir2", "bd", "ir4", "jsl", "rgb", "ft", "rb")
TITLES = {"vis": "VISIBLE", "wv": "WATER VAPOR", "avn": "IR AVIATION", "ir2": "SHORTWAVE IR",
          "bd": "IR DVORAK BD", "ir4": "IR UNENHANCED", "jsl": "IR JSL", "rgb": "IR RGB",
          "ft": "IR FUNKTOP", "rb": "IR RAINBOW"}
# The palette's top entries are kept for the outline and the caption.
COAST, TEXT, SHADOW = 253, 254, 255


# Today's GOES sectors (cdn.star.nesdis.noaa.gov/GOESnn/ABI/...): their boxes,
# the sizes published of each, and the page's products by ABI band.
GOES_SECTORS = {
    ("GOES19", "SECTOR/eus"): ((47, 24, -88.0, -60.0), ("500x500", "1000x1000", "2000x2000")),
    ("GOES19", "SECTOR/taw"): ((30, 0, -80.0, -20.0), ("450x270", "900x540", "1800x1080")),
    ("GOES19", "SECTOR/car"): ((28, 8, -90.0, -60.0), ("500x500", "1000x1000", "2000x2000")),
    ("GOES19", "SECTOR/gm"): ((32, 16, -99.0, -75.0), ("500x500", "1000x1000", "2000x2000")),
    ("GOES19", "SECTOR/se"): ((38, 24, -92.0, -74.0), ("300x300", "600x600", "1200x1200")),
    ("GOES19", "SECTOR/ne"): ((48, 36, -82.0, -64.0), ("300x300", "600x600", "1200x1200")),
    ("GOES19", "SECTOR/na"): ((66, 36, -70.0, -10.0), ("450x270", "900x540", "1800x1080")),
    ("GOES19", "SECTOR/eep"): ((30, 0, -130.0, -80.0), ("450x270", "900x540", "1800x1080")),
    ("GOES19", "CONUS"): ((52, 20, -126.0, -64.0), ("625x375", "1250x750", "2500x1500")),
    ("GOES19", "FD"): ((60, -20, -120.0, -30.0), ("339x339", "678x678", "1808x1808")),
    ("GOES18", "SECTOR/tpw"): ((30, 0, -180.0, -120.0), ("450x270", "900x540", "1800x1080")),
    ("GOES18", "SECTOR/hi"): ((27, 15, -166.0, -148.0), ("300x300", "600x600", "1200x1200")),
    ("GOES18", "SECTOR/np"): ((62, 38, -180.0, -130.0), ("450x270", "900x540", "1800x1080")),
    ("GOES18", "SECTOR/wus"): ((50, 28, -130.0, -105.0), ("500x500", "1000x1000", "2000x2000")),
    ("GOES18", "FD"): ((60, -20, -180.0, -95.0), ("339x339", "678x678", "1808x1808")),
}
GOES_BANDS = {"02": "vis", "07": "ir2", "08": "wv", "09": "wv", "10": "wv", "13": "ir4"}


def goes_region(satellite, where, band, size):
    """The region key of a GOES picture (made the first time it is asked for)
    and its product, or None for a sector, band or size not published."""
    sector = GOES_SECTORS.get((satellite, where))
    if sector is None or band not in GOES_BANDS or size not in sector[1]:
        return None
    width, height = (int(n) for n in size.split("x"))
    key = "%s-%s-%s" % (satellite, where.replace("SECTOR/", ""), size)
    north, south, west, east = sector[0]
    REGIONS.setdefault(key, (north, south, west, east, width, height,
                             "GOES-" + satellite[4:] + " BAND " + band))
    return key, GOES_BANDS[band]


def known(region, product):
    return region in REGIONS and product in PRODUCTS


def view_of(region):
    north, south, west, east, width, height, _ = REGIONS[region]
    return geography.View(north, south, west, east, width, height)


def index_of_temperature(celsius):
    """0 for +40 C and warmer, 250 for -80 C and colder."""
    return max(0, min(250, int((40.0 - celsius) / 120.0 * 250)))


def temperature_of_index(index):
    return 40.0 - index * 120.0 / 250


def _fields(pictures, region, when):
    """Storm and cloud fields (half size) of a sector at a time, shared by its
    infrared and visible pictures."""
    def make():
        half = view_of(region).scaled(2)
        t = weather.hours_since_epoch(when)
        storms = weather.evolving_grid(half, t, weather.STORM_SEED, weather.STORM_SCALE, 6)
        clouds = weather.evolving_grid(half, t, weather.CLOUD_SEED, 5.0, 5)
        return half, storms, clouds
    return pictures.cached(("satellite-fields", region, when), make)


def infrared(pictures, region, when):
    """Rows of temperature indices (full size) for a sector."""
    view = view_of(region)
    half, storms, clouds = _fields(pictures, region, when)
    land = pictures.land().sample(half)
    rows = []
    for lat, srow, crow, lrow in zip(half.lats(), storms, clouds, land):
        sea = 28.0 - max(0.0, abs(lat) - 18.0) * 0.75
        ground = weather.normal_temperature(lat, when) * 5 / 9 - 17.8
        out = bytearray()
        for s, c, is_land in zip(srow, crow, lrow):
            cover = weather.cloud_cover(s, c)
            surface = ground if is_land else sea
            top = -10.0 - max(0.0, s - 0.5) * 230.0 - max(0.0, c - 0.55) * 60.0
            out.append(index_of_temperature(surface * (1 - cover) + top * cover))
        rows.append(bytes(out))
    return raster.enlarge_twice(rows, view.width, view.height)


def visible(pictures, region, when):
    view = view_of(region)
    half, storms, clouds = _fields(pictures, region, when)
    land = pictures.land().sample(half)
    coarse = 4
    lats, lons = half.lats(), half.lons()
    rows = []
    for y, (lat, srow, crow, lrow) in enumerate(zip(lats, storms, clouds, land)):
        sun_row = [max(0.0, min(1.0, (weather.sun_elevation(lat, lons[x], when) + 4) / 30.0))
                   for x in range(0, half.width, coarse)]
        out = bytearray()
        for x, (s, c, is_land) in enumerate(zip(srow, crow, lrow)):
            cover = weather.cloud_cover(s, c)
            ground = 62 if is_land else 22
            bright = ground * (1 - cover) + (150 + 100 * min(1.0, max(0.0, s - 0.45) * 3)) * cover
            out.append(min(250, int(4 + bright * sun_row[x // coarse])))
        rows.append(bytes(out))
    return raster.enlarge_twice(rows, view.width, view.height)


def water_vapour(pictures, region, when):
    view = view_of(region)
    half = view.scaled(2)
    t = weather.hours_since_epoch(when)
    moist = weather.evolving_grid(half, t, weather.MOIST_SEED, 10.0, 5)
    storms = weather.evolving_grid(half, t, weather.STORM_SEED, weather.STORM_SCALE, 4)
    rows = [bytes(max(0, min(250, int(((m - 0.5) * 1.6 + max(0.0, s - 0.5) * 2.5) * 250 + 110)))
                  for m, s in zip(mrow, srow)) for mrow, srow in zip(moist, storms)]
    return raster.enlarge_twice(rows, view.width, view.height)


# ---------------------------------------------------------------- palettes

def _ramp(stops, count=251):
    """A palette of 'count' colours along (position 0..1, colour) stops."""
    out = []
    for i in range(count):
        p = i / (count - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= p <= p1:
                t = 0 if p1 == p0 else (p - p0) / (p1 - p0)
                out.append(tuple(int(a + (b - a) * t) for a, b in zip(c0, c1)))
                break
    return out


def _grey_then(colder_than, stops):
    """Grey for temperatures above 'colder_than' C, the colour stops below it."""
    cut = index_of_temperature(colder_than) / 250
    grey = [(0.0, (10, 10, 10)), (cut, (int(40 + cut * 160),) * 3)]
    return _ramp(grey + [(cut + (1 - cut) * p, c) for p, c in stops])


def _bands(bands):
    """Flat colours between temperatures: [(warmest C, colour)], warm to cold."""
    out = []
    for i in range(251):
        t = temperature_of_index(i)
        colour = bands[0][1]
        for limit, band_colour in bands:
            if t <= limit:
                colour = band_colour
        out.append(colour)
    return out


def palette(product):
    if product == "vis":
        entries = [(v, v, v) for v in range(251)]
    elif product == "wv":
        entries = _ramp([(0.0, (40, 20, 10)), (0.35, (150, 110, 70)), (0.55, (210, 210, 210)),
                         (0.8, (120, 170, 230)), (1.0, (20, 60, 200))])
    elif product == "ir4":
        entries = [(v, v, v) for v in range(251)]
    elif product == "ir2":
        entries = [(min(255, int(v * 1.25)),) * 3 for v in range(251)]
    elif product == "avn":
        entries = _grey_then(-30, [(0.0, (120, 200, 255)), (0.25, (0, 90, 255)),
                                   (0.45, (0, 200, 60)),
                                   (0.65, (255, 255, 0)), (0.85, (255, 0, 0)), (1.0, (20, 0, 0))])
    elif product == "bd":
        entries = _bands([(40, (30, 30, 30)), (9, (90, 90, 90)), (-30, (140, 140, 140)),
                          (-41, (110, 110, 110)), (-53, (180, 180, 180)), (-63, (60, 60, 60)),
                          (-69, (0, 0, 0)), (-75, (255, 255, 255)), (-80, (200, 200, 200))])
        entries = [(c[0] if i > 100 else int(30 + i * 0.8),) * 3 for i, c in enumerate(entries)]
    elif product == "jsl":
        entries = _ramp([(0.0, (0, 0, 60)), (0.3, (0, 60, 180)), (0.45, (0, 200, 220)),
                         (0.6, (0, 220, 0)), (0.75, (255, 255, 0)), (0.88, (255, 120, 0)),
                         (1.0, (255, 255, 255))])
    elif product == "rgb":
        entries = _ramp([(0.0, (30, 70, 150)), (0.3, (80, 140, 90)), (0.45, (200, 200, 210)),
                         (0.75, (255, 255, 255)), (1.0, (255, 220, 220))])
    elif product == "ft":
        entries = _grey_then(-20, [(0.0, (0, 60, 200)), (0.2, (0, 200, 200)), (0.35, (0, 160, 0)),
                                   (0.5, (255, 255, 0)), (0.65, (255, 100, 0)), (0.8, (200, 0, 0)),
                                   (0.9, (255, 0, 255)), (1.0, (255, 255, 255))])
    else:  # rb
        entries = _grey_then(-10, [(0.0, (140, 0, 255)), (0.2, (0, 0, 255)), (0.4, (0, 255, 255)),
                                   (0.55, (0, 255, 0)), (0.7, (255, 255, 0)), (0.85, (255, 128, 0)),
                                   (1.0, (255, 0, 0))])
    entries = list(entries[:251]) + [(0, 0, 0)] * (253 - len(entries[:251]))
    return entries + [(255, 215, 0), (255, 255, 255), (0, 0, 0)]


def outline_pixels(pictures, region):
    """Pixel offsets of the coastlines and state lines of a sector (never changes)."""
    view = view_of(region)
    land = pictures.land().sample(view)
    width = view.width
    offsets = []
    for y in range(view.height - 1):
        here, below = land[y], land[y + 1]
        for x in range(width - 1):
            if here[x] != here[x + 1] or here[x] != below[x]:
                offsets.append(y * width + x)
    half = view.scaled(2)
    counties = [c for c in pictures.registry.counties if view.contains(c.lat, c.lon, margin=1.0)]
    if counties:
        half_land = pictures.land().sample(half)
        ids = mapdata.NearestCells(counties, lambda c: (c.lat, c.lon), cell=1.0).grid(half)

        def kind(a, b):
            return counties[a].state != counties[b].state

        for x, y, state_line in mapdata.borders(ids, kind):
            if state_line and half_land[y][x]:
                corner = (2 * y + 1) * width + 2 * x + 1
                offsets += [corner, corner - 1, corner - width]
    return offsets


def picture(pictures, region, product, when):
    view = view_of(region)
    if product == "vis":
        rows = pictures.cached(("vis-raster", region, when),
                               lambda: visible(pictures, region, when))
    elif product == "wv":
        rows = pictures.cached(("wv-raster", region, when),
                                lambda: water_vapour(pictures, region, when))
    else:
        rows = pictures.cached(("ir-raster", region, when),
                               lambda: infrared(pictures, region, when))
    canvas = raster.Canvas.from_rows(rows)
    if product != "wv":
        outline = pictures.cached(("outline", region), lambda: outline_pixels(pictures, region))
        for offset in outline:
            canvas.pixels[offset] = COAST
    caption = "%s %s %s" % (REGIONS[region][6], TITLES[product], when.strftime("%Y-%m-%d %H%MZ"))
    canvas.text(8, view.height - 16, caption, TEXT, shadow=SHADOW)
    return image_codecs.encode_jpeg(canvas.rows(), palette(product))
