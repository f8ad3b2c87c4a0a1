#!/usr/bin/env python3
"""Cuts a rectangle out of an X window dump (Xvfb's -fbdir screen file, 24
or 32 bits a pixel) and writes it as PNG, with nothing but the standard
library.

    xwd2png.py SCREEN.xwd OUT.png [LEFT TOP RIGHT BOTTOM]
"""
import struct
import sys
import zlib


def main(argv):
    if len(argv) not in (3, 7):
        sys.exit(__doc__)
    data = open(argv[1], "rb").read()
    header = struct.unpack(">25I", data[:100])
    size, width, height, order, bpp, stride, ncolors = (header[0], header[4], header[5], header[7], header[11],
                                                         header[12], header[19])
    if bpp != 32:
        sys.exit(f"xwd2png: {bpp} bits a pixel, want 32")
    pixels = data[size + 12 * ncolors:]
    left, top, right, bottom = (int(v) for v in argv[3:7]) if len(argv) == 7 else (0, 0, width, height)
    left, top, right, bottom = max(left, 0), max(top, 0), min(right, width), min(bottom, height)
    rows = bytearray()
    for y in range(top, bottom):
        row = pixels[y * stride + 4 * left:y * stride + 4 * right]
        rows.append(0)  # no filter
        for x in range(0, len(row), 4):
            b, g, r = (row[x], row[x + 1], row[x + 2]) if order == 0 else (row[x + 3], row[x + 2], row[x + 1])
            rows += bytes((r, g, b))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", right - left, bottom - top, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")
    # Closed here, so that a failed write raises instead of passing unseen
    # when the object is collected.
    with open(argv[2], "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main(sys.argv)
