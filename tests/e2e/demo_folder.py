"""scripts/demo FOLDER: a disc maker's own distribution folder shown under Wine as the demo is,
without a display in a private X server, with the screenshot it saves.

run.py loads this test and sets DIST."""

import os
import subprocess
import tempfile
import unittest

from harness import WHITE, Bitmap, Dist, close, run

DIST = None
PROBE = None

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SKIN = (30, 150, 90)  # unlike any part of the demo skin
MARGIN = 20  # the desktop around the window in the screenshot


def png_pixels(path):
    """Width, height and a function giving the RGB colour at x, y of a PNG file."""
    width, height = map(int, run(["identify", "-format", "%w %h", path]).split())
    data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, check=True, timeout=30).stdout
    return width, height, lambda x, y: tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3])


class DemoFolder(unittest.TestCase):
    def test_a_disc_makers_folder_is_shown_and_its_screenshot_saved(self):
        import run as e2e
        dist = Dist(DIST, name="My Disc")  # a space in the path, as folders of discs have
        self.addCleanup(dist.remove)
        e2e.write_bmp(dist.img("main.bmp"), 760, 580, SKIN)  # not the designed size
        environment = {k: v for k, v in os.environ.items()
                       if k not in ("DISPLAY", "WINEPREFIX", "XAUTHORITY")}
        environment["MENU_INSTALLED"] = "1"  # the run that started this test installed it all
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            status = subprocess.run([os.path.join(ROOT, "scripts", "demo"), dist.path],
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                    env=environment, timeout=300).returncode
            out.seek(0)
            err.seek(0)
            printed, problems = out.read().decode(), err.read().decode()
        self.assertEqual(status, 0, problems)
        shot = printed.strip().splitlines()[-1]
        self.assertEqual(shot, os.path.join(ROOT, "build", "demo.png"))
        width, height, pixel = png_pixels(shot)
        self.assertEqual((width, height), (760 + 2 * MARGIN, 580 + 2 * MARGIN))
        self.assertTrue(close(pixel(MARGIN + 400, MARGIN + 100), SKIN), pixel(420, 120))
        self.assertTrue(close(pixel(5, 5), WHITE), "the desktop around the window")
        self.assertTrue(close(pixel(MARGIN + 760 + 5, MARGIN + 300), WHITE), "the window's edge")
        button = Bitmap(dist.img("bmp1-2.bmp"))
        self.assertTrue(close(pixel(MARGIN + 96 + 56, MARGIN + 200 + 61), button.pixel(56, 61)))

    def test_a_folder_without_the_menu_is_refused(self):
        with tempfile.TemporaryDirectory() as folder:
            result = subprocess.run([os.path.join(ROOT, "scripts", "demo"), folder],
                                    stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, timeout=60)
        self.assertEqual(result.returncode, 2)
        self.assertIn(b"holds no menu.exe", result.stderr)


def load_tests(loader, tests, pattern):
    return loader.loadTestsFromTestCase(DemoFolder)
