"""The feed catalog (links.dat): reading it the way the program does, filling
its placeholders, and deriving the sample service's own catalog from it.

A catalog is lines ended by CR LF.  "[SECTION]" opens a section whose body
runs to the first empty line; a body line "key=address\xbbcache file" is an
entry.  Single-feed sections use "url=" with a run of "#" standing for the
station code; the point forecast sections use "#" as a field separator
(address A#B#C, cache file D#E).
"""

import re

SEPARATOR = b"\xbb"
MAX_LINE = 1023

SECTIONS = ("[POINTFORECAST]", "[HOURLYPOINTFORECAST]", "[OBSERVATIONS]", "[METAR]",
            "[RIVERGAUGES]", "[ALERTS]", "[RADAR]", "[SATELLITE]", "[SATELLITEWIDE]",
            "[ALERTMAPS]")

# The run of "#" each code section fills, in the address and in the cache file.
CODE_RUNS = {
    "[OBSERVATIONS]": ("####", "####"),
    "[METAR]": ("####", "####"),
    "[RIVERGAUGES]": ("#####", "#####"),
    "[ALERTS]": ("######", "######"),
    "[RADAR]": ("###", "####"),
}
POINT_SECTIONS = ("[POINTFORECAST]", "[HOURLYPOINTFORECAST]")

RADAR_KEYS = tuple(
    "sr." + k + "=" for k in ("topo", "river", "highway", "county", "city", "warning",
                              "n0r", "n0s", "n0v", "n1p", "ncr", "ntp", "n0rlegend",
                              "n0slegend", "n0vlegend", "n1plegend", "ncrlegend", "ntplegend")
) + tuple("lr." + k + "=" for k in ("topo", "river", "highway", "county", "city", "warning",
                                    "n0z", "n0zlegend"))
SATELLITE_REGIONS = ("watl", "catl", "carb", "gmex", "eaus", "ceus", "nwatl", "natl", "eepac",
                     "wepac", "cpac", "hi", "nepac", "weus")
WIDE_REGIONS = ("tatl", "tpac")
SATELLITE_PRODUCTS = ("vis", "wv", "avn", "ir2", "bd", "ir4", "jsl", "rgb", "ft", "rb")
SATELLITE_KEYS = tuple(r + "." + p + "=" for r in SATELLITE_REGIONS for p in SATELLITE_PRODUCTS)
WIDE_KEYS = tuple(r + "." + p + "=" for r in WIDE_REGIONS for p in SATELLITE_PRODUCTS)
ALERT_MAP_KEYS = ("us=", "ak=", "hi=", "gu=", "pr=", "as=")

REQUIRED_KEYS = {
    "[POINTFORECAST]": ("url=",),
    "[HOURLYPOINTFORECAST]": ("url=",),
    "[OBSERVATIONS]": ("url=",),
    "[METAR]": ("url=",),
    "[RIVERGAUGES]": ("url=",),
    "[ALERTS]": ("url=",),
    "[RADAR]": RADAR_KEYS,
    "[SATELLITE]": SATELLITE_KEYS,
    "[SATELLITEWIDE]": WIDE_KEYS,
    "[ALERTMAPS]": ALERT_MAP_KEYS,
}


def split_lines(data):
    """Lines as the program reads them: cut at the first CR or LF."""
    return [re.split(rb"[\r\n]", line, maxsplit=1)[0] for line in data.split(b"\n")]


def read_sections(data):
    """{section name: [(key, address, cache file)]} for every section in 'data' (bytes).

    Mirrors the program's lookup: a header line equal to "[NAME]", body lines up
    to the first empty line, the key up to and including the first "=", the
    address up to the first 0xBB, the cache file after it.  Body lines without
    "=" and 0xBB are kept out (they are comments to the program).
    """
    sections = {}
    current = None
    for line in split_lines(data):
        text = line.decode("cp1252")
        if current is None:
            if re.fullmatch(r"\[[A-Z]+\]", text):
                current = sections.setdefault(text, [])
            continue
        if not line:
            current = None
            continue
        if "=" not in text or "\xbb" not in text:
            continue
        key, rest = text.split("=", 1)
        address, cache_file = rest.split("\xbb", 1)
        current.append((key + "=", address, cache_file))
    return sections


def fill_run(template, run, code):
    """Overwrites the first occurrence of 'run' character for character with 'code'."""
    at = template.find(run)
    if at < 0:
        return template
    return template[:at] + code[: len(run)].ljust(len(run), "#") + template[at + len(run):]


def coordinate_code(text, plus, minus):
    """The cache-name code of one coordinate: 41.88 -> N41P88, -87.63 -> W87P63."""
    if text.startswith("+"):
        text = plus + text[1:]
    elif text.startswith("-"):
        text = minus + text[1:]
    else:
        text = plus + text
    return text.replace(".", "P", 1)


def point_names(address, cache_file, lat, lon):
    """Builds (url, cache file) from a point template A#B#C and D#E."""
    a, b, c = (address.split("#", 2) + ["", ""])[:3]
    d, e = (cache_file.split("#", 1) + [""])[:2]
    code = coordinate_code(lat, "N", "S") + coordinate_code(lon, "E", "W")
    return a + lat + b + lon + c, d + code + e


def entry_names(section, entry, code=None, lat=None, lon=None):
    """(url, cache file) for one entry of 'section', with placeholders filled."""
    key, address, cache_file = entry
    if section in POINT_SECTIONS:
        return point_names(address, cache_file, lat, lon)
    if section in CODE_RUNS:
        url_run, file_run = CODE_RUNS[section]
        url_code = code
        if section == "[RADAR]" and "####" in address:
            url_run = "####"  # today's pictures are named by the whole site
        elif section == "[RADAR]":
            url_code = code[1:]
        return fill_run(address, url_run, url_code), fill_run(cache_file, file_run, code)
    return address, cache_file


def sample_catalog(real_catalog, port, host="127.0.0.1", scheme="http"):
    """The sample service's catalog: only the scheme, host and port of each
    address change, "https://HOST/path" (or "http://HOST/path") becoming
    "SCHEME://127.0.0.1:PORT/HOST/path", so the service knows which of the
    weather service's hosts a request was meant for.  Everything else (keys,
    cache file names, comments, line ends) stays byte for byte."""
    def rewrite(match):
        return b"%s://%s:%d/" % (scheme.encode(), host.encode(), port) + match.group(1) + b"/"
    return re.sub(rb"https?://([A-Za-z0-9.-]+)/", rewrite, real_catalog)
