"""Drives kelvane.exe under Wine on an X display, for ./run demo and the window tests: the program
runs from a folder of its own, xdotool clicks, and the inspector reads the window back. Every
wait polls."""

import os
import re
import shutil
import subprocess
import time

WINE = "/usr/lib/wine/wine64"
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The two numbers the version resource sets, which the window's caption shows.
with open(os.path.join(ROOT, "app", "version.rc")) as f:
    VERSION = dict(re.findall(r"^#define KELVANE_VERSION_(MAJOR|MINOR) (\d+)", f.read(), re.M))


class Failed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failed(message)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def wait_until(probe, what, timeout=10):
    """Polls probe() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while not (value := probe()):
        check(time.monotonic() < deadline, f"timed out waiting for {what}")
        time.sleep(0.05)
    return value


class Session:
    """The build folder's programs and a scratch folder, under the exported Wine prefix, in an
    English C locale whatever the caller's."""

    def __init__(self, build, scratch):
        self.build, self.scratch = build, scratch
        shutil.rmtree(scratch, ignore_errors=True)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("LC_ALL", "LC_MESSAGES", "LC_CTYPE", "LANGUAGE")}
        # The prefix ./run prepares, whatever the caller's own is.
        self.env["WINEPREFIX"] = os.path.join(os.path.dirname(build), "wineprefix")
        self.env.setdefault("WINEDEBUG", "-all")
        self.env["LANG"] = "C.UTF-8"
        # Wine's server and services, started outside any pipe of ours: they would hold it open.
        subprocess.run([WINE, "wineboot"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)

    def wine(self, program, *args):
        """Runs a program of the build, or of Wine, to its end."""
        if program.endswith(".exe"):
            program = os.path.join(self.build, program)
        return subprocess.run([WINE, program, *args], env=self.env, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=60)

    def folder(self, name):
        path = os.path.join(self.scratch, name)
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
        return path

    def inspect(self, title, wait_ms=0):
        """The visible window of that title, or None."""
        result = self.wine("inspector.exe", title, "--wait", str(wait_ms))
        check(result.returncode in (0, 1), f"inspector exited {result.returncode}")
        return Snapshot(result.stdout.decode("utf-8")) if result.returncode == 0 else None


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"t": "\t", "r": "\r", "n": "\n"}.get(m[1], m[1]), text)


class Control:
    def __init__(self, fields):
        self.cls, self.text = fields[1], unescape(fields[2])
        width, height, left, top = map(int, fields[5:9])  # the last two on the screen
        self.centre = (left + width // 2, top + height // 2)
        self.enabled, self.visible = fields[9] == "1", fields[10] == "1"
        self.checked = None if fields[11] == "-" else int(fields[11])


class Snapshot:
    """What the inspector prints: the window line and its controls by name."""

    def __init__(self, output):
        self.controls = {}
        for fields in (line.split("\t") for line in output.splitlines()):
            if fields[0] == "window":
                self.client = (int(fields[2]), int(fields[3]))
                self.dpi, self.origin = int(fields[4]), (int(fields[5]), int(fields[6]))
                self.enabled, self.focus, self.pointer = fields[7] == "1", fields[8], fields[9]
                self.owner = fields[10]
            elif fields[0] == "control":
                self.controls.setdefault(fields[1], Control(fields[1:]))

    def __getitem__(self, name):
        return self.controls[name]


class Kelvane:
    """One kelvane.exe started from a folder of its own, so its kvn.ini is the caller's."""

    TITLE = "Kelvane v.{MAJOR}.{MINOR}".format(**VERSION)

    def __init__(self, session, name, args=(), settings=None, env=None):
        self.session = session
        self.folder = session.folder(name)
        shutil.copy(os.path.join(session.build, "kelvane.exe"), self.folder)
        if settings:
            text = "[Kelvane 7.1.0.2096]\r\n" + "".join(f"{k}={v}\r\n" for k, v in settings.items())
            with open(os.path.join(self.folder, "kvn.ini"), "wb") as f:
                f.write(text.encode("cp1252"))
        self.process = subprocess.Popen([WINE, os.path.join(self.folder, "kelvane.exe"), *args],
                                        env=env or session.env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def shown(self):
        return self._window(20000, "did not show")

    def snapshot(self):
        return self._window(0, "is gone")

    def _window(self, wait_ms, missing):
        s = self.session.inspect(self.TITLE, wait_ms)
        if s is None:
            ended = self.process.poll()
            raise Failed(f"the main window {missing}: kelvane.exe "
                         + ("still runs" if ended is None else f"exited {ended}"))
        return s

    def wait(self, predicate, what, timeout=10):
        return wait_until(lambda: s if predicate(s := self.snapshot()) else None, what, timeout)

    def click(self, name):
        xdotool("mousemove", *self.snapshot()[name].centre, "click", 1)

    def press_start(self):
        self.wait(lambda s: s["Command3"].enabled, "Start to be enabled")
        self.click("Command3")

    def report(self, timeout=30):
        """The status line's text once a run has put a mark beside it."""
        return self.wait(lambda s: s["Image1"].visible or s["Image2"].visible, "the report",
                         timeout)["Label1"].text

    def screenshot(self, path):
        """The window's client area as a PNG."""
        s = self.snapshot()
        (width, height), (x, y) = s.client, s.origin
        subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                        "+repage", path], check=True)

    def exit(self):
        self.click("Command2")
        self.process.wait(timeout=10)
