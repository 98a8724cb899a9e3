"""Letter drawings to Windows bitmaps and icons, shared by the tools that draw the program's images.

A drawing is a list of equal rows; each letter is a colour of the caller's palette and '.' is the background
(a mask colour in bitmaps, transparent in icons).
"""
import struct


def check(art, height, width=16):
    assert len(art) == height, len(art)
    for row in art:
        assert len(row) == width, row


def pixel(palette, ch, background):
    return background if ch == '.' else palette[ch]


def bmp_rows(rows):
    """24-bit bottom-up rows of (r, g, b), each padded to four bytes."""
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


def write_ico(path, art, palette):
    """A 16 x 16 24-bit icon; '.' is transparent."""
    check(art, 16)
    color = bmp_rows([[pixel(palette, ch, (0, 0, 0)) for ch in row] for row in art])
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
