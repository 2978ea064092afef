#!/usr/bin/env python3
"""Writes the station trees and the ZIP code table installed beside Cumulon.

    make_station_data.py --source /usr/share/weather-util --out build/windows/bin

From Debian's weather-util-data tables it makes:
  observations.trv  observing stations of the United States, grouped by state
  metar.trv         every station by country, the United States by state
  alert.trv         public forecast zones by state ("ILZ103 Northern Cook County")
  zipcodes.dat      one line per ZIP code: zip,town,state,zone,county,lat,lon
The ZIP codes are named by their post office (town and state) from the table
in postal/ beside this script (MIT licence, see postal/LICENSE.txt).

Tree files hold "+" lines (first-level headings), "++" lines (second-level
headings) and leaves "CODE free text".  Every file is code page 1252 with CR LF
line ends, the way the program reads its installed data.
"""

import argparse
import gzip
import os
import re
import statistics
import sys
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import weather_tables as wt  # noqa: E402

MAX_LINE = 1023
REGION_REACH = 0.3  # degrees of latitude, about 33 km
POSTAL_TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "postal",
                            "zip_codes.csv.gz")


def _state_name(code):
    return wt.STATE_NAMES.get(code, code)


def _sorted_by_name(items):
    return sorted(items, key=lambda item: (item.name.lower(), item.code))


def _group_by(items, key):
    groups = {}
    for item in items:
        groups.setdefault(key(item), []).append(item)
    return groups


def station_leaf(station):
    return station.code + " " + station.name


def observation_tree(stations):
    """Lines of observations.trv: one '+State' heading per state."""
    us = [s for s in stations if s.country == wt.UNITED_STATES]
    lines = []
    by_state = _group_by(us, lambda s: _state_name(s.state))
    for state in sorted(by_state):
        lines.append("+" + state)
        lines.extend(station_leaf(s) for s in _sorted_by_name(by_state[state]))
    return lines


def metar_tree(stations):
    """Lines of metar.trv: the United States first (by state), then every other
    country in alphabetical order with its stations directly under it."""
    by_country = _group_by(stations, lambda s: s.country)
    lines = []
    if wt.UNITED_STATES in by_country:
        lines.append("+" + wt.UNITED_STATES)
        by_state = _group_by(by_country.pop(wt.UNITED_STATES), lambda s: _state_name(s.state))
        for state in sorted(by_state):
            lines.append("++" + state)
            lines.extend(station_leaf(s) for s in _sorted_by_name(by_state[state]))
    for country in sorted(by_country, key=str.lower):
        lines.append("+" + country)
        lines.extend(station_leaf(s) for s in _sorted_by_name(by_country[country]))
    return lines


def alert_tree(zones):
    """Lines of alert.trv: zones in code order under their state."""
    lines = []
    by_state = _group_by(zones, lambda z: _state_name(z.state))
    for state in sorted(by_state):
        lines.append("+" + state)
        lines.extend(z.code + " " + z.name for z in sorted(by_state[state], key=lambda z: z.code))
    return lines


def _field(text):
    """A ZIP table field: commas would shift the fields, so they become blanks."""
    return " ".join(text.replace(",", " ").split())


def load_postal_names(path=POSTAL_TABLE):
    """{zip: (CITY, ST)} from the post office table, lines "ZIP,CITY,ST"."""
    names = {}
    opener = gzip.open if path.endswith(".gz") else open
    with opener(path, "rt", encoding="cp1252", errors="replace", newline="") as handle:
        for line in handle:
            fields = [f.strip() for f in line.split(",")]
            if (len(fields) == 3 and re.fullmatch(r"[0-9]{5}", fields[0]) and fields[1]
                    and re.fullmatch(r"[A-Z]{2}", fields[2])):
                names.setdefault(fields[0], (fields[1], fields[2]))
    return names


def title_case(name):
    """'WILKES-BARRE' -> 'Wilkes-Barre'; "LINCOLN'S NEW SALEM" -> "Lincoln's New Salem"."""
    return re.sub(r"(^|[ ./-])([a-z])", lambda m: m.group(1) + m.group(2).upper(), name.lower())


_SPELLED_OUT = {"N": "NORTH", "S": "SOUTH", "E": "EAST", "W": "WEST", "FT": "FORT",
                "MT": "MOUNT", "PT": "POINT", "ST": "SAINT"}


def spelled_out(city):
    """'W HARTFORD' -> 'WEST HARTFORD': the post office's short words written out."""
    return " ".join(_SPELLED_OUT.get(word, word) for word in city.split(" "))


def name_key(name):
    """Letters and digits only, lower case, without accents: 'Cañon City' and
    'CANON CITY', 'St. Louis' and 'ST LOUIS' share a key."""
    plain = unicodedata.normalize("NFKD", name)
    return "".join(c for c in plain if c.isalnum() and c.isascii()).lower()


def zipcode_lines(zctas, places, postal):
    """One line per ZIP code, in ZIP order: zip,town,state,zone,county,lat,lon.

    postal maps ZIP codes to their post office's (CITY, ST).  The town is that
    city as the census spells a place of that name in that state ("McAllen",
    "West Hartford" for W HARTFORD), else in title case; a ZIP code the post
    office table lacks takes the nearest census place and its state.  The
    coordinates are the census centroid of the ZIP code's area; a ZIP code
    without one (post office boxes, single addresses) has no zone and lies
    amid its town's areas, else at the census place of its name, else it is
    left out.

    The county is the county of the nearest county subdivision when that lies
    close by (within about half a degree) in the ZIP code's state, else the
    county of that state whose centroid is nearest, else none.
    """
    counties = {p.fips: p for p in places if len(p.fips) == 5}
    towns = [p for p in places if len(p.fips) == 7]
    subdivisions = [p for p in places if len(p.fips) == 10 and p.fips[:5] in counties]

    def position(p):
        return p.lat, p.lon

    town_index = wt.NearestIndex(towns, position)
    subdivision_index = wt.NearestIndex(subdivisions, position)
    county_indexes = {}
    for county in counties.values():
        county_indexes.setdefault(county.state, []).append(county)
    county_indexes = {state: wt.NearestIndex(items, position, cell=1.0)
                      for state, items in county_indexes.items()}

    def county_of(lat, lon, state):
        subdivision = subdivision_index.nearest(lat, lon, max_rings=1)
        if subdivision is not None and subdivision.state == state:
            return counties[subdivision.fips[:5]]
        index = county_indexes.get(state)
        return index.nearest(lat, lon) if index else None

    # Census places by spelling key; towns come before county subdivisions.
    census = {}
    for place in towns + subdivisions:
        key = name_key(wt.clean_place_name(place.name))
        census.setdefault((place.state, key), []).append(place)

    def census_places(city, state):
        for key in (name_key(city), name_key(spelled_out(city))):
            if (state, key) in census:
                return census[(state, key)]
        return []

    def postal_name(city, state):
        found = census_places(city, state)
        return wt.clean_place_name(found[0].name) if found else wt.to_ansi(title_case(city))

    records = {}
    for z in zctas:
        if z.zip in postal:
            city, state = postal[z.zip]
            name = postal_name(city, state)
        else:
            town = town_index.nearest(z.lat, z.lon)
            if town is None:
                continue
            name, state = wt.clean_place_name(town.name), town.state
        records[z.zip] = (name, state, z.zone, z.lat, z.lon)

    # A ZIP code without an area of its own lies amid the areas of its town
    # that share its first three digits (one mail processing region), else at
    # the census place of its name that lies within about 30 km of an area of
    # that region (a place of the same name elsewhere in the state is another
    # town).
    town_areas, regions = {}, {}
    for code, (name, state, _, lat, lon) in records.items():
        town_areas.setdefault((state, name, code[:3]), []).append((lat, lon))
        regions.setdefault(code[:3], []).append((lat, lon))
    regions = {prefix: wt.NearestIndex(points, lambda p: p) for prefix, points in regions.items()}

    def in_region(place, prefix):
        # Two rings of half-degree cells reach a degree of longitude, which is
        # more than REGION_REACH even as far north as Alaska goes.
        index = regions.get(prefix)
        area = index.nearest(place.lat, place.lon, max_rings=2) if index else None
        return area is not None and wt.degrees_apart(*area, place.lat, place.lon) < REGION_REACH

    def location(code, city, state, name):
        points = town_areas.get((state, name, code[:3]))
        if points:
            return statistics.median(p[0] for p in points), statistics.median(p[1] for p in points)
        for place in census_places(city, state):
            if in_region(place, code[:3]):
                return place.lat, place.lon
        return None

    for code, (city, state) in postal.items():
        if code in records:
            continue
        name = postal_name(city, state)
        found = location(code, city, state, name)
        if found is not None:
            records[code] = (name, state, "", found[0], found[1])

    lines = []
    for code in sorted(records):
        name, state, zone, lat, lon = records[code]
        county = county_of(lat, lon, state)
        county_name = county.name if county else ""
        lines.append(",".join([code, _field(name), state, zone, _field(county_name),
                               "%.4f" % lat, "%.4f" % lon]))
    return lines


def write_lines(path, lines):
    """Writes ANSI text with CR LF line ends; refuses lines the program cannot read."""
    for line in lines:
        if len(line.encode("cp1252")) > MAX_LINE:
            raise ValueError("%s: line longer than %d bytes: %.60s..." % (path, MAX_LINE, line))
    data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    temporary = path + ".tmp"
    with open(temporary, "wb") as handle:
        handle.write(data)
    os.replace(temporary, path)
    return len(data)


def generate(source, out_dir, postal_table=POSTAL_TABLE):
    """Writes the four files into out_dir and returns {file name: (lines, bytes)}."""
    os.makedirs(out_dir, exist_ok=True)
    stations = wt.load_stations(source)
    zones = wt.load_zones(source)
    places = wt.load_places(source)
    zctas = wt.load_zctas(source)
    outputs = {
        "observations.trv": observation_tree(stations),
        "metar.trv": metar_tree(stations),
        "alert.trv": alert_tree(zones),
        "zipcodes.dat": zipcode_lines(zctas, places, load_postal_names(postal_table)),
    }
    summary = {}
    for name, lines in outputs.items():
        summary[name] = (len(lines), write_lines(os.path.join(out_dir, name), lines))
    return summary


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--source", default=wt.DEFAULT_SOURCE,
                        help="folder of the weather-util-data tables")
    parser.add_argument("--postal", default=POSTAL_TABLE,
                        help="post office table of ZIP codes (ZIP,CITY,ST lines, may be gzip)")
    parser.add_argument("--out", required=True, help="folder to write the files into")
    parser.add_argument("--quiet", action="store_true")
    args = parser.parse_args(argv)
    summary = generate(args.source, args.out, args.postal)
    if not args.quiet:
        for name, (count, size) in summary.items():
            print("%-17s %6d lines %9d bytes" % (name, count, size))
    return 0


if __name__ == "__main__":
    sys.exit(main())
