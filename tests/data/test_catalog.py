"""The feed catalogs against the catalog syntax: the installed one
(data/links.dat, today's HTTPS addresses, keys without a live equivalent left
out) and the sample service's older one (links-2013.dat, every key of 2013):
the sections and keys the pages read, the placeholder runs they fill, the
lengths the program's fixed buffers allow."""

import os
import re
import unittest

import support

SINGLE_FEED = {"[OBSERVATIONS]": ("####", "####"), "[METAR]": ("####", "####"),
               "[RIVERGAUGES]": ("#####", "#####"), "[ALERTS]": ("######", "######")}
POINT = ("[POINTFORECAST]", "[HOURLYPOINTFORECAST]")
RADAR_KEYS = ["sr.%s=" % k for k in ("topo", "river", "highway", "county", "city", "warning",
                                     "n0r", "n0s", "n0v", "n1p", "ncr", "ntp", "n0rlegend",
                                     "n0slegend", "n0vlegend", "n1plegend", "ncrlegend",
                                     "ntplegend")] + \
             ["lr.%s=" % k for k in ("topo", "river", "highway", "county", "city", "warning",
                                     "n0z", "n0zlegend")]
PRODUCTS = ("vis", "wv", "avn", "ir2", "bd", "ir4", "jsl", "rgb", "ft", "rb")
SATELLITE_KEYS = ["%s.%s=" % (r, p) for r in ("watl", "catl", "carb", "gmex", "eaus", "ceus",
                                              "nwatl", "natl", "eepac", "wepac", "cpac", "hi",
                                              "nepac", "weus") for p in PRODUCTS]
WIDE_KEYS = ["%s.%s=" % (r, p) for r in ("tatl", "tpac") for p in PRODUCTS]
REQUIRED = dict({name: ["url="] for name in list(SINGLE_FEED) + list(POINT)},
                **{"[RADAR]": RADAR_KEYS, "[SATELLITE]": SATELLITE_KEYS,
                   "[SATELLITEWIDE]": WIDE_KEYS,
                   "[ALERTMAPS]": ["us=", "ak=", "hi=", "gu=", "pr=", "as="]})
URL_FIELD = 256        # the request's Url holds 256 characters and a terminator
SAMPLE_CODES = {"[OBSERVATIONS]": "KLOT", "[METAR]": "KLOT", "[RIVERGAUGES]": "MLUK2",
                "[ALERTS]": "ILZ103", "[RADAR]": "KLOT"}


def first_run(text):
    """The first run of '#' characters in a template, or ''."""
    match = re.search(r"#+", text)
    return match.group(0) if match else ""


def fill(template, run, code):
    at = template.find(run)
    return template[:at] + code + template[at + len(run):] if at >= 0 else template


LIVE_PRODUCTS = ("vis=", "wv=", "ir2=", "ir4=")
# Today's catalog: the keys that must be there (every key the pages know may
# be), and the ABI band of each satellite product.
TODAY_REQUIRED = dict(REQUIRED, **{
    "[RADAR]": ["sr.n0r=", "sr.n0v="],
    "[SATELLITE]": [k for k in SATELLITE_KEYS if k.split(".")[1] in LIVE_PRODUCTS],
    "[SATELLITEWIDE]": [k for k in WIDE_KEYS if k.split(".")[1] in LIVE_PRODUCTS]})
BANDS = {"vis": ("02",), "wv": ("08", "09", "10"), "ir2": ("07",), "ir4": ("13",)}
OLDER = os.path.join(support.SERVICE, "links-2013.dat")


def catalog_problems(data, today=False):
    """Everything wrong with a catalog, as messages (empty when it is sound).
    Today's catalog: HTTPS only, and keys without a live equivalent may be left
    out; the older one: plain HTTP and every key."""
    problems = []
    for number, (line, crlf) in enumerate(support.lines_of(data), 1):
        if len(line) > 1023:
            problems.append("line %d has %d bytes" % (number, len(line)))
        if not crlf:
            problems.append("line %d does not end with CR LF" % number)
        if today and b"http://" in line:
            problems.append("line %d holds a plain http:// address" % number)
    sections = support.catalog_sections(data)
    cache_files = {}
    scheme = "https://" if today else "http://"
    for name, keys in REQUIRED.items():
        entries = sections.get(name)
        if entries is None:
            problems.append("section %s is missing" % name)
            continue
        for key in (TODAY_REQUIRED if today else REQUIRED)[name]:
            found = [e for e in entries if e[0] == key]
            if len(found) != 1:
                problems.append("%s %s appears %d times" % (name, key, len(found)))
        for key, address, cache_file in entries:
            if key not in keys:
                problems.append("%s has an unknown key %s" % (name, key))
            if not re.match(re.escape(scheme) + r"[^/]+/", address):
                problems.append("%s %s: %r is not an %shost/path address"
                                % (name, key, address, scheme))
            product = key[:-1].split(".")[-1]
            if today and name in ("[SATELLITE]", "[SATELLITEWIDE]") and not any(
                    "/%s/" % band in address for band in BANDS.get(product, ())):
                problems.append("%s %s: %r is not the band of its product" % (name, key, address))
            if not cache_file or "\\" in cache_file or ".." in cache_file:
                problems.append("%s %s: bad cache file %r" % (name, key, cache_file))
            url, cache = address, cache_file
            if name in SINGLE_FEED or name == "[RADAR]":
                url_run, file_run = SINGLE_FEED.get(name, ("###", "####"))
                if name == "[RADAR]" and first_run(address) == "####":
                    url_run = "####"  # today's pictures: the whole site
                if first_run(address) != url_run:
                    problems.append("%s %s: the address needs %s first" % (name, key, url_run))
                if first_run(cache_file) != file_run:
                    problems.append("%s %s: the cache file needs %s first" % (name, key, file_run))
                code = SAMPLE_CODES[name]
                url = fill(address, url_run, code[1:] if url_run == "###" else code)
                cache = fill(cache_file, file_run, code)
            elif name in POINT:
                if address.count("#") != 2 or cache_file.count("#") != 1:
                    problems.append("%s: a point template is A#B#C and D#E" % name)
                a, b, c = (address.split("#") + ["", ""])[:3]
                url = a + "-100.0001" + b + "-100.0001" + c
                cache = cache_file.replace("#", "S100P0001W100P0001")
            elif "#" in address or "#" in cache_file:
                problems.append("%s %s: an image address has no placeholder" % (name, key))
            if len(url) > URL_FIELD:
                problems.append("%s %s: the address is %d characters" % (name, key, len(url)))
            if cache in cache_files:
                problems.append("%s %s and %s share the cache file %s"
                                % (name, key, cache_files[cache], cache))
            cache_files[cache] = key
    return problems


class InstalledCatalog(unittest.TestCase):
    """data/links.dat: today's addresses, as a user installs them."""

    def setUp(self):
        self.data = support.read(os.path.join(support.DATA, "links.dat"))
        self.sections = support.catalog_sections(self.data)

    def test_every_page_has_its_https_lines_with_their_placeholders(self):
        self.assertEqual(catalog_problems(self.data, today=True), [])

    def test_left_out_keys_are_only_those_without_a_live_equivalent(self):
        radar = [k for k, _, _ in self.sections["[RADAR]"]]
        self.assertEqual(radar, ["sr.n0r=", "sr.n0v="])
        for name in ("[SATELLITE]", "[SATELLITEWIDE]"):
            products = {k[:-1].split(".")[1] for k, _, _ in self.sections[name]}
            self.assertEqual(products, {"vis", "wv", "ir2", "ir4"}, name)
        self.assertEqual(len(self.sections["[ALERTMAPS]"]), 6)

    def test_radar_pictures_take_the_whole_site(self):
        from cumulon_sample import catalog
        urls = [catalog.entry_names("[RADAR]", e, code="KLOT")[0] for e in self.sections["[RADAR]"]]
        ridge = "https://radar.weather.gov/ridge/standard/"
        self.assertEqual(urls, [ridge + "KLOT_0.gif", ridge + "base_velocity/KLOT_0.gif"])

    def test_the_head_says_what_each_section_serves(self):
        head = self.data[:self.data.index(b"\r\n[")].decode("cp1252")
        self.assertTrue(all(line.startswith(";") for line in head.split("\r\n") if line))
        for name in REQUIRED:
            self.assertIn("; " + name[1:-1] + ":", head)
        self.assertIn("December 2020", head)      # why the radar layers are left out
        self.assertIn("no counterpart", head)     # why the colour tables are

    def test_sample_catalog_changes_only_scheme_host_and_port(self):
        from cumulon_sample import catalog
        for scheme in ("http", "https"):
            sample = catalog.sample_catalog(self.data, 8642, scheme=scheme)
            expected = self.data.replace(b"https://", b"%s://127.0.0.1:8642/" % scheme.encode())
            self.assertEqual(sample, expected)
            if scheme == "https":
                self.assertEqual(catalog_problems(sample, today=True), [])


class OlderCatalog(unittest.TestCase):
    """The sample service's catalog of 2013 addresses, which the tests keep using."""

    def setUp(self):
        self.data = support.read(OLDER)

    def test_has_every_key_with_its_placeholders(self):
        self.assertEqual(catalog_problems(self.data), [])

    def test_counts_match_the_pages(self):
        sections = support.catalog_sections(self.data)
        self.assertEqual(len(sections["[RADAR]"]), 26)
        self.assertEqual(len(sections["[SATELLITE]"]), 140)
        self.assertEqual(len(sections["[SATELLITEWIDE]"]), 20)
        self.assertEqual(len(sections["[ALERTMAPS]"]), 6)

    def test_radar_layers_stack_relief_first_and_legends_last(self):
        keys = [k for k, _, _ in support.catalog_sections(self.data)["[RADAR]"]]
        short = [k for k in keys if k.startswith("sr.")]
        self.assertEqual(short[0], "sr.topo=")
        self.assertTrue(all(k.endswith("legend=") for k in short[-6:]))
        self.assertLess(keys.index("sr.n0r="), keys.index("sr.county="))

    def test_river_gauge_addresses_are_lower_case(self):
        # The page lowers the whole address after filling in the gauge.
        key, address, _ = support.catalog_sections(self.data)["[RIVERGAUGES]"][0]
        self.assertEqual(address, address.lower())

    def test_sample_catalog_changes_only_the_addresses(self):
        from cumulon_sample import catalog
        sample = catalog.sample_catalog(self.data, 8642)
        self.assertEqual(catalog_problems(sample), [])
        real = support.catalog_sections(self.data)
        mine = support.catalog_sections(sample)
        for name in real:
            for (key, address, cache), (key2, address2, cache2) in zip(real[name], mine[name]):
                self.assertEqual((key, cache), (key2, cache2))
                self.assertEqual(address2, address.replace("http://", "http://127.0.0.1:8642/", 1))
        self.assertEqual(len(self.data.split(b"\r\n")), len(sample.split(b"\r\n")))


class CatalogChecks(unittest.TestCase):
    """The checks above find what they are meant to find."""

    def setUp(self):
        self.data = support.read(OLDER)
        self.today = support.read(os.path.join(support.DATA, "links.dat"))

    def test_today_catalog_faults(self):
        cases = [(b"url=https://forecast.weather.gov/", b"url=http://forecast.weather.gov/",
                  "plain http://"),
                 (b"current_obs/####.xml", b"current_obs/KSDF.xml", "the address needs ####"),
                 (b"GOES19/ABI/CONUS/13/", b"GOES19/ABI/CONUS/02/", "not the band"),
                 (b"\r\nsr.n0v=", b"\r\nsr.n0vx=", "sr.n0v= appears 0 times"),
                 (b"standard/####_0.gif", b"standard/KLOT_0.gif", "the address needs ###")]
        for old, new, problem in cases:
            self.assertIn(old, self.today)
            problems = catalog_problems(self.today.replace(old, new, 1), today=True)
            self.assertTrue(any(problem in p for p in problems), (problem, problems))

    def broken(self, old, new):
        self.assertIn(old, self.data)
        return catalog_problems(self.data.replace(old, new, 1))

    def test_a_missing_key(self):
        problems = self.broken(b"sr.n0vlegend=", b"sr.n0vlegendx=")
        self.assertTrue(any("sr.n0vlegend= appears 0 times" in p for p in problems), problems)

    def test_a_short_placeholder_run(self):
        problems = self.broken(b"current_obs/####.xml", b"current_obs/###.xml")
        self.assertTrue(any("the address needs ####" in p for p in problems), problems)

    def test_a_line_too_long(self):
        problems = self.broken(b"us=http://", b"us=http://" + b"x" * 1100)
        self.assertTrue(any("bytes" in p for p in problems), problems)

    def test_an_empty_line_ends_a_section_early(self):
        problems = self.broken(b"\r\nsr.n0s=", b"\r\n\r\nsr.n0s=")
        self.assertTrue(any("sr.n0s= appears 0 times" in p for p in problems), problems)

    def test_a_shared_cache_file(self):
        problems = self.broken(b"sat_watl_wv.jpg", b"sat_watl_vis.jpg")
        self.assertTrue(any("share the cache file" in p for p in problems), problems)


if __name__ == "__main__":
    unittest.main()
