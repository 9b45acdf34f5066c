"""End-to-end tests of a disc whose pictures are PNG files with alpha: the skin's transparent
pixels are holes wherever they lie and its opaque black corners stay, a half-transparent button
is shown blended over the skin, and hovering works as on bitmaps; at 96 DPI and at 200 %.

Without a compositing manager X shows the window opaque: a half-transparent pixel of the skin is
drawn in its colour weighed by its alpha, as the menu hands it over. Under a compositing manager
it is blended with the desktop behind the window.

run.py loads these tests and sets DIST and PROBE."""

import struct
import unittest
import zlib

from harness import WHITE, MenuCase, OnAScaledDisplay, UnderACompositor

DIST = None
PROBE = None

SKIN = (30, 150, 90)
EDGE = (200, 100, 40)  # stored with alpha 128
EDGE_WEIGHED = (100, 50, 20)  # EDGE * 128 / 255, each channel rounded
BUTTON = (200, 0, 0)  # stored with alpha 128
# BUTTON at alpha 128 over SKIN: (200 * 128 + 30 * 127 + 127) // 255 and so on.
BLENDED = (115, 75, 45)
HOLES = ((5, 5), (400, 150), (799, 300))  # a corner, inside the window, the right edge
BLACK = (790, 590)  # opaque black inside a corner area
HALF = (300, 100)


def write_png(path, width, height, pixel):
    """An 8-bit RGBA PNG file; pixel(x, y) gives (r, g, b, a)."""
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width))
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" +
                chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(rows, 6)) + chunk(b"IEND", b""))


def skin_pixel(x, y):
    if (x, y) in HOLES:
        return (0, 0, 0, 0)
    if x >= BLACK[0] and y >= BLACK[1]:
        return (0, 0, 0, 255)
    if (x, y) == HALF:
        return EDGE + (128,)
    return SKIN + (255,)


class PngFiles(MenuCase):
    """The disc with the PNG skin and button 1's PNG normal look."""

    def setUp(self):
        super().setUp()
        for name in ("main.bmp", "bmp1-2.bmp"):
            write_png(self.dist.img(name[:-4] + ".png"), *(
                (800, 600, skin_pixel) if name == "main.bmp"
                else (113, 122, lambda x, y: BUTTON + (128,))))
        # Beside the bitmap of the same name, the PNG file is taken.

    def at(self, x, y, colour):
        return (self.s(x), self.s(y), colour)


class PngDisc(PngFiles):
    def test_holes_where_alpha_is_0_and_the_button_blended_over_the_skin(self):
        self.start_window()
        expected = [self.at(x, y, WHITE) for x, y in HOLES]
        expected += [self.at(*BLACK, (0, 0, 0)), self.at(200, 100, SKIN),
                     self.at(*HALF, EDGE_WEIGHED), self.at(401, 150, SKIN),
                     self.at(96 + 56, 200 + 61, BLENDED)]
        self.menu.wait_shown(expected, "the PNG skin's holes and the blended button")

    def test_a_button_lights_up_on_a_png_skin(self):
        self.start_window()
        self.menu.move(self.s(96 + 56), self.s(200 + 61))
        self.menu.wait_shown(self.looks(0, "-3"), "button 1's hover look")


class PngDiscAt200(OnAScaledDisplay, PngDisc):
    DPI = 192


class PngDiscComposited(UnderACompositor, PngFiles):
    def test_a_half_transparent_pixel_blends_with_the_desktop(self):
        self.start_window()
        # The weighed colour plus the grey behind it at the rest of the weight.
        blended = tuple(c + (self.ROOT[0] * 127 + 127) // 255 for c in EDGE_WEIGHED)
        expected = [self.at(*HALF, blended), self.at(*HOLES[1], self.ROOT),
                    self.at(200, 100, SKIN), self.at(*BLACK, (0, 0, 0))]
        self.menu.wait_shown(expected, "the half-transparent pixel blended with the grey desktop")


def load_tests(loader, tests, pattern):
    suite = unittest.TestSuite()
    for case in (PngDisc, PngDiscAt200, PngDiscComposited):
        suite.addTests(loader.loadTestsFromTestCase(case))
    return suite
