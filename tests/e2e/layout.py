"""End-to-end tests of the example disc, whose menu.ini lays out its own buttons: six that light
up, press and start their programs, the hidden one neither drawn nor reachable, Tab in the order
of the sections, German names and pictures for a German user, and the places at 150 %.

run.py loads these tests and sets DIST and PROBE; the example disc lies beside DIST."""

import configparser
import os
import unittest

from harness import (Bitmap, Dist, Menu, OnAScaledDisplay, UnderAWindowManager, installer_log,
                     installer_records, key, run, scaled, wait_for, windows_path)

DIST = None
PROBE = None

GERMAN = {"LANG": "de_DE.UTF-8", "LC_ALL": "de_DE.UTF-8"}
# Where the design puts [Button2], which the example hides: 113 x 122 at 256, 288.
HIDDEN_PLACE = (256, 288, 113, 122)
# Inside each button, clear of its text, its rounded ends and the German pictures' mark.
SAMPLES = ((0.5, 0.2), (0.3, 0.8), (0.7, 0.8))
# The German pictures' mark along their left edge.
GERMAN_MARK_AT, GERMAN_MARK = (11, 24), (250, 204, 0)


def example_source():
    return os.path.join(DIST, "..", "example")


def example_buttons(folder):
    """The buttons of the example's menu.ini that are shown, in the order of their sections,
    which is the keyboard's: section, place, picture bases, labels and what each starts."""
    parser = configparser.ConfigParser(interpolation=None, comment_prefixes=(";",))
    parser.optionxform = str
    parser.read(os.path.join(folder, "menu.ini"), encoding="utf-8")
    buttons = []
    for name in parser.sections():
        keys = parser[name]
        if name == "Menu" or keys.get("Hidden") == "yes":
            continue
        x, y = (int(v) for v in keys["Place"].split(","))
        open_ = keys.get("Open")
        buttons.append({
            "section": name, "place": (x, y),
            "pictures": keys["Pictures"].replace("\\", os.sep),
            "german": keys["Pictures[de]"].replace("\\", os.sep),
            "label": keys["Label"], "label_de": keys["Label[de]"],
            # Without an Open, [ButtonN] starts its installer named by the menu's button table.
            "program": os.path.basename(open_.replace("\\", "/")) if open_ else None})
    return buttons


class ExampleCase(unittest.TestCase):
    DPI = 96

    def setUp(self):
        self.dist = Dist(example_source(), settings=True)
        self.buttons = example_buttons(self.dist.path)
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

    def start(self, env=None):
        skin = Bitmap(os.path.join(self.dist.path, "img", "skin.bmp"))
        self.menu = Menu(self.dist.path, PROBE, env=dict(self.env, **(env or {})))
        return self.menu.wait_window((self.s(skin.width), self.s(skin.height)))

    def picture(self, button, look, german=False):
        return Bitmap(os.path.join(self.dist.path, button["german" if german else "pictures"] +
                                   look + ".bmp"))

    def samples(self, button, look, german=False):
        """(client x, client y, colour) inside `button` showing its picture of `look`."""
        picture = self.picture(button, look, german)
        left, top = button["place"]
        points = [(int(picture.width * fx), int(picture.height * fy)) for fx, fy in SAMPLES]
        if german:
            points.append(GERMAN_MARK_AT)
        return [(self.s(left) + self.s(x), self.s(top) + self.s(y), picture.pixel(x, y))
                for x, y in points]

    def centre(self, button):
        picture = self.picture(button, "-2")
        left, top = button["place"]
        return self.s(left) + self.s(picture.width) // 2, self.s(top) + self.s(picture.height) // 2

    def started(self):
        return installer_records(self.log)


class ExampleDisc(ExampleCase):
    def test_six_buttons_light_up_press_and_start_their_programs(self):
        products = [b for b in self.buttons if b["section"] != "Close"]
        self.assertEqual(len(products), 6)
        folder = windows_path(self.dist.path)
        for button in products:
            earlier = len(self.started())
            self.start()
            self.menu.wait_shown(self.samples(button, "-2"), "%s normal" % button["section"])
            self.menu.move(*self.centre(button))
            self.menu.wait_shown(self.samples(button, "-3"), "%s lit" % button["section"])
            self.menu.down(1)
            self.menu.wait_shown(self.samples(button, "-1"), "%s pressed" % button["section"])
            self.menu.up(1)
            self.assertEqual(self.menu.wait_exit(), 0)
            record = wait_for(lambda: self.started()[earlier:], button["section"] + "'s program")[0]
            self.assertTrue(record["path"].lower().startswith((folder + "\\ZENT\\").lower()),
                            record["path"])
            if button["program"]:
                self.assertTrue(record["path"].lower().endswith(button["program"].lower()))
            run(["xdotool", "mousemove", "2", "2"])

    def test_the_hidden_button_is_neither_drawn_nor_announced(self):
        self.start()
        skin = Bitmap(os.path.join(self.dist.path, "img", "skin.bmp"))
        left, top, width, height = HIDDEN_PLACE
        points = [(left + width // 2, top + height // 2), (left + 5, top + 5)]
        self.menu.wait_shown(self.samples(self.buttons[0], "-2") +
                             [(x, y, skin.pixel(x, y)) for x, y in points],
                             "the skin where the design's second button would be")
        lines = self.menu.accessible("describe")
        children = [line for line in lines if line["line"] == "child"]
        self.assertEqual([c["name"] for c in children], [b["label"] for b in self.buttons])
        x, y = self.menu.origin
        self.assertEqual([c["location"] for c in children],
                         ["%d,%d,%d,%d" % (x + b["place"][0], y + b["place"][1],
                                           self.picture(b, "-2").width,
                                           self.picture(b, "-2").height)
                          for b in self.buttons])

    def test_a_german_user_hears_german_names_and_sees_german_pictures(self):
        self.start(GERMAN)
        expected = []
        for button in self.buttons:
            expected += self.samples(button, "-2", german=True)
        self.menu.wait_shown(expected, "the German pictures")
        lines = self.menu.accessible("describe")
        self.assertEqual(lines[0]["name"], "Beispiel-CD")
        children = [line for line in lines if line["line"] == "child"]
        self.assertEqual([c["name"] for c in children], [b["label_de"] for b in self.buttons])


class ExampleKeyboard(UnderAWindowManager, ExampleCase):
    """Tab under a window manager, which gives the menu the keyboard focus."""

    def test_tab_visits_the_buttons_in_the_order_of_their_sections(self):
        self.start()
        self.menu.activate()
        self.menu.wait_shown(self.samples(self.buttons[0], "-2"), "the normal pictures")
        for button in self.buttons + self.buttons[:1]:
            key("Tab")
            self.menu.wait_shown(self.samples(button, "-3"), button["section"] + " focused")


class ExampleAt150(OnAScaledDisplay, ExampleCase):
    DPI = 144

    def test_the_places_scale(self):
        self.start()
        expected = []
        for button in self.buttons:
            expected += self.samples(button, "-2")
        self.menu.wait_shown(expected, "every button at its scaled place")
        button = self.buttons[3]
        self.menu.move(*self.centre(button))
        self.menu.wait_shown(self.samples(button, "-3"), button["section"] + " lit at 150 %")
