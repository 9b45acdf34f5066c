"""Starts the menu from a distribution folder, waits until it shows its normal pictures, saves a
screenshot of the screen area around the window to a PNG file and ends the menu.

Usage: screenshot.py DIST_FOLDER OUTPUT.png   (needs DISPLAY and WINEPREFIX)"""

import os
import subprocess
import sys

from harness import BUTTON_FILES, BUTTONS, Bitmap, Menu, park_pointer, run, samples


def main():
    dist, output = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    park_pointer()
    menu = Menu(dist, probe=None)
    try:
        menu.wait_window()
        expected = []
        for index, (left, top) in BUTTONS.items():
            picture = Bitmap(os.path.join(dist, "img", BUTTON_FILES[index] + "-2.bmp"))
            expected += samples(picture, left, top)
        menu.wait_shown(expected, "the normal pictures of the buttons")
        x, y = menu.origin
        # The window with a margin of desktop around it, so that the cut corners show.
        subprocess.run(["import", "-window", "root", "-crop", "840x640+%d+%d" % (x - 20, y - 20),
                        "+repage", output], check=True, stdin=subprocess.DEVNULL)
    finally:
        menu.kill()
        run(["wineserver", "-k"], check=False)


if __name__ == "__main__":
    main()
