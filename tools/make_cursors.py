#!/usr/bin/env python3
"""Draws the framework's own cursors (32x32, black with a white halo) and writes them as .cur files.

Run from the repository root: tools/make_cursors.py  -> src/ui/res/*.cur
The files are committed; run this again only after changing a drawing.
"""
import os
import struct

SIZE = 32
CLEAR, BLACK, WHITE = 0, 1, 2


def canvas():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def fill_rect(c, x0, y0, x1, y1):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            c[y][x] = BLACK


def frame_rect(c, x0, y0, x1, y1):
    fill_rect(c, x0, y0, x1, y0)
    fill_rect(c, x0, y1, x1, y1)
    fill_rect(c, x0, y0, x0, y1)
    fill_rect(c, x1, y0, x1, y1)


def fill_polygon(c, points):
    """Even-odd fill, sampled at pixel centres."""
    for y in range(SIZE):
        for x in range(SIZE):
            px, py, inside = x + 0.5, y + 0.5, False
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay > py) != (by > py) and px < ax + (py - ay) * (bx - ax) / (by - ay):
                    inside = not inside
            if inside:
                c[y][x] = BLACK


def draw_art(c, rows, left=0, top=0):
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == '#':
                c[top + y][left + x] = BLACK
            elif ch == 'o':
                c[top + y][left + x] = WHITE


def halo(c):
    """Every clear pixel next to a black one turns white, so the cursor shows on dark ground too."""
    out = [row[:] for row in c]
    for y in range(SIZE):
        for x in range(SIZE):
            if c[y][x] != CLEAR:
                continue
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    ny, nx = y + dy, x + dx
                    if 0 <= ny < SIZE and 0 <= nx < SIZE and c[ny][nx] == BLACK:
                        out[y][x] = WHITE
    return out


def transpose(c):
    return [[c[x][y] for x in range(SIZE)] for y in range(SIZE)]


ARROW = [(1, 1), (1, 17), (5, 13), (8, 19), (10, 18), (7, 12), (12, 12)]


def drag(with_plus):
    c = canvas()
    fill_polygon(c, ARROW)
    frame_rect(c, 11, 19, 23, 28)
    if with_plus:
        fill_rect(c, 16, 21, 18, 26)
        fill_rect(c, 13, 23, 21, 24)
    return halo(c), (1, 1)


def no_drop():
    c = canvas()
    cx, cy = 15.5, 15.5
    for y in range(SIZE):
        for x in range(SIZE):
            d2 = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2
            on_ring = 6.5 ** 2 <= d2 <= 9.5 ** 2
            on_slash = d2 <= 9.5 ** 2 and abs((x + 0.5 - cx) - (y + 0.5 - cy)) <= 2.2
            if on_ring or on_slash:
                c[y][x] = BLACK
    return halo(c), (15, 15)


def split_horizontal():
    c = canvas()
    fill_rect(c, 13, 6, 14, 25)
    fill_rect(c, 17, 6, 18, 25)
    fill_rect(c, 6, 15, 11, 16)
    fill_rect(c, 20, 15, 25, 16)
    fill_polygon(c, [(2, 16), (7, 11), (7, 21)])
    fill_polygon(c, [(30, 16), (25, 11), (25, 21)])
    return halo(c), (15, 15)


def customize_resize():
    """One edge between two arrows: a control's width dragged in customise mode."""
    c = canvas()
    fill_rect(c, 15, 6, 16, 25)
    fill_rect(c, 7, 15, 12, 16)
    fill_rect(c, 19, 15, 24, 16)
    fill_polygon(c, [(3, 16), (8, 11), (8, 21)])
    fill_polygon(c, [(29, 16), (24, 11), (24, 21)])
    return halo(c), (15, 15)


def split_vertical():
    c, hotspot = split_horizontal()
    return transpose(c), hotspot


HAND = [
    "....##..........",
    "...#oo#.........",
    "...#oo#.........",
    "...#oo#.........",
    "...#oo#.........",
    "...#oo###.......",
    "...#oo#oo###....",
    "...#oo#oo#oo##..",
    "##.#oo#oo#oo#o#.",
    "#o##oooooooo#o#.",
    "#oo#ooooooooooo#",
    ".#o#ooooooooooo#",
    "..#oooooooooooo#",
    "..#ooooooooooo#.",
    "...#oooooooooo#.",
    "...#oooooooooo#.",
    "....#oooooooo#..",
    "....#oooooooo#..",
    "....##########..",
]


def hand():
    c = canvas()
    draw_art(c, HAND, left=4, top=0)
    return c, (8, 1)


def cur_bytes(c, hotspot):
    xor_rows, and_rows = [], []
    for y in reversed(range(SIZE)):   # bottom-up
        xor_bits = and_bits = 0
        for x in range(SIZE):
            bit = 1 << (31 - x)
            if c[y][x] == CLEAR:
                and_bits |= bit
            elif c[y][x] == WHITE:
                xor_bits |= bit
        xor_rows.append(struct.pack('>I', xor_bits))
        and_rows.append(struct.pack('>I', and_bits))
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + b''.join(xor_rows) + b''.join(and_rows)
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


CURSORS = {
    'dragcopy.cur': lambda: drag(True),
    'dragmove.cur': lambda: drag(False),
    'dragnone.cur': no_drop,
    'hsplit.cur': split_horizontal,
    'vsplit.cur': split_vertical,
    'customizeresize.cur': customize_resize,
    'hand.cur': hand,
}


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'ui', 'res')
    os.makedirs(folder, exist_ok=True)
    for name, draw in CURSORS.items():
        pixels, hotspot = draw()
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(cur_bytes(pixels, hotspot))
        for row in pixels:
            print(''.join('.#o'[p] for p in row))
        print(name)


if __name__ == '__main__':
    main()
