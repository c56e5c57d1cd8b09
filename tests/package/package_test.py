#!/usr/bin/env python3
"""The download: what the zip holds, the same bytes from a second source and build folder in
another time zone, the programs signed with a throw-away certificate and read back under Wine, and
no zip when signing cannot be done.
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
ZIP = f"kelvane-{VERSION}-win64.zip"
PROGRAMS, TEXTS = ["kelvane.exe", "kelvane-cli.exe"], ["README.txt", "LICENSE.txt", "SHA256SUMS"]
SIGNER = "Kelvane test signer"


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
    assert made in ([], [ZIP]) and (result.returncode == 0) == bool(made), (result.returncode, said)
    return (read(os.path.join(out, ZIP)) if made else None), said


def sums(programs):
    return "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\r\n"
                   for name, data in programs.items())


def built_programs(build=BUILD):
    return {name: read(os.path.join(build, name)) for name in PROGRAMS}


def unsigned_and_the_same_from_a_second_folder():
    """The build's programs in order with the commit's time, the texts ready for Notepad, the sums
    right, and byte for byte the zip that a copy of the sources elsewhere builds."""
    first, said = package()
    assert first and said.startswith("unsigned"), said
    z = zipfile.ZipFile(io.BytesIO(first))
    assert z.namelist() == PROGRAMS + TEXTS, z.namelist()
    commit = run(["git", "-C", ROOT, "log", "-1", "--format=%ct"]).stdout.decode().strip()
    when = time.gmtime(int(commit) // 2 * 2)[:6]  # a zip keeps even seconds
    assert all(entry.date_time == when for entry in z.infolist()), when
    assert {name: z.read(name) for name in PROGRAMS} == built_programs()
    for entry, source in [("README.txt", "tools/dist/README.txt"), ("LICENSE.txt", "LICENSE")]:
        text = read(os.path.join(ROOT, source))
        assert text.isascii() and z.read(entry) == text.replace(b"\n", b"\r\n"), entry
    assert z.read("SHA256SUMS").decode() == sums(built_programs())
    # A copy of the sources as they stand, away from git, in a folder of another name and depth,
    # built in another time zone.
    source = folder("second/source/kelvane")
    listed = run(["git", "-C", ROOT, "ls-files", "-z", "-co", "--exclude-standard"]).stdout
    for name in listed.decode().split("\0"):
        if os.path.isfile(os.path.join(ROOT, name)):
            os.makedirs(os.path.dirname(os.path.join(source, name)), exist_ok=True)
            shutil.copy(os.path.join(ROOT, name), os.path.join(source, name))
    build, dist = folder("second/b"), folder("second/dist")
    for step in (["cmake", "-S", source, "-B", build, f"-DCMAKE_BUILD_TYPE={BUILD_TYPE}",
                  f"-DCMAKE_TOOLCHAIN_FILE={source}/cmake/mingw-w64-x86_64.cmake",
                  f"-DKELVANE_DIST_DIR={dist}"],
                 ["cmake", "--build", build, "-j2", "--target", "dist"]):
        result = run(step, SOURCE_DATE_EPOCH=commit, TZ="JST-9")
        assert result.returncode == 0, (step, result.stdout, result.stderr)
    assert built_programs(build) == built_programs(), "the programs differ between the two builds"
    assert read(os.path.join(dist, ZIP)) == first, "the two zips differ"


def make_signer(out, name, usage="codeSigning", days=(-1, 2)):
    """A throw-away certificate valid the given days around now, and its key. openssl ca makes it,
    since only it can set a time that has passed."""
    cert, key, request, config = (os.path.join(out, name + end)
                                  for end in (".pem", "-key.pem", ".csr", ".cnf"))
    open(os.path.join(out, f"{name}.index"), "w").close()
    with open(config, "w") as f:
        f.write(f"[ca]\ndefault_ca=own\n[own]\ndatabase={out}/{name}.index\nnew_certs_dir={out}\n"
                f"serial={out}/{name}.serial\ndefault_md=sha256\npolicy=any\n[any]\n"
                f"commonName=supplied\n[usage]\nextendedKeyUsage={usage}\n")
    start, end = (time.strftime("%Y%m%d%H%M%SZ", time.gmtime(time.time() + d * 86400)) for d in days)
    for step in (["openssl", "req", "-new", "-newkey", "rsa:2048", "-nodes", "-subj",
                  f"/CN={SIGNER}", "-keyout", key, "-out", request],
                 ["openssl", "ca", "-batch", "-selfsign", "-config", config, "-keyfile", key,
                  "-in", request, "-out", cert, "-create_serial", "-extensions", "usage",
                  "-startdate", start, "-enddate", end]):
        result = run(step)
        assert result.returncode == 0, result.stderr
    return cert, key


def optional_header(data):
    """Where a program's PE optional header begins."""
    return int.from_bytes(data[0x3C:0x40], "little") + 24


def without_signature(data):
    """The program as signing leaves it: up to the certificate table, without the PE checksum and
    the table's entry, which signing fills in."""
    optional = optional_header(data)
    table = optional + 144  # the certificate table's entry in a 64-bit PE's optional header
    body = bytearray(data[:int.from_bytes(data[table:table + 4], "little") or len(data)])
    body[optional + 64:optional + 68], body[table:table + 8] = bytes(4), bytes(8)
    return bytes(body)


def signed_or_no_download():
    """Signing that cannot be done leaves no zip; done, it leaves the programs' own bytes, the
    sums of the signed programs, and what Windows reads from them."""
    signer = folder("signer")
    cert, key = make_signer(signer, "signer")
    other_cert, _ = make_signer(signer, "other")
    expired, expired_key = make_signer(signer, "expired", days=(-3, -1))
    server, server_key = make_signer(signer, "server", usage="serverAuth")
    both = {"KELVANE_SIGN_CERT": cert, "KELVANE_SIGN_KEY": key}
    for what, env in [("a certificate without a key", {"KELVANE_SIGN_CERT": cert}),
                      ("a key without a certificate", {"KELVANE_SIGN_KEY": key}),
                      ("both set but empty", {"KELVANE_SIGN_CERT": "", "KELVANE_SIGN_KEY": ""}),
                      ("a key not the certificate's", dict(both, KELVANE_SIGN_CERT=other_cert)),
                      ("an expired certificate",
                       {"KELVANE_SIGN_CERT": expired, "KELVANE_SIGN_KEY": expired_key}),
                      ("a certificate not for code signing",
                       {"KELVANE_SIGN_CERT": server, "KELVANE_SIGN_KEY": server_key}),
                      ("a time-stamp server that does not answer",
                       dict(both, KELVANE_SIGN_TIMESTAMP="http://127.0.0.1:9/"))]:
        data, said = package(**env)
        assert data is None, f"{what} gave a download: {said}"
    data, said = package(**both)
    assert data and said.startswith("signed"), said
    z = zipfile.ZipFile(io.BytesIO(data))
    assert z.read("SHA256SUMS").decode() == sums({name: z.read(name) for name in PROGRAMS})
    copyright_line = next(line for line in read(os.path.join(ROOT, "LICENSE")).decode().splitlines()
                          if line.startswith("Copyright"))
    # What Windows alone acts on in the manifests, so no test under Wine shows its loss: both
    # programs ask for administrator rights (the hosts file and Program Files need them); the
    # window wants themed controls and scales itself sharp at each monitor's DPI.
    window = ['name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', ">true/pm<",
              ">PerMonitorV2<"]
    # The window opens no console beside it; the command line is a console program, which the
    # command prompt waits for and whose output it shows.
    gui, console = 2, 3
    for name, description, wants, subsystem in [
            ("kelvane", "Kelvane \u2014 adapts ICQ 7.1", window, gui),
            ("kelvane-cli", "Kelvane command line", [], console)]:
        exe, signed = os.path.join(signer, f"{name}.exe"), z.read(f"{name}.exe")
        with open(exe, "wb") as f:
            f.write(signed)
        unsigned = read(os.path.join(BUILD, f"{name}.exe"))
        assert len(signed) > len(unsigned), f"{name}.exe carries no signature"
        assert without_signature(signed) == without_signature(unsigned), f"{name}.exe changed"
        shown_as = signed[optional_header(signed) + 68]
        assert shown_as == subsystem, f"{name}.exe: subsystem {shown_as}"
        verified = run(["osslsigncode", "verify", "-in", exe, "-CAfile", cert])
        # SHA-256, and the name the UAC prompt shows as the program's.
        said = verified.stdout.decode()
        assert verified.returncode == 0 and all(text in said for text in [
            f"CN={SIGNER}", "Message digest algorithm  : SHA256",
            "Text description: Kelvane"]), said
        # What Windows itself reads from the signed program.
        shown = run(["/usr/lib/wine/wine64", os.path.join(BUILD, "exe-resources.exe"), exe])
        strings, _, manifest = shown.stdout.decode().partition("\n\n")
        assert dict(line.split("=", 1) for line in strings.splitlines()) == {
            "Fixed": f"{VERSION}.0.0", "CompanyName": "The Kelvane authors",
            "FileDescription": description, "FileVersion": f"{VERSION}.0.0", "InternalName": name,
            "LegalCopyright": copyright_line, "OriginalFilename": f"{name}.exe",
            "ProductName": "Kelvane", "ProductVersion": VERSION}, strings
        assert manifest.encode() == read(os.path.join(ROOT, "app", f"{name}.manifest")), name
        assert all(text in manifest for text in ['level="requireAdministrator"'] + wants), name


if __name__ == "__main__":
    for scenario in [signed_or_no_download, unsigned_and_the_same_from_a_second_folder]:
        begun = time.monotonic()
        scenario()
        print(f"ok    {scenario.__name__} ({time.monotonic() - begun:.1f} s)", flush=True)
