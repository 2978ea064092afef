"""Readers for the public-domain weather tables of Debian's weather-util-data.

The package ships five gzip files (stations, zones, places, zctas, airports) in
one simple format: a "[key]" line opens a record, "name = value" lines fill it,
and values that hold coordinates or references are Python-style tuples.
Coordinates are in radians.  This module turns them into plain records with
decimal degrees that the data generator and the sample weather service share.
"""

import gzip
import math
import os
import re
import unicodedata
from dataclasses import dataclass

DEFAULT_SOURCE = "/usr/share/weather-util"

STATE_NAMES = {
    "AK": "Alaska", "AL": "Alabama", "AR": "Arkansas", "AS": "American Samoa",
    "AZ": "Arizona", "CA": "California", "CO": "Colorado", "CT": "Connecticut",
    "DC": "District of Columbia", "DE": "Delaware", "FL": "Florida",
    "FM": "Micronesia", "GA": "Georgia", "GU": "Guam", "HI": "Hawaii",
    "IA": "Iowa", "ID": "Idaho", "IL": "Illinois", "IN": "Indiana",
    "KS": "Kansas", "KY": "Kentucky", "LA": "Louisiana", "MA": "Massachusetts",
    "MD": "Maryland", "ME": "Maine", "MH": "Marshall Islands", "MI": "Michigan",
    "MN": "Minnesota", "MO": "Missouri", "MP": "Northern Mariana Islands",
    "MS": "Mississippi", "MT": "Montana", "NC": "North Carolina",
    "ND": "North Dakota", "NE": "Nebraska", "NH": "New Hampshire",
    "NJ": "New Jersey", "NM": "New Mexico", "NV": "Nevada", "NY": "New York",
    "OH": "Ohio", "OK": "Oklahoma", "OR": "Oregon", "PA": "Pennsylvania",
    "PR": "Puerto Rico", "PW": "Palau", "RI": "Rhode Island",
    "SC": "South Carolina", "SD": "South Dakota", "TN": "Tennessee",
    "TX": "Texas", "UT": "Utah", "VA": "Virginia", "VI": "Virgin Islands",
    "VT": "Vermont", "WA": "Washington", "WI": "Wisconsin",
    "WV": "West Virginia", "WY": "Wyoming",
}

# Two-letter country codes that stand at the end of some station descriptions.
COUNTRY_CODES = {
    "AE": "United Arab Emirates", "AM": "Armenia", "AO": "Angola",
    "AQ": "Antarctica", "AR": "Argentina", "AU": "Australia",
    "AZ": "Azerbaijan", "BD": "Bangladesh", "BG": "Bulgaria", "BO": "Bolivia",
    "BR": "Brazil", "BS": "Bahamas, The", "BT": "Bhutan", "BW": "Botswana",
    "BY": "Belarus", "CA": "Canada", "CD": "Congo, Democratic Republic Of The",
    "CH": "Switzerland", "CK": "Cook Islands", "CL": "Chile", "CM": "Cameroon",
    "CN": "China", "CO": "Colombia", "CU": "Cuba", "CV": "Cape Verde",
    "CZ": "Czech Republic", "DE": "Germany", "DK": "Denmark",
    "DO": "Dominican Republic", "DZ": "Algeria", "EC": "Ecuador",
    "EE": "Estonia", "EG": "Egypt", "EH": "Western Sahara", "ES": "Spain",
    "FJ": "Fiji", "FR": "France", "GA": "Gabon", "GB": "United Kingdom",
    "GE": "Georgia", "GQ": "Equatorial Guinea", "GR": "Greece",
    "GT": "Guatemala", "GY": "Guyana", "HN": "Honduras", "HU": "Hungary",
    "ID": "Indonesia", "IE": "Ireland", "IL": "Israel", "IN": "India",
    "IQ": "Iraq", "IR": "Iran", "IS": "Iceland", "IT": "Italy", "JP": "Japan",
    "KG": "Kyrgyzstan", "KH": "Cambodia", "KR": "Korea, South", "KW": "Kuwait",
    "KZ": "Kazakhstan", "LA": "Laos", "LK": "Sri Lanka", "LV": "Latvia",
    "LY": "Libya", "MA": "Morocco", "MD": "Moldova", "ML": "Mali",
    "MM": "Myanmar", "MN": "Mongolia", "MR": "Mauritania", "MS": "Montserrat",
    "MU": "Mauritius", "MV": "Maldives", "MX": "Mexico", "MY": "Malaysia",
    "MZ": "Mozambique", "NA": "Namibia", "NG": "Nigeria", "NL": "Netherlands",
    "NO": "Norway", "NR": "Nauru", "OM": "Oman", "PA": "Panama", "PE": "Peru",
    "PF": "French Polynesia", "PG": "Papua New Guinea", "PK": "Pakistan",
    "PL": "Poland", "PR": "Puerto Rico", "PT": "Portugal", "PY": "Paraguay",
    "QA": "Qatar", "RO": "Romania", "RS": "Serbia", "RU": "Russia",
    "RW": "Rwanda", "SA": "Saudi Arabia", "SD": "Sudan", "SE": "Sweden",
    "SG": "Singapore", "SI": "Slovenia", "SN": "Senegal", "SO": "Somalia",
    "SR": "Suriname", "SZ": "Swaziland", "TC": "Turks And Caicos Islands",
    "TH": "Thailand", "TJ": "Tajikistan", "TM": "Turkmenistan",
    "TN": "Tunisia", "TO": "Tonga", "TR": "Turkey", "TZ": "Tanzania",
    "UZ": "Uzbekistan", "VC": "Saint Vincent And The Grenadines",
    "VN": "Vietnam", "VU": "Vanuatu", "XK": "Kosovo", "ZA": "South Africa",
    "ZM": "Zambia", "ZW": "Zimbabwe",
}

UNITED_STATES = "United States"
_US_SUFFIXES = {"United States", "US", "United States of America", "United States Of America"}
# Country names that the tables write with a comma ("Korea, South").
_COUNTRY_QUALIFIERS = {"South", "North", "The", "Federated States Of", "Republic Of The",
                       "Democratic Republic Of The", "The Republic Of"}

# Legal and statistical descriptors the census appends to place names, longest first.
_PLACE_SUFFIXES = sorted([
    " metropolitan government (balance)", " consolidated government (balance)",
    " metro government (balance)", " city (balance)",
    " unified government (balance)", " metropolitan government", " metro township",
    " city and borough", " urban county", " municipality", " corporation", " zona urbana",
    " comunidad", " borough", " village", " town", " city", " CDP",
], key=len, reverse=True)


@dataclass
class Station:
    code: str          # four letters, upper case
    name: str          # description without the country (and, in the US, with the state)
    lat: float
    lon: float
    country: str       # full country name; "United States" for US stations
    state: str         # two-letter state code for US stations, else ""


@dataclass
class Zone:
    code: str          # six characters such as ILZ103
    name: str          # zone name without state and country
    state: str
    lat: float
    lon: float


@dataclass
class Place:
    fips: str          # 5 digits for a county, 7 for a place, 10 for a county subdivision
    name: str          # the census description without its state
    state: str
    lat: float
    lon: float


@dataclass
class Zcta:
    zip: str
    lat: float
    lon: float
    zone: str          # nearest forecast zone, upper case, or ""
    station: str       # nearest observing station, upper case, or ""


def read_records(path):
    """Yields (key, {name: value}) for every record of one table file."""
    opener = gzip.open if path.endswith(".gz") else open
    key, fields = None, {}
    with opener(path, "rt", encoding="utf-8", errors="replace") as handle:
        for raw in handle:
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            if line.startswith("[") and line.endswith("]"):
                if key is not None:
                    yield key, fields
                key, fields = line[1:-1], {}
            elif key is not None and " = " in line:
                name, value = line.split(" = ", 1)
                fields[name] = value
    if key is not None:
        yield key, fields


_NUMBER_PAIR = re.compile(r"\(\s*(-?[0-9.]+)\s*,\s*(-?[0-9.]+)\s*\)")
_REFERENCE = re.compile(r"\(\s*'([^']*)'\s*,")


def parse_position(value):
    """Turns '(0.7262024, -1.5375333)' (radians) into (lat, lon) in degrees, or None."""
    match = _NUMBER_PAIR.match(value or "")
    if not match:
        return None
    return math.degrees(float(match.group(1))), math.degrees(float(match.group(2)))


def parse_reference(value):
    """Turns "('klot', 0.0006)" into 'klot', or '' when absent."""
    match = _REFERENCE.match(value or "")
    return match.group(1) if match else ""


def to_ansi(text):
    """Text in code page 1252: characters it lacks lose their accents or become '?'."""
    out = []
    for char in text:
        try:
            char.encode("cp1252")
            out.append(char)
        except UnicodeEncodeError:
            plain = "".join(c for c in unicodedata.normalize("NFKD", char)
                            if not unicodedata.combining(c))
            try:
                plain.encode("cp1252")
                out.append(plain or "?")
            except UnicodeEncodeError:
                out.append("?")
    return "".join(out)


def split_country(description):
    """Splits a station description into (name, country, state)."""
    parts = [p.strip() for p in description.split(",")]
    if len(parts) >= 2 and parts[-1] in _COUNTRY_QUALIFIERS:
        parts[-2:] = [parts[-2] + ", " + parts[-1]]
    last = parts[-1]
    if last in _US_SUFFIXES:
        state = parts[-2] if len(parts) >= 2 and parts[-2] in STATE_NAMES else ""
        return ", ".join(parts[:-1]), UNITED_STATES, state
    if len(last) == 2 and last in COUNTRY_CODES:
        return ", ".join(parts[:-1]), COUNTRY_CODES[last], ""
    return ", ".join(parts[:-1]) or last, last, ""


def load_stations(source=DEFAULT_SOURCE):
    """Stations with a known position and a real description."""
    stations = []
    for key, fields in read_records(os.path.join(source, "stations.gz")):
        position = parse_position(fields.get("location"))
        description = fields.get("description", "")
        if len(key) != 4 or position is None or description.lower().startswith("unknown"):
            continue
        name, country, state = split_country(description)
        if country == UNITED_STATES and not state:
            zone = parse_reference(fields.get("zone"))
            if zone[:2].upper() in STATE_NAMES:
                state = zone[:2].upper()
                name = name + ", " + state
            else:
                continue
        stations.append(Station(key.upper(), to_ansi(name), position[0], position[1],
                                country, state))
    return stations


def load_zones(source=DEFAULT_SOURCE):
    """Public forecast zones of the United States (six-character codes)."""
    zones = []
    for key, fields in read_records(os.path.join(source, "zones.gz")):
        position = parse_position(fields.get("centroid"))
        description = fields.get("description", "")
        if not re.fullmatch(r"[a-z]{2}z[0-9]{3}", key) or position is None:
            continue
        parts = [p.strip() for p in description.split(",")]
        state = key[:2].upper()
        if len(parts) < 3 or parts[-1] != "US" or parts[-2] != state or state not in STATE_NAMES:
            continue
        zones.append(Zone(key.upper(), to_ansi(", ".join(parts[:-2])), key[:2].upper(),
                          position[0], position[1]))
    return zones


def clean_place_name(description):
    """'Louisville city' -> 'Louisville'; 'Lynchburg, Moore County metropolitan
    government' -> 'Lynchburg'."""
    name = description
    for suffix in _PLACE_SUFFIXES:
        if name.endswith(suffix):
            name = name[: -len(suffix)]
            break
    return name.split(",")[0].strip()


def load_places(source=DEFAULT_SOURCE):
    """Counties, places and county subdivisions from the census gazetteer."""
    places = []
    for key, fields in read_records(os.path.join(source, "places.gz")):
        position = parse_position(fields.get("centroid"))
        description = fields.get("description", "")
        if not key.startswith("fips") or position is None or ", " not in description:
            continue
        name, state = description.rsplit(", ", 1)
        places.append(Place(key[4:], to_ansi(name), state, position[0], position[1]))
    return places


def load_zctas(source=DEFAULT_SOURCE):
    zctas = []
    for key, fields in read_records(os.path.join(source, "zctas.gz")):
        position = parse_position(fields.get("centroid"))
        if not re.fullmatch(r"[0-9]{5}", key) or position is None:
            continue
        zctas.append(Zcta(key, position[0], position[1],
                          parse_reference(fields.get("zone")).upper(),
                          parse_reference(fields.get("station")).upper()))
    return zctas


def degrees_apart(lat1, lon1, lat2, lon2):
    """Equirectangular distance in degrees of latitude: exact enough nearby."""
    scale = math.cos(math.radians((lat1 + lat2) / 2))
    return math.hypot(lat2 - lat1, (lon2 - lon1) * scale)


class NearestIndex:
    """Nearest-neighbour search over points on the globe, bucketed by degree cells.

    Distances are equirectangular (longitude scaled by the cosine of the
    latitude), which is exact enough for picking the closest town.
    """

    def __init__(self, items, position, cell=0.5):
        self.cell = cell
        self.position = position
        self.buckets = {}
        for item in items:
            lat, lon = position(item)
            self.buckets.setdefault(self._key(lat, lon), []).append(item)

    def _key(self, lat, lon):
        return int(math.floor(lat / self.cell)), int(math.floor(lon / self.cell))

    def nearest(self, lat, lon, max_rings=40):
        row, col = self._key(lat, lon)
        scale = math.cos(math.radians(lat))
        best, best_d = None, float("inf")
        for ring in range(max_rings + 1):
            # Once something is found, one more ring is enough: a closer point
            # can sit at most one cell beyond the ring where the first was seen.
            if best is not None and (ring - 1) * self.cell * min(scale, 1.0) > math.sqrt(best_d):
                break
            for r in range(row - ring, row + ring + 1):
                for c in range(col - ring, col + ring + 1):
                    if max(abs(r - row), abs(c - col)) != ring:
                        continue
                    for item in self.buckets.get((r, c), ()):
                        ilat, ilon = self.position(item)
                        d = (ilat - lat) ** 2 + ((ilon - lon) * scale) ** 2
                        if d < best_d:
                            best, best_d = item, d
        return best
