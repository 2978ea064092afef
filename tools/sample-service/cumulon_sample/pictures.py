"""Every picture the sample service serves, made on demand and kept for reuse.

Pictures that change (radar products, satellite pictures, alert maps) are
made for a time slot (5 or 15 minutes) and carry the slot's time as their
Last-Modified time; overlays and relief never change and carry a fixed time.
"""

import collections
import datetime
import re
import threading

from . import alertmap, geography, mapdata, radar, satellite, weather

UTC = datetime.timezone.utc
STATIC_TIME = datetime.datetime(2013, 6, 1, tzinfo=UTC)
GIF, PNG, JPEG = "image/gif", "image/png", "image/jpeg"

_RADAR_PATHS = [
    (r"Overlays/Topo/(Short|Long)/(\w{3})_Topo_(?:Short|Long)\.jpg", "topo"),
    (r"Overlays/County/(Short|Long)/(\w{3})_County_(?:Short|Long)\.gif", "county"),
    (r"Overlays/Rivers/(Short|Long)/(\w{3})_Rivers_(?:Short|Long)\.gif", "rivers"),
    (r"Overlays/Highways/(Short|Long)/(\w{3})_Highways_(?:Short|Long)\.gif", "highways"),
    (r"Overlays/Cities/(Short|Long)/(\w{3})_City_(?:Short|Long)\.gif", "cities"),
    (r"Warnings/(Short|Long)/(\w{3})_Warnings_0\.gif", "warnings"),
    (r"RadarImg/(N0R|N0S|N0V|N1P|NCR|NTP|N0Z)/(\w{3})_(?:\w{3})_0\.gif", "product"),
    (r"Legend/(N0R|N0S|N0V|N1P|NCR|NTP|N0Z)/(\w{3})_(?:\w{3})_Legend_0\.gif", "legend"),
]


# Today's pictures: one per product, named by the whole site.
_LAYER_PATHS = {
    "county": "Overlays/County/%(span)s/%(code)s_County_%(span)s.gif",
    "rivers": "Overlays/Rivers/%(span)s/%(code)s_Rivers_%(span)s.gif",
    "highways": "Overlays/Highways/%(span)s/%(code)s_Highways_%(span)s.gif",
    "cities": "Overlays/Cities/%(span)s/%(code)s_City_%(span)s.gif",
}
_STANDARD_PATHS = {r"standard/(\w{4})_0\.gif": "N0R",
                   r"standard/base_velocity/(\w{4})_0\.gif": "N0V"}


class Pictures:
    def __init__(self, registry, cache_size=300):
        self.registry = registry
        self._lock = threading.Lock()
        self._cache = collections.OrderedDict()
        self._cache_size = cache_size
        self._land = None
        self._weights = None
        self._majors = None
        self._sites = {code[1:]: site for code, site in registry.radars.items()}

    # Shared data, made the first time a picture needs it.
    def land(self):
        with self._lock:
            if self._land is None:
                self._land = geography.build_land_mask(self.registry)
            return self._land

    def weights(self):
        with self._lock:
            if self._weights is None:
                self._weights = mapdata.town_weights(self.registry)
            return self._weights

    def majors(self):
        with self._lock:
            if self._majors is None:
                self._majors = mapdata.major_cities(self.registry)
            return self._majors

    def cached(self, key, make):
        """The value kept under 'key', made by make() the first time (least recently
        used values are dropped beyond the cache size)."""
        with self._lock:
            if key in self._cache:
                self._cache.move_to_end(key)
                return self._cache[key]
        value = make()
        with self._lock:
            self._cache[key] = value
            while len(self._cache) > self._cache_size:
                self._cache.popitem(last=False)
        return value

    def radar(self, path, now):
        for pattern, name in _STANDARD_PATHS.items():
            match = re.fullmatch(pattern, path)
            if match:
                return self.standard_radar(match.group(1), name, now)
        for pattern, kind in _RADAR_PATHS:
            match = re.fullmatch(pattern, path)
            if match:
                break
        else:
            return None
        first, code = match.groups()
        site = self._sites.get(code.upper())
        if site is None:
            return None
        if kind in ("product", "legend", "warnings"):
            when = weather.floor_time(now, 5)
            make = {
                "product": lambda: radar.product(site, first, when),
                "legend": lambda: radar.legend(site, first, when),
                "warnings": lambda: radar.warnings(site, first, when),
            }[kind]
            body = self.cached((kind, first, code, when), make)
            return body, when, GIF
        make = {
            "topo": lambda: radar.topo(self.land(), site, first),
            "county": lambda: radar.counties(self.registry, self.land(), site, first),
            "rivers": lambda: radar.rivers(self.registry, site, first),
            "highways": lambda: radar.highways(self.registry, self.weights(), self.majors(),
                                               site, first),
            "cities": lambda: radar.cities(self.registry, self.weights(), self.majors(),
                                           site, first),
        }[kind]
        body = self.cached((kind, first, code), make)
        return body, STATIC_TIME, JPEG if kind == "topo" else GIF

    def layer(self, kind, code, span, now):
        """One layer of the old pictures, as kept for their own addresses."""
        return self.radar(_LAYER_PATHS[kind] % {"span": span, "code": code}, now)[0]

    def standard_radar(self, site_code, name, now):
        site = self.registry.radars.get(site_code.upper())
        if site is None:
            return None
        when = weather.floor_time(now, 5)
        code = site.code[1:]

        def make():
            relief = self.cached(("topo-rows", code), lambda: radar.topo_rows(self.land(), site,
                                                                              "Short"))
            layers = [self.radar("RadarImg/%s/%s_%s_0.gif" % (name, code, name), now)[0]]
            layers += [self.layer(kind, code, "Short", now)
                       for kind in ("county", "rivers", "highways", "cities")]
            layers += [self.radar("Legend/%s/%s_%s_Legend_0.gif" % (name, code, name), now)[0],
                       radar.title(site, name, when)]
            return radar.standard(relief, layers)

        return self.cached(("standard", name, code, when), make), when, GIF

    def satellite(self, region, product, now):
        if not satellite.known(region, product):
            return None
        when = weather.floor_time(now, 15)
        body = self.cached(("satellite", region, product, when),
                            lambda: satellite.picture(self, region, product, when))
        return body, when, JPEG

    def goes(self, satellite_name, where, band, size, now):
        found = satellite.goes_region(satellite_name, where, band, size)
        return self.satellite(*found, now) if found else None

    def alert_map(self, name, now):
        if not alertmap.known(name):
            return None
        when = weather.floor_time(now, 5)
        body = self.cached(("alertmap", name, when),
                            lambda: alertmap.picture(self, name, when))
        return body, when, PNG
