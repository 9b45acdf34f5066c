#!/usr/bin/env python3
"""Signs Windows programs with Authenticode through osslsigncode, in place.

Usage: sign.py [--name TEXT] FILE...

The certificate and its key come from a PKCS#12 file; nothing about them is stored in the
project. The environment names them:

  MENU_SIGN_PKCS12         the PKCS#12 (.p12 or .pfx) file
  MENU_SIGN_PASSWORD       its password (unset or empty: none)
  MENU_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server; the signature then stays valid after
                           the certificate expires (unset: no time stamp)

A program that is already signed is signed afresh, not given a second signature."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe  # noqa: E402  (beside this file)

SECURITY_DIRECTORY = 4


def is_signed(path):
    with open(path, "rb") as f:
        image = pe.Image(f.read())
    directories = image.directories
    return len(directories) > SECURITY_DIRECTORY and directories[SECURITY_DIRECTORY][1] != 0


def osslsigncode(tool, arguments, password=None):
    """Runs osslsigncode; the password reaches it through a private file, never its command
    line, where any user of the machine could read it."""
    extra = []
    with tempfile.TemporaryDirectory(prefix="menu-sign.") as private:
        if password:
            secret = os.path.join(private, "password")
            descriptor = os.open(secret, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600)
            with os.fdopen(descriptor, "w", encoding="utf-8") as f:
                f.write(password)
            extra = ["-readpass", secret]
        result = subprocess.run([tool] + arguments[:1] + extra + arguments[1:],
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT)
    if result.returncode != 0:
        raise RuntimeError(result.stdout.decode("utf-8", "replace").strip())


def sign(tool, path, name, certificate, password, timestamp):
    folder = os.path.dirname(os.path.abspath(path))
    unsigned = os.path.join(folder, os.path.basename(path) + ".unsigned")
    signed = os.path.join(folder, os.path.basename(path) + ".signed")
    try:
        source = path
        if is_signed(path):
            osslsigncode(tool, ["remove-signature", "-in", path, "-out", unsigned])
            source = unsigned
        arguments = ["sign", "-pkcs12", certificate, "-h", "sha256", "-n", name]
        if timestamp:
            arguments += ["-ts", timestamp]
        osslsigncode(tool, arguments + ["-in", source, "-out", signed], password)
        shutil.copymode(path, signed)
        os.replace(signed, path)
    finally:
        for leftover in (unsigned, signed):
            if os.path.exists(leftover):
                os.remove(leftover)


def main():
    parser = argparse.ArgumentParser(description="Authenticode signing with osslsigncode")
    parser.add_argument("--name", default="", help="the description shown by the system")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    certificate = os.environ.get("MENU_SIGN_PKCS12", "")
    if not certificate:
        print("sign.py: set MENU_SIGN_PKCS12 to the PKCS#12 file to sign with "
              "(and MENU_SIGN_PASSWORD to its password)", file=sys.stderr)
        return 2
    if not os.path.isfile(certificate):
        print("sign.py: %s (MENU_SIGN_PKCS12) does not exist" % certificate, file=sys.stderr)
        return 2
    tool = shutil.which("osslsigncode")
    if tool is None:
        print("sign.py: osslsigncode is not installed (Debian: apt-get install osslsigncode)",
              file=sys.stderr)
        return 2
    password = os.environ.get("MENU_SIGN_PASSWORD", "")
    timestamp = os.environ.get("MENU_SIGN_TIMESTAMP_URL", "")
    for path in args.files:
        try:
            sign(tool, path, args.name, certificate, password, timestamp)
        except (OSError, ValueError, RuntimeError) as error:
            print("sign.py: %s: %s" % (path, error), file=sys.stderr)
            return 1
        print("signed %s%s" % (path, " with a time stamp" if timestamp else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main())
