#!/usr/bin/python3
"""Renders the report of the fixed folder fixtures/class in headless Chromium, to a PNG and to
its DOM, and checks the DOM: 81 cells per fact grid with the expected classes and titles,
the overview rows and the files not read. The PNG is left for a person to look at.

Usage: browser_test.py QUARN_REPORT FIXTURES_DIRECTORY OUTPUT_DIRECTORY [CHROMIUM]
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from html.parser import HTMLParser

ARGS = {}
CLASSES = {"fluent", "getting", "slow", "missed", "unseen", "never"}


class Dom(HTMLParser):
    """Collects the fact grids' cells, the overview's learner rows and the file lists."""

    def __init__(self):
        super().__init__()
        self.grids = []  # per grid: rows of (class, title, text)
        self.learners = []  # overview rows: cell texts
        self.lists = {"not-read": [], "partly-read": []}
        self.tags = set()
        self.sources = []
        self._table = None
        self._row = None
        self._cell = None
        self._list = None
        self._item = None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        self.tags.add(tag)
        for name in ("src", "href"):
            if name in a:
                self.sources.append(a[name])
        classes = (a.get("class") or "").split()
        if tag == "table":
            self._table = "grid" if "grid" in classes else "overview" if "overview" in classes else None
            if self._table == "grid":
                self.grids.append([])
        elif tag == "tr" and self._table:
            self._row = []
            if self._table == "grid":
                self.grids[-1].append(self._row)
            elif "learner" in classes:
                self.learners.append(self._row)
            else:
                self._row = None
        elif tag == "td" and self._row is not None:
            self._cell = [a.get("class"), a.get("title"), ""]
            self._row.append(self._cell)
        elif tag == "ul" and classes and classes[0] in self.lists:
            self._list = self.lists[classes[0]]
        elif tag == "li" and self._list is not None:
            self._item = []

    def handle_endtag(self, tag):
        if tag == "table":
            self._table = None
        elif tag == "tr":
            self._row = None
        elif tag == "td":
            self._cell = None
        elif tag == "ul":
            self._list = None
        elif tag == "li" and self._item is not None:
            self._list.append("".join(self._item))
            self._item = None

    def handle_data(self, data):
        if self._cell is not None:
            self._cell[2] += data
        if self._item is not None:
            self._item.append(data)


def Chromium(*args, profile):
    chromium = ARGS["chromium"]
    command = [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
               "--no-first-run", "--disable-background-networking", "--disable-component-update",
               "--disable-sync", "--user-data-dir=" + profile, *args]
    return subprocess.run(command, capture_output=True, text=True, timeout=120, check=True)


class RenderedReport(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not ARGS["chromium"] or not shutil.which(ARGS["chromium"]):
            raise AssertionError("chromium is not installed (tools/common.sh installs it)")
        os.makedirs(ARGS["out"], exist_ok=True)
        page = os.path.join(ARGS["out"], "report.html")
        folder = os.path.join(ARGS["fixtures"], "class")
        done = subprocess.run([ARGS["program"], folder, "-o", page, "--no-open"],
                              capture_output=True, text=True, timeout=60)
        if done.returncode != 0:
            raise AssertionError("quarn-report failed: " + done.stderr)
        url = "file://" + os.path.abspath(page)
        with tempfile.TemporaryDirectory() as profile:
            cls.dom = Chromium("--dump-dom", url, profile=profile).stdout
        with tempfile.TemporaryDirectory() as profile:
            cls.png = os.path.join(ARGS["out"], "report.png")
            Chromium("--window-size=1100,2600", "--screenshot=" + cls.png, url, profile=profile)
        cls.parsed = Dom()
        cls.parsed.feed(cls.dom)

    def testEveryGridHas81CellsWithAClassAndATitle(self):
        # class: subtraction; ken: both drills; あおい: both drills.
        self.assertEqual(len(self.parsed.grids), 5)
        for grid in self.parsed.grids:
            cells = [cell for row in grid for cell in row]
            self.assertEqual(len(cells), 81)
            for cls, title, _ in cells:
                self.assertIn(cls, CLASSES)
                self.assertTrue(title)
            never = sum(cls == "never" for cls, _, _ in cells)
            self.assertIn(never, (23, 36))  # division, subtraction

    def testKensDivisionGrid(self):
        # ken's three division runs (20240301, 20240302, partial.log), worked out by hand.
        grid = self.parsed.grids[1]
        cell = lambda a, b: grid[a][b - 1]  # row 0 is the header row without cells
        expected = {
            (7, 8): ("fluent", "2.0"),  # 2.0, 2.0, 1.0 s
            (6, 9): ("slow", "8.5"),  # 8.0, 9.0 s
            (3, 4): ("missed", "4.5"),  # 4.0 s with a miss, 5.0 s
            (9, 9): ("fluent", "2.5"),
            (5, 5): ("unseen", ""),
            (1, 7): ("never", ""),
            (2, 4): ("never", ""),
        }
        for (a, b), (cls, text) in expected.items():
            with self.subTest(fact=f"{a}x{b}"):
                got = cell(a, b)
                self.assertEqual((got[0], got[2]), (cls, text))
        self.assertIn("7 × 8 ＝ 56", cell(7, 8)[1])
        self.assertIn("答え 3 回", cell(7, 8)[1])
        self.assertIn("ミス 1 回", cell(3, 4)[1])

    def testOverviewRows(self):
        names = [row[0][2] for row in self.parsed.learners]
        self.assertEqual(names, ["class", "ken", "あおい"])
        runs = [row[1][2] for row in self.parsed.learners]
        self.assertEqual(runs, ["1", "4", "2"])

    def testFilesNotRead(self):
        notRead = self.parsed.lists["not-read"]
        self.assertEqual([item.split("：")[0] for item in notRead],
                         ["ken/bad-date.log", "ken/broken.log", "ken/empty.log"])
        partly = self.parsed.lists["partly-read"]
        self.assertEqual(len(partly), 1)
        self.assertTrue(partly[0].startswith("ken/partial.log：2 行"))

    def testSelfContained(self):
        self.assertNotIn("script", self.parsed.tags)
        self.assertNotIn("img", self.parsed.tags)
        self.assertTrue(all(s.startswith("#") for s in self.parsed.sources), self.parsed.sources)

    def testScreenshotWritten(self):
        with open(self.png, "rb") as f:
            head = f.read(24)
        self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n")
        width = int.from_bytes(head[16:20], "big")
        self.assertEqual(width, 1100)


if __name__ == "__main__":
    ARGS["program"], ARGS["fixtures"], ARGS["out"] = sys.argv[1:4]
    ARGS["chromium"] = sys.argv[4] if len(sys.argv) > 4 else shutil.which("chromium")
    del sys.argv[1:]
    unittest.main(verbosity=2)
