#!/usr/bin/env python3
"""Draws the tabbed workspace's cursors and command icons.

Run from the repository root: tools/make_workspace_art.py  -> src/ui/res/wsnewhoriz.cur, wsnewvert.cur,
workspace.bmp. The files are committed; run this again only after changing a drawing.

- wsnewhoriz.cur / wsnewvert.cur: the arrow with two frames one above the other / side by side, shown while a
  tab dragged out of its strip would open a new group below or beside its own.
- workspace.bmp: 32 x 16, two 16 x 16 icons (new group below, new group beside) on the mask colour magenta.
"""
import os
import struct

from make_cursors import ARROW, canvas, cur_bytes, fill_polygon, frame_rect, halo

MAGENTA, BLACK, WHITE, BLUE = (255, 0, 255), (0, 0, 0), (255, 255, 255), (128, 0, 0)   # BMP order: b, g, r


def new_group_cursor(stacked):
    c = canvas()
    fill_polygon(c, ARROW)
    if stacked:
        frame_rect(c, 13, 16, 27, 22)
        frame_rect(c, 13, 24, 27, 30)
    else:
        frame_rect(c, 12, 17, 19, 29)
        frame_rect(c, 21, 17, 28, 29)
    return halo(c), (1, 1)


def icon(stacked):
    """16 x 16: a white window with a dark title, split in two by a blue line."""
    px = [[MAGENTA] * 16 for _ in range(16)]
    for y in range(2, 14):
        for x in range(1, 15):
            edge = x in (1, 14) or y in (2, 13)
            px[y][x] = BLACK if edge else WHITE
    for x in range(2, 14):
        px[3][x] = BLUE
    if stacked:
        for x in range(2, 14):
            px[8][x] = BLUE
    else:
        for y in range(4, 13):
            px[y][7] = BLUE
    return px


def bmp_bytes(images):
    width, height = 16 * len(images), 16
    row_size = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):   # bottom-up
        row = b''.join(bytes(images[x // 16][y][x % 16]) for x in range(width))
        rows.append(row + b'\0' * (row_size - len(row)))
    pixels = b''.join(rows)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'ui', 'res')
    for name, stacked in (('wsnewhoriz.cur', True), ('wsnewvert.cur', False)):
        pixels, hotspot = new_group_cursor(stacked)
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(cur_bytes(pixels, hotspot))
    with open(os.path.join(folder, 'workspace.bmp'), 'wb') as f:
        f.write(bmp_bytes([icon(True), icon(False)]))


if __name__ == '__main__':
    main()
