#!/usr/bin/env python3
"""Writes the applet's icon and glyph bitmaps into resources/.

Run by hand after changing a picture; the outputs are kept in the
repository, so the build needs no Python. Standard library only.

Every picture is 16 colours in the Windows default palette. Glyphs keep
their bottom-left pixel in the background colour (olive), the colour a
glyph button draws as transparent.
"""

import os
import struct
import sys

# The Windows 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)
BACK = OLIVE


class Picture:
    def __init__(self, width, height, fill=BACK):
        self.width = width
        self.height = height
        self.pixels = [[fill] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def get(self, x, y):
        return self.pixels[y][x]

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with the corners (x0, y0) and (x1, y1) included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.set(x, y0, colour)
            self.set(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.set(x0, y, colour)
            self.set(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for dy in range(width):
                for dx in range(width):
                    self.set(x + dx, y + dy, colour)

    def paste(self, other, left, top):
        for y in range(other.height):
            for x in range(other.width):
                self.set(left + x, top + y, other.get(x, y))

    def mirrored(self):
        out = Picture(self.width, self.height)
        for y in range(self.height):
            for x in range(self.width):
                out.set(self.width - 1 - x, y, self.get(x, y))
        return out

    def flipped(self):
        out = Picture(self.width, self.height)
        for y in range(self.height):
            for x in range(self.width):
                out.set(x, self.height - 1 - y, self.get(x, y))
        return out

    def transposed(self):
        out = Picture(self.height, self.width)
        for y in range(self.height):
            for x in range(self.width):
                out.set(y, x, self.get(x, y))
        return out

    def disabled(self):
        """The grey, engraved look of a disabled button's glyph."""
        out = Picture(self.width, self.height)
        shape = [(x, y) for y in range(self.height) for x in range(self.width)
                 if self.get(x, y) != BACK]
        for x, y in shape:
            out.set(x + 1, y + 1, WHITE)
        for x, y in shape:
            out.set(x, y, GRAY)
        return out


def rows_4bpp(picture):
    """Bottom-up rows, two pixels a byte, each row padded to 4 bytes."""
    data = bytearray()
    stride = ((picture.width * 4 + 31) // 32) * 4
    for y in range(picture.height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(picture.width):
            value = picture.get(x, y)
            if x % 2 == 0:
                row[x // 2] |= value << 4
            else:
                row[x // 2] |= value
        data += row
    return bytes(data)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 16)


def bmp_bytes(picture):
    pixels = rows_4bpp(picture)
    header = info_header(picture.width, picture.height, len(pixels)) + palette_bytes()
    offset = 14 + len(header)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return file_header + header + pixels


def ico_bytes(picture, transparent):
    """One image; pixels equal to `transparent` are masked out and black."""
    shown = Picture(picture.width, picture.height)
    mask = bytearray()
    mask_stride = ((picture.width + 31) // 32) * 4
    for y in range(picture.height):
        for x in range(picture.width):
            c = picture.get(x, y)
            shown.set(x, y, BLACK if c == transparent else c)
    for y in range(picture.height - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(picture.width):
            if picture.get(x, y) == transparent:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    pixels = rows_4bpp(shown)
    image = (info_header(picture.width, picture.height * 2, len(pixels) + len(mask))
             + palette_bytes() + pixels + bytes(mask))
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", picture.width, picture.height, 16, 0, 1, 4, len(image),
                        6 + 16)
    return directory + entry + image


# ---- The pictures -----------------------------------------------------------

def arrow_up():
    """Placement at the top edge: the edge as a bar, an arrow towards it."""
    p = Picture(13, 13)
    p.rect(1, 0, 11, 0, BLUE)
    for i in range(5):
        p.rect(6 - i, 2 + i, 6 + i, 2 + i, BLACK)
    p.rect(5, 7, 7, 11, BLACK)
    return p


def arrow_up_left():
    """Placement in the top left corner: the corner, an arrow towards it."""
    p = Picture(13, 13)
    p.rect(1, 0, 8, 0, BLUE)
    p.rect(0, 1, 0, 8, BLUE)
    for y in range(2, 13):
        for x in range(2, 13):
            head = x + y <= 9
            shaft = abs(x - y) <= 1 and x + y >= 8 and x <= 10 and y <= 10
            if head or shaft:
                p.set(x, y, BLACK)
    return p


def centre_mark():
    p = Picture(13, 13)
    p.frame(3, 3, 9, 9, BLUE)
    p.rect(5, 5, 7, 7, BLACK)
    return p


def two_states(normal):
    p = Picture(normal.width * 2, normal.height)
    p.paste(normal, 0, 0)
    p.paste(normal.disabled(), normal.width, 0)
    return p


def check_mark(size):
    p = Picture(size, size)
    p.line(3, 9, 6, 12, GREEN, 2)
    p.line(6, 12, 13, 4, GREEN, 2)
    p.line(3, 8, 6, 11, LIME, 1)
    p.line(6, 11, 13, 3, LIME, 1)
    return p


def cross_mark(size):
    p = Picture(size, size)
    p.line(4, 4, 12, 12, RED, 2)
    p.line(12, 4, 4, 12, RED, 2)
    p.line(4, 4, 12, 12, MAROON, 1)
    p.line(12, 4, 4, 12, MAROON, 1)
    return p


def apply_mark():
    """A page with a check mark: the changes are stored, the dialog stays."""
    p = Picture(18, 19)
    p.rect(2, 2, 11, 15, WHITE)
    p.frame(2, 2, 11, 15, GRAY)
    for y in (5, 7, 9, 11):
        p.rect(4, y, 9, y, SILVER)
    p.line(7, 12, 10, 15, GREEN, 2)
    p.line(10, 15, 16, 7, GREEN, 2)
    return p


def colour_squares():
    p = Picture(20, 20)
    for (left, top), colour in zip([(1, 1), (10, 1), (1, 10), (10, 10)],
                                   [RED, LIME, BLUE, YELLOW]):
        p.rect(left, top, left + 8, top + 8, colour)
        p.frame(left, top, left + 8, top + 8, BLACK)
    return p


def spin_up():
    p = Picture(9, 5)
    for i in range(4):
        p.rect(4 - i, 1 + i, 4 + i, 1 + i, BLACK)
    return p


def memory_chip():
    """A memory module: a board with chips and its contacts below."""
    p = Picture(16, 16)
    p.rect(0, 4, 15, 11, GREEN)
    p.frame(0, 4, 15, 11, BLACK)
    for left in (2, 6, 10):
        p.rect(left, 6, left + 2, 8, BLACK)
    for x in range(1, 15, 2):
        p.set(x, 10, YELLOW)
    return p


def version_page():
    """A page with an "i": the information a module carries about itself."""
    p = Picture(16, 16)
    p.rect(2, 0, 12, 15, WHITE)
    p.frame(2, 0, 12, 15, GRAY)
    p.rect(7, 3, 7, 4, NAVY)
    p.rect(6, 6, 7, 6, NAVY)
    p.rect(7, 7, 7, 11, NAVY)
    p.rect(6, 12, 8, 12, NAVY)
    return p


def main_icon():
    """A screen on its stand, showing a landscape as its wallpaper."""
    clear = FUCHSIA
    p = Picture(32, 32, clear)
    p.rect(1, 2, 30, 23, SILVER)
    p.frame(1, 2, 30, 23, BLACK)
    p.line(2, 3, 29, 3, WHITE)
    p.line(2, 3, 2, 22, WHITE)
    p.line(3, 22, 29, 22, GRAY)
    p.line(29, 4, 29, 22, GRAY)
    # The wallpaper: sky, sun and hills.
    p.rect(4, 5, 27, 20, BLUE)
    p.rect(4, 5, 27, 8, AQUA)
    p.rect(20, 7, 23, 10, YELLOW)
    p.set(20, 7, AQUA)
    p.set(23, 7, AQUA)
    for x in range(4, 28):
        hill = 15 - round(3 * (1 - ((x - 11) / 8.0) ** 2)) if 3 <= x <= 19 else 15
        p.rect(x, max(hill, 12), x, 20, GREEN)
    p.rect(4, 18, 27, 20, LIME)
    p.frame(3, 4, 28, 21, GRAY)
    # The stand.
    p.rect(13, 24, 18, 26, GRAY)
    p.frame(13, 24, 18, 26, BLACK)
    p.rect(8, 27, 23, 29, SILVER)
    p.frame(8, 27, 23, 29, BLACK)
    return p, clear


def pictures():
    up_left = arrow_up_left()
    up = arrow_up()
    left = up.transposed()
    yield "ORIGINTL.bmp", up_left
    yield "ORIGINT.bmp", up
    yield "ORIGINTR.bmp", up_left.mirrored()
    yield "ORIGINL.bmp", left
    yield "ORIGINC.bmp", centre_mark()
    yield "ORIGINR.bmp", left.mirrored()
    yield "ORIGINBL.bmp", up_left.flipped()
    yield "ORIGINB.bmp", up.flipped()
    yield "ORIGINBR.bmp", up_left.flipped().mirrored()
    yield "OK.bmp", two_states(check_mark(18))
    yield "CANCEL.bmp", two_states(cross_mark(18))
    yield "APPLY.bmp", two_states(apply_mark())
    yield "BGCOLOR.bmp", colour_squares()
    yield "SpinUp.bmp", spin_up()
    yield "SpinDown.bmp", spin_up().flipped()
    yield "MEMORY.bmp", memory_chip()
    yield "VERSION.bmp", version_page()


def main(argv):
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    out = argv[1] if len(argv) > 1 else root
    os.makedirs(out, exist_ok=True)
    for name, picture in pictures():
        assert picture.get(0, picture.height - 1) == BACK, name
        with open(os.path.join(out, name), "wb") as f:
            f.write(bmp_bytes(picture))
    icon, clear = main_icon()
    with open(os.path.join(out, "MAINICON.ico"), "wb") as f:
        f.write(ico_bytes(icon, clear))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
