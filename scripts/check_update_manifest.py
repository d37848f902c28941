#!/usr/bin/env python3
"""Reads the update manifest out of a built setup and compares it byte for byte with the
text built here from its table of versions and flags."""
import sys

import pefile

COMMENTS_HEAD = [
    "# HELP wird momentan nicht verwendet, da die Anleitung nicht vom Setup installiert wird",
    "# LICENSE wird momentan nicht verwendet, da Setup-Dateien mit neuer Hauptversionsnummer gar nicht "
    "zum automatischen Download und Installation angeboten werden",
    "# DB wird momentan auch noch nicht verwendet",
    "# Relevant sind also nur EXE und FB",
    "#",
]
FROM_HERE = ("# Wird erst ab hier benötigt, weil erstmalig von QM 5.03.07 im Setup von 5.04.08 "
             "nachgeschaut wird, was aktualisiert werden muss")
TAIL = [
    "#",
    "# Eintrag für FB muss hier nicht mehr aktualisiert werden. Wird ab 5.16.23 nicht mehr einzeln geladen. "
    "Muss für alte QM-Versionen aber in dieser Datei bleiben!",
    "FB=Firebird-2.5.2.26540_0_Win32.exe",
]
FLAGS = ("EXE", "HELP", "DB", "FB", "LICENSE", "REMOTE")

# (major, minor, build): EXE, HELP, DB, FB, LICENSE, REMOTE (None: not written)
RETIRED = [
    ((5, 0, 0), (1, 1, 1, 1, 1, 1)),
    ((5, 0, 1), (1, 0, 0, 0, 0, 0)),
    ((5, 0, 2), (1, 0, 0, 0, 0, 0)),
    ((5, 0, 3), (1, 0, 0, 0, 0, 0)),
    ((5, 0, 4), (1, 0, 0, 0, 0, 0)),
    ((5, 1, 5), (1, 1, 1, 1, 0, 1)),
    ((5, 2, 6), (1, 0, 1, 0, 0, 0)),
    ((5, 3, 7), (1, 1, 1, 0, 0, 0)),
]
CURRENT = [
    ((5, 4, 8), (1, 0, 1, 0, 0, 1)),
    ((5, 4, 9), (1, 0, 0, 0, 0, 0)),
    ((5, 5, 10), (1, 1, 1, 0, 0, 0)),
    ((5, 5, 11), (1, 0, 0, 0, 0, 0)),
    ((5, 6, 12), (1, 1, 1, 1, 0, 1)),
    ((5, 7, 13), (1, 1, 1, 0, 0, None)),
    ((5, 7, 14), (1, 0, 0, 0, 0, None)),
    ((5, 8, 15), (1, 1, 1, 0, 0, None)),
    ((5, 9, 16), (1, 1, 1, 0, 0, None)),
    ((5, 10, 17), (1, 1, 1, 0, 0, None)),
    ((5, 11, 18), (1, 1, 1, 0, 0, None)),
    ((5, 12, 19), (1, 1, 1, 0, 0, None)),
    ((5, 13, 20), (1, 1, 1, 0, 0, None)),
    ((5, 14, 21), (1, 1, 1, 0, 0, None)),
    ((5, 15, 22), (1, 1, 1, 0, 0, None)),
    ((5, 16, 23), (1, 1, 1, 1, 0, None)),
    ((5, 17, 24), (1, 1, 1, 0, 0, None)),
    ((5, 18, 25), (1, 1, 1, 0, 0, None)),
]


def version_line(version, flags):
    head = "%d.%02d.%02d" % version
    return head + "=" + ",".join("%s=%d" % (n, v) for n, v in zip(FLAGS, flags) if v is not None)


def expected():
    lines = list(COMMENTS_HEAD)
    lines += ["# " + version_line(v, f) for v, f in RETIRED]
    lines.append(FROM_HERE)
    lines += [version_line(v, f) for v, f in CURRENT]
    lines += TAIL
    assert len(lines) == 35, len(lines)
    # The last version line is the version this setup installs.
    assert lines[-4].startswith("5.18.25="), lines[-4]
    return "".join(line + "\r\n" for line in lines).encode("cp1252")


def find_resource(pe, type_name, name, language):
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if t.name is None or str(t.name) != type_name:
            continue
        for n in t.directory.entries:
            if n.name is None or str(n.name) != name:
                continue
            for lang in n.directory.entries:
                if lang.id == language:
                    d = lang.data.struct
                    return pe.get_data(d.OffsetToData, d.Size)
    return None


def main():
    exe = sys.argv[1]
    pe = pefile.PE(exe, fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    got = find_resource(pe, "AUTOUPDATEVERSIONSINFOS", "SETUP", 1031)
    if got is None:
        sys.exit("%s: no resource AUTOUPDATEVERSIONSINFOS/SETUP in language 1031" % exe)
    want = expected()
    if got != want:
        at = next((i for i in range(min(len(got), len(want))) if got[i] != want[i]), min(len(got), len(want)))
        line = want[:at].count(b"\n") + 1
        sys.exit("%s: update manifest differs at byte %d (line %d): got %r, want %r"
                 % (exe, at, line, got[at:at + 40], want[at:at + 40]))
    print("update manifest: %d bytes, 35 lines, identical (%s)" % (len(got), exe))


if __name__ == "__main__":
    main()
