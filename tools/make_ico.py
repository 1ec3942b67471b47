#!/usr/bin/env python3
"""Packs PNG images into one Windows icon (.ico), each stored as PNG, as Windows Vista and
later read them at every size.

usage: make_ico.py OUTPUT.ico IMAGE.png...
"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise SystemExit("not a PNG image")
    return struct.unpack(">II", data[16:24])


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    images = []
    for path in sys.argv[2:]:
        with open(path, "rb") as f:
            data = f.read()
        width, height = png_size(data)
        if width > 256 or height > 256:
            sys.exit(f"{path}: an icon image is at most 256 px")
        images.append((width, height, data))
    images.sort(key=lambda image: image[0])
    offset = 6 + 16 * len(images)
    header = struct.pack("<HHH", 0, 1, len(images))
    entries = b""
    for width, height, data in images:
        # 0 stands for 256; colour count 0, one plane, 32 bits a pixel.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(header + entries + b"".join(data for _, _, data in images))


main()
