#!/usr/bin/python3
"""Converts an X window dump (xwd -root, 24/32-bit TrueColor) to PNG."""
import struct
import sys

from PIL import Image


def convert(src, dst):
    data = open(src, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _, _, depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    ncolors = fields[19]
    if depth < 24 or bits_per_pixel not in (24, 32):
        raise SystemExit("only 24-bit TrueColor dumps are handled")
    start = header_size + ncolors * 12
    raw = data[start:start + bytes_per_line * height]
    if bits_per_pixel == 24:   # packed pixels of 3 bytes
        mode = "BGR" if byte_order == 0 else "RGB"
    else:
        mode = "BGRX" if byte_order == 0 else "XRGB"
    Image.frombuffer("RGB", (width, height), raw, "raw", mode, bytes_per_line, 1).save(dst)


if __name__ == "__main__":
    convert(sys.argv[1], sys.argv[2])
