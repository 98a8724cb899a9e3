#!/usr/bin/env python3
"""Draws the docking framework's bitmaps and writes them as 24-bit .bmp files.

Run from anywhere: tools/make_docking_art.py  -> src/ui/res/dock*.bmp and res/navpane.bmp
The files are committed; run this again only after changing a drawing.

Pure green, RGB(0, 255, 0), is transparent in every sheet. The marker windows take their shape from the
pixels that are not black, so nothing visible here is pure black: outlines use a dark grey.
"""
import os
import struct

GREEN = (0, 255, 0)
WHITE = (255, 255, 255)
DARK = (48, 48, 56)


class Image:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[GREEN] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        """Fills [x0, x1) x [y0, y1)."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.fill(x0, y0, x1, y0 + 1, colour)
        self.fill(x0, y1 - 1, x1, y1, colour)
        self.fill(x0, y0, x0 + 1, y1, colour)
        self.fill(x1 - 1, y0, x1, y1, colour)

    def gradient(self, x0, y0, x1, y1, top, bottom):
        span = max(y1 - y0 - 1, 1)
        for y in range(y0, y1):
            t = (y - y0) / span
            colour = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
            self.fill(x0, y, x1, y + 1, colour)

    def triangle(self, points, colour):
        """Even-odd fill sampled at pixel centres."""
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            for x in range(int(min(xs)), int(max(xs)) + 1):
                px, py, inside = x + 0.5, y + 0.5, False
                for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                    if (ay > py) != (by > py) and px < ax + (py - ay) * (bx - ax) / (by - ay):
                        inside = not inside
                if inside:
                    self.put(x, y, colour)

    def bmp(self):
        stride = (self.width * 3 + 3) & ~3
        rows = []
        for y in reversed(range(self.height)):
            row = b''.join(bytes((b, g, r)) for r, g, b in self.pixels[y])
            rows.append(row + b'\0' * (stride - self.width * 3))
        image = b''.join(rows)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
        header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(image), 0, 0, 14 + len(info))
        return header + info + image


# Colours of a marker sheet: border and arrow, the face gradient, and the hot face.
SCHEMES = {
    'blue': {'border': (49, 106, 197), 'arrow': (0, 45, 150), 'face': (WHITE, (214, 228, 250))},
    'olive': {'border': (117, 141, 94), 'arrow': (81, 94, 51), 'face': (WHITE, (226, 231, 191))},
    'silver': {'border': (124, 124, 148), 'arrow': (84, 84, 117), 'face': (WHITE, (223, 223, 234))},
}
HOT_FACE = ((255, 242, 200), (255, 200, 120))


def window_glyph(img, x, y, w, h, colour):
    """A small window: frame and a title bar two pixels high."""
    img.fill(x, y, x + w, y + h, WHITE)
    img.frame(x, y, x + w, y + h, colour)
    img.fill(x, y, x + w, y + 2, colour)


def arrow(img, cx, cy, direction, colour):
    """A solid arrow head 7 wide pointing to the side."""
    shapes = {
        'up': [(cx - 3.5, cy + 2), (cx + 3.5, cy + 2), (cx, cy - 2)],
        'down': [(cx - 3.5, cy - 2), (cx + 3.5, cy - 2), (cx, cy + 2)],
        'left': [(cx + 2, cy - 3.5), (cx + 2, cy + 3.5), (cx - 2, cy)],
        'right': [(cx - 2, cy - 3.5), (cx - 2, cy + 3.5), (cx + 2, cy)],
    }
    img.triangle(shapes[direction], colour)


def marker_piece(img, rect, direction, scheme, hot):
    """A framed box with a window glyph and an arrow toward its side; one transparent pixel all round, so that
    pieces that touch in the sheet stay apart."""
    left, top, right, bottom = rect
    x0, y0, x1, y1 = left + 1, top + 1, right - 1, bottom - 1
    img.gradient(x0, y0, x1, y1, *(HOT_FACE if hot else scheme['face']))
    img.frame(x0, y0, x1, y1, scheme['border'])
    # Corners cut for a softer box.
    for x, y in ((x0, y0), (x1 - 1, y0), (x0, y1 - 1), (x1 - 1, y1 - 1)):
        img.put(x, y, GREEN)
    cx, cy = (x0 + x1) // 2, (y0 + y1) // 2
    if direction == 'tab':
        window_glyph(img, cx - 8, cy - 7, 16, 12, scheme['arrow'])
        img.fill(cx - 8, cy + 5, cx - 2, cy + 8, scheme['arrow'])
        return
    if direction == 'centre':
        return
    vertical = direction in ('up', 'down')
    gw, gh = (13, 9) if vertical else (9, 13)
    offset = {'up': (0, 4), 'down': (0, -4), 'left': (4, 0), 'right': (-4, 0)}[direction]
    window_glyph(img, cx - gw // 2 + offset[0], cy - gh // 2 + offset[1], gw, gh, scheme['arrow'])
    tip = {'up': (cx, y0 + 5), 'down': (cx, y1 - 6), 'left': (x0 + 5, cy), 'right': (x1 - 6, cy)}[direction]
    arrow(img, tip[0], tip[1], direction, scheme['arrow'])


def centre_background(size, scheme, hot=False, img=None, origin=(0, 0)):
    """The square that joins the four arrows of a centre marker."""
    img = img or Image(size, size)
    ox, oy = origin
    img.gradient(ox + 1, oy + 1, ox + size - 1, oy + size - 1, *(HOT_FACE if hot else ((236, 236, 236), (200, 200, 206))))
    img.frame(ox + 1, oy + 1, ox + size - 1, oy + size - 1, scheme['border'])
    for x, y in ((ox + 1, oy + 1), (ox + size - 2, oy + 1), (ox + 1, oy + size - 2), (ox + size - 2, oy + size - 2)):
        img.put(x, y, GREEN)
    return img


# Style 0 sheets (bitmaps 9904-9906): (piece, source rectangle, direction, hot).
STYLE0 = [
    ((0, 0, 43, 30), 'up', False), ((30, 33, 60, 76), 'left', False),
    ((43, 0, 86, 30), 'down', False), ((0, 33, 30, 76), 'right', False),
    ((0, 76, 43, 106), 'up', True), ((90, 33, 120, 76), 'left', True),
    ((43, 76, 86, 106), 'down', True), ((60, 33, 90, 76), 'right', True),
    ((86, 0, 119, 33), 'tab', False), ((86, 76, 119, 109), 'tab', True),
]

# Style 1 sheet (bitmap 9910).
STYLE1 = [
    ((61, 29, 90, 59), 'up', False), ((90, 30, 120, 59), 'left', False),
    ((91, 0, 120, 30), 'down', False), ((62, 0, 92, 29), 'right', False),
    ((61, 90, 90, 120), 'up', True), ((90, 91, 120, 120), 'left', True),
    ((91, 61, 120, 91), 'down', True), ((62, 61, 92, 90), 'right', True),
    ((120, 82, 148, 111), 'tab', False),
    ((0, 29, 29, 61), 'up', False), ((29, 32, 61, 61), 'left', False),
    ((32, 0, 61, 32), 'down', False), ((0, 0, 32, 29), 'right', False),
    ((0, 90, 29, 122), 'up', True), ((29, 93, 61, 122), 'left', True),
    ((32, 61, 61, 93), 'down', True), ((0, 61, 32, 90), 'right', True),
]


def style0_sheet(scheme):
    img = Image(120, 109)
    for rect, direction, hot in STYLE0:
        marker_piece(img, rect, direction, SCHEMES[scheme], hot)
    return img


def style1_sheet():
    img = Image(161, 122)
    scheme = SCHEMES['blue']
    # Two pieces share the column x = 91; it is the transparent edge of both.
    for rect, direction, hot in STYLE1:
        marker_piece(img, rect, direction, scheme, hot)
    centre_background(41, scheme, False, img, (120, 0))
    centre_background(41, scheme, True, img, (120, 41))
    return img


NAV_PANE = [
    "................",
    ".oooo...........",
    ".o++o...........",
    ".oooo...........",
    "..#.............",
    "..#..xxxx.......",
    "..####x+x.......",
    "..#..xxxx.......",
    "..#.............",
    "..#..xxxx.......",
    "..####x+x.......",
    "..#..xxxx.......",
    "..#.............",
    "..#..xxxx.......",
    "..####x+x.......",
    ".....xxxx.......",
]


def nav_pane_icon():
    """Bitmap 130: the navigation tree's pane icon, a root and three branches."""
    colours = {'o': (180, 120, 40), '#': (90, 90, 100), 'x': (40, 80, 160), '+': (250, 250, 250)}
    img = Image(16, 16)
    for y, row in enumerate(NAV_PANE):
        for x, ch in enumerate(row):
            if ch in colours:
                img.put(x, y, colours[ch])
    return img


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    outputs = {
        os.path.join(root, 'src', 'ui', 'res', 'dockcentre.bmp'): centre_background(43, SCHEMES['blue']),
        os.path.join(root, 'src', 'ui', 'res', 'dockblue.bmp'): style0_sheet('blue'),
        os.path.join(root, 'src', 'ui', 'res', 'dockolive.bmp'): style0_sheet('olive'),
        os.path.join(root, 'src', 'ui', 'res', 'docksilver.bmp'): style0_sheet('silver'),
        os.path.join(root, 'src', 'ui', 'res', 'dockmarkers.bmp'): style1_sheet(),
        os.path.join(root, 'res', 'navpane.bmp'): nav_pane_icon(),
    }
    for path, img in outputs.items():
        for row in img.pixels:
            assert (0, 0, 0) not in row, path
        with open(path, 'wb') as f:
            f.write(img.bmp())
        print(os.path.relpath(path, root), img.width, 'x', img.height)


if __name__ == '__main__':
    main()
