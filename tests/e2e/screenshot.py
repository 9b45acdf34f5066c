"""Starts the menu from a distribution folder, the demo's or a disc's own, waits until it shows its
skin's size and the normal pictures of its buttons, saves a screenshot of the screen area around
the window to a PNG file and ends the menu.

Usage: screenshot.py DIST_FOLDER OUTPUT.png   (needs DISPLAY and WINEPREFIX)"""

import os
import struct
import subprocess
import sys

from harness import (BUTTON_FILES, BUTTONS, Bitmap, Menu, PngPicture, Timeout, park_pointer, run,
                     samples)

MARGIN = 20  # pixels of desktop around the window, so that the cut corners show


def picture_path(dist, stem):
    """The picture the menu takes for img/STEM: the PNG file where there is one, else the bitmap."""
    png = os.path.join(dist, "img", stem + ".png")
    return png if os.path.exists(png) else os.path.join(dist, "img", stem + ".bmp")


def bitmap_size(path):
    """Width and height from a bitmap or PNG file's header, of any kind the menu shows."""
    with open(path, "rb") as f:
        header = f.read(26)
    if header[:8] == b"\x89PNG\r\n\x1a\n":
        return struct.unpack_from(">II", header, 16)
    if struct.unpack_from("<I", header, 14)[0] == 12:  # the OS/2 core header
        return struct.unpack_from("<HH", header, 18)
    width, height = struct.unpack_from("<ii", header, 18)
    return width, abs(height)


def normal_looks(dist, width, height):
    """Samples of each button's normal picture that the window shows, where it is opaque;
    pictures of kinds the harness does not decode are left to the eye."""
    expected = []
    for index, (left, top) in BUTTONS.items():
        path = picture_path(dist, BUTTON_FILES[index] + "-2")
        try:
            picture = PngPicture(path) if path.endswith(".png") else Bitmap(path)
        except ValueError:
            continue
        expected += [(x, y, colour) for x, y, colour in samples(picture, left, top)
                     if x < width and y < height and colour is not None]
    return expected


def main():
    dist, output = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    park_pointer()
    width, height = bitmap_size(picture_path(dist, "main"))
    menu = Menu(dist, probe=None)
    try:
        try:
            menu.wait_window((width, height))
        except Timeout:
            # An error box instead, or a menu that ended: the folder's own faults.
            sys.exit("the menu did not show its %d x %d window; skincheck %s tells what stops it"
                     % (width, height, dist))
        menu.wait_shown(normal_looks(dist, width, height), "the normal pictures of the buttons")
        x, y = menu.origin
        subprocess.run(["import", "-window", "root", "-crop",
                        "%dx%d+%d+%d" % (width + 2 * MARGIN, height + 2 * MARGIN,
                                         x - MARGIN, y - MARGIN),
                        "+repage", output], check=True, stdin=subprocess.DEVNULL)
    finally:
        menu.kill()
        run(["wineserver", "-k"], check=False)


if __name__ == "__main__":
    main()
