"""The generator of the station trees and the ZIP table, on small tables of its
own; and the ZIP table the windows build installs (CUMULON_PROGRAM_DIR)."""

import gzip
import math
import os
import re
import tempfile
import unittest

import support  # (first: it puts tools/ on the import path)
import make_station_data
import weather_tables

HEADER = "# generated from test tables\n\n"


def rad(lat, lon):
    return "(%.7f, %.7f)" % (math.radians(lat), math.radians(lon))


STATIONS = HEADER + """
[klot]
description = Chicago/Romeoville, Lewis University Airport, IL, United States
location = %(klot)s
zone = ('ilz106', 0.0006)

[kxyz]
description = Odd Field Airport, United States of America
location = %(kxyz)s
zone = ('kyz030', 0.001)

[kqqq]
description = Platform Nowhere, United States
location = %(kqqq)s

[egll]
description = London / Heathrow Airport, United Kingdom
location = %(egll)s

[rkjj]
description = Kwangju Ab, Korea, South
location = %(rkjj)s

[sbgr]
description = Guarulhos Airport, Sao Paulo, SP, BR
location = %(sbgr)s

[aggg]
description = unknown station in Solomon Islands
location = None

[zzzz]
description = Nowhere Field, Canada
location = None
""" % {"klot": rad(41.60, -88.08), "kxyz": rad(38.2, -85.7), "kqqq": rad(28.0, -90.0),
       "egll": rad(51.48, -0.45), "rkjj": rad(35.12, 126.8), "sbgr": rad(-23.43, -46.47)}

ZONES = HEADER + """
[kyz030]
centroid = %(a)s
description = Jefferson County, KY, US

[ilz103]
centroid = %(b)s
description = Northern Cook County, IL, US

[ilz001]
centroid = %(c)s
description = Jo Daviess County, IL, US

[laz999]
centroid = %(a)s
description = Unknown zone in LA

[lmz740]
centroid = %(b)s
description = Lake Michigan from Wilmette to Northerly Island, LM, US
""" % {"a": rad(38.2, -85.7), "b": rad(42.0, -87.8), "c": rad(42.35, -90.2)}

PLACES = HEADER + """
[fips21111]
centroid = %(jefferson)s
description = Jefferson County, KY

[fips2148000]
centroid = %(louisville)s
description = Louisville city, KY

[fips2199999]
centroid = %(shively)s
description = Shively city, KY

[fips2111190000]
centroid = %(cousub)s
description = Louisville CCD, KY

[fips08041]
centroid = %(el_paso)s
description = El Paso County, CO

[fips0811810]
centroid = %(canon)s
description = Cañon City city, CO

[fips4763140]
centroid = %(lynchburg)s
description = Lynchburg, Moore County metropolitan government, TN

[fips2181876]
centroid = %(west_louisville)s
description = West Louisville CDP, KY

[fips2124274]
centroid = %(elizabethtown)s
description = Elizabethtown city, KY
""" % {"jefferson": rad(38.19, -85.66), "louisville": rad(38.25, -85.75),
       "shively": rad(38.19, -85.82), "cousub": rad(38.22, -85.70), "el_paso": rad(38.83, -104.52),
       "canon": rad(38.44, -105.24), "lynchburg": rad(35.28, -86.37),
       "west_louisville": rad(37.70, -87.29), "elizabethtown": rad(37.69, -85.86)}

ZCTAS = HEADER + """
[40202]
centroid = %(z1)s
station = ('ksdf', 0.001)
zone = ('kyz030', 0.001)

[40216]
centroid = %(z2)s
zone = ('kyz030', 0.001)

[81212]
centroid = %(z3)s

[37352]
centroid = %(z4)s
zone = ('tnz096', 0.002)

[47150]
centroid = %(z5)s
zone = ('kyz030', 0.001)

[42301]
centroid = %(z6)s

[9999]
centroid = %(z1)s
""" % {"z1": rad(38.2528, -85.7519), "z2": rad(38.1860, -85.8387),
       "z3": rad(38.47, -105.30), "z4": rad(35.28, -86.37), "z5": rad(38.28, -85.82),
       "z6": rad(37.74, -87.12)}

# The post office's names.  37352 is missing (the census names it); 40201,
# 40256 and 42377 have no area of their own; 40298 is named after a town of
# its state 55 km from its region's areas, and APO has no place at all.
POSTAL = """ZIP,CITY,ST
40201,LOUISVILLE,KY
40202,LOUISVILLE,KY
40216,LOUISVILLE,KY
40256,SHIVELY,KY
42301,OWENSBORO,KY
40298,ELIZABETHTOWN,KY
42377,WEST LOUISVILLE,KY
47150,NEW ALBANY,IN
81212,CANON CITY,CO
09001,APO,AE
"""


class Generator(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        source = os.path.join(cls.folder.name, "tables")
        os.makedirs(source)
        for name, text in (("stations", STATIONS), ("zones", ZONES), ("places", PLACES),
                           ("zctas", ZCTAS), ("postal", POSTAL)):
            with gzip.open(os.path.join(source, name + ".gz"), "wt", encoding="utf-8") as out:
                out.write(text)
        cls.out = os.path.join(cls.folder.name, "out")
        cls.summary = make_station_data.generate(source, cls.out,
                                                 os.path.join(source, "postal.gz"))

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def lines(self, name):
        data = support.read(os.path.join(self.out, name))
        self.assertTrue(data.endswith(b"\r\n"))
        self.assertNotIn(b"\n", data.replace(b"\r\n", b""))
        return data.decode("cp1252").split("\r\n")[:-1]

    def test_observations_are_united_states_stations_by_state(self):
        self.assertEqual(self.lines("observations.trv"), [
            "+Illinois",
            "KLOT Chicago/Romeoville, Lewis University Airport, IL",
            "+Kentucky",
            "KXYZ Odd Field Airport, KY",
        ])

    def test_metar_puts_the_united_states_first_then_countries(self):
        self.assertEqual(self.lines("metar.trv"), [
            "+United States",
            "++Illinois",
            "KLOT Chicago/Romeoville, Lewis University Airport, IL",
            "++Kentucky",
            "KXYZ Odd Field Airport, KY",
            "+Brazil",
            "SBGR Guarulhos Airport, Sao Paulo, SP",
            "+Korea, South",
            "RKJJ Kwangju Ab",
            "+United Kingdom",
            "EGLL London / Heathrow Airport",
        ])

    def test_alert_zones_by_state_in_code_order(self):
        self.assertEqual(self.lines("alert.trv"), [
            "+Illinois",
            "ILZ001 Jo Daviess County",
            "ILZ103 Northern Cook County",
            "+Kentucky",
            "KYZ030 Jefferson County",
        ])

    def test_zip_lines_name_the_post_office_at_the_census_centroid(self):
        self.assertEqual(self.lines("zipcodes.dat"), [
            "37352,Lynchburg,TN,TNZ096,,35.2800,-86.3700",  # nearest census place
            "40201,Louisville,KY,,Jefferson County,38.2194,-85.7953",  # amid its town's areas
            "40202,Louisville,KY,KYZ030,Jefferson County,38.2528,-85.7519",
            "40216,Louisville,KY,KYZ030,Jefferson County,38.1860,-85.8387",  # not Shively
            "40256,Shively,KY,,Jefferson County,38.1900,-85.8200",  # at the census place
            "42301,Owensboro,KY,,Jefferson County,37.7400,-87.1200",
            "42377,West Louisville,KY,,Jefferson County,37.7000,-87.2900",
            "47150,New Albany,IN,KYZ030,,38.2800,-85.8200",  # no county across the river
            "81212,Cañon City,CO,,El Paso County,38.4700,-105.3000",  # the census spelling
        ])

    def test_summary_counts_lines_and_bytes(self):
        lines, size = self.summary["alert.trv"]
        self.assertEqual(lines, 5)
        self.assertEqual(size, os.path.getsize(os.path.join(self.out, "alert.trv")))

    def test_a_line_longer_than_the_reader_takes_is_refused(self):
        with self.assertRaises(ValueError):
            make_station_data.write_lines(os.path.join(self.out, "long.trv"), ["x" * 1024])
        self.assertFalse(os.path.exists(os.path.join(self.out, "long.trv")))


class TableReaders(unittest.TestCase):
    def test_country_and_state_from_descriptions(self):
        self.assertEqual(weather_tables.split_country("Standiford Field, KY, United States"),
                         ("Standiford Field, KY", "United States", "KY"))
        self.assertEqual(weather_tables.split_country("Kunsan Ab, Korea, South"),
                         ("Kunsan Ab", "Korea, South", ""))
        self.assertEqual(weather_tables.split_country("Yelahanka Air Force Station, KA, IN"),
                         ("Yelahanka Air Force Station, KA", "India", ""))

    def test_place_names_lose_their_census_kind(self):
        clean = weather_tables.clean_place_name
        self.assertEqual(clean("Louisville city"), "Louisville")
        self.assertEqual(clean("Indianapolis city (balance)"), "Indianapolis")
        self.assertEqual(clean("Yauco zona urbana"), "Yauco")
        self.assertEqual(clean("Carson City"), "Carson City")

    def test_text_outside_code_page_1252_keeps_its_letters(self):
        self.assertEqual(weather_tables.to_ansi("Utqiaġvik"), "Utqiagvik")
        self.assertEqual(weather_tables.to_ansi("Cañon"), "Cañon")
        self.assertEqual(weather_tables.to_ansi("東京"), "??")

    def test_post_office_names_become_keys_and_title_case(self):
        for postal, key, title in [
            ("CANON CITY", "canoncity", "Canon City"),
            ("ST LOUIS", "stlouis", "St Louis"),
            ("WILKES-BARRE", "wilkesbarre", "Wilkes-Barre"),
            ("LINCOLN'S NEW SALEM", "lincolnsnewsalem", "Lincoln's New Salem"),
        ]:
            self.assertEqual(make_station_data.name_key(postal), key)
            self.assertEqual(make_station_data.title_case(postal), title)
        self.assertEqual(make_station_data.name_key("Cañon City"), "canoncity")
        self.assertEqual(make_station_data.name_key("St. Louis"), "stlouis")
        self.assertEqual(make_station_data.spelled_out("W HARTFORD"), "WEST HARTFORD")
        self.assertEqual(make_station_data.spelled_out("STANTON"), "STANTON")

    def test_nearest_search_looks_past_empty_cells(self):
        points = [(10.0, 10.0), (10.0, 14.0), (40.0, -100.0)]
        index = weather_tables.NearestIndex(points, lambda p: p)
        self.assertEqual(index.nearest(10.1, 13.0), (10.0, 14.0))
        self.assertEqual(index.nearest(30.0, -95.0), (40.0, -100.0))
        self.assertIsNone(weather_tables.NearestIndex([], lambda p: p).nearest(0, 0))


def zip_search(lines, text):
    """The Add Point dialog's search: lower-case words, all of which must occur
    in the lower-case line."""
    words = [w for w in re.split(r"[\t ~`!@#$%^&*()_\-+={}\[\]|\\:;\"'<,>.?/]+", text.lower()) if w]
    return [line for line in lines if words and all(w in line.lower() for w in words[:5])]


class InstalledZipTable(unittest.TestCase):
    def setUp(self):
        path = os.path.join(support.PROGRAM_DIR or "/nonexistent", "zipcodes.dat")
        if not os.path.exists(path):
            self.skipTest("zipcodes.dat has not been built (set CUMULON_PROGRAM_DIR)")
        self.data = support.read(path)
        self.lines = [line.decode("cp1252") for line, _ in support.lines_of(self.data)]

    def test_every_line_has_seven_fields_and_fits_the_reader(self):
        for line, crlf in support.lines_of(self.data):
            self.assertTrue(crlf)
            self.assertLessEqual(len(line), 256)
            fields = line.decode("cp1252").split(",")
            self.assertEqual(len(fields), 7, line)
            self.assertRegex(fields[0], r"^[0-9]{5}$")
            self.assertTrue(fields[1] or fields[2], line)
            lat, lon = float(fields[5]), float(fields[6])
            self.assertTrue(-15 < lat < 72 and -180 < lon < 146, line)
            self.assertNotIn("+", fields[5] + fields[6])

    def test_one_line_per_zip_code(self):
        codes = [line[:5] for line in self.lines]
        self.assertEqual(len(codes), len(set(codes)))
        self.assertGreater(len(codes), 30000)

    def test_searching_louisville_ky_finds_louisville(self):
        found = zip_search(self.lines, "Louisville KY")
        self.assertIn("40205,Louisville,KY,", "\n".join(found))
        self.assertGreater(len([line for line in found if ",Louisville,KY," in line]), 30)
        self.assertTrue(all(",KY," in line for line in found))
        self.assertEqual(zip_search(self.lines, "40202"), [line for line in self.lines
                                                           if line.startswith("40202")])


if __name__ == "__main__":
    unittest.main()
