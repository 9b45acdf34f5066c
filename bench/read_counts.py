#!/usr/bin/env python3
"""Counts what a program read from one folder, from strace logs (-f -y -ttt) of the program and of
the wine server, which opens files for its clients and hands them the descriptors.

  read_counts.py [--at-most-mb TARGET] DIST MAP_EPOCH CLOSE_EPOCH SERVER_LOG CLIENT_LOG

Counts the calls made before CLOSE_EPOCH (when the program was asked to close) and prints, for
every file under DIST, how often it was opened, read and mapped and how many bytes that was; the
folders looked up and the opens that failed; the totals, and the part before MAP_EPOCH (the
window mapped at its final size). With a TARGET, the bytes read are judged against it (megabytes
of 10^6 bytes, at most).
"""
import collections
import os
import re
import sys

# pid, time, call, arguments, result; strace -y adds "<path>" to every descriptor.
CALL = re.compile(r"^(\d+)\s+(\d+\.\d+)\s+(\w+)\((.*)\)\s+=\s+(-?\d+|0x[0-9a-f]+)(.*)$")
FD_FIRST = re.compile(r"^(\d+)<([^>]*)>")
MMAP = re.compile(r"^[^,]+, (\d+), [^,]+, [^,]+, (\d+)<([^>]*)>, ")
RESULT_PATH = re.compile(r"^<([^>]*)>")
RESUMED = re.compile(r"^(\d+)\s+\d+\.\d+\s+<\.\.\. \w+ resumed>(.*)$")
OPEN_PATH = re.compile(r'^(?:AT_FDCWD(?:<[^>]*>)?|\d+<[^>]*>), "([^"]*)"')


def relative(dist, path):
    """The part of path below dist (also through Wine's dosdevices links), or None."""
    at = path.find(dist + "/")
    if at < 0:
        return "." if path.endswith(dist) else None
    return path[at + len(dist) + 1:]


def joined(lines):
    """The log's lines with every call that another thread interrupted put back together."""
    pending = {}
    for line in lines:
        line = line.rstrip("\n")
        if line.endswith(" <unfinished ...>"):
            pid = line.split(None, 1)[0]
            pending[pid] = line[: -len(" <unfinished ...>")]
            continue
        resumed = RESUMED.match(line)
        if resumed:
            start = pending.pop(resumed.group(1), None)
            if start is not None:
                yield start + resumed.group(2)
            continue
        yield line


class Tally:
    def __init__(self):
        self.opens = collections.Counter()
        self.reads = collections.Counter()
        self.read_bytes = collections.Counter()
        self.maps = collections.Counter()
        self.mapped_bytes = collections.Counter()
        self.failed = collections.Counter()
        self.before_map = 0  # bytes read before the window was mapped at its final size

    def add(self, log, dist, map_epoch, close_epoch, who):
        with open(log, errors="replace") as lines:
            for line in joined(lines):
                m = CALL.match(line)
                if not m:
                    continue
                _, when, call, args, result, rest = m.groups()
                when = float(when)
                if when >= close_epoch:
                    continue
                if call in ("open", "openat"):
                    name = OPEN_PATH.match(args)
                    if result.startswith("-"):
                        if name and relative(dist, name.group(1)) is not None:
                            self.failed[relative(dist, name.group(1))] += 1
                        continue
                    opened = RESULT_PATH.match(rest)
                    path = opened.group(1) if opened else (name.group(1) if name else "")
                    rel = relative(dist, path)
                    if rel is not None:
                        self.opens[(rel, who)] += 1
                elif call in ("read", "pread64", "readv", "preadv", "preadv2"):
                    fd = FD_FIRST.match(args)
                    if not fd or result.startswith("-"):
                        continue
                    rel = relative(dist, fd.group(2))
                    if rel is None:
                        continue
                    self.reads[rel] += 1
                    self.read_bytes[rel] += int(result)
                    if when < map_epoch:
                        self.before_map += int(result)
                elif call in ("mmap", "mmap2"):
                    mm = MMAP.match(args)
                    if not mm or result.startswith("-"):
                        continue
                    rel = relative(dist, mm.group(3))
                    if rel is None:
                        continue
                    self.maps[rel] += 1
                    self.mapped_bytes[rel] += int(mm.group(1))


def main():
    args = sys.argv[1:]
    target = None
    if args[:1] == ["--at-most-mb"]:
        target, args = float(args[1]), args[2:]
    if len(args) != 5:
        sys.exit(__doc__)
    dist = os.path.realpath(args[0])
    map_epoch, close_epoch = float(args[1]), float(args[2])
    tally = Tally()
    tally.add(args[3], dist, map_epoch, close_epoch, "server")
    tally.add(args[4], dist, map_epoch, close_epoch, "client")

    def is_folder(rel):
        return os.path.isdir(os.path.join(dist, rel))

    names = set(r for r, _ in tally.opens) | set(tally.reads) | set(tally.maps)
    files = sorted(n for n in names if not is_folder(n))
    folders = sorted(n for n in names if is_folder(n))

    def opens(rel):
        return sum(c for (r, _), c in tally.opens.items() if r == rel)

    print("  %-16s %6s %6s %12s %6s %12s %12s" %
          ("file", "opens", "reads", "bytes read", "maps", "bytes mapped", "file size"))
    for rel in files:
        print("  %-16s %6d %6d %12d %6d %12d %12d" %
              (rel, opens(rel), tally.reads[rel], tally.read_bytes[rel], tally.maps[rel],
               tally.mapped_bytes[rel], os.path.getsize(os.path.join(dist, rel))))
    total_read = sum(tally.read_bytes[f] for f in files)
    total_mapped = sum(tally.mapped_bytes[f] for f in files)
    print("  total: %d files, %d opens, %d reads, %d bytes read (%.2f MB), %d bytes mapped"
          " (%.2f MB)" % (len(files), sum(opens(f) for f in files),
                          sum(tally.reads[f] for f in files), total_read, total_read / 1e6,
                          total_mapped, total_mapped / 1e6))
    if target is not None:
        megabytes = total_read / 1e6
        print("  bytes read: %.2f MB   (target: at most %.2f MB: %s)" %
              (megabytes, target, "met, %.2f MB to spare" % (target - megabytes)
               if megabytes <= target else "missed by %.2f MB" % (megabytes - target)))
    print("  read before the window was mapped at its final size: %d bytes; after: %d bytes" %
          (tally.before_map, total_read - tally.before_map))
    if folders:
        print("  folders opened (name look-ups): " +
              ", ".join("%s %d" % (f if f != "." else "(the folder itself)", opens(f))
                        for f in folders))
    if tally.failed:
        print("  opens that failed: " +
              ", ".join("%s %d" % (f, c) for f, c in sorted(tally.failed.items())))
    by_server = sum(c for (r, who), c in tally.opens.items() if who == "server" and r in files)
    print("  (opens of files: %d by the wine server for the program, %d by the program itself)" %
          (by_server, sum(opens(f) for f in files) - by_server))


if __name__ == "__main__":
    main()
