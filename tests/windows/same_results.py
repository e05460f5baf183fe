#!/usr/bin/env python3
"""The Linux and the Windows velquior-convert give the same results.

    same_results.py LINUX_BIN WINDOWS_EXE WINE_RUN SAMPLE_XML

(a) Exporting the sample school, twice over (the second run replaces the
    first one's tables), gives the same six tables, byte for byte but for the
    header's date (bytes 1-3), and no other file.
(b) Importing a played timetable (SOLUC and DIASHORAST written here, codes
    taken from the exported catalogues) gives the same document.
(c) Both again with a document named "escuela ñ.xml" and, for Windows, the
    paths in drive-letter form.

Exits 77 (skipped) when the Linux build is absent.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile

SKIP = 77
TABLES = ["ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"]
DATE_BYTES = range(1, 4)  # YY MM DD in a .DBF header: the day it was written

# DIASHORAST as the program creates it (tables/catalog.h): all text.
DIASHORAST_FIELDS = [("DIHO", "C", 10, 0), ("CODDIHO", "C", 10, 0), ("DIA", "C", 20, 0),
                     ("TEXTODIA", "C", 20, 0), ("HORA", "C", 8, 0), ("HORADESDE", "C", 8, 0),
                     ("HORAHASTA", "C", 8, 0), ("MINUTOS", "C", 8, 0)]
# SOLUC as the timetabling program leaves it: text codes, numbers of the
# width and decimals the program gives its floats (N 19.4).
SOLUC_FIELDS = [("CODGRUPO", "C", 10, 0), ("PROF", "C", 10, 0), ("ASIG", "C", 10, 0), ("AULA", "C", 10, 0),
                ("DIA", "N", 19, 4), ("HORA", "N", 19, 4), ("SESIONES", "N", 19, 4)]
DAYS = ["Lunes", "Martes", "Miércoles", "Jueves", "Viernes"]
HOURS = [("8:00", "8:55"), ("8:55", "9:50"), ("9:50", "10:45"), ("11:15", "12:10"), ("12:10", "13:05"),
         ("13:05", "14:00")]

failures = []


def fail(what):
    failures.append(what)
    print("FALLO: " + what)


# --- dBASE III tables -----------------------------------------------------

def read_dbf(path):
    """Field names and records (lists of Windows-1252 texts, right-trimmed)."""
    data = open(path, "rb").read()
    count = struct.unpack_from("<I", data, 4)[0]
    header_length, record_length = struct.unpack_from("<HH", data, 8)
    fields = []
    at = 32
    while data[at] != 0x0D:
        name = data[at:at + 11].split(b"\0")[0].decode("ascii")
        fields.append((name, data[at + 16]))
        at += 32
    records = []
    for i in range(count):
        rec = data[header_length + i * record_length:header_length + (i + 1) * record_length]
        if rec[:1] == b"*":
            continue
        row, pos = {}, 1
        for name, width in fields:
            row[name] = rec[pos:pos + width].decode("cp1252").rstrip(" ")
            pos += width
        records.append(row)
    return records


def write_dbf(path, fields, rows):
    """A dBASE III table with the Windows-1252 language driver."""
    record_length = 1 + sum(f[2] for f in fields)
    header_length = 32 + 32 * len(fields) + 1
    out = bytearray(struct.pack("<B3BIHH", 0x03, 126, 1, 15, len(rows), header_length, record_length))
    out += bytes(17) + b"\x57" + bytes(2)
    offset = 1
    for name, kind, width, decimals in fields:
        out += name.encode("ascii").ljust(11, b"\0") + kind.encode("ascii")
        out += struct.pack("<I", offset) + bytes([width, decimals]) + bytes(14)
        offset += width
    out += b"\x0D"
    for row in rows:
        out += b" "
        for (name, kind, width, decimals), value in zip(fields, row):
            if kind == "N":
                cell = ("%.*f" % (decimals, value)).rjust(width).encode("ascii")
            else:
                cell = value.encode("cp1252").ljust(width, b" ")
            if len(cell) != width:
                raise ValueError("%s: %r does not fit %d" % (name, value, width))
            out += cell
    out += b"\x1A"
    open(path, "wb").write(out)


def played_timetable(work):
    """SOLUC and DIASHORAST as after a run of the timetabling program, over the
    codes of the exported catalogues."""
    lessons = read_dbf(os.path.join(work, "ASIGT.DBF"))
    rooms = [r["ABREV"] for r in read_dbf(os.path.join(work, "AULAT.DBF"))]
    rows = []
    for i, lesson in enumerate(lessons):
        day = 0 if i % 17 == 16 else 1 + i % 5  # now and then one left unplaced
        hour = 1 + (i // 5) % 6
        sessions = 0.5 if i % 11 == 3 else 1.0
        room = lesson["CAULA"] or rooms[i % len(rooms)]
        rows.append([lesson["CGRUP"], lesson["CPROF"], lesson["CASIG"], room, day, hour, sessions])
    write_dbf(os.path.join(work, "SOLUC.DBF"), SOLUC_FIELDS, rows)
    days = []
    for d, name in enumerate(DAYS, 1):
        for h, (begin, end) in enumerate(HOURS, 1):
            days.append(["%d%d" % (d, h), "", str(d), name, str(h), begin, end, "55"])
    write_dbf(os.path.join(work, "DIASHORAST.DBF"), DIASHORAST_FIELDS, days)
    return rows


# --- comparisons ----------------------------------------------------------

def table_difference(a, b):
    """None when the tables are equal but for the header's date, else where."""
    if len(a) != len(b):
        return "tamaño %d frente a %d" % (len(a), len(b))
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y and i not in DATE_BYTES:
            return "byte %d: %02x frente a %02x" % (i, x, y)
    return None


def compare_tables(label, linux_work, windows_work):
    for t in TABLES:
        name = t + ".DBF"
        a = open(os.path.join(linux_work, name), "rb").read()
        b = open(os.path.join(windows_work, name), "rb").read()
        why = table_difference(a, b)
        if why:
            fail("%s: %s difiere (%s)" % (label, name, why))


def compare_listing(label, linux_dir, windows_dir):
    # Without the lock file the Windows build keeps in a work directory.
    a = sorted(os.listdir(linux_dir))
    b = sorted(n for n in os.listdir(windows_dir) if n != ".velquior.lock")
    if a != b:
        fail("%s: archivos %s frente a %s" % (label, a, b))


def compare_files(label, linux_file, windows_file):
    a, b = open(linux_file, "rb").read(), open(windows_file, "rb").read()
    if a != b:
        at = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
        fail("%s: difieren desde el byte %d (%d frente a %d bytes): %r / %r"
             % (label, at, len(a), len(b), a[at:at + 40], b[at:at + 40]))


def check_comparator(table):
    """The comparison sees a changed byte and only the date's bytes pass."""
    changed = bytearray(table)
    changed[len(changed) // 2] ^= 0x01
    assert table_difference(table, bytes(changed)) is not None, "un byte cambiado pasa inadvertido"
    redated = bytearray(table)
    for i in DATE_BYTES:
        redated[i] ^= 0xFF
    assert table_difference(table, bytes(redated)) is None, "la fecha cuenta como diferencia"
    assert table_difference(table, table[:-1]) is not None, "un byte de menos pasa inadvertido"


# --- running both programs ------------------------------------------------

def windows_path(path):
    """Wine's Z: drive is the Unix root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Programs:
    def __init__(self, linux, exe, wine_run):
        self.linux, self.exe, self.wine_run = linux, exe, wine_run
        # A UTF-8 locale for both: Wine turns the arguments into UTF-16 by it.
        self.env = {k: v for k, v in os.environ.items() if not k.startswith("VELQUIOR_") or k == "VELQUIOR_WINEPREFIX"}
        self.env["LC_ALL"] = "C.UTF-8"

    def run(self, platform, args, cwd):
        cmd = [self.linux] + args if platform == "linux" else [self.wine_run, self.exe] + args
        r = subprocess.run(cmd, cwd=cwd, env=self.env, capture_output=True, timeout=600)
        if r.returncode != 0:
            fail("%s %s: estado %d\n%s%s" % (platform, " ".join(args), r.returncode,
                                             r.stdout.decode("utf-8", "replace"), r.stderr.decode("utf-8", "replace")))
        return r.returncode


def round_trip(programs, root, sample, doc_name, windows_paths):
    """Export then import with each program in its own folders; compares."""
    label = doc_name + (" (rutas Z:\\)" if windows_paths else "")
    failed_before = len(failures)
    dirs = {}
    for platform in ("linux", "windows"):
        base = os.path.join(root, platform)
        docs, work = os.path.join(base, "docs"), os.path.join(base, "trabajo")
        os.makedirs(docs)
        os.makedirs(work)
        doc = os.path.join(docs, doc_name)
        shutil.copyfile(sample, doc)
        dirs[platform] = (docs, work, doc)
        if platform == "windows" and windows_paths:
            doc_arg, work_arg = windows_path(doc), windows_path(work)
        else:
            doc_arg, work_arg = doc, work
        # The second run replaces the tables of the first.
        for _ in range(2):
            if programs.run(platform, ["export", doc_arg, "--workdir", work_arg], base) != 0:
                return
    (l_docs, l_work, l_doc), (w_docs, w_work, w_doc) = dirs["linux"], dirs["windows"]
    compare_listing(label + ", export, trabajo", l_work, w_work)
    compare_tables(label + ", export", l_work, w_work)
    check_comparator(open(os.path.join(l_work, "ASIGT.DBF"), "rb").read())

    # One played timetable, the same bytes in both work folders.
    played = played_timetable(l_work)
    for t in ("SOLUC.DBF", "DIASHORAST.DBF"):
        shutil.copyfile(os.path.join(l_work, t), os.path.join(w_work, t))
    for platform in ("linux", "windows"):
        docs, work, doc = dirs[platform]
        if platform == "windows" and windows_paths:
            doc_arg, work_arg = windows_path(doc), windows_path(work)
        else:
            doc_arg, work_arg = doc, work
        if programs.run(platform, ["import", doc_arg, "--workdir", work_arg], os.path.dirname(docs)) != 0:
            return
    compare_listing(label + ", import, documentos", l_docs, w_docs)
    compare_listing(label + ", import, trabajo", l_work, w_work)
    compare_files(label + ", import, documento", l_doc, w_doc)
    imported = open(l_doc, "rb").read()
    if imported == open(sample, "rb").read() or imported.count(b"<input ") == 0:
        fail("%s: el import no escribió el horario" % label)
    scheduled = sum(1 for r in played if r[4] != 0)
    if imported.count(b"<input ") != scheduled:
        fail("%s: %d entradas en el documento, %d sesiones colocadas" % (label, imported.count(b"<input "), scheduled))
    if len(failures) > failed_before:
        return
    print("%s: %d tablas iguales, documento de %d bytes igual, %d entradas" % (label, len(TABLES), len(imported),
                                                                               scheduled))


def main():
    if len(sys.argv) != 5:
        print(__doc__)
        return 2
    linux, exe, wine_run, sample = (os.path.abspath(a) for a in sys.argv[1:])
    if not os.access(linux, os.X_OK):
        print("Omitido: no está la compilación de Linux (%s); hágase antes con cmake -S . -B build" % linux)
        return SKIP
    programs = Programs(linux, exe, wine_run)
    root = tempfile.mkdtemp(prefix="velquior-same-")
    try:
        round_trip(programs, os.path.join(root, "a"), sample, "escuela.xml", windows_paths=False)
        round_trip(programs, os.path.join(root, "c"), sample, "escuela ñ.xml", windows_paths=True)
    finally:
        if failures:
            print("Carpetas conservadas en " + root)
        else:
            shutil.rmtree(root)
    if failures:
        return 1
    print("Mismos resultados en Linux y en Windows")
    return 0


if __name__ == "__main__":
    sys.exit(main())
