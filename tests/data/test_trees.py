"""The station trees: the hand-written radar.trv and river.trv always, and the
generated observations.trv, metar.trv and alert.trv when the windows build's
program folder is given (CUMULON_PROGRAM_DIR)."""

import collections
import os
import re
import unittest

import support
import weather_tables

STATE_NAMES = set(weather_tables.STATE_NAMES.values())


def leaf_code(leaf):
    return leaf.split(" ", 1)[0]


class TreeChecks:
    """Format checks every tree file gets; subclasses name the file and the code shape."""
    file_name = None
    code = None          # regular expression of a leaf's code

    def load(self):
        return support.read(self.path())

    def path(self):
        return os.path.join(support.DATA, self.file_name)

    def setUp(self):
        if not os.path.exists(self.path()):
            self.skipTest("%s has not been built (set CUMULON_PROGRAM_DIR)" % self.file_name)
        self.tree, self.problems = support.read_tree(self.load())
        self.leaves = list(support.tree_leaves(self.tree))

    def test_lines_are_well_formed(self):
        self.assertEqual(self.problems, [])

    def test_every_leaf_is_a_code_a_space_and_a_name(self):
        bad = [leaf for _, _, leaf in self.leaves if not re.fullmatch(self.code + r" \S.*", leaf)]
        self.assertEqual(bad, [])

    def test_codes_are_unique(self):
        counts = collections.Counter(leaf_code(leaf) for _, _, leaf in self.leaves)
        self.assertEqual([c for c, n in counts.items() if n > 1], [])

    def test_no_heading_is_empty(self):
        for name, leaves, subgroups in self.tree:
            self.assertTrue(leaves or subgroups, name)
            for subname, subleaves in subgroups:
                self.assertTrue(subleaves, subname)

    def test_headings_are_in_alphabetical_order(self):
        names = [name for name, _, _ in self.tree]
        self.assertEqual(names, sorted(names, key=self.heading_order))

    @staticmethod
    def heading_order(name):
        return name.lower()


class RadarTree(TreeChecks, unittest.TestCase):
    file_name = "radar.trv"
    code = r"[KPT][A-Z]{3}"

    def test_sites_are_grouped_by_state_and_name_their_state(self):
        for state, subgroup, leaf in self.leaves:
            self.assertIn(state, STATE_NAMES)
            self.assertIsNone(subgroup)
            abbreviation = leaf[-2:]
            self.assertEqual(weather_tables.STATE_NAMES[abbreviation], state, leaf)

    def test_the_whole_network_is_there(self):
        self.assertGreaterEqual(len(self.leaves), 150)
        codes = {leaf_code(leaf) for _, _, leaf in self.leaves}
        self.assertTrue({"KLOT", "KLVX", "KATX", "PAHG", "PHKI", "TJUA", "PGUA"} <= codes)


class RiverTree(TreeChecks, unittest.TestCase):
    file_name = "river.trv"
    code = r"[A-Z]{4}[0-9]"

    def test_gauges_are_grouped_by_state_and_river(self):
        for state, river, leaf in self.leaves:
            self.assertIn(state, STATE_NAMES)
            self.assertIsNotNone(river, leaf)
            self.assertTrue(leaf.split(" ", 1)[1].startswith(river + " at "), leaf)
            self.assertEqual(weather_tables.STATE_NAMES[leaf[-2:]], state, leaf)

    def test_at_least_a_hundred_gauges(self):
        self.assertGreaterEqual(len(self.leaves), 100)

    def test_the_gauge_codes_carry_their_state_number(self):
        # Gauge identifiers end in the state's number (KY 2, OH 1, IL 2, ...).
        numbers = {"Kentucky": "2", "Ohio": "1", "Illinois": "2", "Missouri": "7", "Texas": "2",
                   "Pennsylvania": "1", "Iowa": "4", "Minnesota": "5", "Mississippi": "6"}
        for state, _, leaf in self.leaves:
            if state in numbers:
                self.assertEqual(leaf_code(leaf)[4], numbers[state], leaf)


class GeneratedTree(TreeChecks):
    def path(self):
        return os.path.join(support.PROGRAM_DIR or "/nonexistent", self.file_name)


class ObservationTree(GeneratedTree, unittest.TestCase):
    file_name = "observations.trv"
    code = r"[A-Z0-9]{4}"

    def test_stations_of_every_state(self):
        states = {name for name, _, _ in self.tree}
        self.assertGreaterEqual(len(states), 50)
        self.assertTrue(states <= STATE_NAMES)
        self.assertIn("KSDF Standiford Field, KY", [leaf for _, _, leaf in self.leaves])


class MetarTree(GeneratedTree, unittest.TestCase):
    file_name = "metar.trv"
    code = r"[A-Z0-9]{4}"

    @staticmethod
    def heading_order(name):
        return (name != "United States", name.lower())

    def test_the_united_states_come_first_by_state(self):
        name, leaves, subgroups = self.tree[0]
        self.assertEqual(name, "United States")
        self.assertEqual(leaves, [])
        self.assertGreaterEqual(len(subgroups), 50)

    def test_other_countries_hold_their_stations_directly(self):
        countries = {name: leaves for name, leaves, subgroups in self.tree[1:]}
        self.assertGreater(len(countries), 150)
        self.assertTrue(all(not sub for _, _, sub in self.tree[1:]))
        self.assertIn("EGLL London / Heathrow Airport", countries["United Kingdom"])


class AlertTree(GeneratedTree, unittest.TestCase):
    file_name = "alert.trv"
    code = r"[A-Z]{2}Z[0-9]{3}"

    def test_zones_are_listed_under_their_state_in_code_order(self):
        for name, leaves, _ in self.tree:
            codes = [leaf_code(leaf) for leaf in leaves]
            self.assertEqual(codes, sorted(codes))
            self.assertEqual({c[:2] for c in codes}, {c[:2] for c in codes[:1]}, name)
        self.assertIn("KYZ030 Jefferson County", [leaf for _, _, leaf in self.leaves])


if __name__ == "__main__":
    unittest.main()
