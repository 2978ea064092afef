"""Maps of the watches, warnings and advisories in force: the United States
(800 x 500) and five outlying areas (354 x 274).

Each forecast zone is the area closest to its centroid; a zone under an alert
is painted in the alert's colour, the strongest alert on top.  The alerts are
the same ones the sample alert feeds carry.
"""

from . import feeds, geography, image_codecs, mapdata, raster

# name: (north, south, west, east, width, height, title)
AREAS = {
    "US": (50.5, 23.5, -126.0, -65.0, 800, 500, "UNITED STATES"),
    "ak": (72.0, 51.0, -170.0, -129.0, 354, 274, "ALASKA"),
    "hi": (22.6, 18.6, -160.6, -154.4, 354, 274, "HAWAII"),
    "gu": (15.5, 12.5, 143.5, 146.5, 354, 274, "GUAM"),
    "pr": (19.0, 17.5, -67.6, -65.0, 354, 274, "PUERTO RICO"),
    "as": (-13.6, -14.9, -171.4, -169.0, 354, 274, "AMERICAN SAMOA"),
}
# Alert events and their map colours, strongest first.
EVENT_COLOURS = [
    ("Tornado Warning", (255, 0, 0)),
    ("Blizzard Warning", (255, 69, 0)),
    ("Severe Thunderstorm Warning", (255, 165, 0)),
    ("Winter Storm Warning", (255, 105, 180)),
    ("Flood Watch", (46, 139, 87)),
    ("Heat Advisory", (255, 127, 80)),
    ("Wind Chill Advisory", (175, 238, 238)),
    ("Winter Weather Advisory", (123, 104, 238)),
    ("Hazardous Weather Outlook", (238, 232, 170)),
]
WATER, LAND, ZONE_LINE, STATE_LINE, TEXT, FRAME = 0, 1, 2, 3, 4, 5
FIRST_EVENT = 6
FRAME_ALPHA = 208
PALETTE = ([(170, 200, 225), (236, 234, 226), (205, 200, 190), (90, 90, 90), (20, 20, 20),
            (255, 255, 255)] + [colour for _, colour in EVENT_COLOURS])


def known(name):
    return name in AREAS


def _event_name(kind, warm):
    if kind == "statement":
        return feeds.STATEMENT[0]
    return (feeds.WARM_EVENTS if warm else feeds.COLD_EVENTS)[kind][0]


def zone_events(registry, when):
    """{zone code: palette index of its strongest alert} for every zone under one."""
    order = {name: i for i, (name, _) in enumerate(EVENT_COLOURS)}
    painted = {}
    for code, zone in registry.zones.items():
        kinds = feeds.zone_alert_kinds(code, when, zone)
        if not kinds:
            continue
        warm = feeds.warm_zone(zone, when)
        strongest = min(order[_event_name(kind, warm)] for kind in kinds)
        painted[code] = FIRST_EVENT + strongest
    return painted


def _base(pictures, name, when):
    """The map without its caption: land, water, alert areas and borders."""
    north, south, west, east, width, height, _ = AREAS[name]
    view = geography.View(north, south, west, east, width, height)
    half = view.scaled(2)
    registry = pictures.registry
    zones = [z for z in registry.zones.values() if view.contains(z.lat, z.lon, margin=2.0)]
    land = pictures.land().sample(half)
    canvas = raster.Canvas(width, height, WATER)
    if zones:
        ids = mapdata.NearestCells(zones, lambda z: (z.lat, z.lon)).grid(half)
        painted = zone_events(registry, when)
        for y in range(half.height):
            for x in range(half.width):
                if land[y][x]:
                    colour = painted.get(zones[ids[y][x]].code, LAND) if ids[y][x] >= 0 else LAND
                    canvas.rect(2 * x, 2 * y, 2 * x + 2, 2 * y + 2, colour)

        def kind(a, b):
            return STATE_LINE if zones[a].state != zones[b].state else ZONE_LINE

        for x, y, line in mapdata.borders(ids, kind):
            if land[y][x] and (line == STATE_LINE or name != "US"):
                canvas.rect(2 * x + 1, 2 * y + 1, 2 * x + 2, 2 * y + 2, line)
    else:
        for y in range(half.height):
            for x in range(half.width):
                if land[y][x]:
                    canvas.rect(2 * x, 2 * y, 2 * x + 2, 2 * y + 2, LAND)
    return canvas


def picture(pictures, name, when):
    day = when.strftime("%Y%m%d")
    base = pictures.cached(("alertmap-base", name, day), lambda: _base(pictures, name, when))
    canvas = raster.Canvas(base.width, base.height)
    canvas.pixels = bytearray(base.pixels)
    title = AREAS[name][6]
    canvas.rect(0, 0, canvas.width, 14, FRAME)
    canvas.text(4, 4, "WATCHES, WARNINGS, ADVISORIES - " + title, TEXT)
    stamp = when.strftime("UPDATED %m/%d/%Y %H:%M UTC")
    canvas.rect(0, canvas.height - 12, canvas.width, canvas.height, FRAME)
    canvas.text(4, canvas.height - 10, stamp, TEXT)
    if name == "US":
        x = canvas.width - 4
        for label, index in (("WARNING", FIRST_EVENT + 2), ("WATCH", FIRST_EVENT + 4),
                             ("ADVISORY", FIRST_EVENT + 7), ("OUTLOOK", FIRST_EVENT + 8)):
            x -= raster.text_width(label) + 16
            canvas.rect(x, canvas.height - 10, x + 8, canvas.height - 3, index)
            canvas.text(x + 11, canvas.height - 10, label, TEXT)
    # The caption bars are translucent: drawn over black they show light grey.
    return image_codecs.encode_png(canvas.rows(), PALETTE, transparent=[(FRAME, FRAME_ALPHA)])
