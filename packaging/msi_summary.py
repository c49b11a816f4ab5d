"""Makes the summary information of an MSI that wixl writes reproducible: wixl stamps it with
the time of the build and a random package code whatever the source says. The stream is
rewritten in place (same lengths), so the compound file around it stays as it is."""

import struct

VT_LPSTR, VT_FILETIME = 30, 64
PID_TEMPLATE, PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM = 7, 9, 12, 13
# FMTID_SummaryInformation {F29F85E0-4FF9-1068-AB91-08002B27B3D9} as stored.
FMTID = bytes.fromhex("e0859ff2f94f6810ab9108002b27b3d9")


def FileTime(epoch):
    return (epoch + 11644473600) * 10000000


def Patch(path, packageCode, epoch, language):
    """Sets the package code, both time stamps and the template's language."""
    with open(path, "rb") as f:
        data = bytearray(f.read())
    found = [i for i in range(len(data)) if data.startswith(FMTID, i)]
    if len(found) != 1:
        raise ValueError(f"{path}: {len(found)} summary information headers")
    header = found[0] - 28
    if data[header : header + 2] != b"\xfe\xff":
        raise ValueError(f"{path}: the summary information stream is not where expected")
    section = header + struct.unpack_from("<I", data, found[0] + 16)[0]
    count = struct.unpack_from("<I", data, section + 4)[0]
    done = set()
    for i in range(count):
        pid, offset = struct.unpack_from("<II", data, section + 8 + 8 * i)
        at = section + offset
        kind = struct.unpack_from("<I", data, at)[0]
        if pid in (PID_CREATE_DTM, PID_LASTSAVE_DTM) and kind == VT_FILETIME:
            struct.pack_into("<Q", data, at + 4, FileTime(epoch))
            done.add(pid)
        elif pid in (PID_REVNUMBER, PID_TEMPLATE) and kind == VT_LPSTR:
            length = struct.unpack_from("<I", data, at + 4)[0]
            old = bytes(data[at + 8 : at + 8 + length]).rstrip(b"\0")
            if pid == PID_REVNUMBER:
                new = packageCode.upper().encode("ascii")
            else:
                platform, _, oldLanguage = old.decode("ascii").partition(";")
                new = f"{platform};{language}".encode("ascii")
            if len(new) != len(old):
                raise ValueError(f"{path}: property {pid} would change its length")
            data[at + 8 : at + 8 + len(new)] = new
            done.add(pid)
    missing = {PID_TEMPLATE, PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM} - done
    if missing:
        raise ValueError(f"{path}: summary properties {sorted(missing)} not found")
    with open(path, "wb") as f:
        f.write(data)
