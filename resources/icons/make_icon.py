#!/usr/bin/env python3
"""Renders steepo.svg into the program's icon images and packs them into steepo.ico.

Writes steepo-<N>.png for N in 256, 128, 96, 72, 64, 48, 32, 24, 16 (32-bit RGBA) and
steepo.ico holding the nine images in that order: the 256 image as PNG, the others as
32-bit device-independent bitmaps with alpha and an AND mask.

Needs rsvg-convert (Debian package librsvg2-bin) for the rendering; the ICO container is
written with the standard library alone. The build uses only the committed outputs.

Usage: python3 make_icon.py   (reads and writes beside this script)
"""
import os
import struct
import subprocess
import zlib

SIZES = [256, 128, 96, 72, 64, 48, 32, 24, 16]
HERE = os.path.dirname(os.path.abspath(__file__))


def render_png(size):
    path = os.path.join(HERE, "steepo-%d.png" % size)
    subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o", path,
                    os.path.join(HERE, "steepo.svg")], check=True)
    with open(path, "rb") as f:
        return f.read()


def decode_rgba(png):
    """Rows of RGBA bytes of an 8-bit RGBA, non-interlaced PNG (what rsvg-convert writes)."""
    assert png[:8] == b"\x89PNG\r\n\x1a\n"
    pos, idat, header = 8, b"", None
    while pos < len(png):
        length, kind = struct.unpack(">I4s", png[pos:pos + 8])
        body = png[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert depth == 8 and colour == 6 and interlace == 0, "expected 8-bit RGBA"
    raw, stride, rows, prev = zlib.decompress(idat), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = prev[i]
            c = prev[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        rows.append(bytes(line))
        prev = line
    return width, height, rows


def dib(png):
    """A 32-bit icon DIB: header with doubled height, BGRA rows bottom-up, then the AND mask."""
    width, height, rows = decode_rgba(png)
    mask_stride = ((width + 31) // 32) * 4
    pixels, mask = b"", b""
    for row in reversed(rows):
        bgra = bytearray()
        bits = bytearray(mask_stride)
        for x in range(width):
            r, g, b, a = row[x * 4:x * 4 + 4]
            bgra += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        pixels += bgra
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def main():
    images = []
    for size in SIZES:
        png = render_png(size)
        images.append((size, png if size == 256 else dib(png)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        edge = 0 if size == 256 else size
        directory += struct.pack("<BBBBHHII", edge, edge, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        body += data
    with open(os.path.join(HERE, "steepo.ico"), "wb") as f:
        f.write(directory + body)


if __name__ == "__main__":
    main()
