#!/usr/bin/env python3
"""Draws the zone editor's stand-in picture (a selected zone without a
readable picture of its own): pale diagonal stripes inside a dark frame.
Writes actions/imatges/comodi.png; standard library only."""
import os
import struct
import zlib

AMPLE, ALT = 96, 72
FONS = (255, 250, 215)
RATLLA = (245, 200, 90)
VORA = (110, 80, 20)


def pixel(x, y):
    if x < 2 or y < 2 or x >= AMPLE - 2 or y >= ALT - 2:
        return VORA
    return RATLLA if (x + y) // 8 % 2 == 0 else FONS


def tros(tipus, dades):
    return (struct.pack(">I", len(dades)) + tipus + dades
            + struct.pack(">I", zlib.crc32(tipus + dades) & 0xFFFFFFFF))


def main():
    files = b"".join(b"\0" + bytes(c for x in range(AMPLE) for c in pixel(x, y)) for y in range(ALT))
    png = (b"\x89PNG\r\n\x1a\n"
           + tros(b"IHDR", struct.pack(">IIBBBBB", AMPLE, ALT, 8, 2, 0, 0, 0))
           + tros(b"IDAT", zlib.compress(files, 9))
           + tros(b"IEND", b""))
    desti = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "actions", "imatges", "comodi.png")
    with open(desti, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main()
