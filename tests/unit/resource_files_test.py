#!/usr/bin/python3
"""Reads back the committed resource files (KORVEN.ttf, right.wav, wrong.wav, division.ico,
subtraction.ico) and checks what the programs rely on; also that the sound and icon scripts
still make the committed bytes.

Usage: resource_files_test.py [RESOURCE_DIRECTORY]   (default: ../../resources)
"""

import hashlib
import math
import os
import struct
import subprocess
import sys
import tempfile
import unittest

from fontTools.ttLib import TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.join(HERE, "..", "..", "resources")

RATE = 44100


def Path(name):
    return os.path.join(RESOURCES, name)


def ReadBytes(name):
    with open(Path(name), "rb") as f:
        return f.read()


class Font(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.font = TTFont(Path("KORVEN.ttf"))

    def testTrueTypeOutlinesAndOneEmLine(self):
        font = self.font
        self.assertEqual(font.sfntVersion, "\0\1\0\0")
        self.assertIn("glyf", font)
        self.assertNotIn("CFF ", font)
        self.assertEqual(font["head"].unitsPerEm, 1024)
        hhea, os2 = font["hhea"], font["OS/2"]
        self.assertEqual((hhea.ascent, hhea.descent, hhea.lineGap), (880, -144, 0))
        self.assertEqual(
            (os2.sTypoAscender, os2.sTypoDescender, os2.sTypoLineGap), (880, -144, 0)
        )
        self.assertEqual((os2.usWinAscent, os2.usWinDescent), (880, 144))

    def testEveryOutlineWithinAscentAndDescent(self):
        glyf = self.font["glyf"]
        for name in self.font.getGlyphOrder():
            glyph = glyf[name]
            if glyph.numberOfContours == 0:
                continue
            glyph.recalcBounds(glyf)
            with self.subTest(glyph=name):
                self.assertGreaterEqual(glyph.yMin, -144)
                self.assertLessEqual(glyph.yMax, 880)
        head = self.font["head"]
        self.assertGreaterEqual(head.yMin, -144)
        self.assertLessEqual(head.yMax, 880)

    def testAdvancesOfTheDrawnCharacters(self):
        cmap = self.font.getBestCmap()
        hmtx = self.font["hmtx"]
        glyf = self.font["glyf"]
        expected = {chr(c): 512 for c in range(ord("0"), ord("9") + 1)}
        expected.update({"\u00d7": 1024, "\uff0b": 1024, "\uff1d": 1024})
        for char, advance in expected.items():
            with self.subTest(char=char):
                self.assertIn(ord(char), cmap)
                name = cmap[ord(char)]
                self.assertEqual(hmtx[name][0], advance)
                self.assertGreater(glyf[name].numberOfContours, 0, "no outline")
        # Windows takes its glyphs from the Unicode BMP subtable.
        self.assertIsNotNone(self.font["cmap"].getcmap(3, 1))

    def testNames(self):
        name = self.font["name"]

        def Records(nameId):
            return [r for r in name.names if r.nameID == nameId]

        families = {(r.platformID, r.platEncID, r.langID): r.toUnicode() for r in Records(1)}
        self.assertEqual(families.pop((3, 1, 0x0411)), "Tavimo")
        self.assertIn((3, 1, 0x0409), families)
        for key, family in families.items():
            with self.subTest(record=key):
                self.assertEqual(family, "KORVEN")
        for nameId, text in ((2, "Regular"), (5, "Version 1.00")):
            for record in Records(nameId):
                with self.subTest(nameId=nameId, lang=record.langID):
                    self.assertEqual(record.toUnicode(), text)
        self.assertTrue(Records(5))

    def testCodePagesEmbeddingAndLicence(self):
        os2 = self.font["OS/2"]
        latin1, jis = 1 << 0, 1 << 17
        self.assertEqual(os2.ulCodePageRange1 & (latin1 | jis), latin1 | jis)
        self.assertEqual(os2.fsType, 0)
        name = self.font["name"]
        self.assertIn("Reserved Font Name 'Source'", name.getDebugName(0))
        self.assertIn("SIL Open Font License", name.getDebugName(13))
        with open(Path("OFL.txt"), encoding="utf-8") as f:
            licence = f.read()
        self.assertIn("SIL OPEN FONT LICENSE Version 1.1", licence)
        self.assertIn("Reserved Font Name 'Source'", licence)


def ReadWave(name):
    data = ReadBytes(name)
    riff, riffSize, wave = struct.unpack_from("<4sI4s", data, 0)
    fmtId, fmtSize = struct.unpack_from("<4sI", data, 12)
    fmt = struct.unpack_from("<HHIIHH", data, 20)
    dataId, dataSize = struct.unpack_from("<4sI", data, 20 + fmtSize)
    header = {
        "riff": riff,
        "riffSize": riffSize,
        "wave": wave,
        "fmtId": fmtId,
        "fmtSize": fmtSize,
        "fmt": fmt,
        "dataId": dataId,
        "dataSize": dataSize,
        "fileSize": len(data),
    }
    start = 28 + fmtSize
    count = (len(data) - start) // 2
    samples = struct.unpack_from("<%dh" % count, data, start)
    return header, samples[0::2], samples[1::2]


def Rms(samples, fromSeconds, toSeconds):
    part = samples[int(fromSeconds * RATE) : int(toSeconds * RATE)]
    return math.sqrt(sum(s * s for s in part) / len(part))


def Level(samples, fromSeconds, toSeconds, frequency):
    """Amplitude of one frequency in a stretch of the signal (Goertzel)."""
    part = samples[int(fromSeconds * RATE) : int(toSeconds * RATE)]
    coefficient = 2 * math.cos(2 * math.pi * frequency / RATE)
    s1 = s2 = 0.0
    for x in part:
        s1, s2 = x + coefficient * s1 - s2, s1
    return math.sqrt(max(0.0, s1 * s1 + s2 * s2 - coefficient * s1 * s2)) * 2 / len(part)


class Sounds(unittest.TestCase):
    FILES = [
        # file, data chunk bytes, file bytes
        ("right.wav", 176516, 176560),
        ("wrong.wav", 105956, 106000),
    ]

    def testHeaderAndSizes(self):
        for name, dataSize, fileSize in self.FILES:
            with self.subTest(file=name):
                header, _, _ = ReadWave(name)
                self.assertEqual(
                    header,
                    {
                        "riff": b"RIFF",
                        "riffSize": fileSize - 8,
                        "wave": b"WAVE",
                        "fmtId": b"fmt ",
                        "fmtSize": 16,
                        "fmt": (1, 2, 44100, 176400, 4, 16),
                        "dataId": b"data",
                        "dataSize": dataSize,
                        "fileSize": fileSize,
                    },
                )

    def testAudibleUnclippedAndWithoutClicks(self):
        for name, _, _ in self.FILES:
            with self.subTest(file=name):
                _, left, right = ReadWave(name)
                for channel in (left, right):
                    peak = max(abs(s) for s in channel)
                    self.assertGreater(Rms(channel, 0, len(channel) / RATE), 1000, "too quiet")
                    self.assertLess(peak, 0.8 * 32767, "too loud or clipped")
                    # A sound that starts or stops on a large sample clicks.
                    self.assertLess(abs(channel[0]), 300)
                    self.assertLess(abs(channel[-1]), 300)
                    steps = max(abs(a - b) for a, b in zip(channel, channel[1:]))
                    self.assertLess(steps, 0.25 * 32767, "a jump in the waveform")

    def testChimeFallsFrom660To530Hz(self):
        _, left, _ = ReadWave("right.wav")
        first = (Level(left, 0.02, 0.18, 660), Level(left, 0.02, 0.18, 528))
        second = (Level(left, 0.3, 0.5, 660), Level(left, 0.3, 0.5, 528))
        self.assertGreater(first[0], 5 * first[1])
        self.assertGreater(second[1], 5 * second[0])
        # It fades out: the last tenth of a second is much softer than the second note's start.
        self.assertLess(Rms(left, 0.9, 1.0), 0.1 * Rms(left, 0.22, 0.32))

    def testBuzzBurstPauseBuzz(self):
        _, left, _ = ReadWave("wrong.wav")
        loud = Rms(left, 0.02, 0.08)
        stretches = [
            # from, to, rms at least / at most, as parts of the burst's
            (0.11, 0.14, None, 0.01),  # the pause
            (0.17, 0.49, 0.4, None),  # the steady buzz
            # Dying away over the last 0.1 s of the file, still heard after the 500 ms pause.
            (0.51, 0.54, 0.3, None),
            (0.55, 0.58, 0.05, 0.5),
            (0.595, 0.6007, None, 0.05),
        ]
        for start, end, least, most in stretches:
            with self.subTest(start=start):
                level = Rms(left, start, end)
                if least is not None:
                    self.assertGreater(level, least * loud)
                if most is not None:
                    self.assertLess(level, most * loud)
        # Rich in overtones: the harmonics together outweigh the fundamental.
        fundamental = Level(left, 0.2, 0.36, 125)
        overtones = sum(Level(left, 0.2, 0.36, 125 * k) for k in range(2, 12))
        self.assertGreater(overtones, fundamental)


def ReadIcon(name):
    """{size: image} of an .ico file whose images are 16-colour bitmaps with a mask."""
    data = ReadBytes(name)
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    images = {"directory": (reserved, kind, count), "end": 6 + 16 * count}
    for i in range(count):
        width, height, colours, _, planes, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i
        )
        side = width or 256
        maskBytes = (side + 31) // 32 * 4 * side
        pixelBytes = side * side // 2
        start = offset + 40 + 64
        images[side] = {
            "entry": (width, height, colours, planes, bits),
            "bitmap": struct.unpack_from("<IiiHHI", data, offset),
            "bytes": data[offset : offset + size],
            "size": size,
            "palette": [struct.unpack_from("<BBBB", data, offset + 40 + 4 * k) for k in range(16)],
            "pixels": data[start : start + pixelBytes],
            "mask": data[start + pixelBytes : offset + size],
            "maskBytes": maskBytes,
        }
        images["end"] = max(images["end"], offset + size)
    images["length"] = len(data)
    return images


def Transparency(image, side):
    stride = len(image["mask"]) // side
    return [
        bool(image["mask"][y * stride + x // 8] & (0x80 >> (x % 8)))
        for y in range(side)
        for x in range(side)
    ]


class Icons(unittest.TestCase):
    NAMES = ["division.ico", "subtraction.ico", "report.ico"]
    DRILLS = NAMES[:2]
    SIDES = [16, 32, 48]
    # The drawn 32 x 32 image of each build, as it was made before the other sizes came.
    DRAWN_SHA256 = {
        "division.ico": "231c56e240d625149168d77025090d7921ecdd808a5c181198480e19560833ea",
        "subtraction.ico": "04acac0318af0d5230180ac0c781531c95ed02e6b53a34895923ec619d2b8fa0",
        "report.ico": "222ecd49af52ba42c6ce3f5cc4bdf61050f9c72f93ab00448db637742af859f1",
    }

    def testThreeSizesIn16Colours(self):
        for name in self.NAMES:
            icon = ReadIcon(name)
            self.assertEqual(icon["directory"], (0, 1, 3))
            self.assertEqual(icon["end"], icon["length"], "the images do not fill the file")
            for side in self.SIDES:
                with self.subTest(icon=name, side=side):
                    self.assertIn(side, icon)
                    image = icon[side]
                    self.assertEqual(image["entry"], (side, side, 16, 1, 4))
                    self.assertEqual(image["bitmap"], (40, side, 2 * side, 1, 4, 0))
                    self.assertEqual(len(image["mask"]), image["maskBytes"])

    def testDrawnImageUnchanged(self):
        for name in self.NAMES:
            with self.subTest(icon=name):
                drawn = ReadIcon(name)[32]["bytes"]
                self.assertEqual(hashlib.sha256(drawn).hexdigest(), self.DRAWN_SHA256[name])

    def testLargeBlueQuestionMarkOnTransparentGround(self):
        for name in self.DRILLS:  # the report's icon is a page, not the drills' motif
            for side in self.SIDES:
                with self.subTest(icon=name, side=side):
                    image = ReadIcon(name)[side]
                    indexes = [n for byte in image["pixels"] for n in (byte >> 4, byte & 15)]
                    transparent = Transparency(image, side)
                    visible = [i for i, t in zip(indexes, transparent) if not t]
                    pure = {c: i for i, c in enumerate(image["palette"])}
                    blue = pure.get((0xFF, 0x00, 0x00, 0))  # entries are blue, green, red
                    self.assertIsNotNone(blue)
                    self.assertGreater(visible.count(blue), 0.1 * side * side)
                    self.assertGreater(transparent.count(True), 0.3 * side * side)
                    # Under the mask the colour must be black, or the desktop shows through
                    # tinted.
                    self.assertTrue(all(i == 0 for i, t in zip(indexes, transparent) if t))

    def testBuildsDiffer(self):
        for side in self.SIDES:
            with self.subTest(side=side):
                first, second = (ReadIcon(name)[side]["pixels"] for name in self.DRILLS)
                self.assertNotEqual(first, second)


class Reproducible(unittest.TestCase):
    """The committed sounds and icons are what their scripts make now."""

    def testScriptsMakeTheCommittedFiles(self):
        scripts = [
            ("make_sounds.py", ["right.wav", "wrong.wav"]),
            ("make_icons.py", ["division.ico", "subtraction.ico", "report.ico"]),
        ]
        with tempfile.TemporaryDirectory() as out:
            for script, outputs in scripts:
                subprocess.run([sys.executable, Path(script), out], check=True)
                for name in outputs:
                    with self.subTest(file=name):
                        with open(os.path.join(out, name), "rb") as f:
                            self.assertTrue(f.read() == ReadBytes(name), name + " is stale")


if __name__ == "__main__":
    if len(sys.argv) > 1:
        RESOURCES = sys.argv.pop(1)
    unittest.main(verbosity=2)
