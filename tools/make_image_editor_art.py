#!/usr/bin/env python3
"""Draws the button image editor's tool images and cursors.

Run from anywhere: tools/make_image_editor_art.py  -> src/ui/res/imgedit*.bmp and imgedit*.cur
The files are committed; run this again only after changing a drawing.

The tool strip holds sixteen 16 x 16 images in the order of the editor's buttons: pencil, fill, undo, redo, pick
colour, line, copy, paste, rectangle, ellipse, clear, import, then the moves left, down, up, right. It is written
twice: 24 bits on silver (RGB 192, 192, 192, the mask colour) and 32 bits with per-pixel alpha.
"""
import os
import struct

from make_cursors import canvas, cur_bytes, halo

SILVER = (192, 192, 192)
PALETTE = {
    'k': (0, 0, 0),
    'g': (96, 96, 96),
    'w': (255, 255, 255),
    'y': (240, 200, 64),
    'r': (200, 32, 32),
    'b': (32, 64, 192),
    'c': (64, 160, 224),
    'n': (150, 100, 40),
}

TOOLS = [
    [  # pencil
        "............kk..",
        "...........kyyk.",
        "..........kyyyk.",
        ".........kyyyk..",
        "........kyyyk...",
        ".......kyyyk....",
        "......kyyyk.....",
        ".....kyyyk......",
        "....kyyyk.......",
        "...knyyk........",
        "...knnk.........",
        "..kknk..........",
        "..kkk...........",
        "................",
        "................",
        "................",
    ],
    [  # fill
        "......k.........",
        ".....kwk........",
        "....kwwwk.......",
        "...kwwwwwk......",
        "..kwwwwwwwk.....",
        ".kwwwwwwwwwkbb..",
        "..kwwwwwwwk.bbb.",
        "...kwwwwwk..bbb.",
        "....kwwwk...bbb.",
        ".....kwk....bbb.",
        "......k.....bbb.",
        "............bb..",
        "................",
        "................",
        "................",
        "................",
    ],
    [  # undo
        "................",
        "................",
        "....b...........",
        "...bb...........",
        "..bbbbbbbb......",
        ".bbbbbbbbbb.....",
        "..bbbbbbbbbb....",
        "...bb.....bbb...",
        "....b......bb...",
        "...........bb...",
        "...........bb...",
        "..........bbb...",
        "........bbbb....",
        "........bbb.....",
        "................",
        "................",
    ],
    None,  # redo: the undo arrow mirrored
    [  # pick colour
        "...........kkk..",
        "..........kkkkk.",
        "..........kkkkk.",
        "........kkkkkkk.",
        ".........kkkkk..",
        "........kwkkk...",
        ".......kwwwk....",
        "......kwwwk.k...",
        ".....kwwwk......",
        "....kwwwk.......",
        "...kwwwk........",
        "..kcwwk.........",
        "..kcck..........",
        ".kkkk...........",
        ".kk.............",
        "................",
    ],
    [  # line
        "................",
        ".............kk.",
        "............kk..",
        "...........kk...",
        "..........kk....",
        ".........kk.....",
        "........kk......",
        ".......kk.......",
        "......kk........",
        ".....kk.........",
        "....kk..........",
        "...kk...........",
        "..kk............",
        ".kk.............",
        "................",
        "................",
    ],
    [  # copy
        "kkkkkkk.........",
        "kwwwwwk.........",
        "kwkkkwk.........",
        "kwwwwwk.........",
        "kwkkkkkkkkkk....",
        "kwwwwkwwwwwkk...",
        "kwkkkkwkkkwkwk..",
        "kwwwwkwwwwwkkkk.",
        "kkkkkkwkkkwwwwk.",
        "......wwwwwwwwk.",
        "......kwkkkkkwk.",
        "......kwwwwwwwk.",
        "......kwkkkkkwk.",
        "......kwwwwwwwk.",
        "......kkkkkkkkk.",
        "................",
    ],
    [  # paste
        ".....kkkk.......",
        ".kkkkwggwkkkk...",
        "knnnkkkkkknnnk..",
        "knnnnnnnnnnnnk..",
        "knnnnnnnnnnnnk..",
        "knnnnnkkkkkkkkk.",
        "knnnnnkwwwwwwwkk",
        "knnnnnkwkkkkwkwk",
        "knnnnnkwwwwwwkkk",
        "knnnnnkwkkkkwwwk",
        "knnnnnkwwwwwwwwk",
        "knnnnnkwkkkkkkwk",
        "kkkkkkkwwwwwwwwk",
        "......kkkkkkkkkk",
        "................",
        "................",
    ],
    [  # rectangle
        "................",
        "................",
        "................",
        ".kkkkkkkkkkkkkk.",
        ".k............k.",
        ".k............k.",
        ".k............k.",
        ".k............k.",
        ".k............k.",
        ".k............k.",
        ".k............k.",
        ".k............k.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
        "................",
    ],
    [  # ellipse
        "................",
        "................",
        "................",
        ".....kkkkkk.....",
        "...kk......kk...",
        "..k..........k..",
        ".k............k.",
        ".k............k.",
        ".k............k.",
        ".k............k.",
        "..k..........k..",
        "...kk......kk...",
        ".....kkkkkk.....",
        "................",
        "................",
        "................",
    ],
    [  # clear
        "................",
        ".rr.........rr..",
        ".rrr.......rrr..",
        "..rrr.....rrr...",
        "...rrr...rrr....",
        "....rrr.rrr.....",
        ".....rrrrr......",
        "......rrr.......",
        ".....rrrrr......",
        "....rrr.rrr.....",
        "...rrr...rrr....",
        "..rrr.....rrr...",
        ".rrr.......rrr..",
        ".rr.........rr..",
        "................",
        "................",
    ],
    [  # import
        "................",
        "................",
        ".kkkk...........",
        "kyyyyk..........",
        "kyyyyykkkkkkk...",
        "kyyyyyyyyyyyk...",
        "kyykkkkkkkkkkkk.",
        "kyykyyyyyyyyyyk.",
        "kykyyyyyyyyyyk..",
        "kykyyyyyyyyyyk..",
        "kkyyyyyyyyyyk...",
        "kkyyyyyyyyyyk...",
        "kkkkkkkkkkkk....",
        "................",
        "................",
        "................",
    ],
]

LEFT = [
    "................",
    "................",
    "................",
    "................",
    "......k.........",
    ".....kk.........",
    "....kkkkkkkkk...",
    "...kkkkkkkkkk...",
    "....kkkkkkkkk...",
    ".....kk.........",
    "......k.........",
    "................",
    "................",
    "................",
    "................",
    "................",
]


def mirror(rows):
    return [row[::-1] for row in rows]


def turn(rows):
    """A quarter turn clockwise."""
    return [''.join(rows[15 - x][y] for x in range(16)) for y in range(16)]


def images():
    tools = list(TOOLS)
    tools[3] = mirror(tools[2])
    up = turn(LEFT)
    right = mirror(LEFT)
    down = turn(right)
    return tools + [LEFT, down, up, right]


def strip(rows_list, bits):
    """The images side by side as a bottom-up .bmp of 24 bits (silver ground) or 32 bits (alpha)."""
    width, height = 16 * len(rows_list), 16
    pixels = [[None] * width for _ in range(height)]
    for i, rows in enumerate(rows_list):
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                pixels[y][16 * i + x] = PALETTE.get(ch)
    out = bytearray()
    stride = (width * bits // 8 + 3) & ~3
    for y in reversed(range(height)):
        line = bytearray()
        for x in range(width):
            p = pixels[y][x]
            if bits == 24:
                r, g, b = p or SILVER
                line += bytes([b, g, r])
            else:
                r, g, b = p or (0, 0, 0)
                line += bytes([b, g, r, 255 if p else 0])
        out += line + bytes(stride - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, len(out), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(out), 0, 0, 14 + 40)
    return file_header + header + bytes(out)


CURSOR_ART = {
    'imgeditline.cur': (["       #       ",
                         "       #       ",
                         "       #       ",
                         "       #       ",
                         "       #       ",
                         "               ",
                         "#####     #####",
                         "               ",
                         "       #       ",
                         "       #       ",
                         "       #       ",
                         "       #       ",
                         "       #       "], (7, 6)),
    'imgeditpick.cur': (TOOLS[4], (1, 14)),
    'imgeditfill.cur': (TOOLS[1], (13, 11)),
    'imgeditpencil.cur': (TOOLS[0], (2, 12)),
}


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'ui', 'res')
    art = images()
    with open(os.path.join(folder, 'imgedittools.bmp'), 'wb') as f:
        f.write(strip(art, 24))
    with open(os.path.join(folder, 'imgedittools32.bmp'), 'wb') as f:
        f.write(strip(art, 32))
    for name, (rows, hotspot) in CURSOR_ART.items():
        c = canvas()
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch not in ' .':
                    c[y][x] = 1   # black
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(cur_bytes(halo(c), hotspot))


if __name__ == '__main__':
    main()
