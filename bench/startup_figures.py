#!/usr/bin/env python3
"""The figures bench/startup prints from what it measured.

  startup_figures.py times TARGET NAME=FILE...
      One series of start-up times: FILE holds map_timer's lines for the program NAME, one line a
      run, the runs of all programs taken in turns. Prints each program's median and spread, where
      a window shown and hidden again spent its time, and the ratio of the last program to each
      of the others, the last of them against TARGET (at most; "-" for none).
  startup_figures.py phases NAME=FILE...
      Time spent in each service from inside, one program a column: FILE holds the lines of its
      runs ("service<TAB>calls<TAB>ms"), each run ending with "Main in all".
"""
import collections
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


def main():
    def pairs(words):
        return [tuple(w.split("=", 1)) for w in words]

    if len(sys.argv) >= 4 and sys.argv[1] == "times":
        times(sys.argv[2], pairs(sys.argv[3:]))
    elif len(sys.argv) >= 3 and sys.argv[1] == "phases":
        phases(pairs(sys.argv[2:]))
    else:
        sys.exit(__doc__)

if __name__ == "__main__":
    main()
