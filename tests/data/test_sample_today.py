"""The sample service speaks today's service: its live catalog (data/links.dat
with only scheme, host and port replaced) is walked key by key, and each of
today's documents is checked against the format the weather service publishes
(the DWML, current_observation and METAR schemas, the gauge JSON, ATOM with
CAP 1.2), not against what the program's readers accept."""

import datetime
import json
import re
import unittest
import xml.etree.ElementTree as ET

import support

NOW = datetime.datetime(2026, 12, 6, 23, 59, tzinfo=datetime.timezone.utc)
CODES = {"[OBSERVATIONS]": "KLOT", "[METAR]": "KLOT", "[RIVERGAUGES]": "PEOI2",
         "[ALERTS]": "ILZ103", "[RADAR]": "KLOT"}
RUNS = {"[OBSERVATIONS]": "####", "[METAR]": "####", "[RIVERGAUGES]": "#####",
        "[ALERTS]": "######", "[RADAR]": "####"}
ATOM = "{http://www.w3.org/2005/Atom}"
CAP = "{urn:oasis:names:tc:emergency:cap:1.2}"
ACCEPT_ATOM = ["Accept: application/atom+xml"]

_server = None


def setUpModule():
    global _server
    _server = support.start_service(NOW)


def tearDownModule():
    _server[0].shutdown()
    _server[0].server_close()


def get(path, headers=(), **options):
    status, fields, body = support.raw_get(_server[1], path, headers, **options)
    if fields.get("transfer-encoding") == "chunked":
        body = support.dechunk(body)
    return status, fields, body


def address_of(section, address):
    """The address a page builds: points as typed, codes over their run (the
    river page lowers its whole address)."""
    if section in ("[POINTFORECAST]", "[HOURLYPOINTFORECAST]"):
        a, b, c = address.split("#")
        return a + "41.88" + b + "-87.63" + c
    if section in RUNS:
        address = address.replace(RUNS[section], CODES[section], 1)
        return address.lower() if section == "[RIVERGAUGES]" else address
    return address


class TodayCatalogWalk(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        status, _, body = get("/links.dat")
        cls.sections = support.catalog_sections(body)
        cls.answers = {}
        prefix = "http://127.0.0.1:%d" % _server[1]
        for section, entries in cls.sections.items():
            for key, address, _ in entries:
                url = address_of(section, address)
                assert url.startswith(prefix + "/"), url
                # Big pictures take their time on a busy machine.
                answer = get(url[len(prefix):], ACCEPT_ATOM, timeout=300)
                cls.answers[section, key] = answer + (url,)

    def test_every_key_is_answered(self):
        self.assertEqual(len(self.answers), 6 + 2 + 56 + 8 + 6)
        failed = [(k, a[0]) for k, a in self.answers.items() if a[0] != "HTTP/1.1 200 OK"]
        self.assertEqual(failed, [])
        self.assertTrue(all(a[1].get("last-modified") for a in self.answers.values()))

    def test_feeds_are_documents_of_their_kind(self):
        kinds = {"[POINTFORECAST]": b"<?xml", "[HOURLYPOINTFORECAST]": b"<?xml",
                 "[OBSERVATIONS]": b"<?xml", "[METAR]": b"<?xml", "[RIVERGAUGES]": b"{",
                 "[ALERTS]": b"<?xml"}
        for section, start in kinds.items():
            self.assertTrue(self.answers[section, "url="][2].startswith(start), section)

    def test_radar_is_one_opaque_picture_per_product(self):
        bodies = []
        for key in ("sr.n0r=", "sr.n0v="):
            body = self.answers["[RADAR]", key][2]
            width, height, rows, palette, transparent = support.gif_info(body)
            self.assertEqual((width, height), (600, 550), key)
            self.assertIsNone(transparent, key)
            # Relief, map lines, echoes, the legend and the title: many colours.
            self.assertGreater(len({i for row in rows for i in row}), 60, key)
            bodies.append(body)
        self.assertNotEqual(bodies[0], bodies[1])

    def test_satellite_pictures_have_the_size_in_their_address(self):
        sizes = set()
        for (section, key), (_, fields, body, url) in self.answers.items():
            if section in ("[SATELLITE]", "[SATELLITEWIDE]"):
                width, height = (int(n) for n in re.search(r"/(\d+)x(\d+)\.jpg$", url).groups())
                self.assertEqual(support.picture_size(body), (width, height), url)
                self.assertEqual(fields.get("content-type"), "image/jpeg", url)
                sizes.add((width, height))
        # Square sectors, 5:3 sectors and CONUS, none of the page's 3:2.
        self.assertTrue({(600, 600), (1000, 1000), (900, 540), (1250, 750), (678, 678)} <= sizes)
        self.assertFalse(any(w * 2 == h * 3 for w, h in sizes))


class TodayDocuments(unittest.TestCase):
    def document(self, path, headers=()):
        status, fields, body = get(path, headers)
        self.assertEqual(status, "HTTP/1.1 200 OK", path)
        return fields, body

    def test_dwml_by_day(self):
        _, body = self.document("/forecast.weather.gov/MapClick.php?lat=38.25&lon=-85.76"
                                "&unit=0&lg=english&FcstType=dwml")
        root = ET.fromstring(body)
        self.assertEqual(root.tag, "dwml")
        self.assertRegex(root.findtext("head/product/creation-date"),
                         r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[-+]\d\d:\d\d$")
        forecast, current = root.findall("data")
        self.assertEqual((forecast.get("type"), current.get("type")),
                         ("forecast", "current observations"))
        self.assertTrue(forecast.findtext("location/description"))
        self.assertEqual(forecast.find("location/city").get("state"), "KY")
        self.assertEqual(forecast.find("location/height").get("datum"), "mean sea level")
        layouts = {t.findtext("layout-key"): t.findall("start-valid-time")
                   for t in forecast.findall("time-layout")}
        self.assertGreater(len(layouts), 1)
        worded = forecast.find("parameters/wordedForecast")
        periods = layouts[worded.get("time-layout")]
        texts = worded.findall("text")
        self.assertEqual(len(texts), len(periods))
        self.assertEqual(len(texts), 14)
        self.assertTrue(all(p.get("period-name") for p in periods))
        self.assertTrue(all(t.text and t.text.endswith(".") for t in texts))
        self.assertNotIn(b"http://", body)

    def test_a_point_without_a_forecast_gets_the_html_page(self):
        _, body = self.document("/forecast.weather.gov/MapClick.php?lat=30&lon=-40&unit=0"
                                "&lg=english&FcstType=dwml")
        self.assertTrue(body.startswith(b"<!DOCTYPE html>"))

    def test_digital_dwml_keeps_its_format_with_https_addresses(self):
        path = "/forecast.weather.gov/MapClick.php?lat=38.25&lon=-85.76&%sFcstType=digitalDWML"
        today = self.document(path % "unit=0&lg=english&")[1]
        older = self.document(path % "")[1]
        self.assertNotIn(b"http://", today)
        self.assertEqual(today, older.replace(b"http://", b"https://"))

    def test_current_obs_in_the_2024_layout(self):
        _, body = self.document("/forecast.weather.gov/xml/current_obs/KSDF.xml")
        text = body.decode("iso-8859-1")
        lines = text.split("\n")
        self.assertFalse(any(line[:1].isspace() for line in lines))
        self.assertTrue(any(line.count("</") >= 3 for line in lines))
        self.assertIn("<observation_time>Last Update on ", text)
        self.assertNotIn("Last Updated on", text)
        root = ET.fromstring(body)
        older = ET.fromstring(get("/w1.weather.gov/xml/current_obs/KSDF.xml")[2])
        self.assertEqual([e.tag for e in root], [e.tag for e in older])

    def test_metar_of_the_data_api(self):
        for path in ("/aviationweather.gov/api/data/dataserver?dataSource=metars&requestType="
                     "retrieve&format=xml&hoursBeforeNow=3&mostRecent=true&stationString=KORD",
                     "/aviationweather.gov/api/data/metar?ids=KORD&format=xml"):
            _, body = self.document(path)
            self.assertNotIn(b"\n", body)
            self.assertNotIn(b"\r", body)
            metar = ET.fromstring(body).find("data/METAR")
            self.assertTrue(metar.findtext("raw_text").startswith("METAR KORD "))
            self.assertRegex(metar.findtext("observation_time"),
                             r"^\d{4}-\d\d-\d\dT\d\d:\d\d:00\.000Z$")
            self.assertEqual(metar.findtext("visibility_statute_mi"), "10+")
            self.assertRegex(metar.findtext("altim_in_hg"), r"^\d\d\.\d\d$")
            self.assertIsNone(re.search(rb">-?\d+\.0<", body))

    def test_a_station_without_a_report_is_204_with_no_body(self):
        status, fields, body = get("/aviationweather.gov/api/data/metar?ids=QQQQ&format=xml")
        self.assertEqual(status, "HTTP/1.1 204 No Content")
        self.assertEqual(body, b"")
        self.assertNotIn("content-length", fields)

    def test_gauge_json(self):
        seen_forecast = set()
        for lid in ("PEOI2", "mluk2", "CINO1", "HEAA4", "NAPC1", "GUEC1"):
            fields, body = self.document("/api.water.noaa.gov/nwps/v1/gauges/" + lid)
            self.assertEqual(fields["content-type"], "application/json")
            gauge = json.loads(body.decode("utf-8"))
            self.assertEqual(gauge["lid"], lid.upper())
            self.assertTrue(gauge["name"] and gauge["state"]["abbreviation"])
            self.assertIsInstance(gauge["latitude"], float)
            observed, forecast = gauge["status"]["observed"], gauge["status"]["forecast"]
            self.assertEqual(observed["primaryUnit"], "ft")
            self.assertRegex(observed["validTime"], r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ$")
            self.assertIn(observed["floodCategory"],
                          ("no_flooding", "action", "minor", "moderate", "major"))
            if forecast["primary"] == -999:
                self.assertEqual(forecast["validTime"], "0001-01-01T00:00:00Z")
            seen_forecast.add(forecast["primary"] == -999)
            categories = gauge["flood"]["categories"]
            self.assertEqual(gauge["flood"]["stageUnits"], "ft")
            self.assertEqual(set(categories), {"action", "minor", "moderate", "major"})
            self.assertGreater(categories["minor"]["stage"], 0)
        self.assertEqual(seen_forecast, {True, False})

    def test_an_unknown_gauge_is_not_found(self):
        self.assertEqual(get("/api.water.noaa.gov/nwps/v1/gauges/ZZZZ9")[0],
                         "HTTP/1.1 404 Not Found")

    def test_api_atom_with_cap_1_2(self):
        fields, body = self.document("/api.weather.gov/alerts/active/zone/ILZ103", ACCEPT_ATOM)
        self.assertEqual(fields["content-type"], "application/atom+xml")
        entries = ET.fromstring(body).findall(ATOM + "entry")
        self.assertEqual(len(entries), 3)
        for entry in entries:
            for name in ("event", "areaDesc", "urgency", "severity", "certainty", "effective",
                         "expires"):
                self.assertTrue(entry.findtext(CAP + name), name)
            self.assertRegex(entry.findtext(CAP + "expires"), r"[-+]\d\d:\d\d$")
        severities = [e.findtext(CAP + "severity") for e in entries]
        self.assertEqual(severities, ["Extreme", "Severe", "Minor"])

    def test_a_zone_without_alerts_is_a_feed_without_entries(self):
        _, body = self.document("/api.weather.gov/alerts/active/zone/FLZ173", ACCEPT_ATOM)
        root = ET.fromstring(body)
        self.assertEqual(root.tag, ATOM + "feed")
        self.assertEqual(root.findall(ATOM + "entry"), [])

    def test_the_api_asks_for_a_user_agent_and_answers_atom_only_when_asked(self):
        path = "/api.weather.gov/alerts/active/zone/KYZ030"
        self.assertEqual(get(path, ACCEPT_ATOM, user_agent=None)[0], "HTTP/1.1 403 Forbidden")
        status, fields, body = get(path)
        self.assertEqual(fields["content-type"], "application/geo+json")
        self.assertEqual(json.loads(body)["type"], "FeatureCollection")

    def test_live_catalog_addresses_keep_their_host_and_path(self):
        live = support.read(support.os.path.join(support.DATA, "links.dat"))
        served = get("/links.dat")[2]
        self.assertEqual(served, live.replace(b"https://", b"http://127.0.0.1:%d/" % _server[1]))


if __name__ == "__main__":
    unittest.main()
