#!/usr/bin/env python3
"""Draws the sort-arrow icons of the program's list headers (16x16, 32 bits with a mask) and writes them as .ico.

Run from the repository root: tools/make_sort_arrows.py  -> src/controls/res/sort*.ico
The files are committed; run this again only after changing a drawing.
Ascending points up, descending down; the dots under the arrow give the sort key (1 to 3).
"""
import os
import struct

SIZE = 16
CLEAR = None
DARK = (0x40, 0x40, 0x40)
FILL = (0x90, 0x90, 0x90)


def canvas():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def arrow(ascending, key):
    c = canvas()
    top, height = 3, 6
    for row in range(height):
        # Row 0 is the apex when ascending, the base when descending.
        half = row if ascending else height - 1 - row
        y = top + row
        for x in range(7 - half, 9 + half):
            edge = x in (7 - half, 8 + half) or row == (height - 1 if ascending else 0)
            c[y][x] = DARK if edge else FILL
    for k in range(key):
        x = 8 - key + 2 * k
        c[12][x] = DARK
    return c


def ico_bytes(c):
    pixels = b''
    for y in reversed(range(SIZE)):   # bottom-up
        for x in range(SIZE):
            p = c[y][x]
            pixels += bytes([0, 0, 0, 0]) if p is CLEAR else bytes([p[2], p[1], p[0], 255])
    mask = b''
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            if c[y][x] is CLEAR:
                bits |= 1 << (31 - x)
        mask += struct.pack('>I', bits)   # rows padded to 32 bits
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + pixels + mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


ICONS = {
    'sortdesc1.ico': (False, 1),
    'sortasc1.ico': (True, 1),
    'sortdesc2.ico': (False, 2),
    'sortasc2.ico': (True, 2),
    'sortdesc3.ico': (False, 3),
    'sortasc3.ico': (True, 3),
}


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'controls', 'res')
    os.makedirs(folder, exist_ok=True)
    for name, (ascending, key) in ICONS.items():
        c = arrow(ascending, key)
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(ico_bytes(c))
        for row in c:
            print(''.join('.' if p is CLEAR else ('#' if p == DARK else 'o') for p in row))
        print(name)


if __name__ == '__main__':
    main()
