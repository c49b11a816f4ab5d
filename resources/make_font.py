#!/usr/bin/python3
"""Builds KORVEN.ttf, the drill's own face "Tavimo": heavy half-width digits and the three
full-width signs the problems use, as a small TrueType font.

The digits are the half-width digits of Noto Sans CJK JP Bold (Debian's fonts-noto-cjk,
SIL Open Font License 1.1, Reserved Font Name "Source"), scaled from 1000 to 1024 units per
em and converted to quadratic outlines; the font is therefore a Modified Version under that
licence (OFL.txt beside this script). The signs are drawn here.

Usage: make_font.py [OUTPUT]   (default: KORVEN.ttf beside this script)
"""

import math
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTCollection, newTable

SOURCE_FONT = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
SOURCE_FAMILY = "Noto Sans CJK JP"

UNITS_PER_EM = 1024
ASCENT = 880
DESCENT = 144
SCALE = UNITS_PER_EM / 1000  # the source's half-width digits (500) become exactly 512
DIGIT_ADVANCE = 512
SIGN_ADVANCE = 1024

# The signs: strokes as heavy as the digits' stems, round ends, centred on the digits' middle.
STROKE = 144
AXIS_Y = 376  # half the height of the scaled digits
CENTRE_X = SIGN_ADVANCE // 2
PLUS_REACH = 320  # centre to the tip of an arm
TIMES_REACH = 330  # along the diagonal
EQUALS_HALF_WIDTH = 320
EQUALS_BAR_OFFSET = 140  # axis to the middle of each bar

# Fixed so that a rebuild gives the same bytes: 2024-01-01 00:00:00 in seconds since 1904.
TIMESTAMP = 3786825600

FAMILY_EN = "KORVEN"
FAMILY_JA = "Tavimo"
STYLE = "Regular"
VERSION = "Version 1.00"
COPYRIGHT = (
    "Digits: Copyright 2014-2021 Adobe (http://www.adobe.com/), with Reserved Font Name "
    "'Source'; taken from Noto Sans CJK JP Bold and modified (scaled, converted to "
    "TrueType outlines). Signs drawn for this font."
)
LICENSE = (
    "This Font Software is licensed under the SIL Open Font License, Version 1.1. "
    "This license is available with a FAQ at: https://openfontlicense.org"
)
LICENSE_URL = "https://openfontlicense.org"

WINDOWS, UNICODE_BMP, JAPANESE = 3, 1, 0x0411

CODE_PAGE_LATIN1 = 1 << 0
CODE_PAGE_JIS = 1 << 17

DIGIT_NAMES = ["zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine"]


def HalfWidthDigits(source):
    """Glyph names of the source's half-width digits, by the 'hwid' substitution of '0'-'9'."""
    cmap = source.getBestCmap()
    proportional = [cmap[ord("0") + i] for i in range(10)]
    gsub = source["GSUB"].table
    for record in gsub.FeatureList.FeatureRecord:
        if record.FeatureTag != "hwid":
            continue
        for index in record.Feature.LookupListIndex:
            for subtable in gsub.LookupList.Lookup[index].SubTable:
                mapping = getattr(subtable, "mapping", None)
                if mapping and all(name in mapping for name in proportional):
                    return [mapping[name] for name in proportional]
    sys.exit("no half-width digits found in " + SOURCE_FONT)


def OpenSource():
    for font in TTCollection(SOURCE_FONT).fonts:
        if font["name"].getDebugName(1) == SOURCE_FAMILY:
            return font
    sys.exit(SOURCE_FAMILY + " not found in " + SOURCE_FONT)


def ConvertedGlyph(glyphSet, name):
    pen = TTGlyphPen(None)
    # CFF outer contours run counter-clockwise, TrueType ones clockwise.
    glyphSet[name].draw(
        TransformPen(Cu2QuPen(pen, max_err=0.5, reverse_direction=True), (SCALE, 0, 0, SCALE, 0, 0))
    )
    return pen.glyph()


class Outline:
    """Collects one contour of straight edges and circular arcs (quadratic, 45 degrees each)."""

    def __init__(self):
        self.points = []  # (x, y, onCurve)

    def LineTo(self, x, y):
        self.points.append((x, y, True))

    def ArcTo(self, cx, cy, r, fromDeg, toDeg):
        """Arc from the current point (at fromDeg) to toDeg; clockwise when toDeg < fromDeg."""
        steps = max(1, round(abs(toDeg - fromDeg) / 45))
        step = (toDeg - fromDeg) / steps
        for i in range(steps):
            mid = math.radians(fromDeg + step * (i + 0.5))
            end = math.radians(fromDeg + step * (i + 1))
            reach = r / math.cos(math.radians(step / 2))
            self.points.append((cx + reach * math.cos(mid), cy + reach * math.sin(mid), False))
            self.points.append((cx + r * math.cos(end), cy + r * math.sin(end), True))

    def Transformed(self, angleDeg, dx, dy):
        a = math.radians(angleDeg)
        c, s = math.cos(a), math.sin(a)
        out = Outline()
        out.points = [(x * c - y * s + dx, x * s + y * c + dy, on) for x, y, on in self.points]
        return out

    def Draw(self, pen):
        pts = []
        for x, y, on in self.points:
            point = (round(x), round(y), on)
            if not pts or point != pts[-1]:
                pts.append(point)
        if pts[0] == pts[-1]:
            pts.pop()
        # Start on the last on-curve point so that the contour closes where it began.
        start = max(i for i, p in enumerate(pts) if p[2])
        pts = pts[start + 1 :] + pts[: start + 1]
        pen.moveTo(pts[-1][:2])
        offCurve = []
        for x, y, on in pts:
            if on:
                if offCurve:
                    pen.qCurveTo(*offCurve, (x, y))
                    offCurve = []
                else:
                    pen.lineTo((x, y))
            else:
                offCurve.append((x, y))
        pen.closePath()


def RoundedCross(reach):
    """A plus sign about the origin with round arm ends, traced clockwise."""
    w = STROKE / 2
    cross = Outline()
    for arm in range(4):
        turn = -90 * arm
        armPath = Outline()
        armPath.LineTo(w, w)
        armPath.LineTo(reach - w, w)
        armPath.ArcTo(reach - w, 0, w, 90, -90)
        armPath.LineTo(w, -w)
        cross.points += armPath.Transformed(turn, 0, 0).points
    return cross


def Bar(x0, x1, y):
    """A horizontal stroke with round ends, traced clockwise."""
    w = STROKE / 2
    bar = Outline()
    bar.LineTo(x0 + w, y + w)
    bar.LineTo(x1 - w, y + w)
    bar.ArcTo(x1 - w, y, w, 90, -90)
    bar.LineTo(x0 + w, y - w)
    bar.ArcTo(x0 + w, y, w, -90, -270)
    return bar


def SignGlyph(outlines):
    pen = TTGlyphPen(None)
    for outline in outlines:
        outline.Draw(pen)
    return pen.glyph()


def NotdefGlyph():
    pen = TTGlyphPen(None)
    left, right, bottom, top, t = 64, 448, 0, 736, 48
    for box, clockwise in (((left, bottom, right, top), True), ((left + t, bottom + t, right - t, top - t), False)):
        x0, y0, x1, y1 = box
        corners = [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]
        if not clockwise:
            corners.reverse()
        pen.moveTo(corners[0])
        for corner in corners[1:]:
            pen.lineTo(corner)
        pen.closePath()
    return pen.glyph()


def Build(output):
    source = OpenSource()
    sourceGlyphs = source.getGlyphSet()

    glyphs = {".notdef": NotdefGlyph(), "space": TTGlyphPen(None).glyph()}
    advances = {".notdef": DIGIT_ADVANCE, "space": DIGIT_ADVANCE}
    for name, sourceName in zip(DIGIT_NAMES, HalfWidthDigits(source)):
        glyphs[name] = ConvertedGlyph(sourceGlyphs, sourceName)
        advances[name] = DIGIT_ADVANCE

    axisX, axisY = CENTRE_X, AXIS_Y
    glyphs["multiply"] = SignGlyph([RoundedCross(TIMES_REACH).Transformed(45, axisX, axisY)])
    glyphs["uniFF0B"] = SignGlyph([RoundedCross(PLUS_REACH).Transformed(0, axisX, axisY)])
    glyphs["uniFF1D"] = SignGlyph(
        [
            Bar(axisX - EQUALS_HALF_WIDTH, axisX + EQUALS_HALF_WIDTH, axisY + EQUALS_BAR_OFFSET),
            Bar(axisX - EQUALS_HALF_WIDTH, axisX + EQUALS_HALF_WIDTH, axisY - EQUALS_BAR_OFFSET),
        ]
    )
    for name in ("multiply", "uniFF0B", "uniFF1D"):
        advances[name] = SIGN_ADVANCE

    order = list(glyphs)
    cmap = {0x20: "space", 0xD7: "multiply", 0xFF0B: "uniFF0B", 0xFF1D: "uniFF1D"}
    cmap.update({ord("0") + i: name for i, name in enumerate(DIGIT_NAMES)})

    fb = FontBuilder(UNITS_PER_EM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    glyf = fb.font["glyf"]
    metrics = {}
    for name in order:
        glyph = glyf[name]
        glyph.recalcBounds(glyf)
        metrics[name] = (advances[name], getattr(glyph, "xMin", 0))
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT, lineGap=0)
    fb.setupHead(
        unitsPerEm=UNITS_PER_EM,
        fontRevision=1.0,
        created=TIMESTAMP,
        modified=TIMESTAMP,
        flags=0x000B,  # baseline at y=0, left sidebearing at x=0, integer scaling
    )
    fb.setupNameTable(
        {
            "copyright": COPYRIGHT,
            "familyName": FAMILY_EN,
            "styleName": STYLE,
            "uniqueFontIdentifier": FAMILY_EN + " " + STYLE + " " + VERSION,
            "fullName": FAMILY_EN,
            "version": VERSION,
            "psName": FAMILY_EN + "-" + STYLE,
            "licenseDescription": LICENSE,
            "licenseInfoURL": LICENSE_URL,
        }
    )
    # Windows offers the face under the name of the user's language: "Tavimo" in Japanese.
    name = fb.font["name"]
    name.setName(FAMILY_JA, 1, WINDOWS, UNICODE_BMP, JAPANESE)
    name.setName(STYLE, 2, WINDOWS, UNICODE_BMP, JAPANESE)
    name.setName(FAMILY_JA, 4, WINDOWS, UNICODE_BMP, JAPANESE)

    fb.setupOS2(
        version=4,
        usWeightClass=400,
        fsType=0,
        achVendID="NONE",
        fsSelection=0x00C0,  # REGULAR, USE_TYPO_METRICS
        sTypoAscender=ASCENT,
        sTypoDescender=-DESCENT,
        sTypoLineGap=0,
        usWinAscent=ASCENT,
        usWinDescent=DESCENT,
        ulCodePageRange1=CODE_PAGE_LATIN1 | CODE_PAGE_JIS,
        ulCodePageRange2=0,
        sCapHeight=glyf["one"].yMax,
        sxHeight=glyf["one"].yMax // 2,
        yStrikeoutSize=STROKE // 2,
        yStrikeoutPosition=AXIS_Y,
        usDefaultChar=0,
        usBreakChar=0x20,
        usMaxContext=0,
    )
    os2 = fb.font["OS/2"]
    os2.recalcUnicodeRanges(fb.font)
    os2.recalcAvgCharWidth(fb.font)
    os2.usFirstCharIndex = min(cmap)
    os2.usLastCharIndex = max(cmap)
    fb.setupPost(keepGlyphNames=False, underlinePosition=-100, underlineThickness=STROKE // 2)
    gasp = newTable("gasp")
    gasp.version = 1
    gasp.gaspRange = {0xFFFF: 0x000A}  # no hints: grey and symmetric smoothing at every size
    fb.font["gasp"] = gasp
    fb.font.save(output)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    Build(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "KORVEN.ttf"))
