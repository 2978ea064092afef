"""Where things are: stations, forecast zones, radar sites, river gauges and
towns, with their positions and local time.

Stations, zones and towns come from the weather-util-data tables; radar sites
and river gauges from the program's own radar.trv and river.trv, whose leaves
name a town ("KLOT Chicago, IL", "MLUK2 Ohio River at Louisville (McAlpine
Upper), KY") that is looked up in the census places.
"""

import datetime
import math
import os
import re
from dataclasses import dataclass

import weather_tables as wt

# Radar sites that stand away from any census place.
_SITE_POSITIONS = {
    "PAIH": (59.461, -146.303), "PGUA": (13.456, 144.811), "PHKI": (21.894, -159.552),
    "PHKM": (20.125, -155.778), "PHMO": (21.133, -157.180), "PHWA": (19.095, -155.569),
    "TJUA": (18.116, -66.078), "KSOX": (33.818, -117.636), "KLIX": (30.337, -89.826),
    "KAKQ": (36.984, -77.007),
}

# Standard offsets from UTC, hours; None marks the zones without daylight time.
_ZONES = {"E": (-5, "E"), "C": (-6, "C"), "M": (-7, "M"), "P": (-8, "P"), "AK": (-9, "AK"),
          "H": (-10, "H"), "A": (-4, "A"), "CH": (10, "Ch"), "S": (-11, "S")}
_STATE_ZONE = {}
for _zone, _states in {
    "E": "CT DE DC GA ME MD MA MI NH NJ NY NC OH PA RI SC VT VA WV",
    "C": "AL AR IL IA LA MN MS MO OK WI",
    "M": "AZ CO MT NM UT WY",
    "P": "CA NV OR WA",
    "AK": "AK", "H": "HI", "A": "PR VI", "CH": "GU MP", "S": "AS",
}.items():
    for _state in _states.split():
        _STATE_ZONE[_state] = _zone
# States split between two zones: the longitude west of which the second applies.
_SPLIT_STATES = {"FL": ("E", -85.0, "C"), "IN": ("E", -86.9, "C"), "KY": ("E", -86.0, "C"),
                 "TN": ("E", -85.3, "C"), "KS": ("C", -101.5, "M"), "NE": ("C", -100.9, "M"),
                 "ND": ("C", -101.2, "M"), "SD": ("C", -100.4, "M"), "TX": ("C", -104.9, "M"),
                 "ID": ("M", -115.5, "P"), "OR": ("P", -200.0, "P")}
_NO_DAYLIGHT = {"AZ", "HI", "PR", "VI", "GU", "MP", "AS"}


@dataclass
class Site:
    code: str
    name: str        # the leaf text after the code
    state: str
    lat: float
    lon: float
    river: str = ""  # river gauges only


def _second_sunday_of_march(year):
    first = datetime.date(year, 3, 1)
    return first + datetime.timedelta(days=(6 - first.weekday()) % 7 + 7)


def _first_sunday_of_november(year):
    first = datetime.date(year, 11, 1)
    return first + datetime.timedelta(days=(6 - first.weekday()) % 7)


def local_zone(state, lon, when):
    """(offset in hours, zone letters such as "CDT") for a place at 'when' (UTC)."""
    zone = _STATE_ZONE.get(state)
    if zone is None:
        east, boundary, west = _SPLIT_STATES.get(state, (None, 0, None))
        if east is not None:
            zone = west if lon < boundary else east
        else:
            zone = min(_ZONES, key=lambda z: abs(_ZONES[z][0] - lon / 15.0))
    offset, letters = _ZONES[zone]
    daylight = False
    if state not in _NO_DAYLIGHT and offset < 0:
        start = datetime.datetime.combine(_second_sunday_of_march(when.year),
                                          datetime.time(2 - offset))
        end = datetime.datetime.combine(_first_sunday_of_november(when.year),
                                        datetime.time(1 - offset))
        daylight = start <= when.replace(tzinfo=None) < end
    if daylight:
        return offset + 1, letters + "DT"
    return offset, letters + "ST"


_DESCRIPTOR = re.compile(r" (CDP|city|town|village|borough|township|CCD|municipality|"
                         r"comunidad|zona urbana|plantation|UT|gore|grant|location)$")


def _key(text):
    """Spelling-insensitive key of a town name: 'St. Louis' and 'Saint Louis',
    'La Salle' and 'LaSalle' meet."""
    text = text.lower().replace("saint ", "st ")
    return re.sub(r"[^a-z0-9]", "", text)


def _place_keys(name):
    """Keys under which a census place can be found, most exact first: its
    cleaned name, the parts of a hyphenated or slashed name, and the leading
    words of the name ('Boise City' is found as 'Boise')."""
    clean = _DESCRIPTOR.sub("", wt.clean_place_name(re.sub(r" \(balance\)$", "", name)))
    parts = [p.strip() for p in re.split(r"[-/]", clean) if p.strip()]
    words = clean.split()
    prefixes = [" ".join(words[:n]) for n in range(len(words) - 1, 0, -1)]
    return [[clean], parts, prefixes]


def _candidates(text):
    """Town names to try for a leaf's place text: the text, the part before and
    inside parentheses, each with trailing words dropped one by one."""
    parts = [text]
    inner = re.search(r"\(([^)]*)\)", text)
    outer = re.sub(r"\s*\([^)]*\)", "", text).strip()
    parts += [outer] + ([inner.group(1)] if inner else [])
    for part in list(parts):
        parts += [p for p in re.split(r"[/-]", part) if p]
    names = []
    longest = max(len(part.split()) for part in parts)
    for drop in range(longest):
        for part in parts:
            words = part.split()
            if drop < len(words):
                names.append(_key(" ".join(words[:len(words) - drop])))
    return names


class Registry:
    """Every location the sample service knows by code, plus the towns."""

    def __init__(self, source=wt.DEFAULT_SOURCE, data_dir=None):
        self.stations = {s.code: s for s in wt.load_stations(source)}
        self.zones = {z.code: z for z in wt.load_zones(source)}
        places = wt.load_places(source)
        self.counties = [p for p in places if len(p.fips) == 5]
        self.towns = [p for p in places if len(p.fips) == 7]
        self.town_index = wt.NearestIndex(self.towns, lambda p: (p.lat, p.lon))
        self._by_name = {}
        # Towns (7-digit codes) win over county subdivisions (10 digits) of the
        # same name, and whole names over parts of names.
        named = [(p, _place_keys(p.name)) for p in places if len(p.fips) in (7, 10)]
        for rank in range(3):
            for digits in (7, 10):
                for p, keys in named:
                    if len(p.fips) == digits:
                        for key in keys[rank]:
                            self._by_name.setdefault((_key(key), p.state), p)
        self.zctas = None
        self._source = source
        self.radars = {}
        self.gauges = {}
        if data_dir:
            self.radars = self._load_sites(os.path.join(data_dir, "radar.trv"), rivers=False)
            self.gauges = self._load_sites(os.path.join(data_dir, "river.trv"), rivers=True)

    def find_town(self, name, state):
        for candidate in _candidates(name):
            place = self._by_name.get((candidate, state))
            if place is not None:
                return place
        return None

    def _load_sites(self, path, rivers):
        sites = {}
        if not os.path.exists(path):
            return sites
        with open(path, "rb") as handle:
            for raw in handle.read().decode("cp1252").splitlines():
                if not raw or raw.startswith("+"):
                    continue
                code, _, text = raw.partition(" ")
                match = re.match(r"(.*), ([A-Z]{2})$", text)
                if not match:
                    continue
                body, state = match.groups()
                river, place_text = "", body
                if rivers and " at " in body:
                    river, place_text = body.split(" at ", 1)
                position = _SITE_POSITIONS.get(code)
                if position is None:
                    town = self.find_town(place_text, state)
                    if town is None:
                        continue
                    position = (town.lat, town.lon)
                sites[code] = Site(code, text, state, position[0], position[1], river)
        return sites

    def nearest_town(self, lat, lon):
        return self.town_index.nearest(lat, lon)

    def point_name(self, lat, lon):
        """('Louisville', 'KY', miles, compass) for the town nearest a point."""
        town = self.nearest_town(lat, lon)
        if town is None:
            return "", "", 0.0, ""
        miles = distance_miles(lat, lon, town.lat, town.lon)
        return wt.clean_place_name(town.name), town.state, miles, compass(
            bearing(town.lat, town.lon, lat, lon))

    def zip_centroids(self):
        if self.zctas is None:
            self.zctas = wt.load_zctas(self._source)
        return self.zctas


def distance_miles(lat1, lon1, lat2, lon2):
    p1, p2 = math.radians(lat1), math.radians(lat2)
    dlat, dlon = p2 - p1, math.radians(lon2 - lon1)
    a = math.sin(dlat / 2) ** 2 + math.cos(p1) * math.cos(p2) * math.sin(dlon / 2) ** 2
    return 3958.8 * 2 * math.asin(min(1.0, math.sqrt(a)))


def bearing(lat1, lon1, lat2, lon2):
    """Initial bearing in degrees true from point 1 to point 2."""
    p1, p2 = math.radians(lat1), math.radians(lat2)
    dlon = math.radians(lon2 - lon1)
    y = math.sin(dlon) * math.cos(p2)
    x = math.cos(p1) * math.sin(p2) - math.sin(p1) * math.cos(p2) * math.cos(dlon)
    return math.degrees(math.atan2(y, x)) % 360.0


_POINTS = ["N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
           "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"]
_WORDS = {"N": "North", "NNE": "North Northeast", "NE": "Northeast", "ENE": "East Northeast",
          "E": "East", "ESE": "East Southeast", "SE": "Southeast", "SSE": "South Southeast",
          "S": "South", "SSW": "South Southwest", "SW": "Southwest", "WSW": "West Southwest",
          "W": "West", "WNW": "West Northwest", "NW": "Northwest", "NNW": "North Northwest"}


def compass(degrees):
    return _POINTS[int((degrees % 360) / 22.5 + 0.5) % 16]


def compass_words(degrees):
    return _WORDS[compass(degrees)]
