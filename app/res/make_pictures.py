#!/usr/bin/env python3
"""Draws the program's pictures: the main window icon (a padlock, 32x32 and 16x16) and the
two 16x16 pictures of the status bar's image list (a key, a person), magenta as mask colour.
Writes korvane.ico and pictures.bmp next to this script."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MAGENTA = (255, 0, 255)


def padlock(size):
    s = size / 32.0
    px = [[None] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            fx, fy = x / s, y / s
            # Shackle: a ring in the upper half.
            dx, dy = fx - 16, fy - 13
            r = (dx * dx + dy * dy) ** 0.5
            if fy < 16 and 6.5 <= r <= 10:
                px[y][x] = (150, 150, 160)
            # Body.
            if 5 <= fx < 27 and 14 <= fy < 30:
                edge = fx < 6.5 or fx >= 25.5 or fy < 15.5 or fy >= 28.5
                px[y][x] = (120, 70, 0) if edge else (220, 170, 20)
            # Keyhole.
            if (fx - 16) ** 2 + (fy - 20) ** 2 <= 5 or (15 <= fx < 17 and 20 <= fy < 26):
                px[y][x] = (40, 20, 0)
    return px


def picture16(colour_at):
    """A 16x16 picture: colour_at(x, y) gives a pixel's colour, or None for the mask colour."""
    return [[colour_at(x, y) or MAGENTA for x in range(16)] for y in range(16)]


def key16():
    def colour_at(x, y):
        ring = 2 < (x - 4.5) ** 2 + (y - 7.5) ** 2 <= 12
        shaft = 7 <= x <= 15 and 7 <= y <= 8
        bits = x in (12, 14) and 9 <= y <= 10
        return (200, 160, 0) if ring or shaft or bits else None

    return picture16(colour_at)


def person16():
    def colour_at(x, y):
        if 9 <= y <= 15 and abs(x - 7.5) <= (y - 7) * 0.9:
            return (0, 70, 170)
        if (x - 7.5) ** 2 + (y - 4.5) ** 2 <= 9:
            return (230, 180, 140)
        return None

    return picture16(colour_at)


def write_bmp(path, pictures):
    width, height = 16 * len(pictures), 16
    row = width * 3
    pad = (4 - row % 4) % 4
    data = b""
    for y in reversed(range(height)):
        for pic in pictures:
            for x in range(16):
                r, g, b = pic[y][x]
                data += bytes((b, g, r))
        data += b"\0" * pad
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def icon_image(px):
    size = len(px)
    xor = b""
    mask_rows = []
    for y in reversed(range(size)):
        bits = 0
        mask = b""
        for x in range(size):
            c = px[y][x]
            if c is None:
                xor += b"\0\0\0\0"
                bits = bits << 1 | 1
            else:
                xor += bytes((c[2], c[1], c[0], 255))
                bits = bits << 1
            if x % 8 == 7:
                mask += bytes((bits,))
                bits = 0
        mask += b"\0" * ((4 - len(mask) % 4) % 4)
        mask_rows.append(mask)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return info + xor + b"".join(mask_rows)


def write_ico(path, sizes):
    images = [icon_image(padlock(s)) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    write_ico(os.path.join(HERE, "korvane.ico"), [32, 16])
    write_bmp(os.path.join(HERE, "pictures.bmp"), [key16(), person16()])
