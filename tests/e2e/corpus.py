"""End-to-end run of the picture corpus under Wine: every case of makecorpus goes in place of the
skin (img/main.bmp) or of button 0's pictures, in a fresh copy of the distribution folder, and the
real menu.exe is judged on what it does with it. A PNG case goes in as the PNG file of the same
name (img/main.png), beside the distribution's bitmap, which it is taken before.

  refused    an error box names the file's full Windows path, the error number and the reason;
             a skin's box stands alone (no menu window); after the box is answered the menu ends
             with the error's number as its exit code
  displayed  the window shows the picture's pattern where the corpus says
  tolerated  either, as the system's decoder reads the file

Button cases run twice: as the normal picture at start-up (img/bmp1-2.bmp) and as the hover
picture (img/bmp1-3.bmp), shown when the pointer moves onto the button. In every run a Wine crash
(its "Program Error" box, its debugger, an exception's exit code), a run longer than 20 seconds,
or a process left behind is a failure.

Refused cases at start-up run several menus at once; every box names its own file, so each box
is told apart. Should Wine catch a crash during such a batch, the batch's cases run again one by
one to find which case crashed.

Usage: corpus.py DIST_FOLDER MAKECORPUS
Needs DISPLAY (Xvfb with a white root) and WINEPREFIX. Ends with
  corpus: N cases tried, N reported cleanly, N displayed, N crashes, N hangs
  corpus: N passed, N failed"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

from harness import (BUTTONS, WHITE, Bitmap, Dist, Menu, Screen, close,
                     hand_windows_to_a_window_manager, park_pointer, run, samples)

CASE_LIMIT = 20.0  # seconds a run may take to show its result, and to end afterwards
BATCH = 24         # refused start-up runs started together
BUTTON0 = BUTTONS[0]
HOVER_POINT = (150, 260)
SLOT_FILES = {"skin": "main", "start-up": "bmp1-2", "hover": "bmp1-3"}  # without the extension
CRASH_WINDOW_NAMES = "Program Error|Wine"
WINE_SERVICES = {"services.exe", "winedevice.exe", "plugplay.exe", "svchost.exe", "explorer.exe",
                 "rpcss.exe", "wineboot.exe", "winemenubuilder", "conhost.exe", "wineserver",
                 "wineserver64"}
# Exit codes of an unhandled exception, as Wine passes them on (the low byte of the code).
CRASH_CODES = {0xC0000005, 0xC0000005 & 0xFF, 0xC00000FD & 0xFF, 0xC0000409 & 0xFF}


class Case:
    def __init__(self, name, kind, expect, description, extension):
        self.name, self.kind, self.expect, self.description = name, kind, expect, description
        self.extension = extension  # ".bmp" or ".png": the case's file, and the name it goes by
        if description.startswith("missing"):
            self.source = "missing"
        elif description.startswith("folder"):
            self.source = "folder"
        else:
            self.source = "file"
        self.error = None
        self.reason = None
        self.samples = []  # (x, y, colour or None for a hole)
        self.runs = []

    def slots(self):
        return ["skin"] if self.kind == "skin" else ["start-up", "hover"]


def load_cases(folder, prefix="", extension=".bmp"):
    """The cases of one pair of tables: cases.tsv and expected.tsv, or png-cases.tsv and
    png-expected.tsv."""
    cases = {}
    order = []
    with open(os.path.join(folder, prefix + "cases.tsv"), encoding="utf-8") as f:
        for line in f:
            if not line.strip():
                continue
            name, kind, expect, description = line.rstrip("\n").split("\t")
            assert kind in ("skin", "button") and expect in ("refused", "displayed", "tolerated")
            cases[name] = Case(name, kind, expect, description, extension)
            order.append(name)
    with open(os.path.join(folder, prefix + "expected.tsv"), encoding="utf-8") as f:
        for line in f:
            if not line.strip():
                continue
            fields = line.rstrip("\n").split("\t")
            case = cases[fields[0]]
            if fields[1] == "error":
                case.error, case.reason = int(fields[2]), fields[3]
            else:
                x, y, colour = int(fields[2]), int(fields[3]), fields[4]
                rgb = None if colour == "hole" else tuple(bytes.fromhex(colour))
                case.samples.append((x, y, rgb))
    result = [cases[name] for name in order]
    for case in result:
        assert case.expect == "displayed" or case.error, case.name + " has no expected error"
        assert case.expect == "refused" or case.samples, case.name + " has no samples"
    return result


# What the system shows ------------------------------------------------------------------------

def ps(fields):
    out = subprocess.run(["ps", "-eo", fields], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, text=True).stdout
    return [line.split(None, 1) for line in out.splitlines() if line.strip()]


def debuggers():
    return {int(pid) for pid, command in ps("pid=,comm=") if "winedbg" in command}


def session_processes(session):
    """(pid, command) of the processes in a session."""
    found = []
    for fields in ps("pid=,sid=,comm="):
        pid, rest = fields
        sid, _, command = rest.strip().partition(" ")
        if sid == str(session):
            found.append((int(pid), command.strip()))
    return found


def crash_windows():
    return run(["xdotool", "search", "--onlyvisible", "--name", CRASH_WINDOW_NAMES],
               check=False).split()


def cpu_seconds(pid):
    """The processor time a process of ours has used so far."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    except (OSError, IndexError, ValueError):
        return 0.0


class Watch:
    """Looks for signs of a crash caught by Wine that were not there when the run began."""

    def __init__(self):
        self.known_debuggers = debuggers()

    def crash(self):
        names = [run(["xdotool", "getwindowname", w], check=False).strip()
                 for w in crash_windows()]
        if names:
            return "Wine's crash windows are up: " + ", ".join(names)
        if debuggers() - self.known_debuggers:
            return "winedbg is running"
        return None

    def clear(self, probe):
        """After a crash: answers Wine's crash box and waits for its debugger to go; ends the
        owners of crash windows on this display that stay."""
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            answer_dialogs(probe)
            if not crash_windows() and not debuggers() - self.known_debuggers:
                return
            time.sleep(0.5)
        for window in crash_windows():
            pid = run(["xdotool", "getwindowpid", window], check=False).strip()
            if pid.isdigit():
                try:
                    os.kill(int(pid), 9)
                except ProcessLookupError:
                    pass


def dialogs(probe):
    """(title, text) of every message box on the screen."""
    out = run(["wine", probe, "dialogs"], check=False)
    boxes = []
    for line in out.splitlines():
        fields = line.split("\t")
        if fields and fields[0]:
            boxes.append((fields[0], " ".join(fields[1:])))
    return boxes


def crash_box(boxes):
    return next((text for title, text in boxes if title == "Program Error"), None)


def answer_dialogs(probe):
    run(["wine", probe, "close"], check=False)


class Failed(Exception):
    """A run that went wrong; `kind` is "crash", "hang" or "fail"."""

    def __init__(self, kind, message):
        super().__init__(message)
        self.kind = kind


# One run of the menu with one case in place ---------------------------------------------------

class Run:
    def __init__(self, case, slot, context):
        self.case, self.slot, self.context = case, slot, context
        self.dist = Dist(context.dist)
        self.file = self.dist.img(SLOT_FILES[slot] + case.extension)
        self.normal = Bitmap(self.dist.img("bmp1-2.bmp"))
        if os.path.exists(self.file):  # a bitmap; a PNG file goes beside it
            os.remove(self.file)
        if case.source == "folder":
            os.mkdir(self.file)
        elif case.source == "file":
            shutil.copyfile(os.path.join(context.corpus, case.name + case.extension), self.file)
        self.windows_path = None
        self.menu = None
        self.deadline = None
        self.outcome = None  # "ok", "crash", "hang" or "fail"
        self.detail = ""
        self.reported = False  # an "ok" that is the error box rather than the picture
        self.answered = None  # when its box was answered; it is still ending then
        self.started = self.took = 0.0

    def label(self):
        return "%s%s [%s]" % (self.case.name, self.case.extension, self.slot)

    def start(self):
        self.menu = Menu(self.dist.path, self.context.probe)
        self.started = time.monotonic()
        self.deadline = self.started + CASE_LIMIT

    def finish(self, outcome, detail=""):
        if self.outcome is None or self.outcome == "ok":
            self.outcome, self.detail = outcome, detail
            self.took = time.monotonic() - self.started

    def kill(self):
        if self.menu is not None:
            self.menu.kill()
            # What the menu started shares its session; Wine's services stay.
            for pid, command in session_processes(self.menu.process.pid):
                if command in WINE_SERVICES:
                    continue
                try:
                    os.kill(pid, 9)
                except ProcessLookupError:
                    pass

    def cleanup(self):
        self.kill()
        self.dist.remove()

    def locate(self, paths):
        """Takes the Windows forms of the case's file and of the copy's folder."""
        self.windows_path, self.windows_folder = paths

    def paths(self):
        return [self.file, self.dist.path]

    # Judging a box: the first that names a file of this run's folder is its box.
    def box(self, boxes):
        return next(((t, text) for t, text in boxes if self.windows_folder + "\\" in text), None)

    def judge_box(self, box):
        title, text = box
        case = self.case
        problems = []
        if self.windows_path not in text:
            problems.append("naming another file")
        if title != "menu":
            problems.append("titled %r" % title)
        if "Run-time error '%d'" % case.error not in text:
            problems.append("without error %d" % case.error)
        if case.reason.lower() not in text.lower():
            problems.append("without the reason %r" % case.reason)
        if self.slot == "skin" and self.menu.main_window() is not None:
            problems.append("with the menu window up beside it")
        if problems:
            raise Failed("fail", "the box %s: %s" % (", ".join(problems), text))
        return text.split("\\n")[-1]

    def judge_exit(self, code):
        expected = self.case.error & 0xFF
        if code == expected:
            return
        if code < 0 or code in CRASH_CODES:
            raise Failed("crash", "ended with exit code %d" % code)
        raise Failed("fail", "ended with exit code %d, expected %d" % (code, expected))

    def left_behind(self):
        """What of the run is still there after the menu ended. Wine's own services may have
        been started from the menu's session when they were down; they belong to the prefix."""
        return ["%d %s" % (pid, command) for pid, command in
                session_processes(self.menu.process.pid) if command not in WINE_SERVICES]

    def overdue(self, what):
        """The failure of a run that did not show `what` in time: a hang while the menu keeps
        the processor busy; else it sits idle, showing something else (a refused picture taken
        as valid, a valid one drawn wrong)."""
        pid = self.menu.process.pid
        before = cpu_seconds(pid)
        time.sleep(1.0)
        if cpu_seconds(pid) - before > 0.5:
            return Failed("hang", "no %s within %d s, the menu busy" % (what, CASE_LIMIT))
        window = "its window up" if self.menu.main_window() else "no window"
        return Failed("fail", "no %s within %d s; the menu sits idle, %s"
                      % (what, CASE_LIMIT, window))


class Context:
    def __init__(self, dist, corpus, probe):
        self.dist, self.corpus, self.probe = dist, corpus, probe


class PrefixKeeper:
    """A console program of the prefix that waits on its input for as long as the corpus runs.
    While a program runs, Wine keeps its services and desktop up; without one they stop between
    menus, and starting them again stalls the next menu by seconds now and then."""

    def __enter__(self):
        self.process = subprocess.Popen(["wine", "cmd"], stdin=subprocess.PIPE,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        start_new_session=True)
        return self

    def __exit__(self, *_):
        self.process.stdin.close()
        try:
            self.process.wait(timeout=CASE_LIMIT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(timeout=10)


# Single runs ----------------------------------------------------------------------------------

def watch_until(r, watch, condition, what, valid=True):
    """Polls condition() until it returns something true, while checking that the run neither
    crashed, ended, nor (for a valid picture) showed a box; returns the condition's value."""
    while True:
        crash = watch.crash()
        if crash:
            raise Failed("crash", crash)
        # Starting the probe costs more than a look at the menu's windows: it reads the boxes
        # once there are some.
        boxes = dialogs(r.context.probe) if r.menu.boxes_up() else []
        if valid:
            mine = r.box(boxes)
            if mine is not None:
                raise Failed("fail", "an error box: " + mine[1])
        value = condition(boxes)
        if value:
            return value
        if not r.menu.alive():
            code = r.menu.process.returncode
            if code < 0 or code in CRASH_CODES:
                raise Failed("crash", "ended with exit code %d" % code)
            raise Failed("fail", "ended with exit code %d while waiting for %s" % (code, what))
        if time.monotonic() > r.deadline:
            raise r.overdue(what)
        time.sleep(0.05)


def shown(r, expectations):
    """A condition: the menu's window is up and every (client x, y, colour) holds on screen."""
    def check(_boxes):
        if r.menu.window is None:
            found = r.menu.main_window()
            if found is None:
                return False
            r.menu.window, geometry = found
            r.menu.origin = geometry[:2]
        screen = Screen()
        ox, oy = r.menu.origin
        return all(close(screen.pixel(ox + x, oy + y), colour) for x, y, colour in expectations)
    return check


def case_expectations(r, left, top):
    return [(left + x, top + y, WHITE if colour is None else colour)
            for x, y, colour in r.case.samples]


def normal_look(r):
    """Button 0 in its normal look, the distribution's own picture."""
    return samples(r.normal, *BUTTON0)


def single(r, finishing):
    """One run on its own. A refused hover case is left ending (its box answered) in
    `finishing`, so that the next run need not wait for it."""
    watch = Watch()
    park_pointer()
    r.locate([line.strip() for line in run(["winepath", "-w"] + r.paths()).splitlines()])
    r.start()
    try:
        case = r.case
        if r.slot == "hover":
            watch_until(r, watch, shown(r, normal_look(r)), "normal look of button 0")
            r.menu.move(*HOVER_POINT)
        left, top = (0, 0) if r.slot == "skin" else BUTTON0
        pattern = shown(r, case_expectations(r, left, top))
        if case.expect != "displayed":
            # A tolerated file ends in its box or in its pattern, whichever the decoder makes.
            either = (lambda boxes: r.box(boxes) or pattern(boxes)) \
                if case.expect == "tolerated" else r.box
            box = watch_until(r, watch, either, "error box", valid=False)
            if box is not True:
                reason = r.judge_box(box)
                answer_dialogs(r.context.probe)
                r.answered = time.monotonic()
                r.reported = True
                r.finish("ok", "reported: " + reason)
                finishing.append(r)
                return
        else:
            watch_until(r, watch, pattern, "pattern shown")
        r.finish("ok", "displayed")
        r.cleanup()
    except Failed as failure:
        r.finish(failure.kind, str(failure))
        answer_dialogs(r.context.probe)
        r.cleanup()
        if failure.kind == "crash":
            watch.clear(r.context.probe)


def end_finishing(finishing):
    """Waits for runs whose boxes were answered to end, and judges how they ended."""
    watch = Watch()
    for r in finishing:
        try:
            remaining = max(0.0, r.answered + CASE_LIMIT - time.monotonic())
            try:
                code = r.menu.process.wait(timeout=remaining)
            except subprocess.TimeoutExpired:
                raise Failed("hang", "did not end within %d s of its box being answered"
                             % CASE_LIMIT)
            r.judge_exit(code)
            time.sleep(0.05)
            leftover = r.left_behind()
            if leftover:
                raise Failed("fail", "processes left behind: %s" % ", ".join(leftover))
            crash = watch.crash()
            if crash:
                raise Failed("crash", crash)
        except Failed as failure:
            r.finish(failure.kind, str(failure))
            if failure.kind == "crash":
                watch.clear(r.context.probe)
        r.cleanup()
    finishing.clear()


# Batches of refused start-up runs ---------------------------------------------------------------

def batch(runs):
    """Starts the runs together and judges each one's box; returns the runs to try again alone
    because a crash was seen while they were still going."""
    context = runs[0].context
    watch = Watch()
    park_pointer()
    paths = [line.strip() for line in
             run(["winepath", "-w"] + [p for r in runs for p in r.paths()]).splitlines()]
    for i, r in enumerate(runs):
        r.locate(paths[2 * i:2 * i + 2])
    for r in runs:
        r.start()
    pending = list(runs)
    suspects = []
    while pending:
        boxes = dialogs(context.probe)
        crash = crash_box(boxes) or watch.crash()
        if crash:
            suspects = pending
            break
        for r in list(pending):
            try:
                box = r.box(boxes)
                if box is not None:
                    r.reported = True
                    r.finish("ok", "reported: " + r.judge_box(box))
                    pending.remove(r)
                elif not r.menu.alive():
                    code = r.menu.process.returncode
                    if code < 0 or code in CRASH_CODES:
                        raise Failed("crash", "ended with exit code %d" % code)
                    raise Failed("fail", "ended with exit code %d without a box" % code)
                elif time.monotonic() > r.deadline:
                    raise r.overdue("error box")
            except Failed as failure:
                r.finish(failure.kind, str(failure))
                pending.remove(r)
        time.sleep(0.05)
    answer_dialogs(context.probe)
    now = time.monotonic()
    finishing = []
    for r in runs:
        if r in suspects:
            r.kill()
            continue
        r.answered = now
        finishing.append(r)
    end_finishing(finishing)
    if suspects:
        watch.clear(context.probe)
    again = []
    for r in suspects:
        r.cleanup()
        again.append(Run(r.case, r.slot, r.context))
    return again


# The whole corpus -----------------------------------------------------------------------------

def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    dist = os.path.abspath(sys.argv[1])
    makecorpus = os.path.abspath(sys.argv[2])
    probe = os.path.abspath(os.path.join(dist, "..", "tests", "e2e", "e2e_probe.exe"))
    folder = tempfile.mkdtemp(prefix="menu-corpus.")
    started = time.monotonic()
    try:
        subprocess.run([makecorpus, folder], check=True, stdout=subprocess.DEVNULL)
        cases = load_cases(folder) + load_cases(folder, "png-", ".png")
        run_corpus(cases, folder, dist, probe, started)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return summary(cases, started)


def run_corpus(cases, folder, dist, probe, started):
    """Runs every case in every slot, keeping its runs with it."""
    hand_windows_to_a_window_manager(False)  # no window manager runs on the display
    with PrefixKeeper():
        context = Context(dist, folder, probe)

        batched, alone = [], []
        for case in cases:
            for slot in case.slots():
                together = case.expect == "refused" and slot != "hover"
                (batched if together else alone).append((case, slot))
        # Valid skins first, then valid button pictures, then the hover runs: a skin's holes show
        # the desktop only while no other menu window is left behind it.
        alone.sort(key=lambda item: ("skin", "start-up", "hover").index(item[1]))

        def record(r):
            r.case.runs.append(r)
            mark = "ok  " if r.outcome == "ok" else r.outcome.upper().ljust(4)
            print("%s %-40s %4.1f s  %s" % (mark, r.label(), r.took, r.detail), flush=True)

        def phase(what):
            print("corpus: %s at %.0f s" % (what, time.monotonic() - started), flush=True)

        phase("%d refused start-up runs, %d at a time" % (len(batched), BATCH))

        for i in range(0, len(batched), BATCH):
            runs = [Run(case, slot, context) for case, slot in batched[i:i + BATCH]]
            again = batch(runs)
            for r in runs:
                if r.outcome is not None:
                    record(r)
            for r in again:
                finishing = []
                single(r, finishing)
                end_finishing(finishing)
                record(r)

        phase("%d runs one by one" % len(alone))
        finishing = []
        for case, slot in alone:
            r = Run(case, slot, context)
            single(r, finishing)
            if r not in finishing:
                record(r)
            if slot == "hover" and len(finishing) > 3:
                done = list(finishing)
                end_finishing(finishing)
                for d in done:
                    record(d)
        done = list(finishing)
        end_finishing(finishing)
        for d in done:
            record(d)


def summary(cases, started):
    """Prints the summary lines; returns the exit code."""
    counts = {"reported": 0, "displayed": 0}
    crashes = hangs = passed = failed = 0
    for case in cases:
        outcomes = [r.outcome for r in case.runs]
        good = bool(outcomes) and len(outcomes) == len(case.slots()) and \
            all(o == "ok" for o in outcomes)
        crashes += "crash" in outcomes
        hangs += "hang" in outcomes
        if good:
            passed += 1
            counts["reported" if any(r.reported for r in case.runs) else "displayed"] += 1
        else:
            failed += 1
    print("corpus: %d cases tried, %d reported cleanly, %d displayed, %d crashes, %d hangs" %
          (len(cases), counts["reported"], counts["displayed"], crashes, hangs))
    print("corpus: took %.0f s" % (time.monotonic() - started))
    print("corpus: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
