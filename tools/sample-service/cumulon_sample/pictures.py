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

    def satellite(self, region, product, now):
        if not satellite.known(region, product):
            return None
        when = weather.floor_time(now, 15)
        body = self.cached(("satellite", region, product, when),
                            lambda: satellite.picture(self, region, product, when))
        return body, when, JPEG

    def alert_map(self, name, now):
        if not alertmap.known(name):
            return None
        when = weather.floor_time(now, 5)
        body = self.cached(("alertmap", name, when),
                            lambda: alertmap.picture(self, name, when))
        return body, when, PNG
