#!/usr/bin/env python3
"""The distribution folder as the same bytes from every build of one commit:

  disc.py stamp --epoch SECONDS FOLDER        dates every file and folder in FOLDER
  disc.py zip --epoch SECONDS FOLDER ZIPFILE  zips FOLDER's contents at the zip's root
  disc.py iso --epoch SECONDS --name TEXT --version TEXT FOLDER ISOFILE
                                              the disc image of FOLDER, made with xorriso

The zip holds its entries in sorted order, all dated SECONDS (SOURCE_DATE_EPOCH), with fixed
permissions and no extra fields, so that neither the builder's clock, nor the order the file
system lists the folder in, nor the builder's user shows in it. The image is ISO 9660 with a
Joliet tree (the long Unicode names Windows shows) and Rock Ridge (the same for other systems),
FOLDER's contents at its root, what the menu reads at start-up first and in the order it reads
it; its volume dates and identifiers come from SECONDS and the product's name and version, its
files' dates from the files (stamped), their owner is root and their permissions read-only, and
times are written in UTC whatever the builder's time zone."""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time
import unicodedata
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


# What is read from the disc when it is inserted and the menu starts, in that order: laid out
# one after the other at the image's start, so that a drive's head moves on rather than seeks.
STARTUP_ORDER = ["autorun.inf", "menu.exe", "menu.ini", "img/main.bmp", "img/bmp1-2.bmp",
                 "img/bmp2-2.bmp", "img/bmp3-2.bmp", "img/bmp4-2.bmp", "img/bmp15-2.bmp"]


def iso_text(text, length, allowed):
    """`text` in the upper-case ASCII an ISO 9660 volume descriptor holds: accents dropped, each
    run of other characters outside `allowed` one underscore, at most `length` characters."""
    plain = unicodedata.normalize("NFKD", text).encode("ascii", "ignore").decode("ascii").upper()
    return re.sub("_+", "_", re.sub("[^%s]" % allowed, "_", plain))[:length].strip("_ ")


def volume_id(name):
    """The volume name from the product's name: d-characters (A-Z, 0-9, _), up to 32 of them."""
    return iso_text(name, 32, "A-Z0-9_") or "MENU"


def make_iso(folder, target, epoch, name, version):
    xorriso = shutil.which("xorriso")
    if xorriso is None:
        raise OSError("xorriso is not installed (Debian: apt-get install xorriso)")
    os.makedirs(os.path.dirname(os.path.abspath(target)), exist_ok=True)
    temporary = target + ".partial"
    if os.path.exists(temporary):
        os.remove(temporary)
    # SOURCE_DATE_EPOCH fixes the volume's dates and its UUID and makes every file keep its own
    # date; the time zone decides how dates are written, so it is UTC for everyone.
    environment = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch), TZ="UTC")
    application = iso_text("%s %s" % (name, version), 128, "A-Z0-9_ !\"%&'()*+,\-./:;<=>?")
    weights = target + ".order"
    with open(weights, "w", encoding="utf-8") as f:
        for rank, path in enumerate(STARTUP_ORDER):
            if os.path.isfile(os.path.join(folder, path)):
                f.write("%d /%s\n" % (len(STARTUP_ORDER) - rank, path))
    command = [xorriso, "-as", "mkisofs", "-quiet", "-o", temporary, "-V", volume_id(name),
               "-A", application, "-J", "-r", "-iso-level", "2", "--sort-weight-list", weights,
               folder]
    try:
        result = subprocess.run(command, env=environment, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    finally:
        os.remove(weights)
    if result.returncode != 0:
        raise OSError("xorriso failed:\n" + result.stdout.decode("utf-8", "replace").strip())
    os.replace(temporary, target)


def main():
    parser = argparse.ArgumentParser(description="Reproducible distribution folder and zip")
    commands = parser.add_subparsers(dest="command", required=True)
    for name in ("stamp", "zip", "iso"):
        command = commands.add_parser(name)
        command.add_argument("--epoch", type=int, required=True)
        if name == "iso":
            command.add_argument("--name", required=True)
            command.add_argument("--version", required=True)
        command.add_argument("folder")
        if name != "stamp":
            command.add_argument("target")
    args = parser.parse_args()
    if not os.path.isdir(args.folder):
        print("disc.py: %s is not a folder" % args.folder, file=sys.stderr)
        return 2
    try:
        if args.command == "stamp":
            stamp(args.folder, args.epoch)
        elif args.command == "zip":
            make_zip(args.folder, args.target, args.epoch)
        else:
            make_iso(args.folder, args.target, args.epoch, args.name, args.version)
    except OSError as error:
        print("disc.py: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
