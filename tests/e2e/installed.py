"""End-to-end tests of buttons that know what the computer has: a registry key added with
`wine reg add` marks its button with the installed look; a hidden installed button leaves screen
readers four; a file condition with an environment variable; an unmet RequiresWindows greys the
button and a click on it does nothing; an installed button that is disabled shows the installed
look while a click on it starts nothing and Tab passes it by; a key added while the menu stays
open shows once the user comes back to it; and the menu writes nothing to the registry.

run.py loads these tests."""

import os

from harness import (BUTTONS, MenuCase, UnderAWindowManager, key, run, samples, wait_for,
                     windows_path, write_bmp)

# Keys of this suite only, under a vendor name no program uses; removed after each test.
KEY = "HKLM\\Software\\MenuEndToEnd\\Tev"
INSTALLED_COLOUR = (20, 160, 60)


def greyed(colour):
    """A colour as the menu greys a button it makes its own unavailable look for."""
    r, g, b = colour
    brightness = (299 * r + 587 * g + 114 * b + 500) // 1000
    grey = 128 + brightness // 2
    return (grey, grey, grey)


# Keys Wine keeps for itself whatever program runs, left out of the comparison: its plug and play
# manager marks device interfaces linked and unlinked as devices come and go (the display's among
# them), its service manager counts its starts, and its window system keeps mouse settings there
# when it first handles the pointer.
WINES_OWN = (
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\DeviceClasses\\",
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\ServiceCurrent]",
    "[HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters",
)


def registry():
    """HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER as the registry holds them now, exported, without
    the keys Wine keeps for itself."""
    exported = []
    for hive in ("HKLM", "HKCU"):
        path = os.path.join(os.environ.get("TMPDIR", "/tmp"), "menu-e2e-%s.reg" % hive)
        run(["wine", "reg", "export", hive, windows_path(path), "/y"], timeout=120)
        with open(path, "rb") as f:
            text = f.read().decode("utf-16-le", errors="replace")
        os.remove(path)
        keys = text.split("\r\n\r\n")
        exported.append("\r\n\r\n".join(
            key for key in keys if not key.lower().startswith(tuple(k.lower() for k in WINES_OWN))))
    return exported


class InstalledCase(MenuCase):
    def setUp(self):
        super().setUp()
        write_bmp(self.dist.img("bmp1-4.bmp"), 113, 122, INSTALLED_COLOUR)
        self.addCleanup(run, ["wine", "reg", "delete", KEY, "/f"], check=False)

    def write_ini(self, text):
        with open(os.path.join(self.dist.path, "menu.ini"), "w", encoding="utf-8",
                  newline="\r\n") as f:
            f.write(text)

    def add_key(self):
        run(["wine", "reg", "add", KEY, "/v", "DisplayVersion", "/d", "7.10", "/f"])

    def children(self):
        return [line for line in self.menu.accessible("describe") if line["line"] == "child"]


class Installed(InstalledCase):
    INSTALLER_LINGER_MS = 3000

    def test_a_key_added_with_reg_add_marks_its_button_with_the_installed_look(self):
        self.add_key()
        self.write_ini("[Button1]\nInstalledKey=%s\nInstalledVersion=7.9\n" % KEY)
        self.start_window(env=self.env)
        self.assert_shows(0, "-4")
        self.assert_shows(1, "-2")
        # Marked, it still lights up and starts its installer.
        self.click(0)
        self.assertEqual(self.menu.wait_exit(), 0)
        record = wait_for(lambda: self.started(), "the installer's record")[0]
        self.assertTrue(record["path"].lower().endswith("tev_setup.exe"), record["path"])

    def test_an_installed_button_that_hides_leaves_a_screen_reader_four_buttons(self):
        self.add_key()
        self.write_ini("[Button1]\nInstalledKey=%s\nWhenInstalled=hide\n" % KEY)
        self.start_window(env=self.env)
        self.assert_shows(1, "-2")
        names = [child["name"] for child in self.children()]
        self.assertEqual(len(names), 4, names)
        self.assertFalse(any("TEV" in name for name in names), names)

    def test_a_file_named_through_an_environment_variable(self):
        home = os.path.join(self.dist.base, "Northwind")
        os.makedirs(home)
        with open(os.path.join(home, "tev.exe"), "wb") as f:
            f.write(b"MZ")
        self.env["MENU_E2E_HOME"] = windows_path(home)
        self.write_ini("[Button1]\nInstalledFile=%MENU_E2E_HOME%\\tev.exe\n"
                       "[Button2]\nInstalledFile=%MENU_E2E_HOME%\\molan.exe\n")
        self.start_window(env=self.env)
        self.assert_shows(0, "-4")
        self.assert_shows(1, "-2")

    def test_an_unmet_windows_version_greys_the_button_and_a_click_does_nothing(self):
        self.write_ini("[Button1]\nRequiresWindows=99\nTooltipUnavailable=Needs Windows 99\n")
        self.start_window(env=self.env)
        left, top = BUTTONS[0]
        grey = [(x, y, greyed(colour))
                for x, y, colour in samples(self.picture("bmp1-2.bmp"), left, top)]
        self.menu.wait_shown(grey, "the greyed look of button 1")
        first = self.children()[0]
        self.assertTrue(int(first["state"], 16) & 0x1, "STATE_SYSTEM_UNAVAILABLE: " + str(first))
        self.assertIn("Needs Windows 99", first["description"])
        self.menu.move(*self.centre(0))
        self.menu.down(1)
        self.menu.up(1)
        # Another button lights up: the menu has handled the click before; the greyed one
        # neither lit up nor started anything, and the other one starts its installer.
        self.menu.move(*self.centre(3))
        self.assert_shows(3, "-3")
        self.menu.wait_shown(grey, "the greyed look of button 1, still")
        self.menu.down(1)
        self.assert_shows(3, "-1")
        self.menu.up(1)
        self.assertEqual(self.menu.wait_exit(), 0)
        records = wait_for(lambda: self.started(), "the installer's record")
        self.assertEqual([r["path"].lower().rsplit("\\", 1)[-1] for r in records],
                         ["dasef_setup.exe"])

    def test_the_menu_writes_nothing_to_the_registry(self):
        self.add_key()
        self.write_ini("[Button1]\nInstalledKey=%s\nInstalledVersion=7.1\n"
                       "[Button2]\nInstalledKey=HKCU\\Software\\MenuEndToEnd\\Molan\n"
                       "InstalledFile=%%ProgramW6432%%\\MenuEndToEnd\\molan.exe\n"
                       "[Button3]\nRequiresWindows=6.1\nRequires64Bit=yes\n" % KEY)
        before = registry()
        self.start_window(env=self.env)
        self.assert_shows(0, "-4")
        self.children()  # a screen reader asks about every button
        self.click(14)
        self.assertEqual(self.menu.wait_exit(), 0)
        after = registry()
        for hive, old, new in zip(("HKLM", "HKCU"), before, after):
            self.assertEqual(old, new, "the menu changed " + hive)


class Disabled(UnderAWindowManager, InstalledCase):
    """WhenInstalled=disable, with the keyboard focus that Tab needs."""
    INSTALLER_LINGER_MS = 3000

    def test_a_disabled_installed_button_starts_nothing_and_tab_passes_it_by(self):
        self.add_key()
        self.write_ini("[Button1]\nInstalledKey=%s\nWhenInstalled=disable\n" % KEY)
        self.start_window(env=self.env)
        self.menu.activate()
        self.assert_shows(0, "-4")
        self.menu.move(*self.centre(0))
        self.menu.down(1)
        self.menu.up(1)
        # The click may leave the window manager and Wine passing the focus between them for a
        # moment; the keys are typed once the menu is the active window again.
        self.menu.activate()
        # The first Tab goes to the second button; the first keeps its look under the pointer,
        # neither lit nor pressed, and Enter starts the second button's installer alone.
        key("Tab")
        self.assert_shows(1, "-3")
        self.assert_shows(0, "-4")
        key("Return")
        self.assertEqual(self.menu.wait_exit(), 0)
        records = wait_for(lambda: self.started(), "the installer's record")
        self.assertEqual([r["path"].lower().rsplit("\\", 1)[-1] for r in records],
                         ["molan_setup.exe"])


class ComingBack(UnderAWindowManager, InstalledCase):
    """The menu stays open after a start; the user installs, comes back, and the menu knows."""

    def test_a_key_added_while_the_menu_stays_open_changes_the_look_on_coming_back(self):
        self.write_ini("[Button1]\nInstalledKey=%s\n[Button3]\nAfterStart=stay\n" % KEY)
        self.start_window()
        self.menu.activate()
        self.assert_shows(0, "-2")
        # The stand-in installer shows its box, which takes the activation from the menu.
        self.click(2)
        wait_for(lambda: self.menu.dialogs(), "the installer's box")
        self.add_key()
        self.menu.answer_dialogs()
        wait_for(lambda: not self.menu.dialogs(), "the box to close")
        self.menu.activate()
        self.assert_shows(0, "-4")


def load_tests(loader, tests, pattern):
    suite = loader.loadTestsFromTestCase(Installed)
    suite.addTests(loader.loadTestsFromTestCase(Disabled))
    suite.addTests(loader.loadTestsFromTestCase(ComingBack))
    return suite
