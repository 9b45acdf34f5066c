"""Drives the real menu.exe under Wine on a private X display: starts it from a copy of the
distribution folder, finds its window, moves and presses the pointer and types keys with xdotool,
reads the screen, reads message boxes through a small helper program that runs under Wine too,
asks the window what it tells screen readers through another, and starts a window manager for
the tests that need the keyboard focus. Holds what the test files share: the demo skin's buttons,
MenuCase (a copy of the distribution folder a test, and the end of every process the test
started, by its id) and ScaledDisplay (an X server and a Wine prefix at another scale, made with
scripts/lib.sh as the scripts make theirs).

Needs DISPLAY (an Xvfb started with -wr, a white root) and WINEPREFIX set by the caller; run.py
sets DIST and PROBE."""

import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import unittest

TIMEOUT = 20.0  # seconds any one condition may take before the test fails


class Timeout(AssertionError):
    pass


def wait_for(condition, what, timeout=TIMEOUT, interval=0.05):
    """Polls until condition() returns something true and returns it."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Timeout("timed out waiting for " + what)
        time.sleep(interval)


def run(args, timeout=30, check=True):
    result = subprocess.run(args, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, timeout=timeout)
    if check and result.returncode != 0:
        raise AssertionError("%s failed with %d" % (" ".join(args), result.returncode))
    return result.stdout.decode("utf-8", "replace")


def windows_path(path):
    """The Windows name of a host path. winepath cuts its answer at the classic path limit, so a
    long path is named through its nearest short ancestor."""
    path = os.path.abspath(path)
    rest = []
    while len(path) > 200:
        path, name = os.path.split(path)
        rest.insert(0, name)
    named = run(["winepath", "-w", path]).strip()
    return "\\".join([named.rstrip("\\")] + rest) if rest else named


# A window manager ------------------------------------------------------------------------------

# Focus for new windows, and no key or mouse bindings of the window manager's own: every key the
# tests type reaches the program.
OPENBOX_CONFIG = """<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <keyboard></keyboard>
  <mouse></mouse>
</openbox_config>
"""


class WindowManager:
    """openbox on the display of DISPLAY, until stop(); keyboard input reaches a Wine window only
    when a window manager gives it the focus."""

    def __init__(self):
        self.base = tempfile.mkdtemp(prefix="menu-wm.")
        config = os.path.join(self.base, "rc.xml")
        with open(config, "w", encoding="utf-8") as f:
            f.write(OPENBOX_CONFIG)
        # Its caches and session files go to the private folder, not to the user's.
        environment = dict(os.environ, XDG_CACHE_HOME=self.base, XDG_CONFIG_HOME=self.base,
                           XDG_DATA_HOME=self.base)
        self.process = subprocess.Popen(["openbox", "--config-file", config],
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, env=environment)
        try:
            wait_for(self._managing, "openbox to manage the display")
        except BaseException:
            self.stop()
            raise

    def _managing(self):
        if self.process.poll() is not None:
            raise AssertionError("openbox ended with %d" % self.process.returncode)
        return "window id" in run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)
        shutil.rmtree(self.base, ignore_errors=True)


def hand_windows_to_a_window_manager(managed):
    """Whether Wine lets a window manager handle its windows (the X11 driver's Managed setting in
    the prefix of WINEPREFIX, read by each Wine program as it starts). With no window manager on
    the display, Wine waits about 2 s for one on every hide of a window it hands over; left
    unmanaged, Wine places, stacks and focuses its windows itself, as Windows does."""
    run(["wine", "reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed", "/t",
         "REG_SZ", "/d", "Y" if managed else "N", "/f"])


def key(*names):
    """Types keys (xdotool names such as Tab, shift+Tab, alt+F4) into the focused window."""
    run(["xdotool", "key"] + list(names))


def key_down(name):
    run(["xdotool", "keydown", name])


def key_up(name):
    run(["xdotool", "keyup", name])


# Pictures -------------------------------------------------------------------------------------

class Bitmap:
    """A decoded Windows bitmap file: uncompressed 24- or 32-bit, bottom-up or top-down."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:2] != b"BM":
            raise ValueError(path + " is not a bitmap")
        offset = struct.unpack_from("<I", data, 10)[0]
        width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
        if bits not in (24, 32) or compression not in (0, 3):
            raise ValueError("%s: only 24- and 32-bit files are read here" % path)
        self.width, self.height = width, abs(height)
        step = bits // 8
        stride = (width * bits + 31) // 32 * 4
        self.rows = []
        for y in range(self.height):
            row = y if height < 0 else self.height - 1 - y
            start = offset + row * stride
            line = data[start:start + width * step]
            self.rows.append([(line[i + 2], line[i + 1], line[i])
                              for i in range(0, width * step, step)])

    def pixel(self, x, y):
        return self.rows[y][x]


class PngPicture:
    """A PNG file's pixels as 8-bit RGBA, decoded by ImageMagick."""

    def __init__(self, path):
        with open(path, "rb") as f:
            header = f.read(24)
        if header[:8] != b"\x89PNG\r\n\x1a\n":
            raise ValueError(path + " is not a PNG file")
        self.width, self.height = struct.unpack_from(">II", header, 16)
        self.data = subprocess.run(["convert", path, "-depth", "8", "rgba:-"],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, timeout=30, check=True).stdout
        assert len(self.data) == self.width * self.height * 4, path

    def alpha(self, x, y):
        return self.data[(y * self.width + x) * 4 + 3]

    def pixel(self, x, y):
        """The colour of an opaque pixel; None for one that what lies behind shows through."""
        i = (y * self.width + x) * 4
        return tuple(self.data[i:i + 3]) if self.data[i + 3] == 255 else None


def write_bmp(path, width, height, colour):
    """A 24-bit bottom-up bitmap of one colour (r, g, b), or painted by colour(x, y)."""
    stride = (width * 3 + 3) // 4 * 4
    pad = b"\0" * (stride - width * 3)
    if callable(colour):
        rows = [b"".join(bytes(colour(x, y)[::-1]) for x in range(width)) + pad
                for y in range(height - 1, -1, -1)]
    else:
        rows = [bytes(colour[::-1]) * width + pad] * height
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


class Screen:
    """One screenshot of the whole X display, as RGB pixels."""

    def __init__(self):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=30, check=True).stdout
        fields = []
        at = 0
        while len(fields) < 4:
            while data[at:at + 1].isspace():
                at += 1
            end = at
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[at:end])
            at = end
        at += 1
        assert fields[0] == b"P6" and fields[3] == b"255", "unexpected screenshot format"
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = data[at:]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


def close(a, b, tolerance=8):
    """Colours equal within what a display of fewer bits per channel would change."""
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


WHITE = (255, 255, 255)


# The menu ---------------------------------------------------------------------------------------

class Dist:
    """A private copy of the distribution folder that a test may change. The shipped menu.ini is
    left out unless asked for, so that the menu behaves as it does with no settings file."""

    def __init__(self, source, name="menu", settings=False):
        self.base = tempfile.mkdtemp(prefix="menu-e2e.")
        self.path = os.path.join(self.base, name)
        shutil.copytree(source, self.path)  # `name` may hold several levels of folders
        if not settings:
            os.remove(os.path.join(self.path, "menu.ini"))

    def img(self, name):
        return os.path.join(self.path, "img", name)

    def remove(self):
        shutil.rmtree(self.base, ignore_errors=True)


def installer_log(folder, linger_ms):
    """Where the stand-in installers started from a test record themselves (a file in `folder`),
    and the environment that tells them so and keeps each running `linger_ms` afterwards."""
    log = os.path.join(folder, "installers.log")
    return log, {"MENU_INSTALLER_LOG": windows_path(log), "MENU_INSTALLER_LINGER_MS": str(linger_ms)}


def installer_records(log):
    """One dict a started installer, in the order they started: path, flags, show, cwd, cmdline,
    pid."""
    if not os.path.exists(log):
        return []
    with open(log, encoding="utf-8") as f:
        return [dict(field.split("=", 1) for field in line.rstrip("\n").split("\t"))
                for line in f if line.strip()]


class Menu:
    """One run of menu.exe under Wine."""

    def __init__(self, folder, probe, exe="menu.exe", env=None, program=None):
        """Starts `exe` in `folder`, or `program` (a path as Wine takes it) when given."""
        self.folder = folder
        self.probe = probe
        environment = dict(os.environ)
        environment.update(env or {})
        command = program or os.path.join(folder, exe)
        self.process = subprocess.Popen(["wine", command], cwd=folder,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, env=environment,
                                        start_new_session=True)
        self.window = None
        self.origin = (0, 0)

    # Windows of this process as X knows them.
    def windows(self):
        out = run(["xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)],
                  check=False)
        return [w for w in out.split()]

    @staticmethod
    def geometry(window):
        out = run(["xdotool", "getwindowgeometry", "--shell", window], check=False)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        if not values:
            return None
        return (int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"]))

    def main_window(self, size=(800, 600)):
        """The menu's own window once it is mapped at `size`, or None. A skin's half-transparent
        pixels may lie in a window of the same size and place just behind it, which Wine maps
        past the window manager (override-redirect), as it does the menu's window only where it
        manages no windows."""
        found = None
        for window in self.windows():
            geometry = self.geometry(window)
            if geometry and geometry[2:] == size:
                info = run(["xwininfo", "-id", window], check=False)
                if "Override Redirect State: no" in info:
                    return window, geometry
                found = found or (window, geometry)
        return found

    def boxes_up(self, size=(800, 600)):
        """Whether the menu shows a window besides its own window of `size`: a message box."""
        for window in self.windows():
            geometry = self.geometry(window) if window != self.window else None
            if geometry and geometry[2:] != size:
                return True
        return False

    def covered(self, x, y):
        """Whether client point x, y lies under another window of the menu (a message box)."""
        sx, sy = self.origin[0] + x, self.origin[1] + y
        own = self.geometry(self.window) if self.window else None
        for window in self.windows():
            if window == self.window:
                continue
            g = self.geometry(window)
            # The window of half-transparent pixels lies just behind the menu's, at its place.
            if g and g != own and g[0] <= sx < g[0] + g[2] and g[1] <= sy < g[1] + g[3]:
                return True
        return False

    def wait_window(self, size=(800, 600)):
        # A start may take longer than any later step: Wine sets up a language the prefix has not
        # seen yet, and scripts/test compiles in its other lane beside these tests.
        self.window, geometry = wait_for(lambda: self.main_window(size),
                                         "the menu window at %dx%d" % size, timeout=3 * TIMEOUT)
        self.origin = geometry[:2]
        return geometry

    def wait_shown(self, expectations, what="the menu's pictures"):
        """Waits until every (client x, client y, colour) holds in a screenshot; returns it."""
        def check():
            screen = Screen()
            for x, y, colour in expectations:
                if not close(screen.pixel(self.origin[0] + x, self.origin[1] + y), colour):
                    return None
            return screen
        return wait_for(check, what)

    # Pointer, in client coordinates.
    def move(self, x, y):
        run(["xdotool", "mousemove", str(self.origin[0] + x), str(self.origin[1] + y)])

    def down(self, button=1):
        run(["xdotool", "mousedown", str(button)])

    def drag_strip(self):
        """Presses the top strip at client 400, 20 and moves the pointer by 60, 36 in six steps
        before releasing it; returns where the window should then be."""
        x0, y0 = self.origin
        self.move(400, 20)
        self.down(1)
        for step in range(1, 7):
            run(["xdotool", "mousemove", str(x0 + 400 + 10 * step), str(y0 + 20 + 6 * step)])
        self.up(1)
        return x0 + 60, y0 + 36

    def up(self, button=1):
        run(["xdotool", "mouseup", str(button)])

    # Message boxes, read through the probe.
    def dialogs(self):
        out = run(["wine", self.probe, "dialogs"], check=False)
        return [line.split("\t") for line in out.splitlines() if line.strip()]

    def wait_dialog(self):
        return wait_for(lambda: self.dialogs(), "a message box")

    def answer_dialogs(self):
        run(["wine", self.probe, "close"], check=False)

    def activate(self):
        """Has the window manager give the menu the keyboard focus, then reads where it placed
        the window."""
        run(["xdotool", "windowactivate", "--sync", self.window])
        self.origin = self.geometry(self.window)[:2]

    # What a screen reader learns, through the MSAA client beside the probe.
    def accessible(self, *args):
        """Runs the client with `args`; one dict a line it prints, the line's kind under "line"."""
        client = os.path.join(os.path.dirname(self.probe), "a11y_probe.exe")
        out = run(["wine", client] + [str(a) for a in args], timeout=60, check=False)
        lines = []
        for line in out.splitlines():
            kind, *fields = line.split("\t")
            entry = dict(field.split("=", 1) for field in fields if "=" in field)
            entry["line"] = kind
            lines.append(entry)
        return lines

    def alive(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=TIMEOUT):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Timeout("the menu did not end")

    def kill(self):
        if self.alive():
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.process.wait(timeout=10)


def end_process(pid):
    """Ends the process `pid` that a test started, and nothing else."""
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def window_pid(window):
    """The id of the process that owns an X window, as Wine tells the desktop (_NET_WM_PID)."""
    out = run(["xdotool", "getwindowpid", window], check=False).strip()
    return int(out) if out.isdigit() else None


# Displays and prefixes at other scales ----------------------------------------------------------

LIB = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "lib.sh")


def shell(function, *args, timeout=180):
    """Runs one function of scripts/lib.sh, the recipes the scripts themselves use."""
    subprocess.run(["bash", "-c", 'source "$0" && "$@"', LIB, function] + [str(a) for a in args],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=timeout, check=True)


class UnderAWindowManager:
    """For test classes whose menu needs the keyboard focus: their windows are handed to a window
    manager of their own for the class's tests. Put it before the test case class it goes with."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        hand_windows_to_a_window_manager(True)
        cls.window_manager = WindowManager()

    @classmethod
    def tearDownClass(cls):
        cls.window_manager.stop()
        hand_windows_to_a_window_manager(False)
        super().tearDownClass()


class UnderACompositor:
    """For test classes that judge half-transparent pixels: Debian's xcompmgr composites the
    display for the class's tests, so that X blends a window's pixels with what lies behind it,
    the compositor's grey root (ROOT), once it draws the screen (when a window appears). Put it
    before the test case class it goes with."""

    ROOT = (128, 128, 128)

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.compositor = subprocess.Popen(["xcompmgr"], stdin=subprocess.DEVNULL,
                                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        if cls.compositor.poll() is None:
            cls.compositor.terminate()
            cls.compositor.wait(timeout=10)
        super().tearDownClass()

    def tearDown(self):
        super().tearDown()
        self.assertIsNone(self.compositor.poll(), "xcompmgr ended during the test")


class OnAScaledDisplay:
    """For test classes at another display scale: an X server of SCREEN's size and a Wine prefix
    at the class's DPI for the class's tests. Put it before the test case class it goes with."""

    SCREEN = (2048, 1600)

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.display = ScaledDisplay(cls.DPI, cls.SCREEN)

    @classmethod
    def tearDownClass(cls):
        cls.display.remove()
        super().tearDownClass()


class ScaledDisplay:
    """An X server with a white root of `size` and a Wine prefix whose screens have `dpi` dots per
    inch, made for one group of tests and removed after them; DISPLAY and WINEPREFIX point at
    them meanwhile."""

    def __init__(self, dpi, size):
        self.saved = {name: os.environ.get(name) for name in ("DISPLAY", "WINEPREFIX")}
        self.xvfb = None
        self.home = tempfile.mkdtemp(prefix="menu-scale.")
        try:
            self._start_xvfb(size)
            os.environ["WINEPREFIX"] = os.path.join(self.home, "prefix")
            shell("make_wine_prefix", os.environ["WINEPREFIX"], dpi)
            hand_windows_to_a_window_manager(False)  # no window manager runs on this display
        except BaseException:
            self.remove()
            raise

    def _start_xvfb(self, size):
        number = 150
        while os.path.exists("/tmp/.X%d-lock" % number) or \
                os.path.exists("/tmp/.X11-unix/X%d" % number):
            number += 1
        self.xvfb = subprocess.Popen(
            ["Xvfb", ":%d" % number, "-screen", "0", "%dx%dx24" % size, "-nolisten", "tcp", "-wr"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.environ["DISPLAY"] = ":%d" % number

        def answers():  # ours, not another server on the same number that no lock file showed
            if self.xvfb.poll() is not None:
                raise AssertionError("Xvfb did not start on :%d" % number)
            return subprocess.run(["xdpyinfo"], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL).returncode == 0
        wait_for(answers, "the X server")

    def remove(self):
        if "WINEPREFIX" in os.environ and os.environ["WINEPREFIX"] != self.saved["WINEPREFIX"]:
            shell("end_wine_prefix", os.environ["WINEPREFIX"], timeout=60)
        if self.xvfb is not None:
            self.xvfb.terminate()
            self.xvfb.wait(timeout=10)
        for name, value in self.saved.items():
            if value is None:
                os.environ.pop(name, None)
            else:
                os.environ[name] = value
        shutil.rmtree(self.home, ignore_errors=True)


# The demo skin's buttons and the tests' common ground ------------------------------------------

# Client places of the active buttons in the design's 96-DPI pixels, by control index, and the
# stem of each one's pictures (-1 pressed, -2 normal, -3 under the pointer).
BUTTONS = {0: (96, 200), 1: (256, 288), 2: (440, 312), 3: (600, 280), 14: (632, 544)}
BUTTON_FILES = {0: "bmp1", 1: "bmp2", 2: "bmp3", 3: "bmp4", 14: "bmp15"}
INSTALLERS = {0: "TEV", 1: "MOLAN", 2: "PIRUK", 3: "DASEF"}  # the stand-in installer of each

DIST = None   # the distribution folder under test, set by run.py
PROBE = None  # the message-box probe built beside it, set by run.py


def park_pointer():
    """Puts the pointer in the screen's corner, away from where the window opens."""
    run(["xdotool", "mousemove", "2", "2"])


def scaled(pixels, dpi):
    """A design coordinate at `dpi`, rounded up as the menu rounds it."""
    return -(-pixels * dpi // 96)


def samples(bitmap, left, top, dpi=96):
    """(client x, client y, colour) at a few spread points of a picture placed at design point
    left, top and shown at `dpi`: the first pixel of each sampled design pixel's block."""
    points = []
    for fx, fy in ((0.5, 0.5), (0.2, 0.25), (0.8, 0.75), (0.25, 0.8), (0.75, 0.2)):
        x, y = int(bitmap.width * fx), int(bitmap.height * fy)
        points.append((scaled(left, dpi) + scaled(x, dpi), scaled(top, dpi) + scaled(y, dpi),
                       bitmap.pixel(x, y)))
    return points


class MenuCase(unittest.TestCase):
    """Each test gets its own copy of the distribution folder and the pointer parked; afterwards
    its menu's boxes are answered and the menu ended, and every process it handed to end_later.
    INSTALLER_LINGER_MS, when set, has the stand-in installers record themselves in self.log
    (self.env tells them so) and linger that long. DPI is the display's scale."""

    DPI = 96
    INSTALLER_LINGER_MS = None

    def source(self):
        """The disc folder the test's copy is made of."""
        return DIST

    def setUp(self):
        self.dist = Dist(self.source())
        self.menu = None
        if self.INSTALLER_LINGER_MS is not None:
            self.log, self.env = installer_log(self.dist.base, self.INSTALLER_LINGER_MS)
        park_pointer()

    def tearDown(self):
        if self.menu is not None:
            self.menu.answer_dialogs()
            self.menu.kill()
        self.dist.remove()

    def end_later(self, pid):
        """Ends process `pid`, which the test started, once the test is over."""
        self.addCleanup(end_process, pid)

    def s(self, pixels):
        return scaled(pixels, self.DPI)

    def start(self, **options):
        self.menu = Menu(self.dist.path, PROBE, **options)
        return self.menu

    def start_window(self, **options):
        """Starts the menu and waits for its window at its scaled size; returns its geometry."""
        return self.start(**options).wait_window((self.s(800), self.s(600)))

    def picture(self, name):
        return Bitmap(self.dist.img(name))

    def looks(self, index, state):
        """Expectations for button `index` showing picture state "-1", "-2" or "-3"."""
        left, top = BUTTONS[index]
        return samples(self.picture("%s%s.bmp" % (BUTTON_FILES[index], state)), left, top,
                       self.DPI)

    def normal_menu(self, **options):
        """Starts the menu and waits until it shows the normal look of every button."""
        self.start_window(**options)
        expected = []
        for index in BUTTONS:
            expected += self.looks(index, "-2")
        return self.menu, self.menu.wait_shown(expected, "the normal pictures of the buttons")

    def assert_shows(self, index, state):
        self.menu.wait_shown(self.looks(index, state), "button %d in state %s" % (index, state))

    def centre(self, index):
        left, top = BUTTONS[index]
        picture = self.picture(BUTTON_FILES[index] + "-2.bmp")
        return self.s(left) + self.s(picture.width) // 2, self.s(top) + self.s(picture.height) // 2

    def click(self, index):
        """Points at button `index`, presses and releases the left button, each step seen."""
        self.menu.move(*self.centre(index))
        self.assert_shows(index, "-3")
        self.menu.down(1)
        self.assert_shows(index, "-1")
        self.menu.up(1)

    def started(self):
        """The stand-in installers started so far, as they recorded themselves."""
        return installer_records(self.log)

