"""End-to-end tests of menu.exe run from a disc image: the distribution folder, with a menu.ini of
its own, made into an ISO 9660 image by the code of `--target iso`, mounted with Debian's fuseiso
and given to Wine as drive D: of type CD-ROM. The window, a click, the keyboard and a screen
reader from D:\\menu.exe, and skincheck on D:\\. Every request fuseiso serves is logged: nothing
may ask it to change the medium (it has no way to: any such request fails, and is seen here).
Skipped, saying why, where the machine has no /dev/fuse or no fuseiso.

run.py loads these tests and sets DIST and PROBE."""

import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile

from harness import (BUTTONS, WHITE, Bitmap, Menu, WindowManager, close,
                     hand_windows_to_a_window_manager, installer_log, installer_records, key, run,
                     wait_for)
from settings import SettingsCase

DIST = None
PROBE = None

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SCREEN_SIZE = (1024, 768)
LABELS = ["TEV from the disc", "MOLAN from the disc", "PIRUK from the disc", "DASEF from the disc",
          "Close the disc's menu"]
MENU_INI = "[Menu]\r\nTitle=Demo disc in drive D\r\n" + "".join(
    "[%s]\r\nLabel=%s\r\n" % (section, label)
    for section, label in zip(["Button1", "Button2", "Button3", "Button4", "Close"], LABELS))
# What FUSE asks a file system for when something would change it.
CHANGES = re.compile(r"opcode: (CREATE|MKNOD|MKDIR|WRITE|UNLINK|RMDIR|RENAME2?|SETATTR|SYMLINK|"
                     r"LINK|SETXATTR|REMOVEXATTR|FALLOCATE|COPY_FILE_RANGE)\b")
WRITE_OPEN = re.compile(r"^open flags: (0x[0-9a-f]+) (.*)$", re.M)


def missing():
    """Why the image cannot be mounted here, or None."""
    if not os.path.exists("/dev/fuse"):
        return "this machine has no /dev/fuse"
    for tool in ("fuseiso", "fusermount", "xorriso"):
        if shutil.which(tool) is None:
            return "%s is not installed (Debian: scripts/lib.sh installs it)" % tool
    return None


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def changes_requested(log):
    """Every request in fuseiso's debug log that would change the medium."""
    found = CHANGES.findall(log)
    for flags, path in WRITE_OPEN.findall(log):
        if int(flags, 16) & (os.O_WRONLY | os.O_RDWR | os.O_TRUNC | os.O_APPEND):
            found.append("open for writing %s" % path)
    return found


def restart_wine():
    """Stops the prefix's Wine and starts it again: its mount manager reads the drives and their
    types as it starts. Output detached, as Wine's services keep whatever they inherit."""
    for command in (["wineserver", "-k"], ["wineserver", "-w"], ["wineserver", "-p"],
                    ["wine", "cmd", "/c", "exit"]):
        subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)


class MountedImage:
    """The image mounted with fuseiso at a folder of its own, in the foreground with FUSE's debug
    log, as Wine's drive D: of type CD-ROM; undone by remove()."""

    def __init__(self, base, image):
        self.mount_point = os.path.join(base, "cdrom")
        self.log_path = os.path.join(base, "fuseiso.log")
        os.mkdir(self.mount_point)
        self.log = open(self.log_path, "w")
        # -n: no record in the user's home; -d: every request logged (foreground).
        self.process = subprocess.Popen(["fuseiso", "-n", image, self.mount_point, "-d"],
                                        stdin=subprocess.DEVNULL, stdout=self.log,
                                        stderr=subprocess.STDOUT)
        self.drive = os.path.join(os.environ["WINEPREFIX"], "dosdevices", "d:")
        self.saved = os.readlink(self.drive) if os.path.islink(self.drive) else None
        try:
            wait_for(self._mounted, "fuseiso to mount the image")
            if os.path.lexists(self.drive):
                os.remove(self.drive)
            os.symlink(self.mount_point, self.drive)
            run(["wine", "reg", "add", "HKLM\\Software\\Wine\\Drives", "/v", "d:", "/t", "REG_SZ",
                 "/d", "cdrom", "/f"])
            restart_wine()
        except BaseException:
            self.remove()
            raise

    def _mounted(self):
        if self.process.poll() is not None:
            raise AssertionError("fuseiso ended with %d" % self.process.returncode)
        return os.path.ismount(self.mount_point)

    def img(self, name):
        return os.path.join(self.mount_point, "img", name)

    def requests(self):
        with open(self.log_path, errors="replace") as f:
            return f.read()

    def remove(self):
        run(["wine", "reg", "delete", "HKLM\\Software\\Wine\\Drives", "/v", "d:", "/f"],
            check=False)
        if os.path.lexists(self.drive):
            os.remove(self.drive)
        if self.saved is not None:
            os.symlink(self.saved, self.drive)
        restart_wine()
        if self.process.poll() is None:
            # An installer still running from the disc holds its folder until it ends.
            try:
                wait_for(lambda: run(["fusermount", "-u", self.mount_point], check=False) == "" and
                         not os.path.ismount(self.mount_point), "the image to be unmounted")
            except AssertionError:
                run(["fusermount", "-u", "-z", self.mount_point], check=False)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.terminate()
                self.process.wait(timeout=10)
        self.log.close()


class DiscImage(SettingsCase):
    """The buttons' looks, places and clicks as the menu.ini tests judge them; the disc in place
    of their copy of the distribution folder."""

    @classmethod
    def setUpClass(cls):
        cls.missing = missing()
        if cls.missing:
            return
        cls.base = tempfile.mkdtemp(prefix="menu-disc.")
        folder = os.path.join(cls.base, "disc")
        shutil.copytree(DIST, folder)
        with open(os.path.join(folder, "menu.ini"), "w", encoding="utf-8", newline="") as f:
            f.write(MENU_INI)
        cls.image = os.path.join(cls.base, "menu.iso")
        subprocess.run([sys.executable, os.path.join(SOURCE, "tools", "release", "disc.py"), "iso",
                        "--epoch", "315532800", "--name", "Launcher menu", "--version", "0",
                        folder, cls.image], stdin=subprocess.DEVNULL, check=True)
        shutil.rmtree(folder)
        cls.image_hash = sha256(cls.image)
        try:
            cls.disc = MountedImage(cls.base, cls.image)
        except BaseException:
            shutil.rmtree(cls.base, ignore_errors=True)
            raise

    @classmethod
    def tearDownClass(cls):
        if cls.missing:
            return
        cls.disc.remove()
        shutil.rmtree(cls.base, ignore_errors=True)

    def setUp(self):
        if self.missing:
            self.skipTest("the menu from a mounted disc image: " + self.missing)
        self.menu = None
        self.dist = self.disc
        self.work = tempfile.mkdtemp(prefix="menu-disc-run.")
        # The installers record themselves off the disc and end a second after they start.
        self.log, self.env = installer_log(self.work, 1000)
        run(["xdotool", "mousemove", "2", "2"])

    def tearDown(self):
        if self.menu is not None:
            self.menu.answer_dialogs()
            self.menu.kill()
        shutil.rmtree(self.work, ignore_errors=True)
        self.assertEqual(changes_requested(self.disc.requests()), [],
                         "requests to change the medium")
        self.assertEqual(sha256(self.image), self.image_hash, "the image file changed")

    def start(self):
        """D:\\menu.exe, started from a folder off the disc, until it shows every button."""
        self.menu = Menu(self.work, PROBE, env=self.env, program="D:\\menu.exe")
        self.menu.wait_window()
        expected = []
        for index in BUTTONS:
            expected += self.looks(index, "-2")
        return self.menu.wait_shown(expected, "the normal pictures of the buttons")

    def assert_molan_started_from_the_disc(self):
        self.assertEqual(self.menu.wait_exit(), 0)
        record = wait_for(lambda: installer_records(self.log), "the installer's record")[0]
        self.assertEqual(record["path"].lower(), "d:\\zent\\molan_setup.exe")
        self.assertEqual(record["cwd"].rstrip("\\").lower(), "d:\\zent")
        self.assertTrue(int(record["flags"], 16) & 1, "STARTF_USESHOWWINDOW")
        self.assertEqual(record["show"], "2", "SW_SHOWMINIMIZED")

    def test_the_drive_is_a_cd_rom_drive(self):
        out = subprocess.run(["wine", "wmic", "logicaldisk", "get", "name,drivetype"],
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, timeout=60).stdout.decode("utf-16")
        self.assertRegex(out, r"(?m)^\s*5\s+D:", "DriveType 5 (CD-ROM) for D:")

    def test_the_window_appears_as_designed(self):
        screen = self.start()
        x, y, width, height = Menu.geometry(self.menu.window)
        self.assertEqual((width, height), (800, 600))
        self.assertLessEqual(abs(x - (SCREEN_SIZE[0] - 800) // 2), 1)
        self.assertLessEqual(abs(y - (SCREEN_SIZE[1] - 600) // 2), 1)
        skin = Bitmap(self.disc.img("main.bmp"))
        self.assertEqual(skin.pixel(2, 2), (0, 0, 0), "the demo skin's corner is a hole")
        self.assertEqual(screen.pixel(x + 2, y + 2), WHITE)
        for xx, yy in ((400, 150), (400, 20), (30, 300), (780, 450)):
            self.assertTrue(close(screen.pixel(x + xx, y + yy), skin.pixel(xx, yy)), (xx, yy))

    def test_a_click_starts_the_installer_on_the_disc_minimized(self):
        self.start()
        self.click(1)
        self.assert_molan_started_from_the_disc()

    def test_a_screen_reader_hears_the_names_the_discs_menu_ini_gives(self):
        self.start()
        lines = self.menu.accessible("describe")
        children = [line for line in lines if line["line"] == "child"]
        self.assertEqual(lines[0]["name"], "Demo disc in drive D")
        self.assertEqual([c["name"] for c in children], LABELS)
        self.assertEqual(self.menu.accessible("press", 2)[0]["hr"], "0x00000000")
        self.assert_molan_started_from_the_disc()

    def test_tab_twice_and_enter_start_the_installer_on_the_disc(self):
        hand_windows_to_a_window_manager(True)
        window_manager = WindowManager()
        self.addCleanup(hand_windows_to_a_window_manager, False)
        self.addCleanup(window_manager.stop)
        self.start()
        self.menu.activate()
        key("Tab")
        self.menu.wait_shown(self.looks(0, "-3"), "button 1 lit")
        key("Tab")
        self.menu.wait_shown(self.looks(1, "-3"), "button 2 lit")
        key("Return")
        self.assert_molan_started_from_the_disc()

    def test_skincheck_passes_the_mounted_image(self):
        skincheck = os.path.join(DIST, "..", "tools", "skincheck", "skincheck.exe")
        checked = subprocess.run(["wine", skincheck, "D:\\"], cwd=self.work,
                                 stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                 stderr=subprocess.STDOUT, timeout=120)
        report = checked.stdout.decode("utf-8", "replace")
        self.assertEqual(checked.returncode, 0, report)
        self.assertRegex(report, r"(?m)^0 errors, 0 warnings, 0 notes: the menu will work")


def load_tests(loader, tests, pattern):
    return loader.loadTestsFromTestCase(DiscImage)
