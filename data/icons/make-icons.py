#!/usr/bin/env python3
"""Draws the reminder program's two icons as 32x32 PNG images in a 16-colour
palette: alarm-main.png (the program's own icon, an alarm clock) and
alarm-tray.png (the notification icon, a bell). The alarm clock is also the
icon of Vesk Tools in the desktop menu: hicolor/<n>x<n>/apps/vesktools.png in
every size of the icon theme, resampled from the 32x32 drawing, each output
pixel the area-weighted mean of the drawing's pixels it covers (crisp at 64,
128 and 256, smoothed below 32). Standard library only; run it in this folder
to write every file again."""

import math
import os
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
# The sizes the hicolor theme of the desktops asks applications for.
THEME_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]


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


def write_rgba_png(path, size, rows):
    """rows: size rows of size (r, g, b, a) tuples."""
    data = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(data, 9))
    png += chunk(b"IEND", b"")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(png)


def resample(pixels, size):
    """The drawing at size x size: each output pixel covers a square of the
    drawing; its colour is the mean of the covered pixels weighted by the
    covered area, with transparent pixels counting as no colour."""
    scale = SIZE / size
    rows = []
    for oy in range(size):
        row = []
        for ox in range(size):
            total = [0.0, 0.0, 0.0, 0.0]
            x0, x1, y0, y1 = ox * scale, (ox + 1) * scale, oy * scale, (oy + 1) * scale
            for y in range(int(y0), min(SIZE, math.ceil(y1))):
                for x in range(int(x0), min(SIZE, math.ceil(x1))):
                    area = (min(x1, x + 1) - max(x0, x)) * (min(y1, y + 1) - max(y0, y))
                    if pixels[y][x] is None or area <= 0:
                        continue
                    r, g, b = PALETTE[pixels[y][x]]
                    total = [total[0] + r * area, total[1] + g * area, total[2] + b * area, total[3] + area]
            covered = total[3]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = covered / (scale * scale)
                row.append(tuple(round(c / covered) for c in total[:3]) + (round(255 * alpha),))
        rows.append(row)
    return rows


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
for theme_size in THEME_SIZES:
    write_rgba_png(f"hicolor/{theme_size}x{theme_size}/apps/vesktools.png", theme_size,
                   resample(alarm_clock(), theme_size))
