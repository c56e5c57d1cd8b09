#!/usr/bin/env python3
"""The download: what the zip holds, the same bytes from a second source and build folder, the
programs signed with a throw-away certificate and read back under Wine, and no zip when signing
cannot be done. Usage: package_test.py SOURCE_FOLDER BUILD_FOLDER VERSION BUILD_TYPE"""

import hashlib
import io
import os
import shutil
import subprocess
import sys
import time
import zipfile

ROOT, BUILD, VERSION, BUILD_TYPE = sys.argv[1:5]
ZIP = f"kelvane-{VERSION}-win64.zip"
PROGRAMS, TEXTS = ["kelvane.exe", "kelvane-cli.exe"], ["README.txt", "LICENSE.txt", "SHA256SUMS"]
SIGNER = "Kelvane test signer"


class Failed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failed(message)


def run(args, **env):
    """Runs a tool with no KELVANE_SIGN_* variable but those given."""
    unsigned = {k: v for k, v in os.environ.items() if not k.startswith("KELVANE_SIGN_")}
    return subprocess.run(args, env=dict(unsigned, **env), stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=600)


def folder(name):
    path = os.path.join(BUILD, "package-test", name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def read(path):
    with open(path, "rb") as f:
        return f.read()


def package(**env):
    """The zip of the build's programs, None when there is none, and what the packaging said."""
    out = folder("out")
    result = run([sys.executable, os.path.join(ROOT, "tools", "dist", "package.py"), VERSION, out,
                  *(os.path.join(BUILD, p) for p in PROGRAMS)], **env)
    said, made = (result.stdout + result.stderr).decode(), os.listdir(out)
    check(made in ([], [ZIP]) and (result.returncode == 0) == bool(made),
          f"exit {result.returncode} with {made}: {said}")
    return (read(os.path.join(out, ZIP)) if made else None), said


def commit_seconds():
    return int(run(["git", "-C", ROOT, "log", "-1", "--format=%ct"]).stdout)


def check_zip(data, programs):
    """The entries in order with the commit's time, the texts ready for Notepad, the sums right."""
    z = zipfile.ZipFile(io.BytesIO(data))
    check(z.namelist() == PROGRAMS + TEXTS, f"the zip holds {z.namelist()}")
    when = time.gmtime(commit_seconds() // 2 * 2)[:6]  # a zip keeps even seconds
    check(all(e.date_time == when for e in z.infolist()), f"entries not dated {when}")
    check(all(z.read(name) == programs[name] for name in PROGRAMS), "other programs in the zip")
    for name in TEXTS:
        text = z.read(name)
        check(text.count(b"\n") == text.count(b"\r\n") > 0 and text.isascii(),
              f"{name} is not ASCII text with CR LF line ends")
    check(z.read("LICENSE.txt") == read(os.path.join(ROOT, "LICENSE")).replace(b"\n", b"\r\n"),
          "LICENSE.txt is not the repository's LICENSE")
    sums = "".join(f"{hashlib.sha256(programs[n]).hexdigest()}  {n}\r\n" for n in PROGRAMS)
    check(z.read("SHA256SUMS").decode() == sums, f"SHA256SUMS is {z.read('SHA256SUMS')!r}")


def built_programs(build=BUILD):
    return {name: read(os.path.join(build, name)) for name in PROGRAMS}


def unsigned_and_the_same_from_a_second_folder():
    first, said = package()
    check(first is not None and said.startswith("unsigned"), f"no unsigned download: {said}")
    check_zip(first, built_programs())
    # A copy of the sources as they stand, away from git, in a folder of another name and depth.
    source = folder("second/source/kelvane")
    listed = run(["git", "-C", ROOT, "ls-files", "-z", "-co", "--exclude-standard"]).stdout
    names = (os.path.join(ROOT, n) for n in listed.decode().split("\0"))
    for name in filter(os.path.isfile, names):
        os.makedirs(os.path.dirname(source + name[len(ROOT):]), exist_ok=True)
        shutil.copy(name, source + name[len(ROOT):])
    build, dist = folder("second/b"), folder("second/dist")
    for step in (["cmake", "-S", source, "-B", build, f"-DCMAKE_BUILD_TYPE={BUILD_TYPE}",
                  f"-DCMAKE_TOOLCHAIN_FILE={source}/cmake/mingw-w64-x86_64.cmake",
                  f"-DKELVANE_DIST_DIR={dist}"],
                 ["cmake", "--build", build, "-j2", "--target", "dist"]):
        result = run(step, SOURCE_DATE_EPOCH=str(commit_seconds()))
        check(result.returncode == 0, f"{' '.join(step)}:\n{result.stdout}{result.stderr}")
    check(built_programs(build) == built_programs(), "the programs differ between the two builds")
    check(read(os.path.join(dist, ZIP)) == first, "the two zips differ")


def make_signer(out):
    cert, key = os.path.join(out, "cert.pem"), os.path.join(out, "key.pem")
    result = run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                  "-subj", f"/CN={SIGNER}", "-addext", "extendedKeyUsage=codeSigning",
                  "-keyout", key, "-out", cert])
    check(result.returncode == 0, f"openssl: {result.stderr}")
    return cert, key


def without_signature(data):
    """The program as the signature leaves it: up to the certificate table, without the PE
    checksum and the table's place, which signing fills in."""
    optional = int.from_bytes(data[0x3C:0x40], "little") + 24
    table = optional + 144  # the certificate table's entry in a 64-bit PE's optional header
    body = bytearray(data[:int.from_bytes(data[table:table + 4], "little") or len(data)])
    body[optional + 64:optional + 68] = bytes(4)
    body[table:table + 8] = bytes(8)
    return bytes(body)


def signed_download():
    signer = folder("signer")
    cert, key = make_signer(signer)
    data, said = package(KELVANE_SIGN_CERT=cert, KELVANE_SIGN_KEY=key)
    check(data is not None and said.startswith("signed"), f"no signed download: {said}")
    z = zipfile.ZipFile(io.BytesIO(data))
    check_zip(data, {name: z.read(name) for name in PROGRAMS})
    copyright_line = next(line for line in read(os.path.join(ROOT, "LICENSE")).decode().splitlines()
                          if line.startswith("Copyright"))
    for name, description in [("kelvane", "Kelvane \u2014 adapts ICQ 7.1"),
                              ("kelvane-cli", "Kelvane command line")]:
        exe, signed = os.path.join(signer, f"{name}.exe"), z.read(f"{name}.exe")
        with open(exe, "wb") as f:
            f.write(signed)
        unsigned = read(os.path.join(BUILD, f"{name}.exe"))
        check(len(signed) > len(unsigned) and without_signature(signed) == without_signature(
            unsigned), f"{name}.exe carries no signature, or signing changed its program bytes")
        verified = run(["osslsigncode", "verify", "-in", exe, "-CAfile", cert])
        check(verified.returncode == 0 and f"CN={SIGNER}" in verified.stdout.decode(),
              f"{name}.exe: {verified.stdout}{verified.stderr}")
        # What Windows itself reads from the signed program.
        shown = run(["/usr/lib/wine/wine64", os.path.join(BUILD, "exe-resources.exe"), exe])
        strings, _, manifest = shown.stdout.partition(b"\n\n")
        expected = {"Fixed": f"{VERSION}.0.0", "CompanyName": "The Kelvane authors",
                    "FileDescription": description, "FileVersion": f"{VERSION}.0.0",
                    "InternalName": name, "LegalCopyright": copyright_line,
                    "OriginalFilename": f"{name}.exe", "ProductName": "Kelvane",
                    "ProductVersion": VERSION}
        check(dict(line.split("=", 1) for line in strings.decode().splitlines()) == expected,
              f"{name}.exe says {strings.decode()}")
        check(manifest == read(os.path.join(ROOT, "app", f"{name}.manifest")),
              f"{name}.exe's manifest is not app/{name}.manifest")


def failed_signing_gives_no_download():
    cert, key = make_signer(folder("refused-signer"))
    other_cert, _ = make_signer(folder("other-signer"))
    for what, env in [("a certificate without a key", {"KELVANE_SIGN_CERT": cert}),
                      ("a key without a certificate", {"KELVANE_SIGN_KEY": key}),
                      ("a key that is not the certificate's",
                       {"KELVANE_SIGN_CERT": other_cert, "KELVANE_SIGN_KEY": key}),
                      ("a key file that is not there",
                       {"KELVANE_SIGN_CERT": cert, "KELVANE_SIGN_KEY": key + ".missing"}),
                      ("a time-stamp server that does not answer",
                       {"KELVANE_SIGN_CERT": cert, "KELVANE_SIGN_KEY": key,
                        "KELVANE_SIGN_TIMESTAMP": "http://127.0.0.1:9/"})]:
        data, said = package(**env)
        check(data is None, f"{what} gave a download: {said}")


def main():
    failures = 0
    for scenario in [signed_download, failed_signing_gives_no_download,
                     unsigned_and_the_same_from_a_second_folder]:
        start = time.monotonic()
        try:
            scenario()
            print(f"ok    {scenario.__name__} ({time.monotonic() - start:.1f} s)")
        except Failed as failure:
            failures += 1
            print(f"FAIL  {scenario.__name__}: {failure}")
        sys.stdout.flush()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
