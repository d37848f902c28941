#!/usr/bin/env python3
"""Checks the application manifest and version resource of the built setup."""
import sys

import pefile

exe = sys.argv[1]
pe = pefile.PE(exe)
manifest = None
for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if entry.id == 24:  # RT_MANIFEST
        leaf = entry.directory.entries[0].directory.entries[0]
        manifest = pe.get_data(leaf.data.struct.OffsetToData, leaf.data.struct.Size).decode("utf-8")
if manifest is None:
    sys.exit("no manifest")
if 'level="requireAdministrator"' not in manifest:
    sys.exit("manifest does not require administrator")
for os_id in ("e2011457-1546-43c5-a5fe-008deee3d3f0", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"):
    if os_id not in manifest:
        sys.exit("supportedOS missing: " + os_id)
strings = {}
for fi in getattr(pe, "FileInfo", []):
    for block in fi:
        for table in getattr(block, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
if strings.get("ProductName") != "Quillmark" or strings.get("FileVersion") != "5.18.25.0":
    sys.exit("version resource: %r" % strings)
print("manifest requires administrator; version", strings["FileVersion"])
