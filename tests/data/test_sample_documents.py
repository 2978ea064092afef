"""The sample weather service's documents, read the way the pages read them,
and its HTTP behaviour: Last-Modified and 304, chunked bodies, unknown places."""

import datetime
import email.utils
import re
import unittest

import support
from cumulon_sample import feeds

NOW = datetime.datetime(2013, 8, 7, 18, 40, 32, tzinfo=datetime.timezone.utc)
WINTER = datetime.datetime(2014, 1, 15, 15, 10, tzinfo=datetime.timezone.utc)
MAPCLICK = "/forecast.weather.gov/MapClick.php?lat=%s&lon=%s&FcstType=%s"
OBSERVATION = "/w1.weather.gov/xml/current_obs/%s.xml"
METAR = ("/aviationweather.gov/adds/dataserver_current/httpparam?dataSource=metars"
         "&requestType=retrieve&format=xml&hoursBeforeNow=3&mostRecent=true&stationString=%s")
RIVER = "/water.weather.gov/ahps2/rss/obs/%s.rss"
ALERTS = "/alerts.weather.gov/cap/wwaatmget.php?x=%s&y=0"


_servers = {}


def tearDownModule():
    for server, _ in _servers.values():
        server.shutdown()
        server.server_close()


class ServiceTest(unittest.TestCase):
    """Runs against a sample service whose clock stands at 'clock' (one
    service per clock, shared by the tests of this module)."""
    clock = NOW

    @classmethod
    def setUpClass(cls):
        if cls.clock not in _servers:
            _servers[cls.clock] = support.start_service(cls.clock)
        cls.server, cls.port = _servers[cls.clock]

    def get(self, path, headers=()):
        status, fields, body = support.raw_get(self.port, path, headers)
        if fields.get("transfer-encoding") == "chunked":
            body = support.dechunk(body)
        return status, fields, body

    def document(self, path):
        status, fields, body = self.get(path)
        self.assertEqual(status, "HTTP/1.1 200 OK", path)
        return body.decode("cp1252")


class PointForecast(ServiceTest):
    def test_heading_and_fourteen_periods(self):
        text = self.document(MAPCLICK % ("38.25", "-85.76", "xml"))
        at = text.find("<Forecast location=")
        self.assertEqual(text[at + 20:text.find('"', at + 20)], "Louisville KY")
        at = text.find("elevation=")
        self.assertRegex(text[at + 11:text.find('"', at + 11)], r"^\d+ ft$")
        self.assertIn("2:00 PM EDT", support.between(text, "<creationTime>", "</creationTime>"))
        periods = re.findall(r"<period><valid>([^<]+)</valid><text>([^<]+)</text></period>", text)
        self.assertEqual(len(periods), 14)
        self.assertEqual([p[0] for p in periods[:3]], ["This Afternoon", "Tonight", "Thursday"])
        self.assertTrue(all(re.search(r"(high near|low around) -?\d+\.", t) for _, t in periods))

    def test_a_point_at_sea_has_no_forecast(self):
        text = self.document(MAPCLICK % ("30.0", "-40.0", "xml"))
        self.assertNotIn("<Forecast location=", text)
        self.assertNotIn("<period>", text)

    def test_garbage_coordinates_get_the_error_page(self):
        text = self.document(MAPCLICK % ("abc", "1e999", "xml"))
        self.assertNotIn("<Forecast location=", text)


class HourlyForecast(ServiceTest):
    ELEMENTS = ['<temperature type="hourly"', '<temperature type="wind chill"',
                '<temperature type="heat index"', '<temperature type="dew point"',
                '<probability-of-precipitation type="floating" units="percent"',
                '<wind-speed type="sustained"', '<wind-speed type="gust"',
                '<direction type="wind" units="degrees true"',
                '<cloud-amount type="total" units="percent"',
                '<humidity type="relative" units="percent"',
                '<hourly-qpf type="floating" units="inches"']

    def setUp(self):
        self.text = self.document(MAPCLICK % ("41.88", "-87.63", "digitalDWML"))

    def test_place_and_creation_time(self):
        location = support.between(self.text, "<location>", "</location>")
        self.assertIn("Chicago IL", support.between(location, "<area-description>",
                                                    "</area-description>"))
        head = support.between(self.text, "<head>", "</head>")
        self.assertEqual(support.between(head, "<creation-date ", "</creation-date>"),
                         "2013-08-07T13:00:00-05:00")

    def test_seventy_two_hours_in_the_first_time_layout(self):
        layout = support.between(self.text, "<time-layout", "</time-layout>")
        starts = re.findall(r"<start-valid-time>([^<]+)</start-valid-time>", layout)
        self.assertEqual(len(starts), 72)
        self.assertEqual(starts[0], "2013-08-07T14:00:00-05:00")

    def test_every_element_has_a_value_for_every_hour(self):
        for start in self.ELEMENTS:
            at = self.text.find(start)
            self.assertGreaterEqual(at, 0, start)
            end = "</%s>" % start.split()[0][1:]
            element = self.text[at:self.text.find(end, at)]
            values = [element[m.start() + 7:m.start() + 14] for m in re.finditer("<value", element)]
            self.assertEqual(len(values), 72, start)
            self.assertTrue(all(v == "xsi:nil" or re.match(r"[-0-9.]", v) for v in values), start)
        self.assertIn('<value xsi:nil="true"/>', support.between(
            self.text, '<temperature type="wind chill"', "</temperature>"))

    def test_weather_types_come_before_their_coverage(self):
        weather = support.between(self.text, "<weather time-layout=", "</weather>")
        self.assertEqual(weather.count("<weather-conditions"), 72)
        for tag in re.findall(r"<value [^>]*>", weather):
            self.assertLess(tag.index("weather-type="), tag.index("coverage="), tag)

    def test_variants(self):
        def variant(name):
            return self.document(MAPCLICK % ("41.88", "-87.63", "digitalDWML&variant=" + name))
        miami = self.document(MAPCLICK % ("25.77", "-80.19", "digitalDWML&variant=coverage-first"))
        weather = support.between(miami, "<weather time-layout=", "</weather>")
        tags = re.findall(r"<value [^>]*>", weather)
        self.assertTrue(tags)
        self.assertTrue(all(t.index("coverage=") < t.index("weather-type=") for t in tags))
        location = support.between(variant("city-only"), "<location>", "</location>")
        self.assertIn('<city state="IL">Chicago</city>', location)
        self.assertNotIn("<area-description>", location)
        text = variant("empty-values")
        for start, end, shape, count in (
                ('<temperature type="dew point"', "</temperature>", "<value></value>", 24),
                ('<humidity type="relative"', "</humidity>", "<value/>", 24),
                ('<wind-speed type="gust"', "</wind-speed>", "<value", 10)):
            self.assertEqual(support.between(text, start, end).count(shape), count, start)
        directions = support.between(variant("boundary-directions"),
                                     '<direction type="wind"', "</direction>")
        self.assertEqual(re.findall(r"<value>([^<]+)</value>", directions)[:10],
                         ["22.5", "67.5", "112.5", "157.5", "202.5", "247.5", "292.5", "337.5",
                          "230.0", "350"])


class StationReports(ServiceTest):
    def test_current_observation(self):
        text = self.document(OBSERVATION % "KSDF")
        for tag in ("observation_time_rfc822", "location", "weather", "temp_f", "temp_c",
                    "wind_dir", "wind_degrees", "wind_mph", "wind_kt", "wind_gust_mph",
                    "relative_humidity", "pressure_in", "pressure_mb", "dewpoint_f",
                    "dewpoint_c", "visibility_mi"):
            self.assertTrue(support.between(text, "<%s>" % tag, "</%s>" % tag), tag)
        self.assertEqual(support.between(text, "<observation_time_rfc822>",
                                         "</observation_time_rfc822>"),
                         "Wed, 07 Aug 2013 13:53:00 -0400")
        self.assertEqual(support.between(text, "<location>", "</location>"), "Standiford Field, KY")

    def test_an_unknown_station_is_not_found(self):
        self.assertEqual(self.get(OBSERVATION % "ZZZZ")[0], "HTTP/1.1 404 Not Found")

    def test_metar(self):
        text = self.document(METAR % "KORD")
        self.assertIn('<data num_results="1">', text)
        self.assertEqual(support.between(text, "<observation_time>", "</observation_time>"),
                         "2013-08-07T17:53:00Z")
        raw = support.between(text, "<raw_text>", "</raw_text>")
        self.assertRegex(raw, r"^KORD 071753Z (\d{5}(G\d\d)?KT|00000KT) ")
        self.assertRegex(text, r'<sky_condition sky_cover="(CLR|FEW|SCT|BKN|OVC)"')
        for tag in ("temp_c", "dewpoint_c", "wind_speed_kt", "visibility_statute_mi",
                    "altim_in_hg", "sea_level_pressure_mb", "flight_category", "elevation_m"):
            self.assertTrue(support.between(text, "<%s>" % tag, "</%s>" % tag), tag)
        # The report just before 18 UTC carries the six-hour extremes.
        self.assertTrue(support.between(text, "<maxT_c>", "</maxT_c>"))

    def test_a_metar_for_an_unknown_station_has_no_results(self):
        self.assertIn('<data num_results="0" />', self.document(METAR % "QQQQ"))

    def test_the_end_time_asks_for_an_earlier_report_with_its_daily_groups(self):
        text = self.document(METAR % "KORD" + "&endTime=2013-12-06T23:59:00Z")
        self.assertEqual(support.between(text, "<observation_time>", "</observation_time>"),
                         "2013-12-06T23:53:00Z")
        for tag in ("minT_c", "maxT_c", "minT24hr_c", "maxT24hr_c", "precip_in", "pcp3hr_in",
                    "pcp6hr_in", "pcp24hr_in", "snow_in"):
            self.assertTrue(support.between(text, "<%s>" % tag, "</%s>" % tag), tag)
        self.assertEqual(text.count("<sky_condition "), 5)  # more than the page shows

    def test_metar_weather_codes_beyond_rain_and_snow(self):
        tokens = set()
        for code, end in (("KEVM", "2013-08-07T23:59:00Z"), ("KCDA", "2013-08-07T23:59:00Z"),
                          ("KMCE", "2013-08-07T23:59:00Z"), ("KBOW", "2013-08-07T23:59:00Z"),
                          ("PABL", "2014-01-15T23:59:00Z"), ("KNLC", "2014-01-15T23:59:00Z")):
            text = self.document(METAR % code + "&endTime=" + end)
            tokens.update(support.between(text, "<wx_string>", "</wx_string>").split())
        self.assertLessEqual({"+TSRAGR", "-DZ", "FU", "HZ", "IC", "SN", "FZFG", "BR"}, tokens)

    def test_river_gauge_after_the_references_are_decoded(self):
        text = support.decode_character_references(self.document(RIVER % "mluk2"))
        self.assertTrue(support.between(text, "<title>", "</title>").startswith("MLUK2 - Ohio"))
        self.assertTrue(support.between(text, "<geo:lat>", "</geo:lat>"))
        for label in ("Observation Time:", "Flood Stage:", "Latest Observation:"):
            at = text.find(label)
            line = text[at:text.find("<", at)]
            self.assertRegex(line, re.escape(label) + r" \S")
        self.assertIn("gage=mluk2", text)
        self.assertEqual(support.between(text, "<lastBuildDate>", "</lastBuildDate>"),
                         "Wed, 07 Aug 2013 18:15:00 GMT")


    def test_observation_variants(self):
        text = self.document(OBSERVATION % "QGST")
        self.assertEqual(support.between(text, "<wind_gust_kt>", "</wind_gust_kt>"), "05")
        self.assertEqual(support.between(text, "<station_id>", "</station_id>"), "QGST")
        text = self.document(OBSERVATION % "QNLW")
        self.assertNotIn("<location>", text)
        self.assertNotIn("<wind_dir>", text)
        self.assertTrue(support.between(text, "<wind_mph>", "</wind_mph>"))

    def test_river_variants(self):
        text = support.decode_character_references(self.document(RIVER % "qdbl2"))
        at = text.find("Flood Stage:")
        self.assertRegex(text[at:text.find("<", at)], r"^Flood Stage: \d+ ft \(&#x3C;=bankfull\)$")
        self.assertTrue(support.between(text, "<title>", "</title>").startswith("QDBL2 - Ohio"))
        self.assertEqual(support.between(self.document(RIVER % "qofs2"), "<lastBuildDate>",
                                         "</lastBuildDate>"), "Wed, 07 Aug 2013 13:15:00 -0500")


class Alerts(ServiceTest):
    def entries(self, zone):
        text = self.document(ALERTS % zone)
        updated = support.between(text, "<updated>", "</updated>")
        self.assertLess(text.find("<updated>"), text.find("<entry>"))
        self.assertRegex(updated, r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[-+]\d\d:\d\d$")
        return re.findall(r"<entry>(.*?)</entry>", text, re.S)

    def severities(self, zone):
        return [support.between(e, "<cap:severity>", "</cap:severity>") for e in self.entries(zone)]

    def test_featured_zones_show_every_severity(self):
        self.assertEqual(self.severities("KYZ030"), ["Severe", "Moderate"])
        self.assertEqual(self.severities("ILZ103"), ["Extreme", "Severe", "Minor"])
        self.assertEqual(self.severities("TXZ103"), ["Minor", None])

    def test_entries_carry_every_field_the_page_shows(self):
        for entry in self.entries("ILZ103"):
            for tag in ("title", "summary", "cap:areaDesc", "cap:urgency", "cap:certainty"):
                self.assertTrue(support.between(entry, "<%s>" % tag, "</%s>" % tag), tag)
        entry = self.entries("ILZ103")[0]
        self.assertTrue(support.between(entry, "<title>", "</title>").startswith("Tornado Warning"))
        self.assertIn("\r\n", support.between(entry, "<summary>", "</summary>"))

    def test_the_hostile_zone_carries_separators_and_an_unterminated_entry(self):
        text = self.document(ALERTS % feeds.HOSTILE_ZONE)
        self.assertIn("Flood Warning \u00bbsounds", text)
        self.assertIn("FIRST LINE\r\nSECOND LINE", text)
        self.assertEqual(text.count("<entry>"), text.count("</entry>") + 1)

    def test_a_zone_without_alerts(self):
        entries = self.entries("FLZ173")
        self.assertEqual(len(entries), 1)
        self.assertEqual(support.between(entries[0], "<title>", "</title>"), feeds.NO_ALERTS)
        self.assertEqual(support.between(entries[0], "<cap:severity>", "</cap:severity>"), "")


class WinterAlerts(ServiceTest):
    clock = WINTER

    def test_winter_brings_winter_alerts(self):
        text = self.document(ALERTS % "ILZ103")
        self.assertIn("<cap:event>Blizzard Warning</cap:event>", text)
        self.assertNotIn("Tornado", text)


class Protocol(ServiceTest):
    def test_last_modified_and_not_modified(self):
        status, fields, body = self.get(OBSERVATION % "KSDF")
        modified = fields["last-modified"]
        self.assertEqual(modified, "Wed, 07 Aug 2013 17:58:00 GMT")
        self.assertEqual(int(fields["content-length"]), len(body))
        status, fields, body = self.get(OBSERVATION % "KSDF", ["If-Modified-Since: " + modified])
        self.assertEqual((status, body), ("HTTP/1.1 304 Not Modified", b""))
        self.assertEqual(fields["last-modified"], modified)
        earlier = email.utils.format_datetime(
            email.utils.parsedate_to_datetime(modified) - datetime.timedelta(seconds=1),
            usegmt=True)
        self.assertEqual(self.get(OBSERVATION % "KSDF", ["If-Modified-Since: " + earlier])[0],
                         "HTTP/1.1 200 OK")

    def test_an_unreadable_if_modified_since_is_ignored(self):
        status, _, body = self.get(OBSERVATION % "KSDF", ["If-Modified-Since: yesterday"])
        self.assertEqual(status, "HTTP/1.1 200 OK")
        self.assertTrue(body)

    def test_chunked_routes_carry_the_same_document(self):
        status, fields, raw = support.raw_get(self.port, ALERTS % "KYZ030")
        self.assertEqual(fields["transfer-encoding"], "chunked")
        self.assertNotIn("content-length", fields)
        self.assertRegex(raw[:20], rb"^[0-9a-f]+(;[^\r]*)?\r\n")
        registry = self.server.service.registry
        self.assertEqual(support.dechunk(raw).decode("cp1252"),
                         feeds.alerts(registry, "KYZ030", NOW)[0])

    def test_answers_repeat_for_the_same_time(self):
        path = "/radar.weather.gov/ridge/RadarImg/N0R/LVX_N0R_0.gif"
        self.assertEqual(self.get(path)[2], self.get(path)[2])

    def test_unknown_addresses_are_not_found(self):
        for path in ("/nowhere.example/feed.xml",
                     "/radar.weather.gov/ridge/RadarImg/N0R/QQQ_N0R_0.gif",
                     "/www.ssd.noaa.gov/goes/east/mars/vis-l.jpg", RIVER % "zzzz9"):
            self.assertEqual(self.get(path)[0], "HTTP/1.1 404 Not Found", path)

    def test_the_catalog_routes_point_at_this_port(self):
        for route, address in (("/links-2013.dat", "w1.weather.gov/xml/current_obs/####.xml"),
                               ("/links.dat", "forecast.weather.gov/xml/current_obs/####.xml")):
            body = self.get(route)[2]
            self.assertIn(b"http://127.0.0.1:%d/%s" % (self.port, address.encode()), body)


class TreeCoverage(ServiceTest):
    """The service knows where every radar site and river gauge of the trees is."""

    def codes(self, name):
        tree, _ = support.read_tree(support.read(support.DATA + "/" + name))
        return {leaf.split(" ", 1)[0] for _, _, leaf in support.tree_leaves(tree)}

    def test_every_radar_site_and_gauge_has_a_place(self):
        registry = self.server.service.registry
        self.assertEqual(set(registry.radars), self.codes("radar.trv"))
        self.assertEqual(set(registry.gauges), self.codes("river.trv"))
        for site in list(registry.radars.values()) + list(registry.gauges.values()):
            self.assertTrue(-15 < site.lat < 72 and (-180 < site.lon < -60 or site.lon > 140), site)

    def test_every_radar_site_has_a_legend_and_every_gauge_a_feed(self):
        for code in self.codes("radar.trv"):
            path = "/radar.weather.gov/ridge/Legend/N0R/%s_N0R_Legend_0.gif" % code[1:]
            self.assertEqual(self.get(path)[0], "HTTP/1.1 200 OK", code)
        for code in self.codes("river.trv"):
            self.assertEqual(self.get(RIVER % code.lower())[0], "HTTP/1.1 200 OK", code)


class SampleLists(ServiceTest):
    """Every location of the sample list.dat is one the service answers for."""

    def sections(self):
        data = support.read(support.SERVICE + "/list.dat")
        lines = [line for line, _ in support.lines_of(data)]
        self.assertEqual(lines[:2], [b"Cumulon 3.0.7.143", b""])
        sections, current = {}, None
        for line in lines[2:]:
            if current is None:
                current = sections.setdefault(line.decode(), [])
            elif line:
                current.append(line.decode("cp1252").split("\xbb"))
            else:
                current = None
        return sections

    def test_sections_in_order_with_their_fields(self):
        sections = self.sections()
        self.assertEqual(list(sections), ["[ALERTS]", "[POINTFORECAST]", "[HOURLYPOINTFORECAST]",
                                          "[RADAR]", "[OBSERVATIONS]", "[METAR]", "[RIVERGAUGES]"])
        widths = {"[ALERTS]": 3, "[POINTFORECAST]": 3, "[HOURLYPOINTFORECAST]": 3}
        for name, items in sections.items():
            self.assertGreaterEqual(len(items), 3, name)
            for item in items:
                self.assertEqual(len(item), widths.get(name, 2), item)
                self.assertTrue(all(item), item)

    def test_every_location_has_a_document(self):
        sections = self.sections()
        paths = [ALERTS % code for _, code, _ in sections["[ALERTS]"]]
        paths += [MAPCLICK % (lat, lon, "xml") for _, lat, lon in sections["[POINTFORECAST]"]]
        paths += [OBSERVATION % code for code, _ in sections["[OBSERVATIONS]"]]
        paths += [RIVER % code.lower() for code, _ in sections["[RIVERGAUGES]"]]
        paths += ["/radar.weather.gov/ridge/RadarImg/N0R/%s_N0R_0.gif" % code[1:]
                  for code, _ in sections["[RADAR]"]]
        for path in paths:
            self.assertEqual(self.get(path)[0], "HTTP/1.1 200 OK", path)
        for code, _ in sections["[METAR]"]:
            self.assertIn('num_results="1"', self.document(METAR % code), code)
        for name, lat, lon in sections["[HOURLYPOINTFORECAST]"]:
            self.assertIn("<start-valid-time>", self.document(MAPCLICK % (lat, lon, "digitalDWML")))


if __name__ == "__main__":
    unittest.main()
