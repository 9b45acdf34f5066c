#!/usr/bin/env python3
"""The figures bench/startup prints from what it measured.

  startup_figures.py times TARGET NAME=FILE...
      One series of start-up times: FILE holds map_timer's lines for the program NAME, one line a
      run, the runs of all programs taken in turns. Prints each program's median and spread, where
      a window shown and hidden again spent its time, and the ratio of the last program to each
      of the others, the last of them against TARGET (at most; "-" for none).
  startup_figures.py slowdisc SPEED SEEK_MS MEDIUM LOG NAME=FILE...
      The same programs started from bench/slowdisc (a drive of SPEED times single speed and
      SEEK_MS a seek) serving the folder MEDIUM, the floor program first and the menu last: FILE
      holds map_timer's lines for NAME, LOG slowdisc's read lines, each run's opened by a line
      "run NAME". Prints, for each program, its times until the window was mapped and until the
      last byte read from the medium, the bytes, reads, seeks and modelled drive time of a run and
      the files they came from; then the modelled physical floor of the menu (its program file
      and the pictures it shows at start-up, each read once, where the log's layout places them)
      and the menu against it.
  startup_figures.py phases NAME=FILE...
      Time spent in each service from inside, one program a column: FILE holds the lines of its
      runs ("service<TAB>calls<TAB>ms"), each run ending with "Main in all".
"""
import collections
import os
import statistics
import sys


def quartiles(values):
    """The first quartile, the median and the third quartile."""
    if len(values) < 2:
        return values[0], values[0], values[0]
    q = statistics.quantiles(values, n=4, method="inclusive")
    return q[0], q[1], q[2]


def load_times(path):
    runs = []
    with open(path) as lines:
        for line in lines:
            words = line.split()
            runs.append(dict(zip(words[::2], words[1::2])))
    return runs


def verdict(value, target):
    if value <= target:
        return "met, %.2f to spare" % (target - value)
    return "missed by %.2f (%.0f %% of the target)" % (value - target, (value / target - 1) * 100)


def times(target, programs):
    series = [(name, load_times(path)) for name, path in programs]
    ends = [r["end"] for _, runs in series for r in runs]
    counts = sorted(set(len(runs) for _, runs in series))
    print("  %s runs each, in turns after one warm-up each; every run ended: %s" %
          (" or ".join(map(str, counts)),
           ", ".join("%s %d" % (e, ends.count(e)) for e in sorted(set(ends)))))
    print("  %-18s %9s %9s %9s %9s %9s   (ms, process start to the window mapped)" %
          ("", "median", "25 %", "75 %", "min", "max"))
    for name, runs in series:
        t = [float(r["map_ms"]) for r in runs]
        low, mid, high = quartiles(t)
        print("  %-18s %9.1f %9.1f %9.1f %9.1f %9.1f" % (name, mid, low, high, min(t), max(t)))
    for name, runs in series:
        # A window shown, hidden and shown again: where the time in between went (medians of each
        # run's phases).
        hidden = [r for r in runs if float(r["unmap_ms"]) >= 0]
        if not hidden:
            continue
        first = statistics.median(float(r["first_ms"]) for r in hidden)
        shown = statistics.median(float(r["unmap_ms"]) - float(r["first_ms"]) for r in hidden)
        back = statistics.median(float(r["map_ms"]) - float(r["unmap_ms"]) for r in hidden)
        sizes = sorted(set(r["first_size"].replace("x", " x ") for r in hidden))
        print("  %-18s %d of %d runs: first mapped (%s) at %.1f ms, unmapped %.1f ms later,"
              " then %.1f ms until mapped at its final size" %
              (name, len(hidden), len(runs), ", ".join(sizes), first, shown, back))
    last_name, last = series[-1]
    for index, (name, runs) in enumerate(series[:-1]):
        ratio = (statistics.median(float(r["map_ms"]) for r in last) /
                 statistics.median(float(r["map_ms"]) for r in runs))
        # The runs of one turn ran side by side: their ratios, turn by turn, show the spread
        # that the load of the machine leaves.
        per_turn = [float(a["map_ms"]) / float(b["map_ms"]) for a, b in zip(last, runs)]
        low, mid, high = quartiles(per_turn)
        # Waits for the shared cores only add: the faster quarter of each program is the least
        # disturbed.
        quarter = (quartiles([float(r["map_ms"]) for r in last])[0] /
                   quartiles([float(r["map_ms"]) for r in runs])[0])
        line = ("  %s / %s: %.2f (medians); turn by turn median %.2f, middle half %.2f to %.2f;"
                " first quartiles %.2f" % (last_name, name, ratio, mid, low, high, quarter))
        if index == len(series) - 2 and target != "-":
            line += "   (target: at most %s: %s)" % (target, verdict(ratio, float(target)))
        print(line)


def phases(programs):
    medians, calls, runs = {}, {}, {}
    for name, path in programs:
        spent = collections.defaultdict(list)
        with open(path) as lines:
            for line in lines:
                service, count, ms = line.rstrip("\r\n").split("\t")
                spent[service].append(float(ms))
                calls[(name, service)] = count
        runs[name] = len(spent.get("Main in all", []))
        medians[name] = {s: statistics.median(v) for s, v in spent.items()}
    names = [n for n, _ in programs]
    if not all(runs.values()):
        print("  a program finished no run: %s" % ", ".join(n for n in names if not runs[n]))
        sys.exit(1)
    last = ("the menu's own code", "Main in all")
    services = set(s for n in names for s in medians[n] if s not in last)
    first = names[0]
    order = sorted(services, key=lambda s: -medians[first].get(s, 0))
    print("  %-26s" % "" + "".join("  %22s" % ("%s (%d runs)" % (n, runs[n])) for n in names))
    for service in order + [s for s in last if any(s in medians[n] for n in names)]:
        cells = []
        for n in names:
            if service in medians[n]:
                cells.append("  calls %3s %9.2f ms" % (calls[(n, service)], medians[n][service]))
            else:
                cells.append("  %22s" % "-")
        print("  %-26s%s" % (service, "".join(cells)))


SINGLE_SPEED = 153600  # bytes a second of a 1x CD, as bench/slowdisc models it
# What the menu must read once at start-up: its program and the pictures it shows.
STARTUP_FILES = ["menu.exe", "img/main.bmp", "img/bmp1-2.bmp", "img/bmp2-2.bmp", "img/bmp3-2.bmp",
                 "img/bmp4-2.bmp", "img/bmp15-2.bmp"]


def slow_runs(log):
    """{program: [[(end epoch, path, bytes, seek, modelled ms), ...] one list a run]} from
    slowdisc's log, split at its "run NAME" lines, and {path: byte on the disc} of its layout."""
    runs = collections.defaultdict(list)
    places = {}
    current = None
    with open(log) as lines:
        for line in lines:
            words = line.split()
            if words[:1] == ["place"]:
                places[words[1].lstrip("/")] = int(words[2])
            elif words[:1] == ["run"]:
                current = []
                runs[words[1]].append(current)
            elif words[:1] == ["read"] and current is not None:
                current.append((float(words[1]), words[2].lstrip("/"), int(words[4]),
                                int(words[5]), float(words[6])))
    return runs, places


def floor_seeks(medium, places):
    """The seeks of reading STARTUP_FILES once, in order, as bench/slowdisc models them: one a
    file, or with the disc's layout one wherever a file does not start in the sector after the
    previous one ends."""
    seeks, head = 0, None
    for file in STARTUP_FILES:
        start = places.get(file)
        if start is None or head is None or not head <= start <= -(-head // 2048) * 2048:
            seeks += 1
        head = None if start is None else start + os.path.getsize(os.path.join(medium, file))
    return seeks


def spread(values, unit="ms"):
    low, mid, high = quartiles(values)
    return "%.0f %s (middle half %.0f to %.0f, %.0f to %.0f)" % (mid, unit, low, high, min(values),
                                                                  max(values))


def slowdisc(speed, seek_ms, medium, log, programs):
    rate = speed * SINGLE_SPEED
    reads, places = slow_runs(log)
    ready = {}
    for name, path in programs:
        timed = load_times(path)
        # Warm-up runs were not timed: the last runs of the log belong to the timed ones.
        logged = reads[name][-len(timed):]
        until_last, drive_ms, seeks, counts, sizes = [], [], [], [], []
        per_run = []
        for run, read in zip(timed, logged):
            start = float(run["map_epoch"]) - float(run["map_ms"]) / 1000
            before = [r for r in read if r[0] < float(run["close_epoch"])]
            last = max([(r[0] - start) * 1000 for r in before] or [0])
            until_last.append(max(last, float(run["map_ms"])))
            drive_ms.append(sum(r[4] for r in before))
            seeks.append(sum(r[3] for r in before))
            counts.append(len(before))
            sizes.append(sum(r[2] for r in before))
            per_file = collections.Counter()
            for r in before:
                per_file[r[1]] += r[2]
            per_run.append(per_file)
        ready[name] = statistics.median(until_last)
        print("  %s, %d runs:" % (name, len(timed)))
        print("    window mapped:              " + spread([float(r["map_ms"]) for r in timed]))
        print("    mapped and every byte read: " + spread(until_last))
        print("    a run reads %s bytes in %s reads with %s seeks; the drive is busy %s" %
              ("%.0f" % statistics.median(sizes), "%.0f" % statistics.median(counts),
               "%.0f" % statistics.median(seeks), spread(drive_ms)))
        print("    bytes read a run (median), by file: " + ", ".join(
            "%s %.0f" % (f, statistics.median(r[f] for r in per_run))
            for f in sorted(set().union(*per_run))))
    total = sum(os.path.getsize(os.path.join(medium, f)) for f in STARTUP_FILES)
    seeks = floor_seeks(medium, places)
    physical = seeks * seek_ms + total / rate * 1000
    floor_name, menu_name = programs[0][0], programs[-1][0]
    print("  modelled physical floor of the menu: %d files, %d bytes, each read once: %.0f ms"
          " (%d seeks %.0f ms, transfer %.0f ms)" % (len(STARTUP_FILES), total, physical,
                                                     seeks, seeks * seek_ms,
                                                     total / rate * 1000))
    ratio = (ready[menu_name] - ready[floor_name]) / physical
    target = 1.2
    print("  (%s - %s) / physical floor, medians until every byte read: %.2f   (target: at most"
          " %.1f: %s)" % (menu_name, floor_name, ratio, target, verdict(ratio, target)))


def main():
    def pairs(words):
        return [tuple(w.split("=", 1)) for w in words]

    if len(sys.argv) >= 4 and sys.argv[1] == "times":
        times(sys.argv[2], pairs(sys.argv[3:]))
    elif len(sys.argv) >= 7 and sys.argv[1] == "slowdisc":
        slowdisc(float(sys.argv[2]), float(sys.argv[3]), sys.argv[4], sys.argv[5],
                 pairs(sys.argv[6:]))
    elif len(sys.argv) >= 3 and sys.argv[1] == "phases":
        phases(pairs(sys.argv[2:]))
    else:
        sys.exit(__doc__)

if __name__ == "__main__":
    main()
