#!/usr/bin/env python3
"""Kelvane's download: OUT_FOLDER/kelvane-VERSION-win64.zip with the two programs, README.txt,
LICENSE.txt and SHA256SUMS. With KELVANE_SIGN_CERT and KELVANE_SIGN_KEY (a PEM certificate and
its key; KELVANE_SIGN_TIMESTAMP optionally a time-stamp server) both programs are signed first.
Usage: package.py VERSION OUT_FOLDER KELVANE_EXE KELVANE_CLI_EXE"""

import hashlib
import os
import subprocess
import sys
import tempfile
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PROGRAMS = ["kelvane.exe", "kelvane-cli.exe"]


class Failed(Exception):
    pass


def entry_time():
    """The last commit's time, so that every build of a commit gives the same zip. A source tree
    without its history names the time in SOURCE_DATE_EPOCH."""
    seconds = os.environ.get("SOURCE_DATE_EPOCH")
    if not seconds:
        log = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"],
                             capture_output=True, text=True)
        if log.returncode != 0:
            raise Failed("no commit to take the date from; set SOURCE_DATE_EPOCH")
        seconds = log.stdout.strip()
    if not seconds.isdigit():
        raise Failed(f"no time in seconds: {seconds}")
    # A zip cannot say a time before 1980.
    return time.gmtime(max(int(seconds), 315532800))[:6]


def check_certificate(cert):
    """Windows names no publisher for a certificate that has expired or is not for code signing:
    such a signature would only look like one."""
    def x509(*args):
        return subprocess.run(["openssl", "x509", "-in", cert, "-noout", *args],
                              capture_output=True, text=True)
    if x509("-checkend", "0").returncode != 0:
        raise Failed(f"the certificate {cert} has expired or cannot be read")
    usage = x509("-ext", "extendedKeyUsage").stdout
    if usage and "Code Signing" not in usage:
        raise Failed(f"the certificate {cert} is not for code signing")


def signing():
    """The osslsigncode arguments that sign, or None when no certificate is given. A variable set
    but empty (a secret the CI does not have) is no reason for an unsigned release."""
    names = ("KELVANE_SIGN_CERT", "KELVANE_SIGN_KEY")
    if not any(name in os.environ for name in names):
        return None
    cert, key = (os.environ.get(name) for name in names)
    if not cert or not key:
        raise Failed("signing needs both KELVANE_SIGN_CERT and KELVANE_SIGN_KEY")
    check_certificate(cert)
    args = ["-certs", cert, "-key", key, "-h", "sha256", "-n", "Kelvane"]
    timestamp = os.environ.get("KELVANE_SIGN_TIMESTAMP")
    return args + ["-ts", timestamp] if timestamp else args


def program_bytes(exe, sign_args, scratch):
    if sign_args is None:
        with open(exe, "rb") as f:
            return f.read()
    # The signature is appended to the program as built; its own bytes stay as they are.
    signed = os.path.join(scratch, os.path.basename(exe))
    result = subprocess.run(["osslsigncode", "sign", *sign_args, "-in", exe, "-out", signed],
                            capture_output=True, text=True)
    if result.returncode != 0:
        raise Failed(f"signing {exe} failed: {result.stdout.strip()} {result.stderr.strip()}")
    with open(signed, "rb") as f:
        return f.read()


def notepad_text(name):
    """A text of the repository with the CR LF line ends that every Notepad shows."""
    with open(os.path.join(ROOT, name), "rb") as f:
        return f.read().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def contents(exes, sign_args, scratch):
    programs = [program_bytes(exe, sign_args, scratch) for exe in exes]
    sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\r\n"
                   for name, data in zip(PROGRAMS, programs))
    return list(zip(PROGRAMS, programs)) + [
        ("README.txt", notepad_text("tools/dist/README.txt")),
        ("LICENSE.txt", notepad_text("LICENSE")),
        ("SHA256SUMS", sums.encode("ascii")),
    ]


def write_zip(path, files, when):
    # Written beside its place and renamed, so a failed run never leaves half a zip.
    partial = path + ".partial"
    try:
        with zipfile.ZipFile(partial, "w") as z:
            for name, data in files:
                entry = zipfile.ZipInfo(name, when)
                entry.create_system = 3
                entry.external_attr = 0o100644 << 16
                z.writestr(entry, data, zipfile.ZIP_DEFLATED, 9)
        os.replace(partial, path)
    finally:
        if os.path.exists(partial):
            os.remove(partial)


def main():
    if len(sys.argv) != 5:
        print(__doc__.splitlines()[-1])
        return 64
    version, out, *exes = sys.argv[1:]
    try:
        sign_args = signing()
        when = entry_time()
        with tempfile.TemporaryDirectory() as scratch:
            files = contents(exes, sign_args, scratch)
        os.makedirs(out, exist_ok=True)
        path = os.path.join(out, f"kelvane-{version}-win64.zip")
        write_zip(path, files, when)
    except (Failed, OSError) as e:
        print(f"package: {e}", file=sys.stderr)
        return 1
    if sign_args is None:
        print("unsigned: set KELVANE_SIGN_CERT and KELVANE_SIGN_KEY to sign the programs")
    else:
        print(f"signed with {os.environ['KELVANE_SIGN_CERT']}")
    with open(path, "rb") as f:
        print(f"{path}\nsha256 {hashlib.sha256(f.read()).hexdigest()}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
