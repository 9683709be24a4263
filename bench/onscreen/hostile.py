#!/usr/bin/env python3
"""Writes the hostile image files of the on-screen benchmark into a folder.

Each asks an image decoder for gigabytes or minutes while the file itself
stays small:

  png-text-1gb.png     57 bytes; a text chunk that claims a gigabyte
  png-30000.png        30000 x 30000 RGBA pixels of one colour, about 3.5 MB
  jpeg-30000.jpg       a progressive JPEG of some hundred bytes declaring 30000 x 30000
  jpeg-100k-scans.jpg  a progressive JPEG of 2000 x 2000 with 100,000 scans, about 1.3 MB

Usage: hostile.py FOLDER SMALL_PROGRESSIVE_JPEG LARGE_PROGRESSIVE_JPEG
"""
import os
import struct
import sys
import zlib


def chunk(kind, data, claimed=None):
    length = len(data) if claimed is None else claimed
    return struct.pack(">I", length) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_header(width, height):
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))


def segments(jpeg):
    """(offset, marker, end) of every marker segment; a scan runs to the next marker."""
    at, found = 2, []
    while at + 4 <= len(jpeg):
        marker = jpeg[at + 1]
        if marker == 0xD9:
            break
        length = struct.unpack(">H", jpeg[at + 2:at + 4])[0]
        end = at + 2 + length
        if marker == 0xDA:
            while end + 1 < len(jpeg) and not (jpeg[end] == 0xFF and jpeg[end + 1] not in (0x00, *range(0xD0, 0xD8))):
                end += 1
        found.append((at, marker, end))
        at = end
    return found


def main():
    folder, small, large = sys.argv[1:4]
    with open(os.path.join(folder, "png-text-1gb.png"), "wb") as out:
        out.write(png_header(16, 16) + chunk(b"tEXt", b"k", claimed=1 << 30))

    path = os.path.join(folder, "png-30000.png")
    if not os.path.exists(path):
        width = height = 30000
        compressor = zlib.compressobj(9)
        row = b"\x00" + b"\x40\x80\xc0\xff" * width
        data = bytearray()
        for _ in range(height):
            data += compressor.compress(row)
        data += compressor.flush()
        with open(path, "wb") as out:
            out.write(png_header(width, height) + chunk(b"IDAT", bytes(data)) + chunk(b"IEND", b""))

    jpeg = bytearray(open(small, "rb").read())
    for at, marker, _ in segments(jpeg):
        if marker == 0xC2:
            jpeg[at + 5:at + 9] = struct.pack(">HH", 30000, 30000)
    with open(os.path.join(folder, "jpeg-30000.jpg"), "wb") as out:
        out.write(jpeg)

    jpeg = open(large, "rb").read()
    # The smallest scan, repeated: every repeat makes the decoder pass over
    # all of its coefficients again.
    scans = [s for s in segments(jpeg) if s[1] == 0xDA]
    at, _, end = min(scans, key=lambda s: s[2] - s[0])
    scan = jpeg[at:end]
    repeats = min(100000, (1900 * 1024 - len(jpeg)) // len(scan))
    with open(os.path.join(folder, "jpeg-100k-scans.jpg"), "wb") as out:
        out.write(jpeg[:at] + scan * repeats + jpeg[at:])


if __name__ == "__main__":
    main()
