#!/usr/bin/env python3
"""Draws the reminder program's two icons as 32x32 PNG images in a 16-colour
palette: alarm-main.png (the program's own icon, an alarm clock) and
alarm-tray.png (the notification icon, a bell). Standard library only; run it
in this folder to write both files again."""

import math
import struct
import zlib

# The 16 colours of the classic desktop palette.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
TRANSPARENT, DARK_RED, GREY, RED, YELLOW, WHITE = 0, 1, 8, 9, 11, 15
SIZE = 32


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def write_png(path, pixels):
    """pixels: SIZE rows of SIZE palette indexes, or None for transparent."""
    rows = b""
    for row in pixels:
        packed = bytearray([0])  # filter type: none
        for x in range(0, SIZE, 2):
            hi = row[x] if row[x] is not None else TRANSPARENT
            lo = row[x + 1] if row[x + 1] is not None else TRANSPARENT
            packed.append((hi << 4) | lo)
        rows += bytes(packed)
    # Palette index 0 (black) is the transparent colour; outlines use grey.
    alpha = bytes([0] + [255] * 15)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 4, 3, 0, 0, 0))
    png += chunk(b"PLTE", b"".join(bytes(c) for c in PALETTE))
    png += chunk(b"tRNS", alpha)
    png += chunk(b"IDAT", zlib.compress(rows, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


def blank():
    return [[None] * SIZE for _ in range(SIZE)]


def disc(pixels, cx, cy, radius, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            if (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2:
                pixels[y][x] = colour


def line(pixels, x0, y0, x1, y1, colour):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        x = round(x0 + (x1 - x0) * i / steps)
        y = round(y0 + (y1 - y0) * i / steps)
        pixels[y][x] = colour


def alarm_clock():
    p = blank()
    disc(p, 7, 6, 5, RED)       # the two bells on top
    disc(p, 24, 6, 5, RED)
    line(p, 8, 28, 5, 31, GREY)  # feet
    line(p, 23, 28, 26, 31, GREY)
    disc(p, 15.5, 17, 13, GREY)  # rim
    disc(p, 15.5, 17, 11, WHITE)  # face
    for hour in range(12):
        angle = hour * math.pi / 6
        x = round(15.5 + 9.5 * math.sin(angle))
        y = round(17 - 9.5 * math.cos(angle))
        p[y][x] = GREY
    line(p, 16, 17, 16, 9, GREY)  # minute hand
    line(p, 16, 17, 21, 20, DARK_RED)  # hour hand
    return p


def bell():
    p = blank()
    disc(p, 15.5, 4, 2, YELLOW)  # the knob
    for y in range(6, 25):
        half = 4 + (y - 6) * 7 // 18  # widening towards the mouth
        for x in range(16 - half - 1, 16 + half + 1):
            p[y][x] = YELLOW
        p[y][16 - half - 2] = GREY
        p[y][16 + half + 1] = GREY
    for x in range(2, 30):
        p[25][x] = GREY
        p[26][x] = GREY
    disc(p, 15.5, 29, 2.5, DARK_RED)  # the clapper
    return p


write_png("alarm-main.png", alarm_clock())
write_png("alarm-tray.png", bell())
