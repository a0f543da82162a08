#!/usr/bin/env python3
"""Writes the button glyphs (24-bit BMP) from the pixel art below.

Olive (128, 128, 0) is the background that the program makes transparent. A glyph with
two images holds the normal image on the left and its grey, disabled twin on the right;
the grey twin is derived from the normal image, so only the normal one is drawn here.

Usage: python3 make_glyphs.py   (writes beside this script)
"""
import os
import struct

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


def main():
    write_bmp("BBInc.bmp", pixels(PLUS))
    write_bmp("BBDec.bmp", pixels(MINUS))
    write_bmp("BBStart.bmp", with_disabled(STOPWATCH))
    write_bmp("BBStop.bmp", with_disabled(PROHIBITION))
    write_bmp("BBOK.bmp", with_disabled(CHECK))


if __name__ == "__main__":
    main()
