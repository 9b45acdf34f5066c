"""End-to-end tests of menu.exe under Wine: what the window looks like and how it answers the
pointer, judged from screenshots of the real window; what the user reads when a file is missing.

Usage: run.py DIST_FOLDER [TEST_NAME_PATTERN]
Needs DISPLAY (Xvfb with a white root) and WINEPREFIX; ends with "e2e: N passed, N failed"."""

import os
import struct
import sys
import unittest

from harness import WHITE, Bitmap, Dist, Menu, close, run, windows_path

DIST = None
PROBE = None

SCREEN_SIZE = (1024, 768)

# Client places of the buttons and other spots of the window.
BUTTONS = {0: (96, 200), 1: (256, 288), 2: (440, 312), 3: (600, 280), 14: (632, 544)}
BUTTON_FILES = {0: "bmp1", 1: "bmp2", 2: "bmp3", 3: "bmp4", 14: "bmp15"}
DISABLED = [(192, 472), (320, 472), (448, 472), (576, 472)]  # 112 x 35 each
CORNERS = [(0, 60, 0, 60), (0, 60, 540, 599), (740, 799, 0, 60), (740, 799, 540, 599)]


def park_pointer():
    """Puts the pointer in the screen's corner, away from where the window opens."""
    run(["xdotool", "mousemove", "2", "2"])


def write_bmp(path, width, height, colour):
    """A 24-bit bottom-up bitmap of one colour."""
    stride = (width * 3 + 3) // 4 * 4
    row = bytes([colour[2], colour[1], colour[0]]) * width + b"\0" * (stride - width * 3)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def samples(bitmap, left, top):
    """(client x, client y, colour) at a few spread points of a picture placed at left, top."""
    points = []
    for fx, fy in ((0.5, 0.5), (0.2, 0.25), (0.8, 0.75), (0.25, 0.8), (0.75, 0.2)):
        x, y = int(bitmap.width * fx), int(bitmap.height * fy)
        points.append((left + x, top + y, bitmap.pixel(x, y)))
    return points


class MenuCase(unittest.TestCase):
    """Each test gets its own copy of the distribution folder and ends its menu."""

    def setUp(self):
        self.dist = Dist(DIST)
        self.menu = None
        park_pointer()

    def tearDown(self):
        if self.menu is not None:
            self.menu.answer_dialogs()
            self.menu.kill()
        self.dist.remove()

    def start(self):
        self.menu = Menu(self.dist.path, PROBE)
        return self.menu

    def picture(self, name):
        return Bitmap(self.dist.img(name))

    def looks(self, index, state):
        """Expectations for button `index` showing picture state "-1", "-2" or "-3"."""
        left, top = BUTTONS[index]
        return samples(self.picture("%s%s.bmp" % (BUTTON_FILES[index], state)), left, top)

    def normal_menu(self):
        """Starts the menu and waits until it shows the normal look of every button."""
        menu = self.start()
        menu.wait_window()
        expected = []
        for index in BUTTONS:
            expected += self.looks(index, "-2")
        return menu, menu.wait_shown(expected, "the normal pictures of the buttons")

    def assert_shows(self, index, state):
        self.menu.wait_shown(self.looks(index, state), "button %d in state %s" % (index, state))

    def centre(self, index):
        left, top = BUTTONS[index]
        picture = self.picture(BUTTON_FILES[index] + "-2.bmp")
        return left + picture.width // 2, top + picture.height // 2


class StartUp(MenuCase):
    def test_window_is_centred_shaped_and_shows_the_normal_pictures(self):
        menu, screen = self.normal_menu()
        x, y, width, height = menu.geometry(menu.window)
        self.assertEqual((width, height), (800, 600))
        # Centred: the designed 799 or the final 800 pixels both round to the same place here.
        self.assertLessEqual(abs(x - (SCREEN_SIZE[0] - 800) // 2), 1)
        self.assertLessEqual(abs(y - (SCREEN_SIZE[1] - 600) // 2), 1)

        skin = self.picture("main.bmp")
        holes = outside_black = 0
        for yy in range(600):
            for xx in range(800):
                colour = skin.pixel(xx, yy)
                shown = screen.pixel(x + xx, y + yy)
                in_corner = any(a <= xx <= b and c <= yy <= d for a, b, c, d in CORNERS)
                if colour == (0, 0, 0) and in_corner:
                    holes += 1
                    self.assertEqual(shown, WHITE, "corner hole at %d,%d" % (xx, yy))
                elif colour == (0, 0, 0) and yy >= 57:
                    outside_black += 1
                    self.assertTrue(close(shown, (0, 0, 0)), "black at %d,%d" % (xx, yy))
        self.assertGreater(holes, 100, "the demo skin has rounded black corners")
        self.assertGreater(outside_black, 0, "the demo skin has black outside its corners")
        # The bare skin and the top strip show the skin itself.
        for xx, yy in ((400, 150), (400, 20), (30, 300), (780, 450)):
            self.assertTrue(close(screen.pixel(x + xx, y + yy), skin.pixel(xx, yy)), (xx, yy))

    def test_without_the_skin_only_the_error_box_appears(self):
        os.remove(self.dist.img("main.bmp"))
        menu = self.start()
        box = menu.wait_dialog()[0]
        self.assertEqual(box[0], "menu")
        text = " ".join(box[1:])
        self.assertIn(windows_path(self.dist.img("main.bmp")), text)
        self.assertIn("53", text)
        self.assertIn("File not found", text)
        self.assertIn("System error 2", text)
        self.assertIsNone(menu.main_window(), "no menu window while the error is shown")
        menu.answer_dialogs()
        self.assertEqual(menu.wait_exit(), 53)

    def test_without_the_close_buttons_picture_the_window_is_up_first(self):
        os.remove(self.dist.img("bmp15-2.bmp"))
        menu = self.start()
        box = menu.wait_dialog()[0]
        self.assertIn(windows_path(self.dist.img("bmp15-2.bmp")), " ".join(box[1:]))
        menu.wait_window()
        expected = []
        for index in (0, 1, 2, 3):
            expected += self.looks(index, "-2")
        # What the message box covers cannot be seen; every button shows somewhere.
        visible = [point for point in expected if not menu.covered(point[0], point[1])]
        self.assertGreaterEqual(len(visible), 8)
        menu.wait_shown(visible, "buttons 0 to 3 in their normal look")
        menu.answer_dialogs()
        self.assertNotEqual(menu.wait_exit(), 0)


class ButtonLooks(MenuCase):
    def test_hover_press_drag_off_release_and_reset(self):
        menu, _ = self.normal_menu()
        x, y = self.centre(0)
        menu.move(x, y)
        self.assert_shows(0, "-3")
        menu.down(1)
        self.assert_shows(0, "-1")
        menu.move(400, 150)  # off the button onto the bare skin, still pressed
        menu.move(401, 151)
        self.assert_shows(0, "-1")
        menu.up(1)
        self.assert_shows(0, "-2")
        self.assertTrue(menu.alive(), "a release away from the button is no click")
        menu.move(x, y)  # still marked: the normal look stays
        self.assert_shows(0, "-2")
        menu.move(400, 150)  # the bare skin resets the mark
        menu.move(x, y)
        self.assert_shows(0, "-3")

    def test_right_button_presses_alike(self):
        menu, _ = self.normal_menu()
        x, y = self.centre(2)
        menu.move(x, y)
        self.assert_shows(2, "-3")
        menu.down(3)
        self.assert_shows(2, "-1")
        menu.up(3)
        self.assert_shows(2, "-2")
        self.assertTrue(menu.alive())

    def test_moving_over_a_disabled_button_resets(self):
        menu, _ = self.normal_menu()
        menu.move(*self.centre(3))
        self.assert_shows(3, "-3")
        menu.move(DISABLED[3][0] + 50, DISABLED[3][1] + 15)
        self.assert_shows(3, "-2")

    def test_a_smaller_hover_picture_uncovers_the_skin(self):
        write_bmp(self.dist.img("bmp1-3.bmp"), 40, 30, (250, 20, 200))
        menu, _ = self.normal_menu()
        skin = self.picture("main.bmp")
        left, top = BUTTONS[0]
        menu.move(left + 10, top + 10)
        menu.wait_shown([(left + 20, top + 15, (250, 20, 200)),
                         (left + 80, top + 90, skin.pixel(left + 80, top + 90)),
                         (left + 100, top + 20, skin.pixel(left + 100, top + 20))],
                        "the small hover picture with the skin around it")


def main():
    global DIST, PROBE
    DIST = os.path.abspath(sys.argv[1])
    PROBE = os.path.abspath(os.path.join(DIST, "..", "tests", "e2e", "e2e_probe.exe"))
    pattern = sys.argv[2] if len(sys.argv) > 2 else None
    loader = unittest.TestLoader()
    if pattern:
        loader.testNamePatterns = ["*%s*" % pattern]
    suite = loader.loadTestsFromModule(sys.modules[__name__])
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    failed = len(result.failures) + len(result.errors)
    print("e2e: %d passed, %d failed" % (result.testsRun - failed, failed))
    return 0 if failed == 0 and result.testsRun > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
