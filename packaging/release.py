#!/usr/bin/python3
"""Makes the release files of the Windows build from the built programs: the portable zip
Quarn-VERSION-win64.zip and the per-user installer Quarn-VERSION-win64.msi (with wixl). Both
are reproducible: one fixed date (SOURCE_DATE_EPOCH, else the release date), sorted
entries, and GUIDs derived from the version and the contents.

Usage: release.py --version V --date YYYY-MM-DD --publisher P --source DIR --out DIR
                  --work DIR [--zip] [--msi --actions DLL] --program EXE=TITLE ...
                  [--focus NAME=TITLE ...]

--focus gives the program file NAME (one of the programs) a second Start-menu shortcut that
starts a focus run; --actions is the installer's custom action DLL (the class folder).
"""

import argparse
import datetime
import hashlib
import os
import shutil
import subprocess
import sys
import uuid
import zipfile
from xml.sax.saxutils import quoteattr

import msi_summary

# Fixed for the life of the product: an installer with it replaces any older one.
UPGRADE_CODE = uuid.UUID("b2269ca7-6498-4692-8b7b-1bb099391887")
GUIDE_NAME = "使い方.txt"
# wixl loses every file name outside ASCII, so the installer carries the guide as this.
INSTALLED_GUIDE_NAME = "Guide-ja.txt"
REPORT_PROGRAM = "Quarn_Report.exe"
REPORT_MARK = "@REPORT@"
MSI_LANGUAGE = 1041  # Japanese
MSI_CODEPAGE = 932
# What a focus shortcut passes to its drill.
FOCUS_ARGUMENT = "/focus"
# The public property a school sets to a class folder, and the custom action reading it.
PRACTICE_FOLDER_PROPERTY = "PRACTICEFOLDER"
ACTIONS_BINARY = "QuarnSetup"
PRACTICE_FOLDER_ACTION = "UsePracticeFolder"
# The action that forgets the class folder a user's installs kept, at an uninstall: an upgrade
# or repair without PRACTICEFOLDER keeps the class folder until then. The action itself tells
# the removal of an older version in an upgrade apart (the newer one has claimed the folder).
FORGET_FOLDER_ACTION = "ForgetPracticeFolder"
# After CostFinalize (1000), which resolves the folders, before InstallValidate (1400).
PRACTICE_FOLDER_SEQUENCE = 1010
FORGET_FOLDER_SEQUENCE = 1011
ZIP_EPOCH_MIN = 315532800  # 1980-01-01, the first date a zip can hold


def Epoch(date):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return max(int(os.environ["SOURCE_DATE_EPOCH"]), ZIP_EPOCH_MIN)
    day = datetime.datetime.strptime(date, "%Y-%m-%d").replace(tzinfo=datetime.timezone.utc)
    return max(int(day.timestamp()), ZIP_EPOCH_MIN)


def WindowsText(text, bom=False):
    """CR LF line ends, as Notepad on every Windows shows them."""
    lines = text.replace("\r\n", "\n").split("\n")
    return ("\ufeff" if bom else "") + "\r\n".join(lines)


def Guide(source, version, programs):
    """The user guide for the programs shipped: lines marked for the report program only
    when it is one of them. UTF-8 with a byte order mark: Notepad recognises it on every
    Windows, whatever the system's code page."""
    with open(os.path.join(source, "packaging", "guide.txt"), encoding="utf-8") as f:
        template = f.read()
    withReport = REPORT_PROGRAM in programs
    lines = []
    for line in template.replace("@VERSION@", version).split("\n"):
        if line.startswith(REPORT_MARK):
            if not withReport:
                continue
            line = line[len(REPORT_MARK) :]
        lines.append(line)
    return WindowsText("\n".join(lines), bom=True).encode("utf-8")


def Stage(args, epoch):
    """Copies what ships into the work directory with one fixed date: {name: path}."""
    stage = os.path.join(args.work, "files")
    shutil.rmtree(stage, ignore_errors=True)
    os.makedirs(stage)
    files = {}
    for program in args.programs:
        name = os.path.basename(program.path)
        shutil.copyfile(program.path, os.path.join(stage, name))
        files[name] = os.path.join(stage, name)
    texts = {
        "LICENSE.txt": os.path.join(args.source, "LICENSE"),
        "OFL.txt": os.path.join(args.source, "resources", "OFL.txt"),
    }
    for name, path in texts.items():
        with open(path, encoding="utf-8") as f:
            data = WindowsText(f.read()).encode("utf-8")
        with open(os.path.join(stage, name), "wb") as f:
            f.write(data)
        files[name] = os.path.join(stage, name)
    with open(os.path.join(stage, GUIDE_NAME), "wb") as f:
        f.write(Guide(args.source, args.version, [os.path.basename(p.path) for p in args.programs]))
    files[GUIDE_NAME] = os.path.join(stage, GUIDE_NAME)
    for path in files.values():
        os.utime(path, (epoch, epoch))
    return dict(sorted(files.items()))


def WriteZip(path, files, epoch):
    stamp = datetime.datetime.fromtimestamp(epoch, datetime.timezone.utc).timetuple()[:6]
    with zipfile.ZipFile(path + ".part", "w") as archive:
        for name, source in files.items():
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS attributes: an ordinary file
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            with open(source, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)
    os.replace(path + ".part", path)


def Guid(*parts):
    return "{%s}" % str(uuid.uuid5(UPGRADE_CODE, "/".join(parts))).upper()


def Attr(value):
    return quoteattr(str(value))


def Wxs(args, files, contentHash):
    """The installer's source: programs and documents in %LOCALAPPDATA%\\Programs\\Quarn,
    one Start-menu shortcut per program and one per focus entry, all starting in the practice
    folder: Documents\\Quarn, or the class folder PRACTICEFOLDER names. The folder is made at
    install and left behind at uninstall with the logs in it."""
    shortcuts = Shortcuts(args)
    out = []
    w = out.append
    w('<?xml version="1.0" encoding="utf-8"?>')
    w('<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">')
    w(
        f"<Product Id={Attr(Guid('product', args.version))} Name=\"Quarn\" "
        f"Language=\"{MSI_LANGUAGE}\" Codepage=\"{MSI_CODEPAGE}\" Version={Attr(args.version)} "
        f"Manufacturer={Attr(args.publisher)} UpgradeCode={Attr('{%s}' % str(UPGRADE_CODE).upper())}>"
    )
    w(
        f"<Package Id={Attr(Guid('package', args.version, contentHash))} InstallerVersion=\"500\" "
        f"Compressed=\"yes\" InstallScope=\"perUser\" Manufacturer={Attr(args.publisher)} "
        f"Description=\"Quarn {args.version}\" SummaryCodepage=\"{MSI_CODEPAGE}\"/>"
    )
    w('<MajorUpgrade DowngradeErrorMessage="A newer version of Quarn is already installed."/>')
    w('<Media Id="1" Cabinet="quarn.cab" EmbedCab="yes"/>')
    w('<Icon Id="quarn.ico" SourceFile="quarn.ico"/>')
    w(f'<Binary Id="{ACTIONS_BINARY}" SourceFile="{ACTIONS_BINARY}.dll"/>')
    w('<Property Id="ARPPRODUCTICON" Value="quarn.ico"/>')
    w('<Property Id="ARPNOMODIFY" Value="1"/>')
    w('<Directory Id="TARGETDIR" Name="SourceDir">')
    w('<Directory Id="LocalAppDataFolder"><Directory Id="UserProgramsDir" Name="Programs">')
    w('<Directory Id="INSTALLDIR" Name="Quarn">')
    keyPath = 'Root="HKCU" Key="Software\\Quarn\\Installed" Type="integer" Value="1" KeyPath="yes"'
    components = []
    for i, name in enumerate(files):
        component = f"File{i}"
        components.append(component)
        w(f"<Component Id={Attr(component)} Guid={Attr(Guid('component', name))}>")
        installed = INSTALLED_GUIDE_NAME if name == GUIDE_NAME else name
        w(f"<File Id={Attr(component)} Name={Attr(installed)} Source={Attr('files/' + name)}/>")
        w(f"<RegistryValue Name={Attr(installed)} {keyPath}/>")
        if i == 0:
            w('<RemoveFolder Id="RemoveInstallDir" On="uninstall"/>')
        w("</Component>")
    w("</Directory></Directory></Directory>")
    w('<Directory Id="ProgramMenuFolder"><Directory Id="MenuDir" Name="Quarn">')
    w(f"<Component Id=\"Shortcuts\" Guid={Attr(Guid('component', 'shortcuts'))}>")
    for shortcut in shortcuts:
        arguments = f" Arguments={Attr(shortcut.arguments)}" if shortcut.arguments else ""
        w(
            f"<Shortcut Id={Attr(shortcut.id)} "
            f"Name={Attr(shortcut.shortName + '|' + shortcut.title)} "
            f"Target={Attr('[INSTALLDIR]' + shortcut.program)}{arguments} "
            f"WorkingDirectory=\"PracticeDir\" Description={Attr(shortcut.title)}/>"
        )
    w('<RemoveFolder Id="RemoveMenuDir" On="uninstall"/>')
    w(f'<RegistryValue Name="Shortcuts" {keyPath}/>')
    w("</Component>")
    components.append("Shortcuts")
    w("</Directory></Directory>")
    # An unregistered component (no GUID): the installer makes the folder and never removes it.
    # With a class folder the custom action switches it off, makes that folder instead, and
    # moves PracticeDir there.
    w('<Directory Id="PersonalFolder"><Directory Id="PracticeDir" Name="Quarn">')
    w('<Component Id="PracticeFolder" Guid=""><CreateFolder/></Component>')
    components.append("PracticeFolder")
    w("</Directory></Directory>")
    w("</Directory>")
    for action in (PRACTICE_FOLDER_ACTION, FORGET_FOLDER_ACTION):
        w(
            f'<CustomAction Id="{action}" BinaryKey="{ACTIONS_BINARY}" '
            f'DllEntry="{action}" Execute="immediate" Return="ignore"/>'
        )
    # A sequence number: wixl misplaces Before/After relative to the standard actions. The
    # class folder's action runs without the property too: it then reads the kept folder.
    w("<InstallExecuteSequence>")
    w(
        f'<Custom Action="{PRACTICE_FOLDER_ACTION}" Sequence="{PRACTICE_FOLDER_SEQUENCE}">'
        f'NOT (REMOVE="ALL")</Custom>'
    )
    w(
        f'<Custom Action="{FORGET_FOLDER_ACTION}" Sequence="{FORGET_FOLDER_SEQUENCE}">'
        f'REMOVE="ALL"</Custom>'
    )
    w("</InstallExecuteSequence>")
    w('<Feature Id="Quarn" Level="1">')
    for component in components:
        w(f"<ComponentRef Id={Attr(component)}/>")
    w("</Feature>")
    w("</Product>")
    w("</Wix>")
    return "\n".join(out) + "\n"


SECURE = "SecureCustomProperties"


def SecureProperty(msi, name):
    """Adds a public property to SecureCustomProperties, which wixl writes itself for the
    upgrade and will not take a second time: only a secure property reaches the installer's
    service when a managed deployment installs with elevation."""
    table = subprocess.run(
        ["msiinfo", "export", msi, "Property"], check=True, capture_output=True
    ).stdout.decode("cp932")
    rows = dict(line.split("\t", 1) for line in table.splitlines()[3:] if "\t" in line)
    secure = [p for p in rows.get("SecureCustomProperties", "").split(";") if p]
    value = ";".join(sorted(set(secure) | {name}))
    if "SecureCustomProperties" in rows:
        query = f"UPDATE `Property` SET `Value` = '{value}' WHERE `Property` = '{SECURE}'"
    else:
        query = f"INSERT INTO `Property` (`Property`, `Value`) VALUES ('{SECURE}', '{value}')"
    subprocess.run(["msibuild", msi, "-q", query], check=True)


def WriteMsi(args, files, epoch):
    digest = hashlib.sha256()
    for name, source in files.items():
        digest.update(name.encode("utf-8") + b"\0")
        with open(source, "rb") as f:
            digest.update(hashlib.sha256(f.read()).digest())
    contentHash = digest.hexdigest()[:16]
    wxs = os.path.join(args.work, "quarn.wxs")
    with open(wxs, "w", encoding="utf-8") as f:
        f.write(Wxs(args, files, contentHash))
    path = os.path.join(args.out, f"Quarn-{args.version}-win64.msi")
    # Sources by names relative to the work directory: no build path reaches the package.
    shutil.copyfile(os.path.join(args.source, "resources", "division.ico"),
                    os.path.join(args.work, "quarn.ico"))
    os.utime(os.path.join(args.work, "quarn.ico"), (epoch, epoch))
    actions = os.path.join(args.work, ACTIONS_BINARY + ".dll")
    shutil.copyfile(args.actions, actions)
    os.utime(actions, (epoch, epoch))
    subprocess.run(["wixl", "-a", "x64", "-o", os.path.abspath(path + ".part"), "quarn.wxs"],
                   check=True, cwd=args.work)
    SecureProperty(path + ".part", PRACTICE_FOLDER_PROPERTY)
    msi_summary.Patch(path + ".part", Guid("package", args.version, contentHash), epoch,
                      MSI_LANGUAGE)
    os.replace(path + ".part", path)
    return path


class Program:
    def __init__(self, entry):
        self.path, sep, self.title = entry.partition("=")
        if not sep or not self.title:
            raise argparse.ArgumentTypeError(f"expected EXE=TITLE, not {entry!r}")


class Focus:
    def __init__(self, entry):
        self.program, sep, self.title = entry.partition("=")
        if not sep or not self.title or os.path.basename(self.program) != self.program:
            raise argparse.ArgumentTypeError(f"expected NAME=TITLE, not {entry!r}")


class Shortcut:
    def __init__(self, program, title, suffix, arguments):
        stem = os.path.splitext(program)[0]
        self.program = program
        self.title = title
        self.arguments = arguments
        self.id = stem + suffix + "Shortcut"
        # The 8.3 name beside the long one; the focus shortcut's ends in F.
        self.shortName = stem[:8] if not suffix else stem[:7] + suffix[0]


def Shortcuts(args):
    """Each program's shortcut, then the focus shortcuts in the order given."""
    names = [os.path.basename(p.path) for p in args.programs]
    shortcuts = [Shortcut(os.path.basename(p.path), p.title, "", "") for p in args.programs]
    for focus in args.focus:
        if focus.program not in names:
            sys.exit(f"--focus {focus.program}: not one of the programs")
        shortcuts.append(Shortcut(focus.program, focus.title, "Focus", FOCUS_ARGUMENT))
    for attribute in ("id", "shortName", "title"):
        values = [getattr(s, attribute).lower() for s in shortcuts]
        if len(set(values)) != len(values):
            sys.exit(f"two shortcuts with the same {attribute}: {values}")
    return shortcuts


def Main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--version", required=True)
    parser.add_argument("--date", required=True)
    parser.add_argument("--publisher", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--zip", action="store_true")
    parser.add_argument("--msi", action="store_true")
    parser.add_argument("--program", dest="programs", type=Program, action="append", required=True)
    parser.add_argument("--focus", type=Focus, action="append", default=[])
    parser.add_argument("--actions", help="the custom action DLL, for --msi")
    args = parser.parse_args()
    if args.msi and not args.actions:
        parser.error("--msi needs --actions")
    epoch = Epoch(args.date)
    os.makedirs(args.work, exist_ok=True)
    files = Stage(args, epoch)
    if args.zip:
        WriteZip(os.path.join(args.out, f"Quarn-{args.version}-win64.zip"), files, epoch)
    if args.msi:
        WriteMsi(args, files, epoch)


if __name__ == "__main__":
    sys.exit(Main())
