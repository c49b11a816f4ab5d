#!/usr/bin/python3
"""Renders the report of the fixed folder fixtures/class in headless Chromium and checks what a
teacher gets: who needs help on the first screen of 1280 × 800, the two fact grids of each
drill with their marks, the overview's rows per learner and drill, the class map, the files not
read; the palette as the page paints it, under simulated protanopia and deuteranopia; the chart
texts, every table and the way back to the top on a 390 px phone; the headers at 1280 px; and
the printed A4 pages. The PNGs (1280 px, 390 px, each printed page) are left in the output
directory for a person to look at.

Usage: browser_test.py QUARN_REPORT FIXTURES_DIRECTORY OUTPUT_DIRECTORY [CHROMIUM]
"""

import glob
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
from html.parser import HTMLParser

ARGS = {}
STATES = ["fluent", "getting", "slow", "missed", "unseen"]
MARKS = {"fluent": "◎", "getting": "○", "slow": "△", "missed": "！"}
FEW = "＊"  # the mark of a state judged on few answers, in the cell's corner
LEARNERS = ["class", "ken", "あおい"]


class Table:
    def __init__(self, classes):
        self.classes = classes
        self.caption = ""
        self.rows = []  # rows of cells: {"tag", "class", "title", "scope", "text"}


class Dom(HTMLParser):
    """Collects every table (nested ones too) and the lists of files."""

    def __init__(self):
        super().__init__()
        self.tables = []
        self.lists = {"not-read": [], "partly-read": []}
        self.tags = set()
        self.sources = []
        self._open = []  # tables being read, innermost last
        self._cells = []  # per open table: the cell being read, or None
        self._caption = False
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
            self._open.append(Table(classes))
            self._cells.append(None)
            self.tables.append(self._open[-1])
        elif tag == "caption" and self._open:
            self._caption = True
        elif tag == "tr" and self._open:
            self._open[-1].rows.append([])
        elif tag in ("td", "th") and self._open and self._open[-1].rows:
            cell = {"tag": tag, "class": a.get("class") or "", "title": a.get("title") or "",
                    "scope": a.get("scope"), "text": ""}
            self._open[-1].rows[-1].append(cell)
            self._cells[-1] = cell
        elif tag == "ul" and classes and classes[0] in self.lists:
            self._list = self.lists[classes[0]]
        elif tag == "li" and self._list is not None:
            self._item = []

    def handle_endtag(self, tag):
        if tag == "table" and self._open:
            self._open.pop()
            self._cells.pop()
        elif tag == "caption":
            self._caption = False
        elif tag in ("td", "th") and self._cells:
            self._cells[-1] = None
        elif tag == "ul":
            self._list = None
        elif tag == "li" and self._item is not None:
            self._list.append("".join(self._item))
            self._item = None

    def handle_data(self, data):
        if self._caption:
            self._open[-1].caption += data
        elif self._cells and self._cells[-1] is not None:
            self._cells[-1]["text"] += data
        if self._item is not None:
            self._item.append(data)

    def Find(self, *classes):
        return [t for t in self.tables if all(c in t.classes for c in classes)]


# Colour science for the palette checks: sRGB to linear light, the Machado, Oliveira and
# Fernandes (2009) dichromacy matrices at severity 1.0 applied in linear RGB, CIELAB (D65),
# CIEDE2000 and the WCAG contrast ratio.
PROTANOPIA = ((0.152286, 1.052583, -0.204868), (0.114503, 0.786281, 0.099216),
              (-0.003882, -0.048116, 1.051998))
DEUTERANOPIA = ((0.367322, 0.860646, -0.227968), (0.280085, 0.672501, 0.047413),
                (-0.011820, 0.042940, 0.968881))


def Linear(rgb):
    return tuple(c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
                 for c in (v / 255 for v in rgb))


def Simulate(linear, matrix):
    if matrix is None:
        return linear
    return tuple(min(1.0, max(0.0, sum(m * c for m, c in zip(row, linear)))) for row in matrix)


def Lab(linear):
    r, g, b = linear
    x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047
    y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b
    z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883
    f = lambda t: t ** (1 / 3) if t > (6 / 29) ** 3 else t / (3 * (6 / 29) ** 2) + 4 / 29
    return (116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z)))


def Ciede2000(lab1, lab2):
    (l1, a1, b1), (l2, a2, b2) = lab1, lab2
    cBar = (math.hypot(a1, b1) + math.hypot(a2, b2)) / 2
    g = 0.5 * (1 - math.sqrt(cBar ** 7 / (cBar ** 7 + 25 ** 7)))
    a1, a2 = (1 + g) * a1, (1 + g) * a2
    c1, c2 = math.hypot(a1, b1), math.hypot(a2, b2)
    h1 = math.degrees(math.atan2(b1, a1)) % 360 if c1 else 0
    h2 = math.degrees(math.atan2(b2, a2)) % 360 if c2 else 0
    if c1 * c2 == 0:
        dh = 0
    elif abs(h2 - h1) <= 180:
        dh = h2 - h1
    else:
        dh = h2 - h1 - 360 if h2 > h1 else h2 - h1 + 360
    dH = 2 * math.sqrt(c1 * c2) * math.sin(math.radians(dh / 2))
    lMean, cMean = (l1 + l2) / 2, (c1 + c2) / 2
    if c1 * c2 == 0:
        hMean = h1 + h2
    elif abs(h1 - h2) <= 180:
        hMean = (h1 + h2) / 2
    else:
        hMean = (h1 + h2 + 360) / 2 if h1 + h2 < 360 else (h1 + h2 - 360) / 2
    t = (1 - 0.17 * math.cos(math.radians(hMean - 30)) + 0.24 * math.cos(math.radians(2 * hMean))
         + 0.32 * math.cos(math.radians(3 * hMean + 6))
         - 0.20 * math.cos(math.radians(4 * hMean - 63)))
    rc = 2 * math.sqrt(cMean ** 7 / (cMean ** 7 + 25 ** 7))
    rt = -math.sin(math.radians(60 * math.exp(-(((hMean - 275) / 25) ** 2)))) * rc
    sl = 1 + 0.015 * (lMean - 50) ** 2 / math.sqrt(20 + (lMean - 50) ** 2)
    sc = 1 + 0.045 * cMean
    sh = 1 + 0.015 * cMean * t
    dl, dc = (l2 - l1) / sl, (c2 - c1) / sc
    dH /= sh
    return math.sqrt(dl * dl + dc * dc + dH * dH + rt * dc * dH)


def Contrast(rgb1, rgb2):
    y = lambda rgb: sum(w * c for w, c in zip((0.2126, 0.7152, 0.0722), Linear(rgb)))
    high, low = sorted((y(rgb1), y(rgb2)), reverse=True)
    return (high + 0.05) / (low + 0.05)


def Rgb(css):
    values = re.findall(r"[\d.]+", css)
    return tuple(round(float(v)) for v in values[:3])


# The page is measured inside a frame of the width asked for (headless Chromium's window is
# at least 500 px wide); the report itself has no script. What only a layout knows is left as
# JSON in the DOM that --dump-dom prints.
MEASURE = r"""<!DOCTYPE html><html><body style="margin:0">
<iframe id="page" src="PAGE" style="border:0;width:WIDTHpx;height:HEIGHTpx"></iframe>
<script>
document.getElementById('page').onload = function () {
  const w = this.contentWindow, d = w.document;
  const out = {width: w.innerWidth, scrollWidth: d.documentElement.scrollWidth};
  out.chartText = [...d.querySelectorAll('.chart > svg text')].map(t =>
      parseFloat(w.getComputedStyle(t).fontSize) * t.getScreenCTM().a);
  out.overviewRight = d.querySelector('table.overview').getBoundingClientRect().right;
  const need = d.querySelector('#need');
  out.needBottom = need ? need.getBoundingClientRect().bottom : null;
  // A table wider than the window, or than the box it scrolls in, hides some of itself; the
  // tables of points count opened.
  d.querySelectorAll('details').forEach(x => { x.open = true; });
  out.hiddenTables = [...d.querySelectorAll('table')].filter(t =>
      t.getBoundingClientRect().right > w.innerWidth + 0.5 ||
      t.parentElement.scrollWidth > t.parentElement.clientWidth + 0.5).map(t => t.className);
  out.learners = d.querySelectorAll('section.learner').length;
  out.topLinks = d.querySelectorAll('section.learner h2 a.top[href="#top"]').length;
  out.top = !!d.getElementById('top');
  // The corner marks of a grid cell (few answers, due for review) touch neither each other
  // nor the state's mark and the seconds.
  const apart = (a, b) => a.right <= b.left || b.right <= a.left || a.bottom <= b.top ||
      b.bottom <= a.top;
  out.markedCells = 0;
  out.crowdedCells = [...d.querySelectorAll('table.grid td')].filter(td => {
    const corners = [...td.querySelectorAll('i')].map(i => i.getBoundingClientRect());
    if (!corners.length) return false;
    out.markedCells++;
    // The glyphs' boxes, not the block of the state's mark, which spans the cell.
    const figures = [td.querySelector('b').firstChild, td.lastChild].map(node => {
      const glyphs = d.createRange();
      glyphs.selectNodeContents(node);
      return glyphs.getBoundingClientRect();
    });
    return corners.some((c, i) => figures.concat(corners.slice(i + 1)).some(f => !apart(c, f)));
  }).map(td => td.title);
  out.brokenHeaders = [...d.querySelectorAll('th')].filter(th => {
    const range = d.createRange();
    range.selectNodeContents(th);
    return new Set([...range.getClientRects()].map(r => Math.round(r.top))).size > 1;
  }).map(th => th.textContent);
  out.colours = {};
  for (const name of ['fluent', 'getting', 'slow', 'missed', 'unseen', 'c1', 'c2', 'c3', 'c4']) {
    const probe = d.querySelector('.legend .key.' + name) || d.querySelector('td.' + name);
    if (!probe) continue;
    const style = w.getComputedStyle(probe);
    out.colours[name] = [style.backgroundColor, style.color];
  }
  const pre = document.createElement('pre');
  pre.id = 'measure';
  pre.textContent = JSON.stringify(out);
  document.body.append(pre);
};
</script></body></html>"""


def Chromium(*args):
    chromium = ARGS["chromium"]
    with tempfile.TemporaryDirectory() as profile:
        command = [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                   "--no-first-run", "--disable-background-networking",
                   "--disable-component-update", "--disable-sync", "--hide-scrollbars",
                   "--allow-file-access-from-files", "--user-data-dir=" + profile, *args]
        return subprocess.run(command, capture_output=True, text=True, timeout=120, check=True)


def Framed(page, width, height):
    """A page that shows the report in a frame of the given size; its path."""
    framed = os.path.join(ARGS["out"], "framed-%d.html" % width)
    with open(framed, "w", encoding="utf-8") as f:
        f.write(MEASURE.replace("PAGE", os.path.basename(page)).replace("WIDTH", str(width))
                .replace("HEIGHT", str(height)))
    return os.path.abspath(framed)


def Measure(page, width):
    framed = Framed(page, width, 900)
    dom = Chromium("--window-size=%d,900" % max(width, 500), "--dump-dom",
                   "file://" + framed).stdout
    found = re.search(r'<pre id="measure">(.*?)</pre>', dom, re.S)
    if not found:
        raise AssertionError("the measuring frame printed nothing")
    return json.loads(found.group(1).replace("&quot;", '"').replace("&amp;", "&")
                      .replace("&lt;", "<").replace("&gt;", ">"))


def Pgm(path):
    """Width, height and the grey bytes of a binary PGM as pdftoppm writes it."""
    with open(path, "rb") as f:
        data = f.read()
    fields = re.match(rb"P5\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    width, height = int(fields.group(1)), int(fields.group(2))
    return width, height, data[fields.end():]


class RenderedReport(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not ARGS["chromium"] or not shutil.which(ARGS["chromium"]):
            raise AssertionError("chromium is not installed (tools/common.sh installs it)")
        out = ARGS["out"]
        os.makedirs(out, exist_ok=True)
        for old in glob.glob(os.path.join(out, "report-print-*")):
            os.remove(old)
        cls.page = os.path.join(out, "report.html")
        folder = os.path.join(ARGS["fixtures"], "class")
        done = subprocess.run([ARGS["program"], folder, "-o", cls.page, "--no-open"],
                              capture_output=True, text=True, timeout=60)
        if done.returncode != 0:
            raise AssertionError("quarn-report failed: " + done.stderr)
        cls.url = "file://" + os.path.abspath(cls.page)
        cls.dom = Chromium("--dump-dom", cls.url).stdout
        cls.parsed = Dom()
        cls.parsed.feed(cls.dom)
        Chromium("--window-size=1280,3000", "--screenshot=" + os.path.join(out, "report-1280.png"),
                 cls.url)
        Chromium("--window-size=1280,800",
                 "--screenshot=" + os.path.join(out, "report-first-screen.png"), cls.url)
        # The phone's picture is the frame of 390 px at the left of a 500 px window.
        Chromium("--window-size=500,7000", "--screenshot=" + os.path.join(out, "report-390.png"),
                 "file://" + Framed(cls.page, 390, 7000))
        cls.desktop = Measure(cls.page, 1280)
        cls.phone = Measure(cls.page, 390)

    # The learner grids in page order: per learner and drill, forward then inverse.
    def Grids(self):
        return [t for t in self.parsed.Find("grid") if "classmap" not in t.classes]

    def testEveryDrillHasTwoGridsOfItsFacts(self):
        grids = self.Grids()
        kinds = [("forward" if "forward" in g.classes else "inverse") for g in grids]
        self.assertEqual(kinds, ["forward", "inverse"] * 5)
        drills = []
        for grid in grids:
            header = grid.rows[0]
            self.assertTrue(all(c["tag"] == "th" and c["scope"] == "col" for c in header))
            self.assertTrue(grid.caption)
            body = grid.rows[1:]
            self.assertTrue(all(row[0]["tag"] == "th" and row[0]["scope"] == "row" for row in body))
            cells = [c for row in body for c in row[1:]]
            drills.append("division" if len(cells) == 64 else "subtraction")
            self.assertIn(len(cells), (64, 81))
            never = sum(c["class"] == "never" for c in cells)
            self.assertEqual(never, 6 if len(cells) == 64 else 36)
            for cell in cells:
                classes = cell["class"].split()
                with self.subTest(cell=cell["title"]):
                    self.assertTrue(classes)
                    self.assertIn(classes[0], STATES + ["never"])
                    if classes[0] in MARKS:
                        # The corner marks first: few answers, due for review.
                        text = cell["text"]
                        self.assertEqual("few" in classes, text.startswith(FEW))
                        text = text.removeprefix(FEW)
                        self.assertEqual("due" in classes, text.startswith("↻"))
                        text = text.removeprefix("↻")
                        self.assertTrue(text.startswith(MARKS[classes[0]]), cell)
                        self.assertRegex(text, r"^.\d+\.\d$")
                    else:
                        self.assertEqual(cell["text"], "")
        # あおい: division and subtraction; class: subtraction; ken: division and subtraction.
        self.assertEqual(drills, ["division"] * 2 + ["subtraction"] * 2 + ["subtraction"] * 2 +
                         ["division"] * 2 + ["subtraction"] * 2)

    def testKensDivisionGrids(self):
        # ken's division runs (20240301, 20240302, partial.log), worked out by hand:
        #   7 × ? ＝ 56 at 2.0 and 1.0 s is 56 ÷ 7; ? × 9 ＝ 54 (8.0 s) is 54 ÷ 9;
        #   6 × ? ＝ 54 (9.0 s) is 54 ÷ 6; 7 × 8 ＝ ?6 (2.0 s) is 7 × 8; 3 × 4 at 4.0 s with a
        #   miss and 5.0 s; 9 × 9 at 2.5 s. The division grids start at row and column 2. One
        #   fast answer is a first impression; 56 ÷ 7, fast on two days, is not fluent yet: that
        #   takes three.
        forward, inverse = self.Grids()[6:8]
        cell = lambda grid, row, column: grid.rows[row - 1][column - 1]
        expected = [
            (forward, 7, 8, "getting few", "＊○2.0", "7 × 8 ＝ 56"),
            (forward, 3, 4, "getting few", "＊○4.5", "3 × 4 ＝ 12"),
            (forward, 9, 9, "getting few", "＊○2.5", "9 × 9 ＝ 81"),
            (forward, 6, 9, "unseen", "", "6 × 9 ＝ 54"),
            (forward, 2, 4, "never", "", ""),
            (inverse, 7, 8, "getting few", "＊○1.5", "56 ÷ 7 ＝ 8"),
            (inverse, 9, 6, "slow few", "＊△8.0", "54 ÷ 9 ＝ 6"),
            (inverse, 6, 9, "slow few", "＊△9.0", "54 ÷ 6 ＝ 9"),
            (inverse, 8, 7, "unseen", "", "56 ÷ 8 ＝ 7"),
        ]
        for grid, row, column, cls, text, fact in expected:
            with self.subTest(fact=fact or "never"):
                got = cell(grid, row, column)
                self.assertEqual((got["class"], got["text"]), (cls, text))
                self.assertTrue(got["title"].startswith(fact), got["title"])
        self.assertIn("答えた回数2回", cell(inverse, 7, 8)["title"])

    def testOverviewHasARowPerLearnerAndDrill(self):
        rows = self.parsed.Find("overview")[0].rows
        self.assertTrue(all(c["scope"] == "col" for c in rows[0]))
        # Both drills of a child under one name cell: a row without it is the same child's.
        body, name = [], None
        for row in rows[1:]:
            cells = [c["text"] for c in row]
            if "name" in row[0]["class"].split():
                name = cells.pop(0)
            body.append([name] + cells)
        self.assertEqual([(r[0], r[1]) for r in body],
                         [("あおい", "わり算"), ("あおい", "ひき算"), ("class", "ひき算"),
                          ("ken", "わり算"), ("ken", "ひき算")])
        self.assertEqual([r[2].split("・")[0] for r in body], ["1回", "1回", "1回", "3回", "1回"])
        for row in body:
            # The bar's counts: ！ △ ○ ◎ and the facts not yet seen add up to the drill's facts;
            # the fluent ones due for review are counted again in brackets.
            counts = [int(n) for n in re.findall(r"\d+", re.sub(r"（↻\d+）", "", row[-1]))]
            self.assertEqual(sum(counts), 116 if row[1] == "わり算" else 90, row)

    def testClassMap(self):
        maps = self.parsed.Find("classmap")
        self.assertEqual(len(maps), 4)  # both drills, forward and inverse
        # ken has 54 ÷ 9 and 54 ÷ 6 slow and 56 ÷ 7 getting there; あおい answers in milliseconds.
        division = maps[1]
        counts = {c["title"].split("：")[0]: c["text"] for row in division.rows[1:]
                  for c in row[1:] if c["title"]}
        self.assertEqual(counts["54 ÷ 9 ＝ 6"], "1")
        self.assertEqual(counts["54 ÷ 6 ＝ 9"], "1")
        self.assertEqual(counts["56 ÷ 7 ＝ 8"], "")
        # The list of the facts most learners find hard: most first, at most ten.
        lists = self.parsed.Find("classlist")
        self.assertEqual(len(lists), 2)
        for table in lists:
            counts = [int(row[1]["text"].rstrip("人")) for row in table.rows[1:]]
            self.assertTrue(0 < len(counts) <= 10)
            self.assertEqual(counts, sorted(counts, reverse=True))

    def testEveryTableHasACaptionAndScopedHeaders(self):
        for table in self.parsed.tables:
            if "sheet" in table.classes:
                continue  # the learner's printed page frame, not a table of data
            with self.subTest(table=table.classes):
                self.assertTrue(table.caption.strip())
                for row in table.rows:
                    for cell in row:
                        if cell["tag"] == "th":
                            self.assertIn(cell["scope"], ("col", "row"))
        # Each chart's points as a table, one row per run.
        points = self.parsed.Find("points")
        self.assertEqual([len(t.rows) - 1 for t in points], [1, 1, 1, 3, 1])

    def testFilesNotRead(self):
        notRead = self.parsed.lists["not-read"]
        self.assertEqual([item.split("：")[0] for item in notRead],
                         ["ken/bad-date.log", "ken/broken.log", "ken/empty.log"])
        partly = self.parsed.lists["partly-read"]
        self.assertEqual(len(partly), 1)
        self.assertTrue(partly[0].startswith("ken/partial.log：2行"))

    def testSelfContained(self):
        self.assertNotIn("script", self.parsed.tags)
        self.assertNotIn("img", self.parsed.tags)
        self.assertTrue(all(s.startswith("#") for s in self.parsed.sources), self.parsed.sources)

    def testColourDifference(self):
        # Sharma, Wu and Dalal's test pairs keep the formula honest.
        for lab1, lab2, expected in (((50, 2.6772, -79.7751), (50, 0, -82.7485), 2.0425),
                                     ((50, 0, 0), (50, -1, 2), 2.3669),
                                     ((50, 2.5, 0), (73, 25, -18), 27.1492),
                                     ((50, 2.5, 0), (50, 3.1736, 0.5854), 1.0)):
            self.assertAlmostEqual(Ciede2000(lab1, lab2), expected, places=3)

    def testPaletteReadsWithoutColourVision(self):
        colours = self.desktop["colours"]
        self.assertEqual(sorted(set(STATES) & set(colours)), sorted(STATES))
        # The page's own custom properties are what it paints.
        with open(self.page, encoding="utf-8") as f:
            style = re.search(r"<style>(.*?)</style>", f.read(), re.S)
        for state in STATES:
            declared = re.search(r"--%s:#([0-9a-f]{6})" % state, style.group(1))
            self.assertIsNotNone(declared, state)
            rgb = tuple(int(declared.group(1)[i:i + 2], 16) for i in (0, 2, 4))
            self.assertEqual(Rgb(colours[state][0]), rgb, state)
        fills = {s: Linear(Rgb(colours[s][0])) for s in STATES}
        worst = {}
        for vision, matrix in (("normal", None), ("protanopia", PROTANOPIA),
                               ("deuteranopia", DEUTERANOPIA)):
            labs = {s: Lab(Simulate(fills[s], matrix)) for s in STATES}
            worst[vision] = min((Ciede2000(labs[x], labs[y]), x, y)
                                for i, x in enumerate(STATES) for y in STATES[i + 1:])
        lightness = {s: Lab(fills[s])[0] for s in STATES}
        worst["L*"] = min((abs(lightness[x] - lightness[y]), x, y)
                          for i, x in enumerate(STATES) for y in STATES[i + 1:])
        print("\npalette, smallest distances:",
              ", ".join("%s %.1f (%s/%s)" % (k, *v) for k, v in worst.items()), file=sys.stderr)
        for vision, (distance, x, y) in worst.items():
            self.assertGreaterEqual(distance, 15, "%s: %s and %s" % (vision, x, y))
        for name, (fill, ink) in colours.items():
            with self.subTest(fill=name):
                self.assertGreaterEqual(Contrast(Rgb(fill), Rgb(ink)), 4.5)

    def testWhoNeedsHelpIsOnTheFirstScreen(self):
        # ken has two slow facts on few answers: a first impression, so nobody is listed yet,
        # and the section says so above the fold of a 1280 × 800 screen.
        self.assertIsNotNone(self.desktop["needBottom"])
        self.assertLessEqual(self.desktop["needBottom"], 800)
        self.assertIn("支援が必要な児童", self.dom)

    def testDesktopHeadersAreNotBroken(self):
        self.assertEqual(self.desktop["width"], 1280)
        self.assertGreater(self.desktop["markedCells"], 0)
        self.assertEqual(self.desktop["crowdedCells"], [])
        self.assertEqual(self.desktop["hiddenTables"], [])
        self.assertEqual(self.desktop["brokenHeaders"], [])
        self.assertGreaterEqual(min(self.desktop["chartText"]), 11)

    def testPhone(self):
        self.assertEqual(self.phone["width"], 390)
        self.assertTrue(self.phone["chartText"])
        self.assertGreaterEqual(min(self.phone["chartText"]), 11)
        self.assertLessEqual(self.phone["overviewRight"], 390)
        self.assertLessEqual(self.phone["scrollWidth"], 390)
        # Every table whole on the phone, nothing scrolled out of sight, and the corner marks
        # clear of the figures in the phone's narrower cells too.
        self.assertEqual(self.phone["hiddenTables"], [])
        self.assertEqual(self.phone["crowdedCells"], [])
        # From each child's part a way back to the top.
        self.assertTrue(self.phone["top"])
        self.assertEqual(self.phone["topLinks"], self.phone["learners"])

    def testPrintedA4(self):
        out = ARGS["out"]
        pdf = os.path.abspath(os.path.join(out, "report.pdf"))
        Chromium("--no-pdf-header-footer", "--print-to-pdf=" + pdf, self.url)
        prefix = os.path.join(out, "report-print")
        subprocess.run(["pdftoppm", "-r", "50", "-png", pdf, prefix], check=True, timeout=60)
        subprocess.run(["pdftoppm", "-r", "20", "-gray", pdf, prefix], check=True, timeout=60)
        text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True,
                              check=True, timeout=60).stdout
        pages = text.split("\f")
        if pages and not pages[-1].strip():
            pages.pop()
        grey = sorted(glob.glob(prefix + "-*.pgm"))
        self.assertEqual(len(grey), len(pages))
        # The learners' pages: each shows whose it is and the key of colours and marks.
        # The files not used begin a page of their own, the last (none prints no page).
        first = next(i for i, p in enumerate(pages) if "回ごとの時間" in p)
        files = next(i for i, p in enumerate(pages) if p.lstrip().startswith("使わなかったファイル"))
        self.assertEqual(files, len(pages) - 1)
        for number, page in enumerate(pages[first:files], first + 1):
            with self.subTest(page=number):
                self.assertIn("答え2回以下", page)
                names = [n for n in LEARNERS if re.search(r"^\s*%s\s*$" % re.escape(n), page, re.M)]
                self.assertTrue(names, page[:200])
        # The first page opens with who needs help; the overview is compact: its rows of one
        # line each, the whole class's overview on the first two pages.
        self.assertIn("支援が必要な児童", pages[0])
        self.assertTrue(all("児童ごとの記録" not in p for p in pages[2:]))
        # No page but the last is mostly blank: its ink reaches past the middle.
        for path in grey[:-1]:
            width, height, pixels = Pgm(path)
            rows = [y for y in range(height) if min(pixels[y * width:(y + 1) * width]) < 200]
            with self.subTest(page=path):
                self.assertGreater(rows[-1], height / 2)
        for path in grey:
            os.remove(path)


if __name__ == "__main__":
    ARGS["program"], ARGS["fixtures"], ARGS["out"] = sys.argv[1:4]
    ARGS["chromium"] = sys.argv[4] if len(sys.argv) > 4 else shutil.which("chromium")
    del sys.argv[1:]
    unittest.main(verbosity=2)
