"""End-to-end tests of menu.exe under Wine: what the window looks like and how it answers the
pointer and the keyboard, judged from screenshots of the real window; what the user reads when a
file is missing; what a screen reader learns and can do through MSAA.

Usage: run.py DIST_FOLDER [TEST_NAME_PATTERN]
Needs DISPLAY (Xvfb with a white root) and WINEPREFIX; ends with "e2e: N passed, N failed"."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

import scales
import harness
from harness import (BUTTON_FILES, BUTTONS, INSTALLERS, WHITE, Dist, Menu, MenuCase, Screen,
                     UnderAWindowManager, close, hand_windows_to_a_window_manager, installer_log,
                     key, key_down, key_up, park_pointer, run, wait_for, windows_path, write_bmp)
from timestamp_server import TimeStampServer

DIST = None
PROBE = None

SCREEN_SIZE = (1024, 768)

# Other spots of the window.
DISABLED = [(192, 472), (320, 472), (448, 472), (576, 472)]  # 112 x 35 each
CORNERS = [(0, 60, 0, 60), (0, 60, 540, 599), (740, 799, 0, 60), (740, 799, 540, 599)]


ICON_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets",
                         "design", "menu.ico")


def icon_images(path):
    """{size: [ARGB of each pixel, top row first]} of the 4-bit images of an .ico file; pixels
    the mask leaves out are 0 (transparent)."""
    with open(path, "rb") as f:
        data = f.read()
    _, _, count = struct.unpack_from("<HHH", data, 0)
    images = {}
    for i in range(count):
        width, height, _, _, _, bits, _, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        assert bits == 4, "16-colour images"
        header = struct.unpack_from("<IiiHH", data, offset)
        palette_at = offset + header[0]
        palette = [struct.unpack_from("<BBBB", data, palette_at + 4 * c) for c in range(16)]
        colour_at = palette_at + 64
        colour_stride = (width * 4 + 31) // 32 * 4
        mask_at = colour_at + colour_stride * height
        mask_stride = (width + 31) // 32 * 4
        pixels = []
        for y in range(height):
            row = height - 1 - y  # bottom-up
            for x in range(width):
                byte = data[colour_at + row * colour_stride + x // 2]
                index = byte >> 4 if x % 2 == 0 else byte & 15
                masked = data[mask_at + row * mask_stride + x // 8] >> (7 - x % 8) & 1
                b, g, r, _ = palette[index]
                pixels.append(0 if masked else 0xFF000000 | r << 16 | g << 8 | b)
        images[width] = pixels
    return images


def window_icons(window):
    """{size: [ARGB pixels]} of the icons the window gives the desktop (_NET_WM_ICON)."""
    out = run(["xprop", "-id", window, "-notype", "-f", "_NET_WM_ICON", "32c", "=$0+\n",
               "_NET_WM_ICON"], check=False)
    if "=" not in out:
        return {}
    values = [int(v) for v in out.split("=", 1)[1].replace(",", " ").split()]
    icons = {}
    while len(values) >= 2:
        width, height = values[0], values[1]
        icons[width] = values[2:2 + width * height]
        values = values[2 + width * height:]
    return icons


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

    def test_the_window_gives_the_desktop_the_programs_icon_in_both_sizes(self):
        menu, _ = self.normal_menu()
        expected = icon_images(ICON_FILE)
        self.assertEqual(sorted(expected), [16, 32])
        shown = wait_for(lambda: window_icons(menu.window) or None, "the window's icons")
        self.assertEqual(sorted(shown), [16, 32])
        for size in (16, 32):
            self.assertEqual(len(shown[size]), size * size)
            differ = [i for i, (a, b) in enumerate(zip(shown[size], expected[size]))
                      if (a >> 24 == 0) != (b >> 24 == 0) or (b >> 24 and a & 0xFFFFFF != b & 0xFFFFFF)]
            self.assertEqual(differ, [], "icon %dx%d differs at pixels %s" % (size, size, differ[:8]))

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


class InstallerCase(MenuCase):
    """The stand-in installers record how they were started, then linger a few seconds."""

    INSTALLER_LINGER_MS = 4000

    def assert_installer(self, record, folder, name):
        self.assertEqual(record["path"].lower(), (folder + "\\ZENT\\%s_setup.exe" % name).lower())
        self.assertEqual(record["cwd"].rstrip("\\").lower(), (folder + "\\ZENT").lower())
        self.assertTrue(int(record["flags"], 16) & 1, "STARTF_USESHOWWINDOW")
        self.assertEqual(record["show"], "2", "SW_SHOWMINIMIZED")

    def check_folder(self, name, program=None, expected_folder=None):
        self.dist.remove()
        self.dist = Dist(DIST, name)
        self.log, self.env = installer_log(self.dist.base, self.INSTALLER_LINGER_MS)
        self.normal_menu(env=self.env, program=program)
        self.click(0)
        self.assertEqual(self.menu.wait_exit(), 0)
        record = wait_for(lambda: self.started(), "the installer's record")[0]
        self.assert_installer(record, expected_folder or windows_path(self.dist.path), "TEV")


class Commands(InstallerCase):
    """Clicks start the installers and end the menu; the strip drags the window."""

    def test_each_installer_button_starts_its_installer_minimized_and_the_menu_ends(self):
        folder = windows_path(self.dist.path)
        for index, name in INSTALLERS.items():
            park_pointer()
            self.normal_menu(env=self.env)
            self.click(index)
            self.assertEqual(self.menu.wait_exit(), 0)
            record = wait_for(lambda: self.started()[index:index + 1], "installer %s" % name)[0]
            self.assert_installer(record, folder, name)
            # The menu has ended while its installer still runs.
            running = run(["pgrep", "-f", "%s_setup.exe" % name], check=False)
            self.assertTrue(running.strip(), "%s should still be running" % name)
        self.assertEqual(len(self.started()), 4)

    def test_the_close_button_ends_the_menu_without_starting_anything(self):
        self.normal_menu(env=self.env)
        self.click(14)
        self.assertEqual(self.menu.wait_exit(), 0)
        self.assertEqual(self.started(), [])

    def test_a_click_on_a_disabled_button_leaves_the_menu_open(self):
        menu, _ = self.normal_menu(env=self.env)
        left, top = DISABLED[0]
        menu.move(left + 50, top + 15)
        menu.down(1)
        menu.up(1)
        # The menu goes on answering the pointer.
        menu.move(*self.centre(1))
        self.assert_shows(1, "-3")
        self.assertTrue(menu.alive())
        self.assertEqual(self.started(), [])

    def test_a_folder_with_spaces_and_parentheses(self):
        self.check_folder("My Disc (v2)")

    def test_a_folder_with_characters_outside_the_code_page(self):
        self.check_folder("Disc \u65e5\u672c \u0414\u0438\u0441\u043a \u00e9t\u00e9")

    def test_the_root_of_a_drive(self):
        drive = os.path.join(os.environ["WINEPREFIX"], "dosdevices", "q:")
        self.addCleanup(lambda: os.path.lexists(drive) and os.remove(drive))
        if os.path.lexists(drive):
            os.remove(drive)
        os.symlink(self.dist.path, drive)
        self.normal_menu(env=self.env, program="Q:\\menu.exe")
        self.click(2)
        self.assertEqual(self.menu.wait_exit(), 0)
        record = wait_for(lambda: self.started(), "the installer's record")[0]
        self.assert_installer(record, "Q:", "PIRUK")

    def test_a_missing_installer_is_reported_and_nothing_starts(self):
        os.remove(os.path.join(self.dist.path, "ZENT", "TEV_setup.exe"))
        self.normal_menu(env=self.env)
        self.click(0)
        box = self.menu.wait_dialog()[0]
        text = " ".join(box[1:])
        self.assertIn(windows_path(self.dist.path) + "\\ZENT\\TEV_setup.exe", text)
        self.assertIn("53", text)
        self.assertIn("System error 2", text)
        self.menu.answer_dialogs()
        self.assertEqual(self.menu.wait_exit(), 53)
        self.assertEqual(self.started(), [])

    def test_dragging_the_strip_moves_the_window_by_the_pointers_travel(self):
        menu, _ = self.normal_menu()
        place = menu.drag_strip()
        wait_for(lambda: menu.geometry(menu.window)[:2] == place, "the window to move by 60, 36")

    def test_pressing_the_background_moves_nothing(self):
        menu, _ = self.normal_menu()
        before = menu.geometry(menu.window)
        menu.move(400, 150)
        menu.down(1)
        menu.move(460, 200)
        menu.up(1)
        menu.move(*self.centre(0))  # once the menu answers this, the press has been handled
        self.assert_shows(0, "-3")
        self.assertEqual(menu.geometry(menu.window), before)


class Hardening(InstallerCase):
    """Nothing on the media subverts the program, and the program changes nothing there."""

    # DLLs that the shell and the system load on demand. Wine loads its own copies unless told to
    # prefer a file it finds on the search path; that is what the test tells it, so that a DLL
    # found beside the menu would be taken.
    PLANTED = ["shlwapi", "propsys", "uxtheme", "dwmapi", "cryptbase", "winmm", "setupapi",
               "userenv", "shcore", "profapi", "sspicli", "apphelp", "ntmarta", "secur32"]

    def test_a_dll_planted_beside_the_menu_is_never_loaded(self):
        planted = os.path.join(os.path.dirname(PROBE), "planted.dll")
        for name in self.PLANTED:
            shutil.copy(planted, os.path.join(self.dist.path, name + ".dll"))
        mark = os.path.join(self.dist.base, "planted.log")
        overrides = ";".join(name + "=n,b" for name in self.PLANTED)
        self.env.update({"WINEDLLOVERRIDES": "mscoree,mshtml=;" + overrides,
                         "MENU_PLANTED_MARK": windows_path(mark)})
        self.normal_menu(env=self.env)
        self.click(0)  # start-up, hover, press and the start of an installer through the shell
        self.assertEqual(self.menu.wait_exit(), 0)
        wait_for(lambda: self.started(), "the installer's record")
        loaded = open(mark, encoding="utf-8").read() if os.path.exists(mark) else ""
        self.assertEqual(loaded, "", "DLLs loaded from the menu's folder")

    def test_a_folder_deeper_than_the_classic_path_limit_shows_the_menu(self):
        deep = os.path.join(*["level-%02d-of-a-deep-disc-image" % i for i in range(10)])
        self.dist.remove()
        self.dist = Dist(DIST, deep)
        self.assertGreater(len(windows_path(self.dist.img("main.bmp"))), 260)
        menu, _ = self.normal_menu()
        menu.move(*self.centre(2))
        self.assert_shows(2, "-3")

    def test_an_installer_deeper_than_the_classic_path_limit_starts_or_is_reported(self):
        deep = os.path.join(*["level-%02d-of-a-deep-disc-image" % i for i in range(10)])
        self.dist.remove()
        self.dist = Dist(DIST, deep)
        folder = windows_path(self.dist.path)
        self.assertGreater(len(folder + "\\ZENT\\TEV_setup.exe"), 260)
        self.log = os.path.join(tempfile.mkdtemp(prefix="menu-log."), "installers.log")
        self.addCleanup(shutil.rmtree, os.path.dirname(self.log))
        self.env["MENU_INSTALLER_LOG"] = windows_path(self.log)
        self.normal_menu(env=self.env)
        self.click(0)
        # Windows starts it; Wine 8's shell cannot open a program this deep and says so, and then
        # the menu must report it like any other failed start. Either way nothing crashes.
        outcome = wait_for(lambda: ("started" if self.started() else None) or
                           ("reported" if self.menu.dialogs() else None) or
                           ("ended" if not self.menu.alive() else None),
                           "the installer or the error box")
        if outcome == "reported":
            text = " ".join(self.menu.wait_dialog()[0][1:])
            self.assertIn(folder + "\\ZENT\\TEV_setup.exe", text)
            self.assertIn("53", text)
            self.menu.answer_dialogs()
            self.assertEqual(self.menu.wait_exit(), 53)
            self.assertEqual(self.started(), [])
        else:
            self.assertEqual(self.menu.wait_exit(), 0)
            record = wait_for(lambda: self.started(), "the installer's record")[0]
            self.assert_installer(record, folder, "TEV")

    def test_a_read_only_distribution_is_left_exactly_as_it_was(self):
        def snapshot():
            entries = {}
            for folder, dirs, files in os.walk(self.dist.path):
                for name in dirs + files:
                    path = os.path.join(folder, name)
                    info = os.lstat(path)
                    entries[os.path.relpath(path, self.dist.path)] = (info.st_size, info.st_mtime_ns)
            return entries

        for folder, dirs, files in os.walk(self.dist.path):
            for name in dirs + files:
                os.chmod(os.path.join(folder, name), 0o555 if name in dirs else 0o444)
        os.chmod(self.dist.path, 0o555)
        try:
            self.run_read_only(snapshot)
        finally:
            subprocess.run(["chmod", "-R", "u+w", self.dist.path], check=True)

    def run_read_only(self, snapshot):
        before = snapshot()
        self.normal_menu(env=self.env)
        self.menu.move(*self.centre(1))
        self.assert_shows(1, "-3")
        self.menu.move(400, 150)
        self.assert_shows(1, "-2")
        self.click(3)
        self.assertEqual(self.menu.wait_exit(), 0)
        wait_for(lambda: self.started(), "the installer's record")
        self.assertEqual(snapshot(), before)

OTHER_SKIN = (30, 150, 90)  # a plain skin for a second disc, unlike any part of the demo skin
BARE_SKIN = [(400, 150), (30, 300), (780, 450), (400, 20), (240, 520)]  # no button lies there


class OneMenuAtATime(MenuCase):
    """A second start of one menu.exe brings the open menu to the front and ends; the menu.exe of
    another disc opens a menu of its own."""

    def setUp(self):
        super().setUp()
        self.others = []  # further starts, ended after the test
        self.folders = []  # other discs, removed after the test

    def tearDown(self):
        for menu in self.others:
            menu.kill()
        for folder in self.folders:
            folder.remove()
        super().tearDown()

    @staticmethod
    def menu_windows():
        """The mapped 800 x 600 windows of every menu.exe on the display."""
        out = run(["xdotool", "search", "--onlyvisible", "--classname", "^menu\\.exe$"],
                  check=False)
        return [w for w in out.split() if (Menu.geometry(w) or (0, 0, 0, 0))[2:] == (800, 600)]

    def other_disc(self):
        other = Dist(DIST, "other disc")
        write_bmp(other.img("main.bmp"), 800, 600, OTHER_SKIN)
        self.folders.append(other)
        menu = Menu(other.path, PROBE)
        self.others.append(menu)
        return menu

    def test_a_second_start_brings_the_open_menu_forward_and_ends_within_a_second(self):
        first, _ = self.normal_menu()
        skin = self.picture("main.bmp")
        own_skin = [(x, y, skin.pixel(x, y)) for x, y in BARE_SKIN]
        self.assertFalse(any(close(colour, OTHER_SKIN, 40) for _, _, colour in own_skin))
        # Another disc's menu opens on top of it: the two program files are different.
        other = self.other_disc()
        other.wait_window()
        first.wait_shown([(x, y, OTHER_SKIN) for x, y in BARE_SKIN], "the other disc's menu on top")
        self.assertEqual(len(self.menu_windows()), 2)

        started = time.monotonic()
        again = Menu(self.dist.path, PROBE)
        self.others.append(again)
        self.assertEqual(again.wait_exit(timeout=10), 0)
        self.assertLess(time.monotonic() - started, 1.0, "the second start ends at once")
        first.wait_shown(own_skin, "the first menu brought to the front")
        self.assertEqual(len(self.menu_windows()), 2, "no further menu window")
        self.assertTrue(first.alive() and other.alive())

    def test_two_starts_at_once_show_one_menu(self):
        starts = [Menu(self.dist.path, PROBE), Menu(self.dist.path, PROBE)]
        self.others += starts
        ended = wait_for(lambda: [m for m in starts if not m.alive()], "one start to end")[0]
        self.menu = starts[1] if ended is starts[0] else starts[0]
        self.assertEqual(ended.wait_exit(), 0)
        self.menu.wait_window()
        self.assertEqual(len(self.menu_windows()), 1)

    def test_after_the_menu_closes_a_new_start_shows_it_again(self):
        menu, _ = self.normal_menu()
        menu.move(*self.centre(14))
        self.assert_shows(14, "-3")
        menu.down(1)
        self.assert_shows(14, "-1")
        menu.up(1)
        self.assertEqual(menu.wait_exit(), 0)
        park_pointer()
        self.normal_menu()
        self.assertEqual(len(self.menu_windows()), 1)


class MediaRemoved(MenuCase):
    """The disc goes away under the running menu: what it still has to read is reported."""

    def test_pictures_gone_while_the_menu_runs_are_named_in_the_error_box(self):
        menu, _ = self.normal_menu()
        point = self.centre(0)
        shutil.rmtree(os.path.join(self.dist.path, "img"))
        menu.move(*point)
        text = " ".join(menu.wait_dialog()[0][1:])
        self.assertIn(windows_path(self.dist.img("bmp1-3.bmp")), text)
        self.assertIn("53", text)
        menu.answer_dialogs()
        self.assertEqual(menu.wait_exit(), 53, "the program's own error number, not a crash")


SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


class Signed(MenuCase):
    """Authenticode signatures made with a throwaway certificate, the way `--target sign` makes
    them: they verify, and the signed programs run as before."""

    def make_certificate(self):
        key, cert, p12 = (os.path.join(self.dist.base, n) for n in ("key.pem", "cert.pem", "t.p12"))
        run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
             "-subj", "/CN=Launcher menu test signer", "-addext", "extendedKeyUsage=codeSigning",
             "-keyout", key, "-out", cert])
        run(["openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", p12,
             "-passout", "pass:throwaway password"])
        return cert, p12

    def test_signed_programs_verify_and_the_signed_menu_still_starts(self):
        cert, p12 = self.make_certificate()
        menu_exe = os.path.join(self.dist.path, "menu.exe")
        skincheck = os.path.join(self.dist.base, "skincheck.exe")
        shutil.copy(os.path.join(DIST, "..", "tools", "skincheck", "skincheck.exe"), skincheck)
        env = dict(os.environ, MENU_SIGN_PKCS12=p12, MENU_SIGN_PASSWORD="throwaway password")
        env.pop("MENU_SIGN_TIMESTAMP_URL", None)
        for _ in range(2):  # signing a signed program again replaces its signature
            subprocess.run([sys.executable, os.path.join(SOURCE, "tools", "release", "sign.py"),
                            "--name", "Launcher menu", menu_exe, skincheck], env=env,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, check=True)
        for program in (menu_exe, skincheck):
            report = run(["osslsigncode", "verify", "-CAfile", cert, "-in", program], check=False)
            self.assertIn("Signature verification: ok", report, program)
            self.assertIn("Number of verified signatures: 1", report, program)
        self.normal_menu()
        checked = subprocess.run(["wine", skincheck, windows_path(self.dist.path)],
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL, timeout=60)
        self.assertEqual(checked.returncode, 0, "the signed skincheck passes the folder")

    def test_a_time_stamp_server_given_in_the_environment_dates_the_signature(self):
        cert, p12 = self.make_certificate()
        server = TimeStampServer(self.dist.base)
        self.addCleanup(server.stop)
        menu_exe = os.path.join(self.dist.path, "menu.exe")
        env = dict(os.environ, MENU_SIGN_PKCS12=p12, MENU_SIGN_PASSWORD="throwaway password",
                   MENU_SIGN_TIMESTAMP_URL=server.url)
        subprocess.run([sys.executable, os.path.join(SOURCE, "tools", "release", "sign.py"),
                        menu_exe], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       check=True)
        self.assertEqual(server.requests, 1)
        report = run(["osslsigncode", "verify", "-CAfile", cert, "-TSA-CAfile", server.certificate,
                      "-in", menu_exe], check=False)
        self.assertIn("Timestamp Server Signature verification: ok", report)
        self.assertIn("Signature verification: ok", report)


# The active buttons in the order screen readers list them (children 1 to 5) and the keyboard
# visits them, with the names they are given.
ACTIVE = [0, 1, 2, 3, 14]
NAMES = ["Install TEV \u2013 3D Design", "Install MOLAN \u2013 Audio Studio",
         "Install PIRUK \u2013 Photo Editor", "Install DASEF \u2013 Video Suite", "Close"]
ROLE_CLIENT, ROLE_PUSHBUTTON = 0x0A, 0x2B
FOCUSED, HOTTRACKED, FOCUSABLE = 0x4, 0x80, 0x100000


class ScreenReader(InstallerCase):
    """The window's client area as an MSAA client in another process sees it."""

    def lines(self, *args):
        lines = self.menu.accessible(*args)
        self.assertNotIn("error", [line["line"] for line in lines], lines)
        return lines

    def children(self, lines):
        children = [line for line in lines if line["line"] == "child"]
        self.assertEqual([c["id"] for c in children], ["1", "2", "3", "4", "5"])
        return children

    def test_a_reader_learns_the_window_and_its_five_buttons(self):
        menu, _ = self.normal_menu()
        x, y, width, height = menu.geometry(menu.window)
        skin, outside = (x + 400, y + 150), (x + 400, y - 10)
        lines = self.lines("describe", *skin, *outside)
        window = lines[0]
        self.assertEqual(window["line"], "window")
        self.assertEqual(window["name"], "Launcher menu")
        self.assertEqual(int(window["role"], 16), ROLE_CLIENT)
        self.assertEqual(window["location"], "%d,%d,%d,%d" % (x, y, width, height))
        self.assertEqual((window["children"], window["first"], window["last"]), ("5", "1", "5"))
        self.assertEqual(window["parent"], "window")
        for number, child in enumerate(self.children(lines), 1):
            index = ACTIVE[number - 1]
            left, top = BUTTONS[index]
            size = (80, 28) if index == 14 else (113, 122)
            self.assertEqual(child["name"], NAMES[number - 1])
            self.assertTrue(child["description"].startswith("Start" if index < 14 else "Close"))
            self.assertEqual(int(child["role"], 16), ROLE_PUSHBUTTON)
            self.assertEqual(int(child["state"], 16), FOCUSABLE, child["name"])
            self.assertEqual(child["location"], "%d,%d,%d,%d" % (x + left, y + top, *size))
            self.assertEqual(child["action"], "Press")
            self.assertEqual(child["child"], "0x00000001", "a simple element: S_FALSE")
            self.assertEqual(child["hit"], str(number), "hit test at the button's centre")
            after = str(number + 1) if number < 5 else "none"
            before = str(number - 1) if number > 1 else "none"
            self.assertEqual([child[d] for d in ("next", "right", "down")], [after] * 3)
            self.assertEqual([child[d] for d in ("previous", "left", "up")], [before] * 3)
        hits = [line["result"] for line in lines if line["line"] == "hit"]
        self.assertEqual(hits, ["0", "none"], "the bare skin is the window; outside is nothing")

    def test_select_focuses_and_lights_a_button(self):
        menu, _ = self.normal_menu()
        lines = self.lines("select", 3)
        self.assertEqual(lines[0], {"line": "select", "hr": "0x00000000"})
        self.assertEqual(lines[1]["focus"], "3")
        for number, child in enumerate(self.children(lines), 1):
            expected = FOCUSABLE | (FOCUSED | HOTTRACKED if number == 3 else 0)
            self.assertEqual(int(child["state"], 16), expected, child["name"])
        self.assert_shows(2, "-3")
        self.assertTrue(menu.alive())

    def test_the_default_action_answers_the_reader_then_closes_the_menu(self):
        self.normal_menu(env=self.env)
        lines = self.lines("press", 5)
        self.assertEqual(lines[0], {"line": "press", "hr": "0x00000000"})
        self.assertEqual(self.menu.wait_exit(), 0)
        self.assertNotEqual(lines[1]["hr"], "0x00000000", "the object is gone with the menu")
        self.assertEqual(self.started(), [])

    def test_the_default_action_starts_an_installer_as_a_click_does(self):
        self.normal_menu(env=self.env)
        self.assertEqual(self.lines("press", 2)[0]["hr"], "0x00000000")
        self.assertEqual(self.menu.wait_exit(), 0)
        record = wait_for(lambda: self.started(), "the installer's record")[0]
        self.assert_installer(record, windows_path(self.dist.path), "MOLAN")

    def test_an_installer_that_cannot_start_is_reported_as_after_a_click(self):
        os.remove(os.path.join(self.dist.path, "ZENT", "TEV_setup.exe"))
        self.normal_menu(env=self.env)
        self.assertEqual(self.lines("press", 1)[0]["hr"], "0x00000000")
        text = " ".join(self.menu.wait_dialog()[0][1:])
        self.assertIn(windows_path(self.dist.path) + "\\ZENT\\TEV_setup.exe", text)
        self.assertIn("53", text)
        self.menu.answer_dialogs()
        self.assertEqual(self.menu.wait_exit(), 53)


class Keyboard(UnderAWindowManager, InstallerCase):
    """Keys typed into the menu under a window manager, which gives it the keyboard focus."""

    def focused_menu(self):
        menu, _ = self.normal_menu(env=self.env)
        menu.activate()
        return menu

    def outline(self, index):
        """The client pixels of the focus rectangle around button `index`: two pixels out."""
        left, top = BUTTONS[index]
        picture = self.picture(BUTTON_FILES[index] + "-2.bmp")
        l, t, r, b = left - 2, top - 2, left + picture.width + 1, top + picture.height + 1
        return ([(x, t) for x in range(l, r + 1)] + [(x, b) for x in range(l, r + 1)] +
                [(l, y) for y in range(t + 1, b)] + [(r, y) for y in range(t + 1, b)])

    def dotted(self, index):
        """How many outline pixels show the skin inverted, and whether all others show the skin;
        None where some pixel is neither."""
        screen, skin = Screen(), self.picture("main.bmp")
        inverted = 0
        for x, y in self.outline(index):
            shown = screen.pixel(self.menu.origin[0] + x, self.menu.origin[1] + y)
            colour = skin.pixel(x, y)
            if close(shown, tuple(255 - c for c in colour)) and not close(shown, colour):
                inverted += 1
            elif not close(shown, colour):
                return None
        return inverted

    def test_tab_twice_and_enter_start_the_second_installer(self):
        self.focused_menu()
        key("Tab")
        self.assert_shows(0, "-3")
        key("Tab")
        self.assert_shows(1, "-3")
        self.assert_shows(0, "-2")
        key("Return")
        self.assertEqual(self.menu.wait_exit(), 0)
        record = wait_for(lambda: self.started(), "the installer's record")[0]
        self.assert_installer(record, windows_path(self.dist.path), "MOLAN")

    def test_shift_tab_focuses_the_close_button_and_space_closes(self):
        self.focused_menu()
        key("shift+Tab")
        self.assert_shows(14, "-3")
        key_down("space")
        self.assert_shows(14, "-1")
        self.assertTrue(self.menu.alive(), "the click follows the release")
        key_up("space")
        self.assertEqual(self.menu.wait_exit(), 0)
        self.assertEqual(self.started(), [])

    def test_escape_closes(self):
        self.focused_menu()
        key("Escape")
        self.assertEqual(self.menu.wait_exit(), 0)
        self.assertEqual(self.started(), [])

    def test_alt_f4_closes(self):
        self.focused_menu()
        key("alt+F4")
        self.assertEqual(self.menu.wait_exit(), 0)
        self.assertEqual(self.started(), [])

    def test_the_focused_button_shows_its_hover_picture_and_the_focus_rectangle(self):
        self.focused_menu()
        self.assertEqual(self.dotted(0), 0, "no focus rectangle before a key")
        key("Tab")
        self.assert_shows(0, "-3")
        inverted = wait_for(lambda: self.dotted(0), "the dotted focus rectangle")
        # Every other pixel of a dotted line; the corners may join two dots.
        self.assertGreater(inverted, len(self.outline(0)) * 0.4)
        key("Tab")
        self.assert_shows(1, "-3")
        wait_for(lambda: self.dotted(1), "the focus rectangle around the second button")
        wait_for(lambda: self.dotted(0) == 0, "the first button's rectangle to go")

    def test_the_pointer_on_the_bare_skin_after_tab_leaves_no_button_lit(self):
        menu = self.focused_menu()
        key("Tab")
        self.assert_shows(0, "-3")
        menu.move(400, 150)
        expected = []
        for index in BUTTONS:
            expected += self.looks(index, "-2")
        menu.wait_shown(expected, "every button in its normal look")


def main():
    global DIST, PROBE
    DIST = os.path.abspath(sys.argv[1])
    PROBE = os.path.abspath(os.path.join(DIST, "..", "tests", "e2e", "e2e_probe.exe"))
    harness.DIST, harness.PROBE = DIST, PROBE
    pattern = sys.argv[2] if len(sys.argv) > 2 else None
    loader = unittest.TestLoader()
    if pattern:
        loader.testNamePatterns = ["*%s*" % pattern]
    suite = loader.loadTestsFromModule(sys.modules[__name__])
    # The tests at other display scales bring an X server and a Wine prefix of their own; those of
    # the disc image mount one.
    import demo_folder
    import disc_image
    import installed
    import layout
    import png_demo
    import png_disc
    import settings
    for module in (settings, scales, layout, disc_image, demo_folder, installed, png_disc,
                   png_demo):
        module.DIST, module.PROBE = DIST, PROBE
        suite.addTests(loader.loadTestsFromModule(module))
    # No window manager runs but the keyboard tests' own: every other test sees Wine's windows
    # unmanaged rather than waiting seconds for a window manager on each hide.
    hand_windows_to_a_window_manager(False)
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    failed = len(result.failures) + len(result.errors)
    skipped = len(result.skipped)  # each with its reason above
    print("e2e: %d passed, %d failed, %d skipped" % (result.testsRun - failed - skipped, failed,
                                                     skipped))
    return 0 if failed == 0 and result.testsRun > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
