#!/usr/bin/env python3
"""Writes the button glyphs (24-bit BMP) from the pixel art below, and their twins for screens
of twice the pixel density (<name>@2x.png, 32-bit RGBA) from the shapes further down.

Olive (128, 128, 0) is the background that the program makes transparent; the @2x images
are transparent there themselves. A glyph with two images holds the normal image on the left
and its grey, disabled twin on the right; the grey twin is derived from the normal image, so
only the normal one is drawn here.

Usage: python3 make_glyphs.py   (writes beside this script)
"""
import math
import os
import struct
import zlib

OLIVE = (128, 128, 0)
PALETTE = {
    ".": OLIVE,
    "K": (0, 0, 0),          # outline
    "W": (255, 255, 255),    # white
    "S": (160, 160, 160),    # grey
    "G": (0, 176, 0),        # green
    "L": (120, 224, 96),     # light green
    "g": (0, 96, 0),         # dark green
    "R": (224, 0, 0),        # red
    "r": (128, 0, 0),        # dark red
}

PLUS = [
    "..............",
    ".....KKKK.....",
    ".....KLLK.....",
    ".....KGGK.....",
    ".....KGGK.....",
    ".KKKKKGGKKKKK.",
    ".KLLLLGGLLLLK.",
    ".KGGGGGGGGGGK.",
    ".KKKKKGGKKKKK.",
    ".....KGGK.....",
    ".....KGGK.....",
    ".....KggK.....",
    ".....KKKK.....",
    "..............",
]

MINUS = [
    "..............",
    "..............",
    "..............",
    "..............",
    "..............",
    ".KKKKKKKKKKKK.",
    ".KRRRRRRRRRRK.",
    ".KRRRRRRRRRRK.",
    ".KKKKKKKKKKKK.",
    "..............",
    "..............",
    "..............",
    "..............",
    "..............",
]

STOPWATCH = [
    "......KKKK......",
    ".......KK.......",
    ".....KKKKKK.....",
    "...KKWWWWWWKK...",
    "..KWWWWKKWWWWK..",
    ".KWWWWWWWWWWWWK.",
    ".KWWWWWWWWRWWWK.",
    "KWWWWWWWWRWWWWWK",
    "KWWWWWWWRWWWWWWK",
    "KKWWWWWKWWWWWWKK",
    "KWWWWWWWWWWWWWWK",
    "KWWWWWWWWWWWWWWK",
    ".KWWWWWWWWWWWWK.",
    ".KSWWWWWWWWWWSK.",
    "..KKWWWKKWWWKK..",
    "....KKKKKKKK....",
]

PROHIBITION = [
    "......RRRR......",
    "....RRRRRRRR....",
    "..RRRRRRRRRRRR..",
    "..RRRWWKKWWRRR..",
    ".RRRRRWKKWWWRRR.",
    ".RRWRRRKKWWWWRR.",
    "RRRWWRRRKWWWWRRR",
    "RRRWWWRRRWWWWRRR",
    "RRRWWWWRRRWWWRRR",
    "RRRWWWWKRRRWWRRR",
    ".RRWWWWWWRRRWRR.",
    ".RRRWWWKKWRRRRR.",
    "..RRRWWKKWWRRR..",
    "..RRRRRRRRRRRR..",
    "....RRRRRRRR....",
    "......RRRR......",
]

CHECK = [
    "..................",
    "..................",
    "..............gg..",
    ".............gLGg.",
    "............gLGGg.",
    "...........gLGGg..",
    "..........gLGGg...",
    ".........gLGGg....",
    ".gg.....gLGGg.....",
    "gLGg...gLGGg......",
    "gGGGg.gLGGg.......",
    ".gGGGgLGGg........",
    "..gGGGGGg.........",
    "...gGGGg..........",
    "....gGg...........",
    ".....g............",
    "..................",
    "..................",
]


def grey(colour):
    """The disabled twin of a pixel: the background stays, everything else turns grey."""
    if colour == OLIVE:
        return OLIVE
    r, g, b = colour
    level = 96 + (r * 299 + g * 587 + b * 114) // 1000 // 2
    return (level, level, level)


def pixels(art):
    width = len(art[0])
    assert all(len(row) == width for row in art), "ragged pixel art"
    return [[PALETTE[c] for c in row] for row in art]


def with_disabled(art):
    normal = pixels(art)
    return [row + [grey(c) for c in row] for row in normal]


def write_bmp(name, rows):
    """A bottom-up 24-bit BMP with rows padded to four bytes."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    body = b""
    for row in reversed(rows):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        body += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), name), "wb") as f:
        f.write(header + info + body)


# ---- Shapes for the @2x images ----------------------------------------------------------
# Each glyph is a list of (colour, inside) layers painted in order; inside(x, y) tells whether
# a point, in the pixels of the 1x image, is covered. Every device pixel is sampled 4 x 4
# times, so edges are smooth at the finer resolution rather than doubled pixels.

SCALE = 2
SAMPLES = 4


def box(left, top, right, bottom, radius=0.0):
    def inside(x, y):
        dx = max(left + radius - x, 0.0, x - (right - radius))
        dy = max(top + radius - y, 0.0, y - (bottom - radius))
        return dx * dx + dy * dy <= radius * radius
    return inside


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def stroke(points, width):
    """A polyline of the given width with round ends and joints."""
    segments = list(zip(points, points[1:]))

    def distance(x, y, a, b):
        (ax, ay), (bx, by) = a, b
        length = (bx - ax) ** 2 + (by - ay) ** 2
        t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / length))
        return math.hypot(x - (ax + t * (bx - ax)), y - (ay + t * (by - ay)))
    return lambda x, y: min(distance(x, y, a, b) for a, b in segments) <= width / 2


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def both(first, second):
    return lambda x, y: first(x, y) and second(x, y)


def cross(inset):
    """The plus sign's arms, shrunk by inset on every side."""
    return union(box(5 + inset, 1 + inset, 9 - inset, 13 - inset, 0.8 - inset / 2),
                 box(1 + inset, 5 + inset, 13 - inset, 9 - inset, 0.8 - inset / 2))


BLACK, WHITE = (0, 0, 0), (255, 255, 255)
SHAPES = {
    "BBInc": ((14, 14), [
        (BLACK, cross(0)),
        ((0, 176, 0), cross(0.75)),
        ((120, 224, 96), both(cross(0.75), lambda x, y: y < 6.5 if 5 < y < 9 else x < 6.5)),
        ((0, 96, 0), both(cross(0.75), lambda x, y: y > 8 if 5 < y < 9 else y > 11.5)),
    ]),
    "BBDec": ((14, 14), [
        (BLACK, box(1, 5, 13, 9, 0.8)),
        ((224, 0, 0), box(1.75, 5.75, 12.25, 8.25, 0.4)),
        ((248, 96, 96), box(1.75, 5.75, 12.25, 6.5, 0.4)),
        ((128, 0, 0), box(1.75, 7.75, 12.25, 8.25)),
    ]),
    "BBStart": ((16, 16), [
        (BLACK, union(box(6, 0, 10, 1.25, 0.4), box(7.25, 1, 8.75, 3), disc(8, 9.25, 6.75))),
        (WHITE, disc(8, 9.25, 6)),
        ((176, 176, 176), both(disc(8, 9.25, 6), lambda x, y: (x - 8) ** 2 + (y - 8.25) ** 2 > 36)),
        (BLACK, union(box(7.5, 3.5, 8.5, 4.75), box(12.5, 8.75, 13.75, 9.75),
                      box(2.25, 8.75, 3.5, 9.75), box(7.5, 13.75, 8.5, 15))),
        ((224, 0, 0), stroke([(8, 9.25), (10.75, 5.5)], 1.1)),
        (BLACK, disc(8, 9.25, 1)),
    ]),
    "BBStop": ((16, 16), [
        ((224, 0, 0), disc(8, 8, 8)),
        (WHITE, disc(8, 8, 5.5)),
        (BLACK, union(box(7, 2.75, 9, 9.5, 0.6), disc(8, 11.75, 1.1))),
        ((224, 0, 0), stroke([(4.2, 4.2), (11.8, 11.8)], 2.2)),
    ]),
    "BBOK": ((18, 18), [
        ((0, 96, 0), stroke([(1.5, 10.25), (5.5, 14.25), (15.75, 3.25)], 3.4)),
        ((0, 176, 0), stroke([(1.5, 10.25), (5.5, 14.25), (15.75, 3.25)], 1.9)),
        ((120, 224, 96), stroke([(6.25, 12.5), (15.0, 3.1)], 0.6)),
    ]),
}


def render(size, layers):
    """Rows of (r, g, b, a) pixels at SCALE times the size, the layers painted over transparency."""
    width, height = size[0] * SCALE, size[1] * SCALE
    step = 1.0 / (SCALE * SAMPLES)
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            r = g = b = a = 0.0
            for colour, inside in layers:
                hits = sum(inside(px / SCALE + (sx + 0.5) * step, py / SCALE + (sy + 0.5) * step)
                           for sy in range(SAMPLES) for sx in range(SAMPLES))
                cover = hits / (SAMPLES * SAMPLES)
                r, g, b = (c * cover + old * (1 - cover) for c, old in zip(colour, (r, g, b)))
                a = cover + a * (1 - cover)
            # The colour channels above blend toward black where nothing was painted;
            # undo that so that partly covered pixels keep their true colour.
            row.append((0, 0, 0, 0) if a == 0 else (round(r / a), round(g / a), round(b / a), round(a * 255)))
        rows.append(row)
    return rows


def with_disabled_rgba(rows):
    def twin(pixel):
        level = grey(pixel[:3])[0]
        return (level, level, level, pixel[3])
    return [row + [twin(p) for p in row] for row in rows]


def write_png(name, rows):
    """An 8-bit RGBA, non-interlaced PNG."""
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(channel for pixel in row for channel in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), name), "wb") as f:
        f.write(png)


def main():
    write_bmp("BBInc.bmp", pixels(PLUS))
    write_bmp("BBDec.bmp", pixels(MINUS))
    write_bmp("BBStart.bmp", with_disabled(STOPWATCH))
    write_bmp("BBStop.bmp", with_disabled(PROHIBITION))
    write_bmp("BBOK.bmp", with_disabled(CHECK))
    for name, (size, layers) in SHAPES.items():
        rows = render(size, layers)
        write_png(name + "@2x.png", rows if name in ("BBInc", "BBDec") else with_disabled_rgba(rows))


if __name__ == "__main__":
    main()
