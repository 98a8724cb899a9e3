#!/usr/bin/env python3
"""Draws the icons of the window commands that a maximised document window's system menu shows in the menu bar.

Run from anywhere: tools/make_window_icons.py -> src/ui/res/windowicons.bmp (64 x 16: restore, minimise, maximise,
close, each 16 x 16 on the mask colour silver). The file is committed; run this again only after changing a drawing.
"""
import os

from pixelart import check, pixel, write_bmp

SILVER = (192, 192, 192)
PALETTE = {'k': (0, 0, 0), 'b': (0, 0, 128)}

RESTORE = [
    '................',
    '................',
    '.....kkkkkkkk...',
    '.....kbbbbbbk...',
    '.....k......k...',
    '..kkkkkkkk..k...',
    '..kbbbbbbk..k...',
    '..k......k..k...',
    '..k......kkkk...',
    '..k......k......',
    '..k......k......',
    '..kkkkkkkk......',
    '................',
    '................',
    '................',
    '................',
]
MINIMIZE = [
    '................',
    '................',
    '................',
    '................',
    '................',
    '................',
    '................',
    '................',
    '................',
    '................',
    '....kkkkkk......',
    '....kkkkkk......',
    '................',
    '................',
    '................',
    '................',
]
MAXIMIZE = [
    '................',
    '................',
    '..kkkkkkkkkk....',
    '..kbbbbbbbbk....',
    '..kbbbbbbbbk....',
    '..k........k....',
    '..k........k....',
    '..k........k....',
    '..k........k....',
    '..k........k....',
    '..k........k....',
    '..kkkkkkkkkk....',
    '................',
    '................',
    '................',
    '................',
]
CLOSE = [
    '................',
    '................',
    '................',
    '...kk....kk.....',
    '....kk..kk......',
    '.....kkkk.......',
    '......kk........',
    '.....kkkk.......',
    '....kk..kk......',
    '...kk....kk.....',
    '................',
    '................',
    '................',
    '................',
    '................',
    '................',
]


def main():
    drawings = [RESTORE, MINIMIZE, MAXIMIZE, CLOSE]
    for art in drawings:
        check(art, 16)
    rows = [[pixel(PALETTE, ch, SILVER) for art in drawings for ch in art[y]] for y in range(16)]
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'ui', 'res')
    write_bmp(os.path.join(folder, 'windowicons.bmp'), rows)


if __name__ == '__main__':
    main()
