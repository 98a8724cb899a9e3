#!/usr/bin/env python3
"""Draws the customise sheet's button icons (42 plain 16x16 pictures in one strip) as a 24-bit bitmap.

Magenta is transparent. Run from anywhere: tools/make_customize_icons.py -> src/ui/res/customizeicons.bmp
The file is committed; run this again only after changing a drawing.
"""
import os
import struct

SIZE = 16
COUNT = 42
MAGENTA = (255, 0, 255)
COLOURS = [(192, 0, 0), (0, 128, 0), (0, 0, 192), (192, 128, 0), (128, 0, 128), (0, 128, 128), (64, 64, 64)]


def shape_inside(kind, x, y):
    cx, cy = x - 7.5, y - 7.5
    if kind == 0:   # square
        return 2 <= x <= 13 and 2 <= y <= 13
    if kind == 1:   # disc
        return cx * cx + cy * cy <= 36
    if kind == 2:   # triangle
        return y >= 2 and y <= 13 and abs(cx) <= (y - 1) / 2
    if kind == 3:   # diamond
        return abs(cx) + abs(cy) <= 6.5
    if kind == 4:   # ring
        return 16 <= cx * cx + cy * cy <= 42
    return abs(cx) <= 1.5 and 2 <= y <= 13 or abs(cy) <= 1.5 and 2 <= x <= 13   # cross


def draw():
    pixels = [[MAGENTA] * (SIZE * COUNT) for _ in range(SIZE)]
    for i in range(COUNT):
        kind, colour = i % 6, COLOURS[i // 6]
        for y in range(SIZE):
            for x in range(SIZE):
                if shape_inside(kind, x, y):
                    pixels[y][i * SIZE + x] = colour
    return pixels


def bmp_bytes(pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    rows = []
    for row in reversed(pixels):   # bottom-up
        data = b''.join(bytes((b, g, r)) for r, g, b in row)
        rows.append(data + b'\0' * (stride - len(data)))
    image = b''.join(rows)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(image), 0, 0, 14 + len(info))
    return header + info + image


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'ui', 'res')
    with open(os.path.join(folder, 'customizeicons.bmp'), 'wb') as f:
        f.write(bmp_bytes(draw()))


if __name__ == '__main__':
    main()
