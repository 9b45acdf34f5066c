#!/usr/bin/env python3
"""Finishes a linked 32-bit Windows program for the disc, after the link:

- marks it to be run from the page file when started from removable or network media, so that
  ejecting the disc or losing the share cannot take the running code away (the GNU linker has
  no switch for these two header flags);
- dates its resource directories from SOURCE_DATE_EPOCH, so that two builds of one commit agree;
- writes the header checksum the way the system's CheckSumMappedFile computes it.

With --check it changes nothing and reads a finished program back instead: its machine, the two
flags, terminal-server awareness, no link time stamp, a checksum that holds and its size, so that
the program for the disc is checked on a machine where it cannot run.

Usage: pe.py [--epoch SECONDS] FILE
       pe.py --check --machine i386|amd64 --max-bytes N FILE"""

import argparse
import os
import struct
import sys

IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP = 0x0400
IMAGE_FILE_NET_RUN_FROM_SWAP = 0x0800
IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE = 0x8000
RESOURCE_DIRECTORY = 2
MACHINES = {"i386": 0x14C, "amd64": 0x8664}


class Image:
    """The headers of a PE file held in memory, with the offsets of the fields changed here."""

    def __init__(self, data):
        if data[:2] != b"MZ":
            raise ValueError("not a Windows program (no MZ header)")
        self.nt = struct.unpack_from("<I", data, 0x3C)[0]
        if data[self.nt:self.nt + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.file_header = self.nt + 4
        self.characteristics = self.file_header + 18
        sections, optional_size = struct.unpack_from("<H12xH", data, self.file_header + 2)
        self.optional = self.file_header + 20
        magic = struct.unpack_from("<H", data, self.optional)[0]
        if magic not in (0x10B, 0x20B):
            raise ValueError("unknown optional header 0x%x" % magic)
        self.checksum = self.optional + 64
        directories = self.optional + (96 if magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i)
                            for i in range(struct.unpack_from("<I", data, directories - 4)[0])]
        table = self.optional + optional_size
        self.sections = []
        for i in range(sections):
            size, address, raw_size, raw = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            self.sections.append((address, max(size, raw_size), raw))

    def offset(self, rva):
        """The file offset of a relative virtual address."""
        for address, size, raw in self.sections:
            if address <= rva < address + size:
                return rva - address + raw
        raise ValueError("address 0x%x lies in no section" % rva)


def date_resources(data, image, epoch):
    """Sets the time stamp of every directory of the resource tree."""
    if len(image.directories) <= RESOURCE_DIRECTORY:
        return
    rva, size = image.directories[RESOURCE_DIRECTORY]
    if rva == 0 or size == 0:
        return
    base = image.offset(rva)
    pending, seen = [0], set()
    while pending:
        at = pending.pop()
        if at in seen or at + 16 > size:
            raise ValueError("damaged resource directory")
        seen.add(at)
        struct.pack_into("<I", data, base + at + 4, epoch)
        named, numbered = struct.unpack_from("<HH", data, base + at + 12)
        for i in range(named + numbered):
            target = struct.unpack_from("<I", data, base + at + 16 + 8 * i + 4)[0]
            if target & 0x80000000:  # a subdirectory, not a leaf
                pending.append(target & 0x7FFFFFFF)


def pe_checksum(data, checksum_offset):
    """The sum of the file's 16-bit words with the checksum field as zero, each carry folded
    back in, plus the file's length: what CheckSumMappedFile returns."""
    padded = bytes(data) + (b"\0" if len(data) % 2 else b"")
    words = struct.unpack("<%dH" % (len(padded) // 2), padded)
    total = sum(words) - words[checksum_offset // 2] - words[checksum_offset // 2 + 1]
    while total > 0xFFFF:
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(data)) & 0xFFFFFFFF


def finish(path, epoch):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    image = Image(data)
    flags = struct.unpack_from("<H", data, image.characteristics)[0]
    flags |= IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP | IMAGE_FILE_NET_RUN_FROM_SWAP
    struct.pack_into("<H", data, image.characteristics, flags)
    date_resources(data, image, epoch)
    struct.pack_into("<I", data, image.checksum, pe_checksum(data, image.checksum))
    # Written to a neighbour and renamed, so that a failure never leaves half a program behind.
    temporary = path + ".finishing"
    with open(temporary, "wb") as f:
        f.write(data)
    os.chmod(temporary, os.stat(path).st_mode)
    os.replace(temporary, path)


def problems(path, machine, max_bytes):
    """What is wrong with a finished program, as sentences; none when it is ready for the disc."""
    with open(path, "rb") as f:
        data = f.read()
    image = Image(data)
    found = []
    machine_in_file, timestamp = struct.unpack_from("<H2xI", data, image.file_header)
    if machine_in_file != MACHINES[machine]:
        found.append("it is built for machine 0x%x, not %s" % (machine_in_file, machine))
    run_from_swap = IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP | IMAGE_FILE_NET_RUN_FROM_SWAP
    if struct.unpack_from("<H", data, image.characteristics)[0] & run_from_swap != run_from_swap:
        found.append("it is not marked to run from the page file on removable and network media")
    if not struct.unpack_from("<H", data, image.optional + 70)[0] & (
            IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE):
        found.append("it is not marked terminal-server aware")
    if timestamp != 0:
        found.append("its header carries the link time 0x%x" % timestamp)
    stored = struct.unpack_from("<I", data, image.checksum)[0]
    if stored != pe_checksum(data, image.checksum):
        found.append("its header checksum 0x%x does not hold" % stored)
    if len(data) > max_bytes:
        found.append("it is %d bytes, more than %d" % (len(data), max_bytes))
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--epoch", type=int, default=int(os.environ.get("SOURCE_DATE_EPOCH", 0)))
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--machine", choices=sorted(MACHINES), default="i386")
    parser.add_argument("--max-bytes", type=int, default=256 * 1024)
    parser.add_argument("file")
    args = parser.parse_args()
    try:
        if args.check:
            found = problems(args.file, args.machine, args.max_bytes)
            for problem in found:
                print("pe.py: %s: %s" % (args.file, problem), file=sys.stderr)
            if not found:
                print("pe.py: %s: ready for the disc, %d bytes"
                      % (args.file, os.path.getsize(args.file)))
            return 1 if found else 0
        finish(args.file, args.epoch)
    except (OSError, ValueError, struct.error) as error:
        print("pe.py: %s: %s" % (args.file, error), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
