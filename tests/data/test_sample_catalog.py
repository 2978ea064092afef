"""Walks the sample service's older catalog (the addresses and formats of
2013, which the tests keep using): every key of every section is fetched, and
each answer is the document or picture the page expects.  Today's catalog is
walked by test_sample_today."""

import datetime
import unittest

import support

NOW = datetime.datetime(2013, 8, 7, 18, 40, 32, tzinfo=datetime.timezone.utc)
CODES = {"[OBSERVATIONS]": "KLOT", "[METAR]": "KLOT", "[RIVERGAUGES]": "PEOI2",
         "[ALERTS]": "ILZ103", "[RADAR]": "KLOT"}
RUNS = {"[OBSERVATIONS]": ("####", "####"), "[METAR]": ("####", "####"),
        "[RIVERGAUGES]": ("#####", "#####"), "[ALERTS]": ("######", "######"),
        "[RADAR]": ("###", "####")}
SIZES = {"[RADAR]": (600, 550), "[SATELLITE]": (720, 480), "[SATELLITEWIDE]": (1120, 480)}


def address_of(section, address):
    if section in ("[POINTFORECAST]", "[HOURLYPOINTFORECAST]"):
        a, b, c = address.split("#")
        return a + "41.88" + b + "-87.63" + c
    if section in RUNS:
        code = CODES[section]
        run = RUNS[section][0]
        address = address.replace(run, code[1:] if section == "[RADAR]" else code, 1)
        return address.lower() if section == "[RIVERGAUGES]" else address
    return address


class CatalogWalk(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server, cls.port = support.start_service(NOW)
        status, _, body = support.raw_get(cls.port, "/links-2013.dat")
        cls.sections = support.catalog_sections(body)
        cls.answers = {}
        prefix = "http://127.0.0.1:%d" % cls.port
        for section, entries in cls.sections.items():
            for key, address, _ in entries:
                url = address_of(section, address)
                assert url.startswith(prefix + "/"), url
                status, fields, body = support.raw_get(cls.port, url[len(prefix):])
                if fields.get("transfer-encoding") == "chunked":
                    body = support.dechunk(body)
                cls.answers[section, key] = (status, fields, body)

    @classmethod
    def tearDownClass(cls):
        cls.server.shutdown()
        cls.server.server_close()

    def test_every_key_is_answered(self):
        self.assertEqual(len(self.answers), 6 + 26 + 140 + 20 + 6)
        failed = [(k, a[0]) for k, a in self.answers.items() if a[0] != "HTTP/1.1 200 OK"]
        self.assertEqual(failed, [])
        self.assertTrue(all(a[1].get("last-modified") for a in self.answers.values()))

    def test_feeds_are_documents(self):
        for section in ("[POINTFORECAST]", "[HOURLYPOINTFORECAST]", "[OBSERVATIONS]", "[METAR]",
                        "[RIVERGAUGES]", "[ALERTS]"):
            body = self.answers[section, "url="][2]
            self.assertTrue(body.startswith(b"<?xml"), section)

    def test_pictures_have_the_size_the_pages_draw(self):
        for (section, key), (_, fields, body) in self.answers.items():
            if key in ("sr.topo=", "lr.topo="):
                # Half the size: the page scales it to the picture.
                self.assertEqual(support.picture_size(body), (300, 275), key)
            elif section in SIZES:
                self.assertEqual(support.picture_size(body), SIZES[section], key)
            elif section == "[ALERTMAPS]":
                size = (800, 500) if key == "us=" else (354, 274)
                self.assertEqual(support.picture_size(body), size)

    def test_radar_overlays_are_see_through(self):
        for key in ("sr.county=", "sr.river=", "sr.highway=", "sr.city=", "sr.warning=",
                    "sr.n0r=", "sr.n0rlegend=", "lr.n0z="):
            body = self.answers["[RADAR]", key][2]
            width, height, rows, palette, transparent = support.gif_info(body)
            self.assertEqual(transparent, 0, key)
            clear = sum(row.count(0) for row in rows)
            self.assertGreater(clear, width * height // 2, key)

    def test_relief_and_satellite_pictures_are_baseline_jpegs(self):
        for (section, key), (_, fields, body) in self.answers.items():
            if section in ("[SATELLITE]", "[SATELLITEWIDE]") or key.endswith(".topo="):
                self.assertEqual(fields.get("content-type"), "image/jpeg", key)
                self.assertEqual(support.jpeg_frame(body)[2], 0xC0, key)

    def test_the_relief_is_land_and_water(self):
        width, height, pixels = support.jpeg_pixels(self.answers["[RADAR]", "sr.topo="][2])
        rgb = [pixels[i:i + 3] for i in range(0, len(pixels), 3)]
        self.assertGreater(len(set(rgb)), 200)
        # Lake Michigan lies east of the Chicago radar: blue water on the right half.
        right = [rgb[y * width + x] for y in range(50, 150) for x in range(200, width)]
        self.assertGreater(sum(1 for r, g, b in right if b > r + 40), 500)

    def test_the_legend_names_the_site(self):
        body = self.answers["[RADAR]", "sr.n0rlegend="][2]
        width, height, rows, palette, _ = support.gif_info(body)
        strip = rows[height - 30:]
        self.assertTrue(all(i != 0 for row in strip for i in row))
        self.assertTrue(all(i == 0 for row in rows[:height - 30] for i in row))

    def test_infrared_colours_colour_one_picture(self):
        pixels = {p: support.jpeg_pixels(self.answers["[SATELLITE]", "ceus.%s=" % p][2])[2]
                  for p in ("avn", "ir4", "rb", "vis")}
        self.assertEqual(len(set(pixels.values())), 4)

        def coloured(data):
            return sum(1 for i in range(0, len(data), 3)
                       if max(data[i:i + 3]) - min(data[i:i + 3]) > 60)
        # Unenhanced is grey but for the gold coastlines; Rainbow colours the cold tops.
        self.assertLess(coloured(pixels["ir4"]), 720 * 480 // 10)
        self.assertGreater(coloured(pixels["rb"]), 3 * coloured(pixels["ir4"]))

    def test_each_sector_is_a_different_place(self):
        bodies = [self.answers["[SATELLITE]", "%s.ir4=" % r][2] for r in
                  ("watl", "catl", "carb", "gmex", "eaus", "ceus", "nwatl", "natl", "eepac",
                   "wepac", "cpac", "hi", "nepac", "weus")]
        self.assertEqual(len(set(bodies)), 14)

    def test_alert_maps_paint_the_alerted_zones(self):
        width, height, rows, palette, _ = support.png_info(self.answers["[ALERTMAPS]", "us="][2])
        colours = {palette[i] for row in rows for i in row}
        self.assertIn((255, 0, 0), colours)       # ILZ103's tornado warning
        # The caption bars are translucent: partial alpha on their colour only.
        alpha = support.png_info(self.answers["[ALERTMAPS]", "gu="][2])[4]
        self.assertEqual([(i, a) for i, a in enumerate(alpha) if a != 255], [(5, 208)])


if __name__ == "__main__":
    unittest.main()
