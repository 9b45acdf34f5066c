#!/usr/bin/env python3
"""The distribution folder as the same bytes from every build of one commit:

  disc.py stamp --epoch SECONDS FOLDER        dates every file and folder in FOLDER
  disc.py zip --epoch SECONDS FOLDER ZIPFILE  zips FOLDER's contents at the zip's root

The zip holds its entries in sorted order, all dated SECONDS (SOURCE_DATE_EPOCH), with fixed
permissions and no extra fields, so that neither the builder's clock, nor the order the file
system lists the folder in, nor the builder's user shows in it."""

import argparse
import os
import sys
import time
import zipfile

DOS_EPOCH = 315532800  # 1980-01-01, the earliest time a zip entry can hold


def entries(folder):
    """(name in the zip, path) of every folder and file below `folder`, sorted by name."""
    found = []
    for parent, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(parent, name)
            relative = os.path.relpath(path, folder).replace(os.sep, "/")
            found.append((relative + "/" if os.path.isdir(path) else relative, path))
    return sorted(found, key=lambda entry: entry[0].encode("utf-8"))


def stamp(folder, epoch):
    for _, path in entries(folder):
        os.utime(path, (epoch, epoch), follow_symlinks=False)
    os.utime(folder, (epoch, epoch))


def make_zip(folder, target, epoch):
    date = time.gmtime(max(epoch, DOS_EPOCH))[:6]
    os.makedirs(os.path.dirname(os.path.abspath(target)), exist_ok=True)
    temporary = target + ".partial"
    with zipfile.ZipFile(temporary, "w") as archive:
        for name, path in entries(folder):
            info = zipfile.ZipInfo(name, date_time=date)
            info.create_system = 3  # the permissions below are Unix ones
            if name.endswith("/"):
                info.external_attr = (0o40755 << 16) | 0x10  # plus the MS-DOS folder bit
                archive.writestr(info, b"")
                continue
            executable = os.stat(path).st_mode & 0o111
            info.external_attr = (0o100755 if executable else 0o100644) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)
    os.replace(temporary, target)


def main():
    parser = argparse.ArgumentParser(description="Reproducible distribution folder and zip")
    commands = parser.add_subparsers(dest="command", required=True)
    for name in ("stamp", "zip"):
        command = commands.add_parser(name)
        command.add_argument("--epoch", type=int, required=True)
        command.add_argument("folder")
        if name == "zip":
            command.add_argument("zipfile")
    args = parser.parse_args()
    if not os.path.isdir(args.folder):
        print("disc.py: %s is not a folder" % args.folder, file=sys.stderr)
        return 2
    if args.command == "stamp":
        stamp(args.folder, args.epoch)
    else:
        make_zip(args.folder, args.zipfile, args.epoch)
    return 0


if __name__ == "__main__":
    sys.exit(main())
