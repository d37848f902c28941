#!/usr/bin/env python3
"""The 425-entry server archive for the benchmark on the host: the same layout and
packing as the setup's stand-in payload, with stand-in bytes for the Windows programs."""
import os
import random
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "payloads"))
import pack_payloads  # noqa: E402

out = sys.argv[1]
with tempfile.TemporaryDirectory() as tmp:
    tools = {}
    rnd = random.Random(4439)
    for name, size in (("firebird.exe", 219136), ("instsvc.exe", 238592), ("gbak.exe", 246302),
                       ("gstat.exe", 246302), ("fbclient.dll", 84840)):
        path = os.path.join(tmp, name)
        with open(path, "wb") as f:
            # Programs compress to about a third: mix random bytes with zero runs.
            f.write(b"".join(bytes(rnd.getrandbits(8) for _ in range(64)) + bytes(128) for _ in range(size // 192)))
        tools[name] = path
    stage = os.path.join(tmp, "Firebird_4.0.2.2816")
    pack_payloads.server_standin(stage, tools)
    with open(out, "wb") as f:
        f.write(pack_payloads.zip_folder(stage, "Firebird_4.0.2.2816"))
