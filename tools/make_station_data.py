#!/usr/bin/env python3
"""Writes the station trees and the ZIP code table installed beside Cumulon.

    make_station_data.py --source /usr/share/weather-util --out build/windows/bin

From Debian's weather-util-data tables it makes:
  observations.trv  observing stations of the United States, grouped by state
  metar.trv         every station by country, the United States by state
  alert.trv         public forecast zones by state ("ILZ103 Northern Cook County")
  zipcodes.dat      one line per ZIP code: zip,place,state,zone,county,lat,lon

Tree files hold "+" lines (first-level headings), "++" lines (second-level
headings) and leaves "CODE free text".  Every file is code page 1252 with CR LF
line ends, the way the program reads its installed data.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import weather_tables as wt  # noqa: E402

MAX_LINE = 1023


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


def zipcode_lines(zctas, places):
    """One line per ZIP code, in ZIP order.

    The place is the nearest census place (city, town, village or designated
    place).  The county is the county of the nearest county subdivision when
    that lies close by (within about half a degree) in the place's state, else
    the county of that state whose centroid is nearest, else none.
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

    def county_of(z, state):
        subdivision = subdivision_index.nearest(z.lat, z.lon, max_rings=1)
        if subdivision is not None and subdivision.state == state:
            return counties[subdivision.fips[:5]]
        index = county_indexes.get(state)
        return index.nearest(z.lat, z.lon) if index else None

    lines = []
    for z in sorted(zctas, key=lambda z: z.zip):
        town = town_index.nearest(z.lat, z.lon)
        if town is None:
            continue
        state = town.state
        county = county_of(z, state)
        name = wt.clean_place_name(town.name)
        county_name = county.name if county else ""
        lines.append(",".join([z.zip, _field(name), state, z.zone, _field(county_name),
                               "%.4f" % z.lat, "%.4f" % z.lon]))
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


def generate(source, out_dir):
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
        "zipcodes.dat": zipcode_lines(zctas, places),
    }
    summary = {}
    for name, lines in outputs.items():
        summary[name] = (len(lines), write_lines(os.path.join(out_dir, name), lines))
    return summary


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--source", default=wt.DEFAULT_SOURCE,
                        help="folder of the weather-util-data tables")
    parser.add_argument("--out", required=True, help="folder to write the files into")
    parser.add_argument("--quiet", action="store_true")
    args = parser.parse_args(argv)
    summary = generate(args.source, args.out)
    if not args.quiet:
        for name, (count, size) in summary.items():
            print("%-17s %6d lines %9d bytes" % (name, count, size))
    return 0


if __name__ == "__main__":
    sys.exit(main())
