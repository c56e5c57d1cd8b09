#!/usr/bin/env python3
"""The download: what the zip holds, the same bytes from a second source and build folder, and
the programs signed with a throw-away certificate, read back under Wine.
Usage: package_test.py SOURCE_FOLDER BUILD_FOLDER VERSION BUILD_TYPE"""

import hashlib
import io
import os
import shutil
import subprocess
import sys
import time
import zipfile

ROOT, BUILD, VERSION, BUILD_TYPE = sys.argv[1:5]
SCRATCH = os.path.join(BUILD, "package-test")
PACKAGE = os.path.join(ROOT, "tools", "dist", "package.py")
WINE = "/usr/lib/wine/wine64"
ZIP = f"kelvane-{VERSION}-win64.zip"
ENTRIES = ["kelvane.exe", "kelvane-cli.exe", "README.txt", "LICENSE.txt", "SHA256SUMS"]
SIGNER = "Kelvane test signer"


class Failed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failed(message)


def run(args, env=None):
    return subprocess.run(args, env=env, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                          timeout=600)


def unsigned_env(**extra):
    env = {k: v for k, v in os.environ.items() if not k.startswith("KELVANE_SIGN_")}
    env.update(extra)
    return env


def folder(name):
    path = os.path.join(SCRATCH, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def read(path):
    with open(path, "rb") as f:
        return f.read()


def package(out, env):
    """Packages the build's programs: the finished zip's bytes (None when there is none) and
    what the packaging said."""
    result = run([sys.executable, PACKAGE, VERSION, out, os.path.join(BUILD, "kelvane.exe"),
                  os.path.join(BUILD, "kelvane-cli.exe")], env=env)
    said = result.stdout + result.stderr
    made = os.listdir(out)
    check(made in ([], [ZIP]), f"the out folder holds {made}")
    check((result.returncode == 0) == bool(made), f"exit {result.returncode} with {made}: {said}")
    return (read(os.path.join(out, ZIP)) if made else None), said


def commit_seconds():
    return int(run(["git", "-C", ROOT, "log", "-1", "--format=%ct"]).stdout)


def license_copyright():
    with open(os.path.join(ROOT, "LICENSE")) as f:
        return next(line.strip() for line in f if line.startswith("Copyright"))


def check_zip(data, programs):
    """The entries in their order and time, the texts ready for Notepad, the checksums right."""
    z = zipfile.ZipFile(io.BytesIO(data))
    names = [e.filename for e in z.infolist()]
    check(names == ENTRIES, f"the zip holds {names}")
    when = time.gmtime(commit_seconds() // 2 * 2)[:6]  # a zip keeps even seconds
    for e in z.infolist():
        check(e.date_time == when, f"{e.filename} is dated {e.date_time}, the commit {when}")
    for name in ENTRIES[:2]:
        check(z.read(name) == programs[name], f"{name} in the zip is not the program")
    for name in ENTRIES[2:]:
        text = z.read(name)
        check(text.count(b"\n") == text.count(b"\r\n") > 0, f"{name} has bare LF line ends")
        check(text.isascii(), f"{name} has characters that Notepad may show wrongly")
    check(z.read("LICENSE.txt") == read(os.path.join(ROOT, "LICENSE")).replace(b"\n", b"\r\n"),
          "LICENSE.txt is not the repository's LICENSE")
    sums = "".join(f"{hashlib.sha256(programs[n]).hexdigest()}  {n}\r\n" for n in ENTRIES[:2])
    check(z.read("SHA256SUMS").decode() == sums, f"SHA256SUMS is {z.read('SHA256SUMS')!r}")


def built_programs(build=BUILD):
    return {name: read(os.path.join(build, name)) for name in ENTRIES[:2]}


def unsigned_and_the_same_from_a_second_folder():
    first, said = package(folder("first"), unsigned_env())
    check(first is not None and said.startswith("unsigned"), f"no unsigned download: {said}")
    check_zip(first, built_programs())
    # A copy of the sources as they stand, away from git, in a folder of another name and depth.
    source = folder("second/source/kelvane")
    listed = run(["git", "-C", ROOT, "ls-files", "-z", "-co", "--exclude-standard"]).stdout
    for name in filter(None, listed.split("\0")):
        if os.path.isfile(os.path.join(ROOT, name)):
            os.makedirs(os.path.dirname(os.path.join(source, name)), exist_ok=True)
            shutil.copy(os.path.join(ROOT, name), os.path.join(source, name))
    build, dist = folder("second/b"), folder("second/dist")
    env = unsigned_env(SOURCE_DATE_EPOCH=str(commit_seconds()))
    for step in (["cmake", "-S", source, "-B", build, f"-DCMAKE_BUILD_TYPE={BUILD_TYPE}",
                  f"-DCMAKE_TOOLCHAIN_FILE={source}/cmake/mingw-w64-x86_64.cmake",
                  f"-DKELVANE_DIST_DIR={dist}"],
                 ["cmake", "--build", build, "-j2", "--target", "dist"]):
        result = run(step, env=env)
        check(result.returncode == 0, f"{' '.join(step)}:\n{result.stdout}{result.stderr}")
    firsts = built_programs()
    for name, data in built_programs(build).items():
        check(data == firsts[name], f"{name} differs between the two builds")
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
    end = int.from_bytes(data[table:table + 4], "little") or len(data)
    body = bytearray(data[:end])
    body[optional + 64:optional + 68] = bytes(4)
    body[table:table + 8] = bytes(8)
    return bytes(body)


def resources(path):
    result = subprocess.run([WINE, os.path.join(BUILD, "exe-resources.exe"), path],
                            stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    check(result.returncode == 0, f"exe-resources {path} exited {result.returncode}")
    strings, _, manifest = result.stdout.partition(b"\n\n")
    return dict(line.split("=", 1) for line in strings.decode().splitlines()), manifest


def expected_resources(name, description):
    return {"Fixed": f"{VERSION}.0.0", "CompanyName": "The Kelvane authors",
            "FileDescription": description, "FileVersion": f"{VERSION}.0.0",
            "InternalName": name, "LegalCopyright": license_copyright(),
            "OriginalFilename": f"{name}.exe", "ProductName": "Kelvane",
            "ProductVersion": VERSION}


def signed_download():
    signer = folder("signer")
    cert, key = make_signer(signer)
    data, said = package(folder("signed"),
                         unsigned_env(KELVANE_SIGN_CERT=cert, KELVANE_SIGN_KEY=key))
    check(data is not None and said.startswith("signed"), f"no signed download: {said}")
    z = zipfile.ZipFile(io.BytesIO(data))
    programs = {name: z.read(name) for name in ENTRIES[:2]}
    check_zip(data, programs)
    for name, description in [("kelvane", "Kelvane \u2014 adapts ICQ 7.1"),
                              ("kelvane-cli", "Kelvane command line")]:
        exe = os.path.join(signer, f"{name}.exe")
        with open(exe, "wb") as f:
            f.write(programs[f"{name}.exe"])
        unsigned = read(os.path.join(BUILD, f"{name}.exe"))
        check(len(programs[f"{name}.exe"]) > len(unsigned), f"{name}.exe carries no signature")
        check(without_signature(programs[f"{name}.exe"]) == without_signature(unsigned),
              f"signing changed the program bytes of {name}.exe")
        verified = run(["osslsigncode", "verify", "-in", exe, "-CAfile", cert])
        check(verified.returncode == 0 and f"CN={SIGNER}" in verified.stdout,
              f"{name}.exe: {verified.stdout}{verified.stderr}")
        strings, manifest = resources(exe)
        check(strings == expected_resources(name, description), f"{name}.exe says {strings}")
        check(manifest == read(os.path.join(ROOT, "app", f"{name}.manifest")),
              f"{name}.exe's manifest is not app/{name}.manifest")


def failed_signing_gives_no_download():
    signer = folder("refused-signer")
    cert, key = make_signer(signer)
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
        data, said = package(folder("refused"), unsigned_env(**env))
        check(data is None, f"{what} gave a download: {said}")


SCENARIOS = [signed_download, failed_signing_gives_no_download,
             unsigned_and_the_same_from_a_second_folder]


def main():
    failures = 0
    for scenario in SCENARIOS:
        start = time.monotonic()
        try:
            scenario()
            print(f"ok    {scenario.__name__} ({time.monotonic() - start:.1f} s)")
        except Failed as failure:
            failures += 1
            print(f"FAIL  {scenario.__name__}: {failure}")
        sys.stdout.flush()
    print(f"{len(SCENARIOS) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
