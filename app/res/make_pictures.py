#!/usr/bin/env python3
"""Draws the program's pictures: the main window icon (a padlock, 32x32 and 16x16) and the
two 16x16 pictures of the status bar's image list (a key, a person), magenta as mask colour.
Each comes in true colour and as 16-colour and 256-colour images, for the 16- and 256-colour
displays of Windows 9x machines, which show no 32-bit icons: the icon holds all three depths,
the status bar pictures are three bitmaps. Writes korvane.ico, pictures.bmp, pictures_256.bmp
and pictures_16.bmp next to this script."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MAGENTA = (255, 0, 255)
# The 16 colours of every Windows display (the VGA palette), in their usual order.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


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


def nearest(colour, palette):
    """The index of the palette colour closest to `colour`."""
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def palette_for(bits, colours):
    """The palette of an image of `bits` per pixel: the VGA colours for 16-colour images (so
    they look the same on every display), the colours in use for 256-colour ones."""
    if bits == 4:
        return list(VGA)
    # Black first: an icon's masked pixels must be black, or the background shows tinted.
    palette = [(0, 0, 0)] + sorted(set(colours) - {(0, 0, 0)})
    assert len(palette) <= 256
    return palette + [(0, 0, 0)] * (256 - len(palette))


def pixel_rows(px, bits, palette):
    """The rows of an image bottom-up, each padded to 4 bytes; None pixels, which the icon's
    mask hides, become black (index 0 of both palettes)."""
    rows = []
    for line in reversed(px):
        if bits == 24 or bits == 32:
            row = b"".join(bytes((c[2], c[1], c[0]) + ((255,) if bits == 32 else ()))
                           if c is not None else bytes(bits // 8) for c in line)
        else:
            indexes = [nearest(c, palette) if c is not None else 0 for c in line]
            if bits == 8:
                row = bytes(indexes)
            else:
                row = bytes(indexes[i] << 4 | indexes[i + 1] for i in range(0, len(line), 2))
        rows.append(row + b"\0" * ((4 - len(row) % 4) % 4))
    return b"".join(rows)


def palette_bytes(palette):
    return b"".join(bytes((b, g, r, 0)) for r, g, b in palette)


def write_bmp(path, pictures, bits):
    """The pictures side by side in one bitmap of `bits` per pixel (24, 8 or 4)."""
    px = [sum((pic[y] for pic in pictures), []) for y in range(16)]
    palette = palette_for(bits, [c for row in px for c in row]) if bits < 24 else []
    data = palette_bytes(palette) + pixel_rows(px, bits, palette)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0,
                         14 + 40 + 4 * len(palette))
    info = struct.pack("<IiiHHIIiiII", 40, len(px[0]), 16, 1, bits, 0,
                       len(data) - 4 * len(palette), 2835, 2835, len(palette), 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def icon_image(px, bits):
    """One image of the icon: header, palette, colour bits, and the mask (1 where None)."""
    size = len(px)
    palette = palette_for(bits, [c for row in px for c in row if c is not None]) \
        if bits < 24 else []
    mask_rows = []
    for line in reversed(px):
        row = bytes(sum(0x80 >> b for b in range(8) if line[x + b] is None)
                    for x in range(0, size, 8))
        mask_rows.append(row + b"\0" * ((4 - len(row) % 4) % 4))
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0,
                       len(palette), 0)
    return info + palette_bytes(palette) + pixel_rows(px, bits, palette) + b"".join(mask_rows)


def write_ico(path, sizes, depths):
    entries = [(s, bits, icon_image(padlock(s), bits)) for bits in depths for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for s, bits, img in entries:
        colours = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", s, s, colours, 0, 1, bits, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(img for _, _, img in entries))


if __name__ == "__main__":
    write_ico(os.path.join(HERE, "korvane.ico"), [32, 16], [32, 8, 4])
    pictures = [key16(), person16()]
    write_bmp(os.path.join(HERE, "pictures.bmp"), pictures, 24)
    write_bmp(os.path.join(HERE, "pictures_256.bmp"), pictures, 8)
    write_bmp(os.path.join(HERE, "pictures_16.bmp"), pictures, 4)
