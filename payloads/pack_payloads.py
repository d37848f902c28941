#!/usr/bin/env python3
"""Packs the fourteen payloads of the setup and writes the resource script for them.

Single files become one zlib stream each (level 9, so every stream starts 78 DA), the
three archives become standard ZIP files. Resources are German (language 1031) and
named by type and group, upper case as stored.

  pack_payloads.py --out DIR --from RELEASE_DIR
      packs a folder of real release files (layout in README.md, "Payloads")
  pack_payloads.py --out DIR --file NAME=PATH ... --dll NAME=PATH ... --docs DIR
      packs the stand-ins built by the project
"""
import argparse
import io
import os
import random
import shutil
import sys
import zipfile
import zlib

# target file name -> (resource type, resource name); row order of the payload table
SINGLE = [
    ("Quillmark50.exe", "QM_EXE", "QUILLMARK"),
    ("Quillmark50Help.chm", "QM_HELP", "QUILLMARK"),
    ("QM50Uninst.exe", "QM_UNINST", "QUILLMARK"),
    ("QM50SQLs.dll", "QM_SQLS", "QUILLMARK"),
    ("Readme.txt", "QM_README", "QUILLMARK"),
    ("Lizenz.pdf", "QM_LIZENZ", "QUILLMARK"),
    ("BriefQuillmark.dot", "QM_BRIEFDOT", "QUILLMARK"),
    ("Quillmark50Anleitung.pdf", "QM_ANLEITUNG", "QUILLMARK"),
    ("TeamViewerQS_Quillmark.exe", "TV_EXE", "TEAMVIEWER"),
    ("vcredist_x86_2010_10.0.40219.325.exe", "VCREDIST_2010", "MICROSOFT"),
    ("vc_redist.x86_2015-2022_14.31.31103.0.exe", "VCREDIST_2017", "MICROSOFT"),
    ("msvcr71.dll", "MSVCR71DLL", "MICROSOFT"),
]
ARCHIVES = [
    ("openssl", "OPENSSL", "SSL", None),
    ("fbclient", "FBCLIENT", "FIREBIRD", None),
    ("Firebird_4.0.2.2816", "FBSERVER", "FIREBIRD", "Firebird_4.0.2.2816"),
]
SERVER_ENTRIES = 425
ENTRY_TIME = (2022, 8, 10, 14, 30, 0)

SERVER_CONF = """# Firebird 4.0 configuration of the Quillmark server instance
RemoteServicePort = 4439
AuthServer = Srp256
AuthClient = Srp256
UserManager = Srp
WireCrypt = Enabled
UdfAccess = Restrict UDF
DataTypeCompatibility = 3.0
IpcName = QUILL1
RemotePipeName = QUILL1
ServerMode = Super
"""
CLIENT_CONF = """# Firebird client configuration of Quillmark
AuthClient = Srp256
WireCrypt = Required
IpcName = QUILL1
"""
DATABASES_CONF = """# Database aliases of the Quillmark server instance
security.db = $(dir_secDb)/security4.fdb
{
    RemoteAccess = false
    DefaultDbCachePages = 50
}
"""


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp1252")


def add_file(z, name, data):
    info = zipfile.ZipInfo(name, ENTRY_TIME)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
    z.writestr(info, data, compresslevel=9)


def add_folder(z, name):
    info = zipfile.ZipInfo(name, ENTRY_TIME)
    info.external_attr = 0x10  # FILE_ATTRIBUTE_DIRECTORY
    z.writestr(info, b"")


def zip_folder(folder, top):
    """Every file below folder; below top/ with folder entries, else flat."""
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w") as z:
        if top:
            add_folder(z, top + "/")
        for root, dirs, files in os.walk(folder):
            dirs.sort()
            rel = os.path.relpath(root, folder).replace(os.sep, "/")
            prefix = "" if rel == "." else rel + "/"
            if top:
                prefix = top + "/" + prefix
                if rel != ".":
                    add_folder(z, prefix)
            for f in sorted(files):
                with open(os.path.join(root, f), "rb") as fh:
                    add_file(z, prefix + f, fh.read())
    return buf.getvalue()


def server_standin(stage, tools):
    """The server folder: the given tools and configuration, filled up to 425 entries
    with the files a server distribution carries (messages, plugins, character sets,
    time-zone data, headers, documentation)."""
    os.makedirs(stage)
    for name, path in tools.items():
        shutil.copyfile(path, os.path.join(stage, name))
    texts = {
        "firebird.conf": SERVER_CONF,
        "databases.conf": DATABASES_CONF,
        "plugins.conf": "Plugin = Engine13 {\n    Module = $(dir_plugins)/engine13\n}\n",
        "fbtrace.conf": "database\n{\n    enabled = false\n}\n",
        "replication.conf": "database\n{\n}\n",
        "IDPLicense.txt": "Initial Developer's Public License (placeholder of the stand-in)\n",
        "IPLicense.txt": "InterBase Public License (placeholder of the stand-in)\n",
        "WhatsNew": "Firebird 4.0.2.2816 (stand-in)\n",
    }
    for name, text in texts.items():
        with open(os.path.join(stage, name), "wb") as f:
            f.write(crlf(text))
    rnd = random.Random(2816)
    with open(os.path.join(stage, "firebird.msg"), "wb") as f:
        f.write(bytes(rnd.getrandbits(8) for _ in range(64 * 1024)))
    with open(os.path.join(stage, "security4.fdb"), "wb") as f:
        f.write(b"\x01\x00\x39\x30" + bytes(8 * 1024 - 4))
    folders = ["doc", "doc/sql.extensions", "examples", "examples/empbuild", "help", "include", "include/firebird",
               "intl", "lib", "misc", "misc/upgrade", "plugins", "plugins/udr", "tzdata", "udf"]
    count = lambda: sum(len(ds) + len(fs) for _, ds, fs in os.walk(stage)) + 1  # + the top folder
    for d in folders:
        os.makedirs(os.path.join(stage, *d.split("/")))
    i = 0
    while count() < SERVER_ENTRIES:
        d = folders[i % len(folders)]
        kind = rnd.randrange(3)
        size = rnd.randrange(200, 6000)
        if kind == 0:
            data = bytes(rnd.getrandbits(8) for _ in range(size))  # compiled data
            name = "part%03d.dat" % i
        else:
            words = ["Firebird", "Datenbank", "Server", "Zeitzone", "Plugin", "Zeichensatz", "SQL", "Index"]
            data = crlf(" ".join(rnd.choice(words) for _ in range(size // 8)) + "\n")
            name = "note%03d.txt" % i
        with open(os.path.join(stage, *d.split("/"), name), "wb") as f:
            f.write(data)
        i += 1
    assert count() == SERVER_ENTRIES, count()


def write_rc(out, entries):
    lines = ["// Generated by payloads/pack_payloads.py: the payload resources.", "LANGUAGE 0x07, 0x01"]
    for rtype, rname, path in entries:
        lines.append('%s %s "%s"' % (rname, rtype, path.replace("\\", "/")))
    with open(os.path.join(out, "payloads.rc"), "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", required=True)
    ap.add_argument("--from", dest="release")
    ap.add_argument("--file", action="append", default=[], help="NAME=PATH of a single-file stand-in")
    ap.add_argument("--openssl", action="append", default=[], help="NAME=PATH")
    ap.add_argument("--fbclient", action="append", default=[], help="NAME=PATH")
    ap.add_argument("--fbserver", action="append", default=[], help="NAME=PATH of a server tool")
    ap.add_argument("--docs", help="folder of the stand-in documents")
    a = ap.parse_args()

    out = os.path.abspath(a.out)
    stage = os.path.join(out, "staging")
    if a.release:
        stage = os.path.abspath(a.release)
    else:
        shutil.rmtree(stage, ignore_errors=True)
        os.makedirs(stage)
        pairs = lambda items: dict(i.split("=", 1) for i in items)
        for name, path in pairs(a.file).items():
            shutil.copyfile(path, os.path.join(stage, name))
        if a.docs:
            for name in os.listdir(a.docs):
                shutil.copyfile(os.path.join(a.docs, name), os.path.join(stage, name))
        for folder, items in (("openssl", a.openssl), ("fbclient", a.fbclient)):
            os.makedirs(os.path.join(stage, folder))
            for name, path in pairs(items).items():
                shutil.copyfile(path, os.path.join(stage, folder, name))
        with open(os.path.join(stage, "fbclient", "firebird.conf"), "wb") as f:
            f.write(crlf(CLIENT_CONF))
        with open(os.path.join(stage, "fbclient", "firebird.msg"), "wb") as f:
            f.write(bytes(random.Random(4).getrandbits(8) for _ in range(16 * 1024)))
        server_standin(os.path.join(stage, "Firebird_4.0.2.2816"), pairs(a.fbserver))

    bins = os.path.join(out, "bin")
    os.makedirs(bins, exist_ok=True)
    entries = []
    missing = []
    for name, rtype, rname in SINGLE:
        src = os.path.join(stage, name)
        if not os.path.isfile(src):
            missing.append(name)
            continue
        with open(src, "rb") as f:
            data = zlib.compress(f.read(), 9)
        assert data[:2] == b"\x78\xda"
        path = os.path.join(bins, rtype + ".z")
        with open(path, "wb") as f:
            f.write(data)
        entries.append((rtype, rname, path))
    for folder, rtype, rname, top in ARCHIVES:
        src = os.path.join(stage, folder)
        if not os.path.isdir(src):
            missing.append(folder + "/")
            continue
        path = os.path.join(bins, rtype + ".zip")
        with open(path, "wb") as f:
            f.write(zip_folder(src, top))
        entries.append((rtype, rname, path))
    if missing:
        sys.exit("payload folder %s lacks: %s" % (stage, ", ".join(missing)))
    write_rc(out, entries)


if __name__ == "__main__":
    main()
