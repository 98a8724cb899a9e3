#!/usr/bin/env python3
"""Draws the main frame's toolbar, the tree pane's images and the program's icons, and writes them under res/shell/.

Run from the repository root: tools/make_shell_images.py  -> res/shell/*.bmp, res/shell/*.ico
The files are committed; run this again only after changing a drawing. Each drawing is 16 pixels wide; a letter is
a colour of PALETTE, '.' is the background (the toolbar's mask colour, or transparent in the icons).
"""
import os
import struct

PALETTE = {
    'k': (0, 0, 0), 'w': (255, 255, 255), 'g': (128, 128, 128), 'l': (224, 224, 224),
    'b': (0, 0, 192), 'B': (96, 160, 255), 'n': (0, 0, 128), 'r': (192, 0, 0), 'R': (255, 96, 96),
    'v': (0, 128, 0), 'V': (96, 208, 96), 'y': (255, 208, 0), 'Y': (255, 240, 160), 'o': (200, 120, 0),
    'c': (0, 128, 160), 'p': (128, 0, 128),
}
MASK = (192, 192, 192)   # the toolbar's transparent colour, 0xC0C0C0

SAVE = [
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kbkwwwwwwwwkbk.",
    ".kbkwwwwwwwwkbk.",
    ".kbkwwwwwwwwkbk.",
    ".kbkwwwwwwwwkbk.",
    ".kbbkkkkkkkkbbk.",
    ".kbbbbbbbbbbbbk.",
    ".kbbkkkkkkkkbbk.",
    ".kbbkllkkllkbbk.",
    ".kbbkllkkllkbbk.",
    ".kbbkllkkllkbbk.",
    "..kkkkkkkkkkkkk.",
    "................",
    "................",
]
WEB = [
    "................",
    ".....kkkkkk.....",
    "...kkBBvvBBkk...",
    "..kBBvvvvBBBBk..",
    "..kBvvvvvBBBBk..",
    ".kBBBvvvBBBvvBk.",
    ".kBBBBvBBBvvvvk.",
    ".kBBBBBBBvvvvvk.",
    ".kBBBBBBBBvvvBk.",
    ".kBvvBBBBBBvvBk.",
    "..kvvvvBBBBBBk..",
    "..kBvvvBBBBBBk..",
    "...kkBvBBBBkk...",
    ".....kkkkkk.....",
    "................",
]
PRINT = [
    "................",
    "....kkkkkkkk....",
    "....kwwwwwwk....",
    "....kwkkkkwk....",
    "....kwwwwwwk....",
    ".kkkkkkkkkkkkkk.",
    "kllllllllllllllk",
    "kllllllllllvvllk",
    "kllllllllllllllk",
    "kggggggggggggggk",
    "kgkwwwwwwwwwwkgk",
    ".kkwkkkkkkkkwkk.",
    "...kwwwwwwwwk...",
    "...kkkkkkkkkk...",
    "................",
]
BACKUP = [
    ".......vv.......",
    ".......vv.......",
    ".......vv.......",
    ".....vvvvvv.....",
    "......vvvv......",
    ".......vv.......",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kggggggggggggk.",
    ".kgllllllllllgk.",
    ".kggggggggggggk.",
    ".kggggggggvVggk.",
    ".kggggggggggggk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]
RESTORE = [
    ".......rr.......",
    "......rrrr......",
    ".....rrrrrr.....",
    ".......rr.......",
    ".......rr.......",
    ".......rr.......",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kggggggggggggk.",
    ".kgllllllllllgk.",
    ".kggggggggggggk.",
    ".kggggggggvVggk.",
    ".kggggggggggggk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]
IMPORT = [
    "................",
    ".........kkkkkk.",
    ".........kwwwwk.",
    "...bb....kwkkwk.",
    "....bb...kwwwwk.",
    ".bbbbbb..kwkkwk.",
    ".bbbbbbb.kwwwwk.",
    ".bbbbbb..kwkkwk.",
    "....bb...kwwwwk.",
    "...bb....kwkkwk.",
    ".........kwwwwk.",
    ".........kkkkkk.",
    "....kk..........",
    "...kwk..........",
    "................",
]
EXPORT = [
    "................",
    ".kkkkkk.........",
    ".kwwwwk.........",
    ".kwkkwk....vv...",
    ".kwwwwk.....vv..",
    ".kwkkwk..vvvvvv.",
    ".kwwwwk.vvvvvvv.",
    ".kwkkwk..vvvvvv.",
    ".kwwwwk.....vv..",
    ".kwkkwk....vv...",
    ".kwwwwk.........",
    ".kkkkkk.........",
    "................",
    "................",
    "................",
]
CALC = [
    "...kkkkkkkkkk...",
    "...kggggggggk...",
    "...kgVVVVVVgk...",
    "...kgVVkVkVgk...",
    "...kgVVVVVVgk...",
    "...kggggggggk...",
    "...kgwgwgwgrk...",
    "...kggggggggk...",
    "...kgwgwgwgrk...",
    "...kggggggggk...",
    "...kgwgwgwgbk...",
    "...kggggggggk...",
    "...kgwwwgwgbk...",
    "...kggggggggk...",
    "...kkkkkkkkkk...",
]
MAIL_INFO = [
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kYkwwwwwwwwkYk.",
    ".kwwkwwwwwwkwwk.",
    ".kwwwkwwwwkwwwk.",
    ".kwwwwkkkkwwwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kwwwwwwwwbbbbbb",
    ".kwwwwwwwwbbwwbb",
    ".kwwwwwwwwbbbbbb",
    ".kkkkkkkkkbbwwbb",
    "..........bbwwbb",
    "..........bbbbbb",
    "................",
]
MAIL_HELP = [
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kYkwwwwwwwwkYk.",
    ".kwwkwwwwwwkwwk.",
    ".kwwwkwwwwkwwwk.",
    ".kwwwwkkkkwwwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kwwwwwwwwrrrrrr",
    ".kwwwwwwwwrrwwrr",
    ".kwwwwwwwwrrrwrr",
    ".kkkkkkkkkrrrwrr",
    "..........rrrrrr",
    "..........rrrwrr",
    "................",
]
LAW = [
    "................",
    "..kkkkkkkkkkk...",
    "..krrrrrrrrrkk..",
    "..krrrryyrrrkk..",
    "..krrryrryrrkk..",
    "..krrrryrrrrkk..",
    "..krrryryrrrkk..",
    "..krrrryyrrrkk..",
    "..krrrrrrrrrkk..",
    "..krrryrryrrkk..",
    "..krrrryyrrrkk..",
    "..krrrrrrrrrkk..",
    "..kkkkkkkkkkkwk.",
    "...kkkkkkkkkkk..",
    "................",
]
MANUAL = [
    "................",
    "..kkkkkkkkkkk...",
    "..kbbbbbbbbbkk..",
    "..kbbbwwwbbbkk..",
    "..kbbwbbbwbbkk..",
    "..kbbbbbbwbbkk..",
    "..kbbbbbwbbbkk..",
    "..kbbbbwbbbbkk..",
    "..kbbbbwbbbbkk..",
    "..kbbbbbbbbbkk..",
    "..kbbbbwbbbbkk..",
    "..kbbbbbbbbbkk..",
    "..kkkkkkkkkkkwk.",
    "...kkkkkkkkkkk..",
    "................",
]
ABOUT = [
    "................",
    ".....kkkkkk.....",
    "...kkbbbbbbkk...",
    "..kbbbbwwbbbbk..",
    "..kbbbbwwbbbbk..",
    ".kbbbbbbbbbbbbk.",
    ".kbbbbwwwbbbbbk.",
    ".kbbbbbwwbbbbbk.",
    ".kbbbbbwwbbbbbk.",
    ".kbbbbbwwbbbbbk.",
    "..kbbbwwwwbbbk..",
    "..kbbbbbbbbbbk..",
    "...kkbbbbbbkk...",
    ".....kkkkkk.....",
    "................",
]
CLOSE_FORM = [
    "................",
    ".kkkkkkkkkkkkkk.",
    ".knnnnnnnnnnnnk.",
    ".kkkkkkkkkkkkkk.",
    ".kwwwwwwwwwwwwk.",
    ".kwwrrwwwwrrwwk.",
    ".kwwwrrwwrrwwwk.",
    ".kwwwwrrrrwwwwk.",
    ".kwwwwwrrwwwwwk.",
    ".kwwwwrrrrwwwwk.",
    ".kwwwrrwwrrwwwk.",
    ".kwwrrwwwwrrwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]
EXIT = [
    "................",
    "...kkkkkkkkk....",
    "...kooooooook...",
    "...kooooooook...",
    "...kooooooook...",
    "...kooooooook.r.",
    "...kooooyoook.rr",
    "...kooooyoorrrrr",
    "...kooooooook.rr",
    "...kooooooook.r.",
    "...kooooooook...",
    "...kooooooook...",
    "...kooooooook...",
    "...kkkkkkkkkk...",
    "................",
]
TOOLBAR = [SAVE, WEB, PRINT, BACKUP, RESTORE, IMPORT, EXPORT, CALC, MAIL_INFO, MAIL_HELP, LAW, MANUAL, ABOUT,
           CLOSE_FORM, EXIT]

# The tree pane's images: closed folder, leaf, the centre-form leaf, open folder; the button's icon.
FOLDER = [
    "................",
    "................",
    "..kkkkk.........",
    ".kYYYYYk........",
    ".kyyyyyykkkkkkk.",
    ".kyyyyyyyyyyyyk.",
    ".kyyyyyyyyyyyyk.",
    ".kyyyyyyyyyyyyk.",
    ".kyyyyyyyyyyyyk.",
    ".kyyyyyyyyyyyyk.",
    ".kyyyyyyyyyyyyk.",
    ".kyyyyyyyyyyyyk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
    "................",
]
FOLDER_OPEN = [
    "................",
    "................",
    "..kkkkk.........",
    ".kYYYYYk........",
    ".kyyyyyykkkkk...",
    ".kyyyyyyyyyyk...",
    ".kyykkkkkkkkkkk.",
    ".kykYYYYYYYYYYk.",
    ".kykYYYYYYYYYk..",
    ".kkYYYYYYYYYYk..",
    ".kkYYYYYYYYYk...",
    ".kYYYYYYYYYYk...",
    ".kkkkkkkkkkkk...",
    "................",
    "................",
    "................",
]
LEAF = [
    "................",
    "..kkkkkkkkk.....",
    "..kwwwwwwwkk....",
    "..kwkkkkwwkwk...",
    "..kwwwwwwwkkkk..",
    "..kwkkkkkkwwwk..",
    "..kwwwwwwwwwwk..",
    "..kwkkkkkkkkwk..",
    "..kwwwwwwwwwwk..",
    "..kwbbwbbwbbwk..",
    "..kwwwwwwwwwwk..",
    "..kwbbwbbwbbwk..",
    "..kwwwwwwwwwwk..",
    "..kkkkkkkkkkkk..",
    "................",
    "................",
]
LEAF_CONF = [
    "................",
    "..kkkkkkkkk.....",
    "..kwwwwwwwkk....",
    "..kwkkkkwwkwk...",
    "..kwwwwwwwkkkk..",
    "..kwkkkkkkwwwk..",
    "..kwwwwwwwwwwk..",
    "..kwkkkkkkkkwk..",
    "..kwwwwwwwwwvk..",
    "..kwkkkkkkwvvk..",
    "..kwwwvwwwvvwk..",
    "..kwwwvvwvvwwk..",
    "..kwwwwvvvwwwk..",
    "..kkkkkkvkkkkk..",
    "................",
    "................",
]
CARICAMENTO = [
    "................",
    ".kkkkkkkkkkkk...",
    ".kwwwwwwwwwwk...",
    ".kwkkwkkkwwwk...",
    ".kwwwwwwwwwwk...",
    ".kwkkwkkkwwwk...",
    ".kwwwwwwwwwwk...",
    ".kwkkwkkkw.rr...",
    ".kwwwwwwww.rrr..",
    ".kwkkwkkk..rrrr.",
    ".kwwwwwww.rrrr..",
    ".kkkkkkkk.rrr...",
    "..........rr....",
    ".........kk.....",
    "................",
    "................",
]
APP = [
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kbbbbbbbbbbbbk.",
    ".kbwwbbbbbbwwbk.",
    ".kbbwwbbbbwwbbk.",
    ".kbbbwwbbwwbbbk.",
    ".kbbbbwwwwbbbbk.",
    ".kbbbbbwwbbbbbk.",
    ".kyyyyyyyyyyyyk.",
    ".kyvvyyyyyyyyyk.",
    ".kyvvyyvvyyyyyk.",
    ".kyvvyyvvyyvvyk.",
    ".kyvvyyvvyyvvyk.",
    ".kyyyyyyyyyyyyk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]

UPD_INFO = [
    "................",
    ".....kkkkkk.....",
    "...kkbbbbbbkk...",
    "..kbbbbwwbbbbk..",
    "..kbbbbwwbbbbk..",
    ".kbbbbbbbbbbbbk.",
    ".kbbbbwwwbbbbbk.",
    ".kbbbbbwwbbbbbk.",
    ".kbbbbbwwbbbbbk.",
    ".kbbbbbwwbbbbbk.",
    "..kbbbbwwbbbbk..",
    "..kbbbwwwwbbbk..",
    "...kkbbbbbbkk...",
    ".....kkkkkk.....",
    "................",
    "................",
]
UPD_WARNING = [
    "................",
    ".......kk.......",
    "......kyyk......",
    "......kyyk......",
    ".....kyyyyk.....",
    ".....kykkyk.....",
    "....kyykkyyk....",
    "....kyykkyyk....",
    "...kyyykkyyyk...",
    "...kyyykkyyyk...",
    "..kyyyyyyyyyyk..",
    "..kyyyykkyyyyk..",
    ".kyyyyykkyyyyyk.",
    ".kyyyyyyyyyyyyk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]
UPD_ERROR = [
    "................",
    ".....kkkkkk.....",
    "...kkrrrrrrkk...",
    "..krrrrrrrrrrk..",
    "..krwwrrrrwwrk..",
    ".krrrwwrrwwrrrk.",
    ".krrrrwwwwrrrrk.",
    ".krrrrrwwrrrrrk.",
    ".krrrrwwwwrrrrk.",
    ".krrrwwrrwwrrrk.",
    "..krwwrrrrwwrk..",
    "..krrrrrrrrrrk..",
    "...kkrrrrrrkk...",
    ".....kkkkkk.....",
    "................",
    "................",
]

ICONS = {
    'app.ico': APP, 'caricamento.ico': CARICAMENTO, 'folder.ico': FOLDER, 'leaf.ico': LEAF,
    'leafconf.ico': LEAF_CONF, 'folderopen.ico': FOLDER_OPEN,
    'updinfo.ico': UPD_INFO, 'updwarning.ico': UPD_WARNING, 'upderror.ico': UPD_ERROR,
}


def pixel(ch, background):
    return background if ch == '.' else PALETTE[ch]


def check(art, height):
    assert len(art) == height, len(art)
    for row in art:
        assert len(row) == 16, row


def bmp_rows(rows):
    """24-bit bottom-up rows, each padded to four bytes."""
    out = b''
    for row in reversed(rows):
        line = b''.join(bytes((b, g, r)) for (r, g, b) in row)
        out += line + b'\0' * ((4 - len(line) % 4) % 4)
    return out


def write_bmp(path, rows):
    width, height = len(rows[0]), len(rows)
    data = bmp_rows(rows)
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 14 + len(header) + len(data), 0, 0, 14 + len(header)))
        f.write(header + data)


def write_ico(path, art):
    check(art, 16)
    color = bmp_rows([[pixel(ch, (0, 0, 0)) for ch in row] for row in art])
    mask = b''
    for row in reversed(art):
        bits = 0
        for x, ch in enumerate(row):
            if ch == '.':
                bits |= 0x8000 >> x
        mask += struct.pack('>H', bits) + b'\0\0'
    header = struct.pack('<IiiHHIIiiII', 40, 16, 32, 1, 24, 0, len(color) + len(mask), 0, 0, 0, 0)
    image = header + color + mask
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, 1))
        f.write(struct.pack('<BBBBHHII', 16, 16, 0, 0, 1, 24, len(image), 22))
        f.write(image)


def main():
    out = os.path.join('res', 'shell')
    os.makedirs(out, exist_ok=True)
    for art in TOOLBAR:
        check(art, 15)
    strip = [[] for _ in range(15)]
    for art in TOOLBAR:
        for y, row in enumerate(art):
            strip[y].extend(pixel(ch, MASK) for ch in row)
    write_bmp(os.path.join(out, 'toolbar.bmp'), strip)
    for name, art in ICONS.items():
        write_ico(os.path.join(out, name), art)


if __name__ == '__main__':
    main()
