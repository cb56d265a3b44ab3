#!/usr/bin/env python3
"""Draws the Wordloom icon (32 x 32, the 16 standard colours) as wordloom.png.

Run once after changing the drawing; the PNG is committed. A page with a
folded corner, woven from blue weft and red warp threads.
"""
import struct
import sys
import zlib

PALETTE = [
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
]
BLACK, MAROON, NAVY, SILVER, GREY, RED, BLUE, WHITE = 0, 1, 4, 7, 8, 9, 12, 15
CLEAR = 16  # transparent; stored as index 0 with alpha 0 via a separate entry

SIZE = 32
LEFT, RIGHT, TOP, BOTTOM, FOLD = 4, 27, 1, 30, 6
WARP_COLUMNS = [8, 12, 16, 20]
WEFT_ROWS = [10, 14, 18, 22, 26]


def draw():
    px = [[CLEAR] * SIZE for _ in range(SIZE)]
    for y in range(TOP, BOTTOM + 1):
        for x in range(LEFT, RIGHT + 1):
            if x - LEFT + (TOP + FOLD) - y > RIGHT - LEFT:  # cut corner
                continue
            edge = x in (LEFT, RIGHT) or y in (TOP, BOTTOM) or x - LEFT + (TOP + FOLD) - y == RIGHT - LEFT
            px[y][x] = BLACK if edge else WHITE
    # The folded corner, shaded.
    for y in range(TOP, TOP + FOLD + 1):
        for x in range(RIGHT - FOLD, RIGHT + 1):
            if x - (RIGHT - FOLD) > y - TOP:
                continue
            edge = x == RIGHT - FOLD or y == TOP + FOLD or x - (RIGHT - FOLD) == y - TOP
            px[y][x] = BLACK if edge else SILVER
    # A drop shadow along the right and bottom edges.
    for y in range(TOP + FOLD + 1, BOTTOM + 2):
        if y < SIZE and px[y][RIGHT + 1] == CLEAR:
            px[y][RIGHT + 1] = GREY
    for x in range(LEFT + 1, RIGHT + 2):
        if BOTTOM + 1 < SIZE:
            px[BOTTOM + 1][x] = GREY
    # Weave: each crossing alternates which thread lies on top.
    weft_span = range(WARP_COLUMNS[0] - 2, WARP_COLUMNS[-1] + 4)
    warp_span = range(WEFT_ROWS[0] - 2, WEFT_ROWS[-1] + 3)
    for j, row in enumerate(WEFT_ROWS):
        for x in weft_span:
            px[row][x], px[row + 1][x] = BLUE, NAVY
    for i, col in enumerate(WARP_COLUMNS):
        for y in warp_span:
            on_weft = [j for j, row in enumerate(WEFT_ROWS) if y in (row, row + 1)]
            if on_weft and (i + on_weft[0]) % 2 == 0:
                continue  # weft over warp here
            px[y][col], px[y][col + 1] = RED, MAROON
    return px


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(px):
    # Palette of 16 colours plus one transparent entry: 5 bits are needed, so
    # 8-bit indices are stored; only 16 visible colours are used.
    palette = b"".join(struct.pack(">I", c)[1:] for c in PALETTE) + b"\x00\x00\x00"
    alpha = b"\xff" * 16 + b"\x00"
    raw = b"".join(b"\x00" + bytes(row) for row in px)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 3, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"PLTE", palette)
            + chunk(b"tRNS", alpha) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "wordloom.png"
    with open(out, "wb") as f:
        f.write(png(draw()))
