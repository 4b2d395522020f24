#!/usr/bin/env python3
"""Draws the program's pictures: the icon (32 x 32, 256 colours) and the wizard's key in a lock
(150 x 191). Run it after changing a drawing; it rewrites resources/pgwatch.ico and
resources/wizard.bmp, which are committed beside it."""
import math
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")


def padlock_icon():
    """A gold padlock with a steel shackle over a blue window; returns rows of palette indexes
    (top row first) and the palette."""
    palette = [(0, 0, 0)] * 256
    colours = {
        "clear": (255, 0, 255), "outline": (40, 40, 48), "gold": (230, 180, 40),
        "gold_light": (250, 215, 90), "gold_dark": (170, 120, 20), "steel": (160, 165, 175),
        "steel_light": (215, 220, 228), "hole": (20, 20, 20), "blue": (40, 90, 180),
        "blue_light": (120, 165, 230), "white": (250, 250, 250),
    }
    index = {}
    for i, (name, rgb) in enumerate(colours.items()):
        palette[i] = rgb
        index[name] = i
    size = 32
    px = [[index["clear"]] * size for _ in range(size)]
    # A browser window behind the lock.
    for y in range(2, 22):
        for x in range(1, 27):
            edge = y in (2, 21) or x in (1, 26)
            px[y][x] = index["outline"] if edge else (index["blue"] if y < 6 else index["white"])
    for x in range(3, 12):
        px[4][x] = index["blue_light"]
    # The shackle: a U of steel whose legs go down into the body.
    def shackle_distance(x, y):
        cx, top, legs_from = 20.5, 7.5, 12.5
        radius = legs_from - top
        if y <= legs_from:
            return abs(math.hypot(x - cx, y - legs_from) - radius)
        return min(abs(x - (cx - radius)), abs(x - (cx + radius)))
    for y in range(4, 18):
        for x in range(11, 31):
            d = shackle_distance(x, y)
            if d <= 1.3:
                px[y][x] = index["steel_light"] if x < 20 else index["steel"]
            elif d <= 2.1:
                px[y][x] = index["outline"]
    # The body.
    for y in range(16, 31):
        for x in range(11, 30):
            edge = y in (16, 30) or x in (11, 29)
            if edge:
                px[y][x] = index["outline"]
            elif y < 19:
                px[y][x] = index["gold_light"]
            elif y > 27:
                px[y][x] = index["gold_dark"]
            else:
                px[y][x] = index["gold"]
    # The keyhole.
    for y in range(20, 27):
        for x in range(18, 23):
            if (y < 23 and math.hypot(x - 20, y - 21.5) <= 1.8) or (y >= 23 and 19 <= x <= 21):
                px[y][x] = index["hole"]
    return px, palette, index["clear"]


def write_icon(path):
    px, palette, clear = padlock_icon()
    size = 32
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    xor = b"".join(bytes(px[y]) for y in reversed(range(size)))
    mask_rows = []
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if px[y][x] == clear else 0)
        mask_rows.append(struct.pack(">I", bits))
    image = header + pal + xor + b"".join(mask_rows)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8,
                                                          len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + image)


def key_in_lock(x, y):
    """Colour of the wizard picture at (x, y): a brass lock with a key in it, on a blue wall."""
    w, h = 150, 191
    shade = int(60 + 80 * y / h)
    colour = (shade // 3, shade // 2 + 20, shade + 60)
    def in_plate(px_, py_, left=25, top=40, right=125, bottom=175, r=14):
        dx = max(left + r - px_, 0, px_ - (right - r))
        dy = max(top + r - py_, 0, py_ - (bottom - r))
        return left <= px_ <= right and top <= py_ <= bottom and dx * dx + dy * dy <= r * r
    if in_plate(x - 5, y - 5):
        colour = tuple(c // 2 for c in colour)
    if in_plate(x, y):
        light = 1.0 - 0.35 * (x - 25) / 100 - 0.2 * (y - 40) / 135
        colour = (int(205 * light), int(160 * light), int(60 * light))
        if not in_plate(x - 2, y - 2):
            colour = (240, 210, 120)
        elif not in_plate(x + 2, y + 2):
            colour = (110, 80, 25)
    # Screws.
    for (sx, sy) in ((40, 55), (110, 55), (40, 160), (110, 160)):
        if math.hypot(x - sx, y - sy) <= 4:
            colour = (120, 110, 100) if abs(x - sx) > 1 else (60, 55, 50)
    # Keyhole with the key's blade in it.
    if math.hypot(x - 75, y - 100) <= 11 or (69 <= x <= 81 and 100 <= y <= 130):
        colour = (15, 12, 10)
    # Key: blade going into the hole, bow above it, to the upper right.
    t = (x - 75) + (100 - y)
    along = ((x - 75) - (100 - y)) / 2
    if 0 <= t <= 70 and abs(along) <= 3.5 and not (x < 75 and y > 100):
        colour = (200, 205, 215) if along < 1 else (150, 155, 165)
    if math.hypot(x - 122, y - 53) <= 18 and math.hypot(x - 122, y - 53) >= 8:
        colour = (210, 215, 225) if x + y < 122 + 53 else (140, 145, 155)
    return colour


def write_wizard(path):
    w, h = 150, 191
    row_size = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(h)):
        row = bytearray()
        for x in range(w):
            r, g, b = key_in_lock(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        pixels += row
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    with open(path, "wb") as f:
        f.write(file_header + info + pixels)


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "pgwatch.ico"))
    write_wizard(os.path.join(HERE, "wizard.bmp"))
