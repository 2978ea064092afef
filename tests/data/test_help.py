"""The help topics: every topic the program opens exists, links resolve, the
pages are well formed, and chmcmd compiles them into a help file that lists
them all and defines the two help windows the program asks for."""

import html.parser
import os
import re
import shutil
import subprocess
import tempfile
import unittest

import support

HELP = os.path.join(support.DATA, "help")
# Topic files the program opens (help icons of the pages, the tray menu,
# Settings, the time column dialog and the alert map).
OPENED = ["intro.html", "settings.html", "pointforecast.html", "hourlypointforecast.html",
          "timedisplay.html", "observations.html", "alert.html", "radar.html", "metar.html",
          "river.html", "satellite.html", "alertmaplegend.html"]
CLOSED_TAGS = {"html", "head", "body", "title", "h1", "h2", "table", "tr", "td", "th", "ul",
               "ol", "li", "p", "a", "span", "b", "i", "code", "style"}


class Structure(html.parser.HTMLParser):
    """Collects links and the title, and checks that tags close in order."""

    def __init__(self):
        super().__init__()
        self.stack, self.errors, self.links, self.title, self.text = [], [], [], "", []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "a" and "href" in attrs:
            self.links.append(attrs["href"])
        if tag == "link" and "href" in attrs:
            self.links.append(attrs["href"])
        if tag in CLOSED_TAGS:
            self.stack.append(tag)

    def handle_endtag(self, tag):
        if tag not in CLOSED_TAGS:
            return
        if not self.stack or self.stack[-1] != tag:
            self.errors.append("</%s> closes <%s>" % (tag, self.stack[-1] if self.stack else ""))
        else:
            self.stack.pop()

    def handle_data(self, data):
        if self.stack and self.stack[-1] == "title":
            self.title += data
        self.text.append(data)


def parse(name):
    parser = Structure()
    parser.feed(support.read(os.path.join(HELP, name)).decode("cp1252"))
    parser.close()
    return parser


def project_section(name):
    text = support.read(os.path.join(HELP, "Cumulon.hhp")).decode("ascii")
    body = re.search(r"^\[%s\]\r?\n(.*?)(?:^\[|\Z)" % name, text, re.S | re.M).group(1)
    return [line.strip() for line in body.splitlines() if line.strip()]


class Topics(unittest.TestCase):
    def test_every_topic_the_program_opens_is_there(self):
        for name in OPENED:
            self.assertTrue(os.path.exists(os.path.join(HELP, name)), name)

    def test_the_project_lists_every_page_and_nothing_else(self):
        files = set(project_section("FILES"))
        pages = {n for n in os.listdir(HELP) if n.endswith((".html", ".css"))}
        self.assertEqual(files, pages)

    def test_the_project_defines_the_windows_the_program_uses(self):
        windows = dict(line.split("=", 1) for line in project_section("WINDOWS"))
        self.assertEqual(set(windows), {"MainWindow", "AlertMapLegend"})
        self.assertTrue(windows["MainWindow"].startswith('"Cumulon Help"'))
        self.assertIn('"alertmaplegend.html"', windows["AlertMapLegend"])

    def test_pages_are_well_formed_and_titled(self):
        for name in sorted(n for n in os.listdir(HELP) if n.endswith(".html")):
            parser = parse(name)
            self.assertEqual(parser.errors, [], name)
            self.assertEqual(parser.stack, [], name)
            self.assertTrue(parser.title.strip(), name)
            self.assertIn("help.css", parser.links, name)

    def test_links_lead_to_pages_of_the_help_file(self):
        targets = set(os.listdir(HELP))
        for name in (n for n in os.listdir(HELP) if n.endswith(".html")):
            for link in parse(name).links:
                self.assertIn(link.split("#")[0], targets, "%s links to %s" % (name, link))
        for name in ("Cumulon.hhc", "Cumulon.hhk"):
            text = support.read(os.path.join(HELP, name)).decode("ascii")
            for local in re.findall(r'name="Local" value="([^"]+)"', text):
                self.assertIn(local, targets, name)

    def test_each_page_topic_tells_how_to_add_a_location(self):
        for name, words in (("pointforecast.html", "Add Point"),
                            ("hourlypointforecast.html", "add"),
                            ("observations.html", "index"), ("metar.html", "index"),
                            ("river.html", "index"), ("radar.html", "index"),
                            ("alert.html", "index")):
            self.assertIn(words, "".join(parse(name).text), name)

    def test_texts_are_plain_code_page_1252(self):
        for name in os.listdir(HELP):
            support.read(os.path.join(HELP, name)).decode("cp1252")


def compile_help(folder):
    work = os.path.join(folder, "help")
    shutil.copytree(HELP, work)
    subprocess.run(["chmcmd", "--verbosity", "0", "Cumulon.hhp"], cwd=work, check=True,
                   capture_output=True)
    return support.read(os.path.join(work, "Cumulon.chm"))


class CompiledHelp(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if support.PROGRAM_DIR:
            cls.data = support.read(os.path.join(support.PROGRAM_DIR, "Cumulon.chm"))
            return
        with tempfile.TemporaryDirectory() as folder:
            cls.data = compile_help(folder)

    def test_every_topic_is_compiled_in(self):
        entries, _ = support.chm_directory(self.data)
        for name in OPENED + ["stationtree.html", "help.css", "Cumulon.hhc", "Cumulon.hhk"]:
            self.assertIn("/" + name, entries)
            self.assertGreater(entries["/" + name][2], 100, name)

    def test_both_windows_are_defined_and_main_window_is_the_default(self):
        entries, content = support.chm_directory(self.data)
        section, offset, length = entries["/#WINDOWS"]
        self.assertEqual(length, 8 + 2 * 196)        # a count, an entry size, two windows
        section, offset, length = entries["/#SYSTEM"]
        self.assertEqual(section, 0)
        system = self.data[content + offset:content + offset + length]
        self.assertIn(b"\x05\x00\x0b\x00MainWindow\x00", system)
        self.assertIn(b"intro.html\x00", system)


if __name__ == "__main__":
    unittest.main()
