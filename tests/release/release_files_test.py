#!/usr/bin/python3
"""Checks the release files of the Windows build: the zip holds exactly the programs, the
two licences and the Japanese guide, each as shipped; the installer's tables install them
per user with one shortcut per program and a focus shortcut per drill, all starting in
Documents\\Quarn unless a class folder is given as PRACTICEFOLDER.

Usage: release_files_test.py --zip ZIP --msi MSI --program EXE=TITLE ... --focus NAME=TITLE ...
"""

import argparse
import os
import subprocess
import sys
import unittest
import zipfile

ARGS = None
GUIDE = "使い方.txt"
REPORT = "Quarn_Report.exe"
UPGRADE_CODE = "{B2269CA7-6498-4692-8B7B-1BB099391887}"
DRILLS = ("D_Quarn.exe", "S_Quarn.exe")


def Programs():
    """{file name: (path, title)}"""
    found = {}
    for entry in ARGS.program:
        path, _, title = entry.partition("=")
        found[os.path.basename(path)] = (path, title)
    return found


def FocusShortcuts():
    """{title: file name}"""
    return {title: name for name, _, title in (e.partition("=") for e in ARGS.focus)}


def ReadFile(path):
    with open(path, "rb") as f:
        return f.read()


class Zip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.archive = zipfile.ZipFile(ARGS.zip)
        cls.infos = {info.filename: info for info in cls.archive.infolist()}

    def testExactlyTheShippedFiles(self):
        expected = set(Programs()) | {"LICENSE.txt", "OFL.txt", GUIDE}
        self.assertEqual(set(self.infos), expected)

    def testProgramsAreTheBuiltOnes(self):
        for name, (path, _) in Programs().items():
            with self.subTest(program=name):
                self.assertEqual(self.archive.read(name), ReadFile(path))

    def testEntriesAreReproducibleAndPortable(self):
        names = [info.filename for info in self.archive.infolist()]
        self.assertEqual(names, sorted(names))
        self.assertEqual(len({info.date_time for info in self.infos.values()}), 1)
        for info in self.infos.values():
            with self.subTest(entry=info.filename):
                self.assertEqual(info.create_system, 0)
                self.assertNotIn("/", info.filename)
        # Explorer reads a name outside ASCII as UTF-8 only with this flag.
        self.assertTrue(self.infos[GUIDE].flag_bits & 0x800)

    def testTextsOpenInNotepad(self):
        for name in ("LICENSE.txt", "OFL.txt", GUIDE):
            with self.subTest(text=name):
                data = self.archive.read(name)
                self.assertNotIn(b"\n", data.replace(b"\r\n", b""), "a bare line feed")
                data.decode("utf-8")
        self.assertTrue(self.archive.read(GUIDE).startswith(b"\xef\xbb\xbf"))
        self.assertIn(b"MIT License", self.archive.read("LICENSE.txt"))
        self.assertIn(b"SIL OPEN FONT LICENSE Version 1.1", self.archive.read("OFL.txt"))

    def testGuideCoversEachProgramItsKeysLogsAndReport(self):
        guide = self.archive.read(GUIDE).decode("utf-8-sig")
        withReport = REPORT in Programs()
        topics = [
            # what the guide must say, whether it is expected
            *[(name, True) for name in Programs()],
            *[(title, True) for _, title in Programs().values()],
            ("数字キー", True),  # the keys
            ("テンキー", True),
            ("終了", True),
            ("Enter", True),
            ("ドキュメント\\Quarn", True),  # where the logs go
            (".log", True),
            ("report.html", withReport),
            ("--no-open", withReport),
            # the part for teachers: a class folder, a focus run from the zip, the class's report
            ("PRACTICEFOLDER=", True),
            ("/focus", True),
            *[(title, True) for title in FocusShortcuts()],
            ("Quarn_Report.exe \\\\server\\quarn", withReport),
            ("--csv", withReport),  # the table and the date range
            ("--from", withReport),
            ("@", False),  # no template mark left
        ]
        for text, expected in topics:
            with self.subTest(text=text):
                self.assertEqual(text in guide, expected)


def Table(msi, name):
    """Rows of one table as lists of fields, without the three header lines."""
    out = subprocess.run(
        ["msiinfo", "export", msi, name], check=True, capture_output=True
    ).stdout.decode("cp932")
    return [line.split("\t") for line in out.replace("\r\n", "\n").split("\n")[3:] if line]


class Msi(unittest.TestCase):
    def testProperties(self):
        properties = dict(row[:2] for row in Table(ARGS.msi, "Property"))
        self.assertEqual(properties["UpgradeCode"], UPGRADE_CODE)
        self.assertEqual(properties["ARPPRODUCTICON"], "quarn.ico")
        self.assertEqual(properties["Manufacturer"], ARGS.publisher)
        self.assertEqual(properties["ProductVersion"], ARGS.version)
        self.assertNotIn("ALLUSERS", properties, "a per-machine install needs an administrator")
        self.assertEqual([row[0] for row in Table(ARGS.msi, "Icon")], ["quarn.ico"])

    def testFoldersPerUser(self):
        directories = {row[0]: (row[1], row[2]) for row in Table(ARGS.msi, "Directory")}

        def Path(directory):
            parent, name = directories[directory]
            return Path(parent) + [name] if parent != "TARGETDIR" else [directory]

        self.assertEqual(Path("INSTALLDIR"), ["LocalAppDataFolder", "Programs", "Quarn"])
        self.assertEqual(Path("MenuDir"), ["ProgramMenuFolder", "Quarn"])
        self.assertEqual(Path("PracticeDir"), ["PersonalFolder", "Quarn"])
        created = {row[0]: row[1] for row in Table(ARGS.msi, "CreateFolder")}
        self.assertIn("PracticeDir", created)
        components = {row[0]: row for row in Table(ARGS.msi, "Component")}
        # Left unregistered, the practice folder and the logs in it outlive an uninstall.
        self.assertEqual(components[created["PracticeDir"]][1], "")

    def testFilesAndShortcuts(self):
        files = {row[2]: row for row in Table(ARGS.msi, "File")}
        self.assertEqual(set(files), set(Programs()) | {"LICENSE.txt", "OFL.txt", "Guide-ja.txt"})
        for name, (path, _) in Programs().items():
            with self.subTest(program=name):
                self.assertEqual(int(files[name][3]), os.path.getsize(path))
        shortcuts = {row[2].split("|")[-1]: row for row in Table(ARGS.msi, "Shortcut")}
        # title: (program, arguments); each drill's focus shortcut is named after the drill.
        expected = {title: (name, "") for name, (_, title) in Programs().items()}
        for name in DRILLS:
            expected[Programs()[name][1] + " Focus"] = (name, "/focus")
        self.assertEqual(set(shortcuts), set(expected))
        self.assertEqual(set(FocusShortcuts()), {t for t, (_, a) in expected.items() if a})
        self.assertEqual(len({row[2].split("|")[0].lower() for row in shortcuts.values()}),
                         len(shortcuts), "two shortcuts with the same short name")
        for title, (name, arguments) in expected.items():
            with self.subTest(shortcut=title):
                row = shortcuts[title]
                self.assertEqual(row[1], "MenuDir")
                self.assertEqual(row[4], "[INSTALLDIR]" + name)
                self.assertEqual(row[5], arguments)
                self.assertEqual(row[11], "PracticeDir")

    def testClassFolderProperty(self):
        """PRACTICEFOLDER moves PracticeDir through the custom action DLL, after the folders
        are resolved and without failing the install; elevated, the property still arrives."""
        properties = dict(row[:2] for row in Table(ARGS.msi, "Property"))
        self.assertIn("PRACTICEFOLDER", properties["SecureCustomProperties"].split(";"))
        self.assertIn("WIX_UPGRADE_DETECTED", properties["SecureCustomProperties"].split(";"))
        self.assertNotIn("PRACTICEFOLDER", properties, "a default would apply without the property")
        actions = {row[0]: row for row in Table(ARGS.msi, "CustomAction")}
        self.assertEqual(set(actions), {"UsePracticeFolder", "ForgetPracticeFolder"})
        sequence = {row[0]: row for row in Table(ARGS.msi, "InstallExecuteSequence")}
        for action in actions:
            _, kind, binary, entry = actions[action][:4]
            kind = int(kind)
            self.assertEqual(kind & 0x3F, 1, "a DLL stored in the Binary table")
            self.assertEqual(kind & 0x400, 0, "immediate: it sets the installer's folder table")
            self.assertTrue(kind & 0x40, "its result is ignored")
            self.assertIn(binary, [row[0] for row in Table(ARGS.msi, "Binary")])
            dll = subprocess.run(["msiinfo", "extract", ARGS.msi, "Binary." + binary],
                                 check=True, capture_output=True).stdout
            self.assertTrue(dll.startswith(b"MZ"))
            self.assertIn(entry.encode() + b"\0", dll, "the DLL exports no " + entry)
            number = int(sequence[action][2])
            self.assertLess(int(sequence["CostFinalize"][2]), number)
            self.assertLess(number, int(sequence["InstallValidate"][2]))
        # Without the property it runs too, and reads the folder the last install kept.
        self.assertEqual(sequence["UsePracticeFolder"][1], 'NOT (REMOVE="ALL")')
        self.assertEqual(sequence["ForgetPracticeFolder"][1], 'REMOVE="ALL"')

    def testUpgradeReplacesOlderAndRefusesDowngrade(self):
        actions = {row[0]: int(row[2]) for row in Table(ARGS.msi, "InstallExecuteSequence")}
        self.assertIn("FindRelatedProducts", actions)
        self.assertIn("RemoveExistingProducts", actions)
        rows = Table(ARGS.msi, "Upgrade")
        self.assertTrue(all(row[0] == UPGRADE_CODE for row in rows))
        self.assertIn("WIX_UPGRADE_DETECTED", [row[-1] for row in rows])
        self.assertIn("WIX_DOWNGRADE_DETECTED", [row[-1] for row in rows])


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--zip", required=True)
    parser.add_argument("--msi", required=True)
    parser.add_argument("--program", action="append", required=True)
    parser.add_argument("--focus", action="append", default=[])
    parser.add_argument("--version", required=True)
    parser.add_argument("--publisher", required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=sys.argv[:1] + rest, verbosity=2)
