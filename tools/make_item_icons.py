#!/usr/bin/env python3
"""Draws the icons of the chapter-item buttons of the per-responsible forms ("Modifica voce", "Elimina voce") and
writes them under res/forms/. The "Aggiungi voce" button uses the program's loading icon (191). Draws also the
icons of the add, change and delete buttons of the chapter and centre lists, under res/lists/: a list sheet with a
plus, a pencil or a cross.

Run from the repository root: tools/make_item_icons.py  -> res/forms/*.ico, res/lists/*.ico
The files are committed; run this again only after changing a drawing. Each drawing is 16 by 16 pixels; a letter
is a colour of PALETTE, '.' is transparent.
"""
import os

from pixelart import write_ico

PALETTE = {
    'k': (0, 0, 0), 'w': (255, 255, 255), 'g': (128, 128, 128), 'y': (255, 208, 0), 'o': (200, 120, 0),
    'r': (192, 0, 0), 'R': (255, 96, 96), 'p': (255, 160, 160),
    'b': (0, 64, 160), 'l': (200, 220, 255), 'G': (0, 140, 0), 'L': (96, 208, 96),
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
LIST_ADD = [
    "kkkkkkkkkkk.....",
    "kwwwwwwwwwk.....",
    "kbbbwbbbbwk.....",
    "kwwwwwwwwwk.....",
    "kbbbwbbbbwk.....",
    "kwwwwwwwwwk.....",
    "kbbbwbbbbwk.....",
    "kwwwwwwwkkkkk...",
    "kbbbwbbbkGLLk...",
    "kwwwwwwwkGLLk...",
    "kkkkkkkkkGLLkkkk",
    "......kGGGLLLLLk",
    "......kGLLLLLLLk",
    "......kkkkGLLkkk",
    ".........kGLLk..",
    ".........kkkkk..",
]
LIST_MODIFY = [
    "kkkkkkkkkkk.....",
    "kwwwwwwwwwk.....",
    "kbbbwbbbbwk.....",
    "kwwwwwwwwwk.kk..",
    "kbbbwbbbbwkkRRk.",
    "kwwwwwwwwwkpRRRk",
    "kbbbwbbbbkykpRk.",
    "kwwwwwwwkyyyk.k.",
    "kbbbwbbkyyyk....",
    "kwwwwwkyyyk.....",
    "kkkkkkooyk......",
    ".....kwook......",
    "....kwwkk.......",
    "....kkk.........",
    "................",
    "................",
]
LIST_DELETE = [
    "kkkkkkkkkkk.....",
    "kwwwwwwwwwk.....",
    "kbbbwbbbbwk.....",
    "kwwwwwwwwwk.....",
    "kbbbwbbbbwk.....",
    "kwwwwwwwwwk.....",
    "kbbbwbbbbwk.....",
    "kwwwwwwrr...rr..",
    "kbbbwbbrRr.rRr..",
    "kwwwwwwwrRrRr...",
    "kkkkkkkkkrRr....",
    "........rRrRr...",
    ".......rRr.rRr..",
    ".......rr...rr..",
    "................",
    "................",
]
ICONS = {
    'forms': {'voce_modify.ico': MODIFY, 'voce_delete.ico': DELETE},
    'lists': {'list_add.ico': LIST_ADD, 'list_modify.ico': LIST_MODIFY, 'list_delete.ico': LIST_DELETE},
}


def main():
    for folder, icons in ICONS.items():
        out = os.path.join('res', folder)
        os.makedirs(out, exist_ok=True)
        for name, art in icons.items():
            write_ico(os.path.join(out, name), art, PALETTE)


if __name__ == '__main__':
    main()
