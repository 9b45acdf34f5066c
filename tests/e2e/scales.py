"""End-to-end tests of menu.exe at display scales of 150 % and 200 %: a Wine prefix of their own
whose LogPixels is 144 or 192 and an X screen large enough for the scaled window. The window's
size and place, the outline's holes, the buttons' looks and clicks, and pictures drawn for a
scale, all judged from screenshots and from what the started installers record.

run.py loads these tests and sets DIST and PROBE."""

import os
import shutil
import signal
import struct
import subprocess
import tempfile
import unittest

from harness import (WHITE, Bitmap, Dist, Menu, Screen, close, hand_windows_to_a_window_manager,
                     installer_log, installer_records, run, wait_for, windows_path)

DIST = None
PROBE = None

SCREEN = (2048, 1600)
BUTTONS = {0: (96, 200), 1: (256, 288), 2: (440, 312), 3: (600, 280), 14: (632, 544)}
BUTTON_FILES = {0: "bmp1", 1: "bmp2", 2: "bmp3", 3: "bmp4", 14: "bmp15"}
INSTALLERS = {0: "TEV", 1: "MOLAN", 2: "PIRUK", 3: "DASEF"}


def scaled(pixels, dpi):
    """A design coordinate at `dpi`, rounded up as the menu rounds it."""
    return -(-pixels * dpi // 96)


def write_bmp(path, width, height, colour_at):
    """A 24-bit bottom-up bitmap painted by colour_at(x, y) -> (r, g, b)."""
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = colour_at(x, y)
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (stride - width * 3))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


class ScaledDisplay:
    """An X server of SCREEN's size and a Wine prefix whose screens have `dpi` dots per
    inch, made for one group of tests and removed after them; DISPLAY and WINEPREFIX point at
    them meanwhile."""

    def __init__(self, dpi):
        self.saved = {key: os.environ.get(key) for key in ("DISPLAY", "WINEPREFIX")}
        number = 150
        while os.path.exists("/tmp/.X%d-lock" % number):
            number += 1
        self.xvfb = subprocess.Popen(
            ["Xvfb", ":%d" % number, "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp",
             "-wr"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.environ["DISPLAY"] = ":%d" % number
        wait_for(lambda: subprocess.run(["xdpyinfo"], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL).returncode == 0,
                 "the X server", timeout=20)
        self.home = tempfile.mkdtemp(prefix="menu-scale.")
        os.environ["WINEPREFIX"] = os.path.join(self.home, "prefix")
        self._wine(["wineboot", "-i"], timeout=120)
        self._wine(["wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels",
                    "/t", "REG_DWORD", "/d", str(dpi), "/f"])
        hand_windows_to_a_window_manager(False)  # no window manager runs on this display
        # Every Wine process reads the scale when it starts: begin again with the new one.
        self._wine(["wineserver", "-k"])
        self._wine(["wineserver", "-p"])
        self._wine(["wine", "cmd", "/c", "exit"])

    @staticmethod
    def _wine(args, timeout=60):
        subprocess.run(args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=timeout)

    def remove(self):
        self._wine(["wineserver", "-k"])
        self.xvfb.send_signal(signal.SIGTERM)
        self.xvfb.wait(timeout=10)
        for key, value in self.saved.items():
            if value is None:
                os.environ.pop(key, None)
            else:
                os.environ[key] = value
        shutil.rmtree(self.home, ignore_errors=True)


class ScaleCase(unittest.TestCase):
    DPI = 96

    @classmethod
    def setUpClass(cls):
        cls.display = ScaledDisplay(cls.DPI)

    @classmethod
    def tearDownClass(cls):
        cls.display.remove()

    def setUp(self):
        self.dist = Dist(DIST)
        self.menu = None
        self.log, self.env = installer_log(self.dist.base, 2000)
        run(["xdotool", "mousemove", "2", "2"])

    def tearDown(self):
        if self.menu is not None:
            self.menu.answer_dialogs()
            self.menu.kill()
        self.dist.remove()

    def s(self, pixels):
        return scaled(pixels, self.DPI)

    def start(self):
        self.menu = Menu(self.dist.path, PROBE, env=self.env)
        return self.menu.wait_window((self.s(800), self.s(600)))

    def button_samples(self, index, state):
        """(client x, client y, colour) inside button `index` showing picture `state`: the first
        pixel of each design pixel's block."""
        picture = Bitmap(self.dist.img("%s%s.bmp" % (BUTTON_FILES[index], state)))
        left, top = BUTTONS[index]
        out = []
        for fx, fy in ((0.5, 0.5), (0.2, 0.25), (0.8, 0.75), (0.25, 0.8), (0.75, 0.2)):
            x, y = int(picture.width * fx), int(picture.height * fy)
            out.append((self.s(left) + self.s(x), self.s(top) + self.s(y), picture.pixel(x, y)))
        return out

    def centre(self, index):
        left, top = BUTTONS[index]
        picture = Bitmap(self.dist.img(BUTTON_FILES[index] + "-2.bmp"))
        return self.s(left) + self.s(picture.width) // 2, self.s(top) + self.s(picture.height) // 2

    def started(self):
        return installer_records(self.log)

    def test_the_window_is_scaled_and_centred_in_the_work_area(self):
        x, y, width, height = self.start()
        self.assertEqual((width, height), (self.s(800), self.s(600)))
        # No window manager and no taskbar: the work area is the whole screen. The window opens
        # centred at its designed size, 799 x 600 scaled, and then takes the skin's.
        self.assertEqual((x, y), ((SCREEN[0] - self.s(799)) // 2, (SCREEN[1] - self.s(600)) // 2))
        self.menu.wait_shown(self.button_samples(0, "-2"), "the scaled normal picture")

    def test_black_corner_pixels_become_scaled_holes_and_others_stay(self):
        grey = (90, 100, 110)
        black = {(0, 0): True, (60, 60): True, (61, 60): False, (60, 61): False,
                 (740, 540): True, (739, 540): False, (799, 599): True, (400, 300): False}
        write_bmp(self.dist.img("main.bmp"), 800, 600,
                  lambda x, y: (0, 0, 0) if (x, y) in black else grey)
        self.start()
        expected = []
        for (px, py), hole in black.items():
            for x in range(self.s(px), self.s(px + 1)):
                for y in range(self.s(py), self.s(py + 1)):
                    expected.append((x, y, WHITE if hole else (0, 0, 0)))
        # Their neighbours that are grey in the skin stay in the window.
        expected.append((self.s(61), self.s(61), grey))
        self.menu.wait_shown(expected, "the holes where the scaled corners are black")

    def test_each_scaled_button_lights_up_and_its_click_starts_the_installer(self):
        folder = windows_path(self.dist.path)
        for index, name in INSTALLERS.items():
            earlier = len(self.started())
            self.start()
            self.menu.move(*self.centre(index))
            self.menu.wait_shown(self.button_samples(index, "-3"),
                                 "button %d lit at %d DPI" % (index, self.DPI))
            self.menu.down(1)
            self.menu.up(1)
            self.assertEqual(self.menu.wait_exit(), 0)
            # The installer may write its record after the menu has ended.
            record = wait_for(lambda: self.started()[earlier:], "installer %s" % name)[0]
            self.assertEqual(record["path"].lower(),
                             (folder + "\\ZENT\\%s_setup.exe" % name).lower())
            self.assertEqual(record["show"], "2")
            run(["xdotool", "mousemove", "2", "2"])


    def test_a_reader_is_told_the_places_of_the_scaled_buttons(self):
        x, y, width, height = self.start()
        lines = self.menu.accessible("describe")
        self.assertEqual(lines[0]["location"], "%d,%d,%d,%d" % (x, y, width, height))
        places = [line["location"] for line in lines if line["line"] == "child"]
        expected = []
        for index, (left, top) in BUTTONS.items():
            size = (80, 28) if index == 14 else (113, 122)
            expected.append("%d,%d,%d,%d" % (x + self.s(left), y + self.s(top), self.s(size[0]),
                                             self.s(size[1])))
        self.assertEqual(places, expected)


class At150Percent(ScaleCase):
    DPI = 144


class At200Percent(ScaleCase):
    DPI = 192

    def test_pictures_drawn_for_the_scale_are_the_ones_shown(self):
        skin, button = (200, 30, 160), (20, 180, 60)
        write_bmp(self.dist.img("main.scale-200.bmp"), 1600, 1200, lambda x, y: skin)
        write_bmp(self.dist.img("bmp1-2.scale-200.bmp"), 226, 244, lambda x, y: button)
        self.start()
        self.menu.wait_shown([(800, 150, skin), (900, 1100, skin),
                              (192 + 113, 400 + 122, button), (192 + 5, 400 + 5, button)],
                             "the skin and button 1 drawn for 200 %")


def load_tests(loader, tests, pattern):
    suite = unittest.TestSuite()
    for case in (At150Percent, At200Percent):
        suite.addTests(loader.loadTestsFromTestCase(case))
    return suite
