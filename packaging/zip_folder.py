#!/usr/bin/env python3
"""Packs a folder into a zip whose bytes depend on the files' contents only.

    zip_folder.py ZIP PARENT FOLDER

The zip holds FOLDER (inside PARENT) and everything in it, in name order,
each entry dated 2026-01-01 00:00 with fixed permissions: the same files
give the same zip, whenever and wherever they were made.
"""

import os
import sys
import zipfile

DATE = (2026, 1, 1, 0, 0, 0)


def entry(name, mode, dos_attributes=0):
    info = zipfile.ZipInfo(name, DATE)
    info.create_system = 3  # Unix, so the permissions below are read
    info.external_attr = mode << 16 | dos_attributes
    return info


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    out, parent, folder = sys.argv[1:]
    names = []
    for here, dirs, files in os.walk(os.path.join(parent, folder)):
        dirs.sort()
        rel = os.path.relpath(here, parent).replace(os.sep, "/")
        names.append(rel + "/")
        names.extend(rel + "/" + f for f in sorted(files))
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
        for name in names:
            if name.endswith("/"):
                z.writestr(entry(name, 0o40755, 0x10), b"")  # 0x10: a folder to Windows
            else:
                with open(os.path.join(parent, name), "rb") as f:
                    z.writestr(entry(name, 0o100644), f.read(), zipfile.ZIP_DEFLATED, 9)
    os.replace(tmp, out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
