#!/usr/bin/python3
"""Reads dBASE tables with dbfread (Debian python3-dbfread), an independent
reader, and prints what it found as JSON for tests/tables/dbf_dbfread_test.cpp.

    /usr/bin/python3 dbfread_dump.py TABLE.DBF...

Run it with the Debian python (/usr/bin/python3), which sees the Debian
packages. The encoding is left to dbfread, which takes it from the language
driver byte, and decoding errors are errors.
"""

import json
import math
import os
import sys

from dbfread import DBF


def value(v):
    if isinstance(v, float) and not math.isfinite(v):
        return repr(v)
    return v


def dump(path):
    table = DBF(path, load=True, char_decode_errors="strict")
    h = table.header
    return {
        "dbversion": h.dbversion,
        "language_driver": h.language_driver,
        "encoding": table.encoding,
        "numrecords": h.numrecords,
        "headerlen": h.headerlen,
        "recordlen": h.recordlen,
        "date": [h.year, h.month, h.day],
        "fields": [
            {"name": f.name, "type": f.type, "length": f.length, "decimal_count": f.decimal_count}
            for f in table.fields
        ],
        "records": [[value(v) for v in r.values()] for r in table.records],
        "deleted": len(table.deleted),
    }


def main():
    out = {}
    for path in sys.argv[1:]:
        out[os.path.basename(path)] = dump(path)
    json.dump(out, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
