#!/usr/bin/python3
"""Reads the resource tree of the built D_Quarn.exe and S_Quarn.exe and checks that each carries
the font, the two sounds, its own icon, the manifest and the version block, byte for byte
where the resource comes from a file; that Quarn_Report.exe carries its icon, the manifest
and its version block but none of the drills' data; and that the PE headers hold the
hardening flags.

Usage: exe_resources_test.py D_QUARN_EXE S_QUARN_EXE RESOURCE_DIRECTORY VERSION PUBLISHER
                             COPYRIGHT QUARN_REPORT_EXE
"""

import os
import struct
import sys
import unittest
import xml.etree.ElementTree as ElementTree

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24

ARGS = {}


def Resources(path):
    """{(type, name): bytes} of a PE file; type and name are ints or upper-case strings."""
    with open(path, "rb") as f:
        image = f.read()
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe : pe + 4] != b"PE\0\0":
        raise ValueError(path + " is not a PE file")
    sections, optionalSize = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    resourceRva, _ = struct.unpack_from("<II", image, directories + 2 * 8)
    table = optional + optionalSize
    spans = []
    for i in range(sections):
        size, rva, rawSize, rawOffset = struct.unpack_from("<IIII", image, table + 40 * i + 8)
        spans.append((rva, max(size, rawSize), rawOffset))

    def Offset(rva):
        for start, size, raw in spans:
            if start <= rva < start + size:
                return rva - start + raw
        raise ValueError("RVA outside every section")

    root = Offset(resourceRva)

    def Entries(directory):
        named, numbered = struct.unpack_from("<HH", image, root + directory + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", image, root + directory + 16 + 8 * i)
            if name & 0x80000000:
                at = root + (name & 0x7FFFFFFF)
                length = struct.unpack_from("<H", image, at)[0]
                name = image[at + 2 : at + 2 + 2 * length].decode("utf-16-le")
            yield name, target

    found = {}
    for kind, kindDir in Entries(0):
        for name, nameDir in Entries(kindDir & 0x7FFFFFFF):
            for _, leaf in Entries(nameDir & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", image, root + leaf)
                found[(kind, name)] = image[Offset(rva) : Offset(rva) + size]
    return found


def VersionBlocks(data, at=0):
    """One VS_VERSIONINFO-style node: (key, value bytes, children) and its end."""
    length, valueLength, kind = struct.unpack_from("<HHH", data, at)
    end = at + length
    keyEnd = at + 6
    while data[keyEnd : keyEnd + 2] != b"\0\0":
        keyEnd += 2
    key = data[at + 6 : keyEnd].decode("utf-16-le")
    pos = (keyEnd + 2 + 3) & ~3
    valueBytes = valueLength * (2 if kind == 1 else 1)
    value = data[pos : pos + valueBytes]
    pos = (pos + valueBytes + 3) & ~3
    children = []
    while pos < end:
        child, pos = VersionBlocks(data, pos)
        children.append(child)
        pos = (pos + 3) & ~3
    return (key, value, children), end


def Child(node, key):
    for child in node[2]:
        if child[0] == key:
            return child
    raise KeyError(key)


def Text(node):
    return node[1].decode("utf-16-le").rstrip("\0")


def AssertIconIs(test, found, ico):
    """The MAINICON group and its images are those of the .ico file, in all three sizes."""
    group = found.get((RT_GROUP_ICON, "MAINICON"))
    test.assertIsNotNone(group)
    reserved, kind, count = struct.unpack_from("<HHH", group, 0)
    test.assertEqual((reserved, kind, count), struct.unpack_from("<HHH", ico, 0))
    sides = []
    for i in range(count):
        width, height, colours, _, planes, bits, size, iconId = struct.unpack_from(
            "<BBBBHHIH", group, 6 + 14 * i
        )
        fileEntry = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
        test.assertEqual(
            (width, height, colours, planes, bits, size),
            fileEntry[:3] + fileEntry[4:7],
        )
        offset = fileEntry[7]
        test.assertEqual(found.get((RT_ICON, iconId)), ico[offset : offset + size])
        sides.append(width)
    test.assertEqual(sorted(sides), [16, 32, 48])


def AssertVersionBlock(test, found, program, description):
    """The version block names the program and carries the build's version and maker."""
    data = found.get((RT_VERSION, 1))
    test.assertIsNotNone(data)
    root, _ = VersionBlocks(data)
    test.assertEqual(root[0], "VS_VERSION_INFO")
    signature, _, _, _, productMs, productLs = struct.unpack_from("<6I", root[1])
    test.assertEqual(signature, 0xFEEF04BD)
    major, minor, patch = (int(n) for n in ARGS["version"].split("."))
    test.assertEqual((productMs, productLs), (major << 16 | minor, patch << 16))
    strings = Child(Child(root, "StringFileInfo"), "041103A4")
    expected = {
        "FileDescription": description,
        "ProductName": description,
        "ProductVersion": ARGS["version"],
        "FileVersion": ARGS["version"] + ".0",
        "OriginalFilename": program + ".exe",
        "InternalName": program,
        "CompanyName": ARGS["publisher"],
        "LegalCopyright": ARGS["copyright"],
    }
    for key, value in expected.items():
        test.assertEqual(Text(Child(strings, key)), value, key)
    translation = Child(Child(root, "VarFileInfo"), "Translation")[1]
    test.assertEqual(struct.unpack("<HH", translation), (0x0411, 932))


class ExeResources(unittest.TestCase):
    BUILDS = [
        ("D_Quarn", "division.ico", "Divide Quarn"),
        ("S_Quarn", "subtraction.ico", "Subtract Quarn"),
    ]

    @classmethod
    def setUpClass(cls):
        cls.resources = {name: Resources(ARGS[name]) for name, _, _ in cls.BUILDS}

    def File(self, name):
        with open(os.path.join(ARGS["dir"], name), "rb") as f:
            return f.read()

    def testFontAndSoundsAreTheCommittedFiles(self):
        for program, _, _ in self.BUILDS:
            with self.subTest(program=program):
                found = self.resources[program]
                self.assertEqual(found.get(("MYFONT", "MYFONT")), self.File("KORVEN.ttf"))
                self.assertEqual(found.get(("WAVE", 101)), self.File("right.wav"))
                self.assertEqual(found.get(("WAVE", 102)), self.File("wrong.wav"))

    def testMainIconIsTheBuildsOwn(self):
        for program, iconFile, _ in self.BUILDS:
            with self.subTest(program=program):
                AssertIconIs(self, self.resources[program], self.File(iconFile))
        icons = [
            {data for (kind, _), data in self.resources[program].items() if kind == RT_ICON}
            for program, _, _ in self.BUILDS
        ]
        self.assertTrue(icons[0].isdisjoint(icons[1]), "both builds carry the same icon")

    def testManifest(self):
        ns = {
            "a": "urn:schemas-microsoft-com:asm.v1",
            "a3": "urn:schemas-microsoft-com:asm.v3",
            "ws5": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
            "ws16": "http://schemas.microsoft.com/SMI/2016/WindowsSettings",
        }
        for program, _, _ in self.BUILDS:
            with self.subTest(program=program):
                manifest = self.resources[program].get((RT_MANIFEST, 1))
                self.assertIsNotNone(manifest)
                root = ElementTree.fromstring(manifest)
                identity = root.find("a:dependency/a:dependentAssembly/a:assemblyIdentity", ns)
                self.assertEqual(identity.get("name"), "Microsoft.Windows.Common-Controls")
                self.assertEqual(identity.get("version"), "6.0.0.0")
                level = root.find(".//a3:requestedExecutionLevel", ns)
                self.assertEqual(level.get("level"), "asInvoker")
                self.assertEqual(root.find(".//ws5:dpiAware", ns).text, "true")
                self.assertEqual(root.find(".//ws16:dpiAwareness", ns).text, "system")
                self.assertEqual(root.find(".//ws16:longPathAware", ns).text, "true")

    def testVersionBlock(self):
        for program, _, description in self.BUILDS:
            with self.subTest(program=program):
                AssertVersionBlock(self, self.resources[program], program, description)


class Hardening(unittest.TestCase):
    """The PE header's and the runtime's defences, and the reproducible link."""

    IMAGE_FILE_MACHINE_AMD64 = 0x8664
    DLL_CHARACTERISTICS = {
        "HIGH_ENTROPY_VA": 0x0020,
        "DYNAMIC_BASE": 0x0040,
        "NX_COMPAT": 0x0100,
        "TERMINAL_SERVER_AWARE": 0x8000,
    }
    # Texts that only the stack protector's and the checked functions' failure paths print.
    RUNTIME_CHECKS = {
        "stack protector": b"*** stack smashing detected ***",
        "_FORTIFY_SOURCE": b"*** buffer overflow detected ***",
    }

    def testHeaderFlagsSizeAndTimeStamp(self):
        for program in PROGRAMS:
            with open(ARGS[program], "rb") as f:
                image = f.read()
            pe = struct.unpack_from("<I", image, 0x3C)[0]
            machine, _, stamp = struct.unpack_from("<HHI", image, pe + 4)
            characteristics = struct.unpack_from("<H", image, pe + 24 + 70)[0]
            with self.subTest(program=program):
                self.assertEqual(machine, self.IMAGE_FILE_MACHINE_AMD64)
                self.assertEqual(stamp, 0, "a link time stamp makes every build differ")
                sourceDir = os.path.dirname(os.path.abspath(ARGS["dir"])).encode()
                self.assertNotIn(sourceDir, image, "a build path makes checkouts differ")
                self.assertLess(len(image), 1 << 20)
            for flag, bit in self.DLL_CHARACTERISTICS.items():
                with self.subTest(program=program, flag=flag):
                    self.assertTrue(characteristics & bit)
            for check, text in self.RUNTIME_CHECKS.items():
                with self.subTest(program=program, check=check):
                    self.assertIn(text, image)


class ReportResources(unittest.TestCase):
    def setUp(self):
        self.found = Resources(ARGS["Quarn_Report"])

    def testIconManifestAndVersionOnly(self):
        with open(os.path.join(ARGS["dir"], "report.ico"), "rb") as f:
            AssertIconIs(self, self.found, f.read())
        self.assertIsNotNone(self.found.get((RT_MANIFEST, 1)))
        AssertVersionBlock(self, self.found, "Quarn_Report", "Quarn Report")
        self.assertNotIn(("MYFONT", "MYFONT"), self.found)
        self.assertNotIn(("WAVE", 101), self.found)


# Every program of the build, for the checks that hold for all of them.
PROGRAMS = ["D_Quarn", "S_Quarn", "Quarn_Report"]

if __name__ == "__main__":
    if len(sys.argv) != 8:
        sys.exit(__doc__)
    ARGS.update(D_Quarn=sys.argv[1], S_Quarn=sys.argv[2], dir=sys.argv[3], version=sys.argv[4],
                publisher=sys.argv[5], copyright=sys.argv[6], Quarn_Report=sys.argv[7])
    unittest.main(argv=sys.argv[:1], verbosity=2)
