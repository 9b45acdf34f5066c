"""End-to-end tests of menu.exe at display scales of 150 % and 200 %: a Wine prefix of their own
whose LogPixels is 144 or 192 and an X screen large enough for the scaled window. The window's
size and place, the outline's holes, the buttons' looks and clicks, and pictures drawn for a
scale, all judged from screenshots and from what the started installers record.

run.py loads these tests."""

import unittest

from harness import (BUTTONS, INSTALLERS, WHITE, MenuCase, OnAScaledDisplay, park_pointer,
                     wait_for, windows_path, write_bmp)

SCREEN = OnAScaledDisplay.SCREEN


class ScaleCase(OnAScaledDisplay, MenuCase):
    INSTALLER_LINGER_MS = 2000

    def test_the_window_is_scaled_and_centred_in_the_work_area(self):
        x, y, width, height = self.start_window(env=self.env)
        self.assertEqual((width, height), (self.s(800), self.s(600)))
        # No window manager and no taskbar: the work area is the whole screen. The window opens
        # centred at its designed size, 799 x 600 scaled, and then takes the skin's.
        self.assertEqual((x, y), ((SCREEN[0] - self.s(799)) // 2, (SCREEN[1] - self.s(600)) // 2))
        self.menu.wait_shown(self.looks(0, "-2"), "the scaled normal picture")

    def test_black_corner_pixels_become_scaled_holes_and_others_stay(self):
        grey = (90, 100, 110)
        black = {(0, 0): True, (60, 60): True, (61, 60): False, (60, 61): False,
                 (740, 540): True, (739, 540): False, (799, 599): True, (400, 300): False}
        write_bmp(self.dist.img("main.bmp"), 800, 600,
                  lambda x, y: (0, 0, 0) if (x, y) in black else grey)
        self.start_window(env=self.env)
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
            self.start_window(env=self.env)
            self.menu.move(*self.centre(index))
            self.menu.wait_shown(self.looks(index, "-3"),
                                 "button %d lit at %d DPI" % (index, self.DPI))
            self.menu.down(1)
            self.menu.up(1)
            self.assertEqual(self.menu.wait_exit(), 0)
            # The installer may write its record after the menu has ended.
            record = wait_for(lambda: self.started()[earlier:], "installer %s" % name)[0]
            self.assertEqual(record["path"].lower(),
                             (folder + "\\ZENT\\%s_setup.exe" % name).lower())
            self.assertEqual(record["show"], "2")
            park_pointer()

    def test_a_reader_is_told_the_places_of_the_scaled_buttons(self):
        x, y, width, height = self.start_window(env=self.env)
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
        write_bmp(self.dist.img("main.scale-200.bmp"), 1600, 1200, skin)
        write_bmp(self.dist.img("bmp1-2.scale-200.bmp"), 226, 244, button)
        self.start_window(env=self.env)
        self.menu.wait_shown([(800, 150, skin), (900, 1100, skin),
                              (192 + 113, 400 + 122, button), (192 + 5, 400 + 5, button)],
                             "the skin and button 1 drawn for 200 %")


def load_tests(loader, tests, pattern):
    suite = unittest.TestSuite()
    for case in (At150Percent, At200Percent):
        suite.addTests(loader.loadTestsFromTestCase(case))
    return suite
