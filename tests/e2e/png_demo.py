"""End-to-end tests of the PNG demo disc (png-demo beside the distribution folder), whose skin and
buttons are PNG files with alpha: the skin's pixels of alpha 0 are holes that show the desktop and
its opaque pixels show the picture's colours; dragging the top strip moves the window and the
window of its half-transparent pixels together; a button lights up, looks pressed and starts its
installer; the keyboard moves the focus, draws the focus rectangle and starts an installer; a
screen reader learns the buttons' names and places; the same at 150 % and 200 %.

Half-transparent pixels are not judged: how they show depends on whether the desktop composes
windows (see the README).

run.py loads these tests and sets DIST and PROBE."""

import os
import unittest

import run
from harness import (BUTTONS, WHITE, OnAScaledDisplay, PngPicture, UnderAWindowManager, close, key,
                     samples, wait_for, windows_path)

DIST = None
PROBE = None

# Points of the skin in the design's pixels: its corners, the middle of each edge, the shadow's
# margin, inside the rounded panel's corner and edge, and further in.
SKIN_POINTS = [(0, 0), (799, 0), (0, 599), (799, 599), (400, 0), (0, 300), (799, 300),
               (400, 599), (3, 3), (20, 20), (10, 300), (400, 20), (400, 150), (30, 300),
               (780, 450)]


class PngDemoCase(run.InstallerCase):
    def source(self):
        return os.path.join(DIST, "..", "png-demo")

    def picture(self, name):
        return PngPicture(self.dist.img(os.path.splitext(name)[0] + ".png"))

    def looks(self, index, state):
        """As for bitmaps, at the sampled points where the picture is opaque."""
        picture = self.picture("%s%s.png" % (run.BUTTON_FILES[index], state))
        points = [p for p in samples(picture, *BUTTONS[index], self.DPI) if p[2] is not None]
        self.assertGreaterEqual(len(points), 3, "opaque samples of button %d" % index)
        return points

    def skin_points(self):
        """(client x, client y, colour) of every pixel of the scaled blocks of SKIN_POINTS: white
        where the skin's alpha is 0, its colour where it is opaque."""
        skin = self.picture("main.png")
        expected = []
        for px, py in SKIN_POINTS:
            colour = WHITE if skin.alpha(px, py) == 0 else skin.pixel(px, py)
            self.assertIsNotNone(colour, "SKIN_POINTS holds no half-transparent pixel")
            expected += [(x, y, colour) for x in range(self.s(px), self.s(px + 1))
                         for y in range(self.s(py), self.s(py + 1))]
        return expected

    def click_starts(self, index, name):
        """A click on button `index`, each look seen, ends the menu and starts installer `name`."""
        self.click(index)
        self.assertEqual(self.menu.wait_exit(), 0)
        record = wait_for(lambda: self.started(), "the installer's record")[0]
        self.assert_installer(record, windows_path(self.dist.path), name)


class PngDemo(PngDemoCase):
    def test_holes_show_the_desktop_and_opaque_pixels_the_skins_colours(self):
        menu, screen = self.normal_menu(env=self.env)
        skin = self.picture("main.png")
        x0, y0 = menu.origin
        holes = opaque = 0
        wrong = []
        for y in range(skin.height):
            for x in range(skin.width):
                if any(left <= x < left + 113 and top <= y < top + 122
                       for left, top in BUTTONS.values()):
                    continue  # the buttons' pictures, judged by their looks
                alpha, shown = skin.alpha(x, y), screen.pixel(x0 + x, y0 + y)
                if alpha == 0:
                    holes += 1
                    expected = WHITE
                elif alpha == 255:
                    opaque += 1
                    expected = skin.pixel(x, y)
                else:
                    continue
                if not close(shown, expected):
                    wrong.append((x, y, shown, expected))
        self.assertEqual(wrong[:5], [])
        # A margin around the rounded panel is transparent; the panel itself opaque.
        self.assertGreater(holes, 2 * (800 + 600))
        self.assertGreater(opaque, 700 * 500)

    def test_dragging_the_strip_moves_the_window_and_its_half_transparent_pixels(self):
        menu, _ = self.normal_menu()
        place = menu.drag_strip()
        # The window of the half-transparent pixels, of the same size, lies at the same place.
        wait_for(lambda: [(menu.geometry(w) or ())[:2] for w in menu.windows()] == [place, place],
                 "both windows to move by 60, 36")
        menu.origin = place
        menu.wait_shown(self.skin_points(), "the skin's holes and colours at the new place")

    def test_a_button_lights_up_looks_pressed_and_starts_its_installer(self):
        self.normal_menu(env=self.env)
        self.click_starts(2, "PIRUK")

    def test_a_reader_learns_the_buttons_names_and_places(self):
        menu, _ = self.normal_menu()
        x, y, _, _ = menu.geometry(menu.window)
        children = [line for line in menu.accessible("describe") if line["line"] == "child"]
        self.assertEqual([c["name"] for c in children], run.NAMES)
        places = []
        for index in run.ACTIVE:
            picture = self.picture("%s-2.png" % run.BUTTON_FILES[index])
            left, top = BUTTONS[index]
            places.append("%d,%d,%d,%d" % (x + left, y + top, picture.width, picture.height))
        self.assertEqual([c["location"] for c in children], places)


class PngDemoKeyboard(UnderAWindowManager, PngDemoCase):
    outline = run.Keyboard.outline
    dotted = run.Keyboard.dotted

    def test_tab_moves_the_focus_with_its_rectangle_and_enter_starts_the_installer(self):
        self.normal_menu(env=self.env)
        self.menu.activate()
        key("Tab")
        self.assert_shows(0, "-3")
        wait_for(lambda: self.dotted(0), "the focus rectangle around the first button")
        key("Tab")
        self.assert_shows(1, "-3")
        self.assert_shows(0, "-2")
        inverted = wait_for(lambda: self.dotted(1), "the focus rectangle around the second button")
        self.assertGreater(inverted, len(self.outline(1)) * 0.4)
        key("Return")
        self.assertEqual(self.menu.wait_exit(), 0)
        record = wait_for(lambda: self.started(), "the installer's record")[0]
        self.assert_installer(record, windows_path(self.dist.path), "MOLAN")


class PngDemoScaled(OnAScaledDisplay, PngDemoCase):
    def test_the_scaled_window_keeps_its_holes_colours_and_looks(self):
        _, _, width, height = self.start_window(env=self.env)
        self.assertEqual((width, height), (self.s(800), self.s(600)))
        self.menu.wait_shown(self.skin_points() + self.looks(0, "-2") + self.looks(14, "-2"),
                             "the scaled skin's holes and colours, and the normal looks")
        self.click_starts(0, "TEV")


class PngDemoAt150Percent(PngDemoScaled):
    DPI = 144


class PngDemoAt200Percent(PngDemoScaled):
    DPI = 192


def load_tests(loader, tests, pattern):
    suite = unittest.TestSuite()
    for case in (PngDemo, PngDemoKeyboard, PngDemoAt150Percent, PngDemoAt200Percent):
        suite.addTests(loader.loadTestsFromTestCase(case))
    return suite
