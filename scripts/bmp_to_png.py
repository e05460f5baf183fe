#!/usr/bin/env python3
"""A 24-bit uncompressed BMP as a PNG, with the standard library only:
bmp_to_png.py IN.bmp OUT.png"""
import struct
import sys
import zlib


def main(src, dst):
    data = open(src, "rb").read()
    if data[:2] != b"BM":
        sys.exit(f"{src}: not a BMP")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _planes, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        sys.exit(f"{src}: {bits} bits a pixel, not 24")
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        src_row = y if height < 0 else abs(height) - 1 - y  # bottom-up unless negative
        row = data[offset + src_row * stride: offset + src_row * stride + width * 3]
        rgb = bytearray(len(row))
        rgb[0::3], rgb[1::3], rgb[2::3] = row[2::3], row[1::3], row[0::3]
        rows.append(b"\0" + bytes(rgb))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
    open(dst, "wb").write(png)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
