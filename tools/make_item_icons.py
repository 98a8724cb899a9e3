#!/usr/bin/env python3
"""Draws the icons of the chapter-item buttons of the per-responsible forms ("Modifica voce", "Elimina voce") and
writes them under res/forms/. The "Aggiungi voce" button uses the program's loading icon (191).

Run from the repository root: tools/make_item_icons.py  -> res/forms/*.ico
The files are committed; run this again only after changing a drawing. Each drawing is 16 by 16 pixels; a letter
is a colour of PALETTE, '.' is transparent.
"""
import os

from pixelart import write_ico

PALETTE = {
    'k': (0, 0, 0), 'w': (255, 255, 255), 'g': (128, 128, 128), 'y': (255, 208, 0), 'o': (200, 120, 0),
    'r': (192, 0, 0), 'R': (255, 96, 96), 'p': (255, 160, 160),
}

MODIFY = [
    "................",
    "...........kk...",
    "..........kRRk..",
    ".........kpRRRk.",
    "........kykpRk..",
    ".......kyyyk.k..",
    "......kyyyk.....",
    ".....kyyyk......",
    "....kyyyk.......",
    "...kyyyk........",
    "..kooyk.........",
    "..kwook.........",
    ".kwwkk..........",
    ".kkk............",
    "................",
    "................",
]
DELETE = [
    "................",
    "................",
    "..rr.......rr...",
    "..rRr.....rRr...",
    "...rRr...rRr....",
    "....rRr.rRr.....",
    ".....rRrRr......",
    "......rRr.......",
    ".....rRrRr......",
    "....rRr.rRr.....",
    "...rRr...rRr....",
    "..rRr.....rRr...",
    "..rr.......rr...",
    "................",
    "................",
    "................",
]
ICONS = {'voce_modify.ico': MODIFY, 'voce_delete.ico': DELETE}


def main():
    out = os.path.join('res', 'forms')
    os.makedirs(out, exist_ok=True)
    for name, art in ICONS.items():
        write_ico(os.path.join(out, name), art, PALETTE)


if __name__ == '__main__':
    main()
