"""Driving kelvane.exe under Wine on an X display: xdotool for the mouse and keys, the
inspector for what the window shows. Every wait polls; nothing sleeps longer than a poll."""

import os
import shutil
import subprocess
import time

WINE = "/usr/lib/wine/wine64"
SECTION = "Kelvane 7.1.0.2096"
POLL = 0.05


class Failed(Exception):
    pass


class Skipped(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failed(message)


def near(actual, expected, tolerance=1):
    return abs(actual - expected) <= tolerance


class Session:
    """The build folder's programs and a scratch folder, under the exported Wine prefix."""

    def __init__(self, build, scratch):
        self.build = build
        self.scratch = scratch
        shutil.rmtree(scratch, ignore_errors=True)
        os.makedirs(scratch)
        self.env = dict(os.environ)
        for name in ("LC_ALL", "LC_MESSAGES", "LC_CTYPE", "LANGUAGE"):
            self.env.pop(name, None)
        self.env.setdefault("WINEPREFIX", os.path.join(os.path.dirname(build), "wineprefix"))
        self.env.setdefault("WINEDEBUG", "-all")
        self.env.setdefault("WINEARCH", "win64")
        self.env["LANG"] = "C.UTF-8"
        # The browser that Wine hands web addresses to: it notes them.
        browser = os.path.join(scratch, "browser")
        os.makedirs(browser)
        self.addresses = os.path.join(scratch, "addresses.txt")
        with open(os.path.join(browser, "xdg-open"), "w") as f:
            f.write(f'#!/bin/sh\necho "$1" >> "{self.addresses}"\n')
        os.chmod(os.path.join(browser, "xdg-open"), 0o755)
        self.env["PATH"] = browser + os.pathsep + self.env.get("PATH", "")

    UNINSTALL_KEY = ("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                     "{88EB38EF-4D2C-436D-ABD3-56B232674062}")

    def hide_registered_icq(self):
        """Removes an installation that ./run demo registered, so the installation search finds
        nothing; returns what to put back with restore_registered_icq."""
        query = subprocess.run([WINE, "reg", "query", self.UNINSTALL_KEY, "/v", "InstallLocation",
                                "/reg:32"], env=self.env, stdin=subprocess.DEVNULL,
                               capture_output=True, text=True, timeout=60)
        found = [line.split("REG_SZ", 1)[1].strip() for line in query.stdout.splitlines()
                 if "REG_SZ" in line]
        subprocess.run([WINE, "reg", "delete", self.UNINSTALL_KEY, "/v", "InstallLocation",
                        "/reg:32", "/f"], env=self.env, stdin=subprocess.DEVNULL,
                       capture_output=True, timeout=60)
        return found[0] if found else None

    def restore_registered_icq(self, folder):
        if folder:
            subprocess.run([WINE, "reg", "add", self.UNINSTALL_KEY, "/v", "InstallLocation",
                            "/t", "REG_SZ", "/d", folder, "/reg:32", "/f"], env=self.env,
                           stdin=subprocess.DEVNULL, capture_output=True, timeout=60)

    def environment(self, german_system=False):
        env = dict(self.env)
        if german_system:
            locales = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout
            check("de_DE.utf8" in locales.split(),
                  "no German locale: localedef -i de_DE -f UTF-8 de_DE.UTF-8")
            env["LANG"] = "de_DE.UTF-8"
        return env

    def run(self, exe, *args, check_exit=True):
        """Runs one of the build's programs to its end and returns its output as text."""
        result = subprocess.run([WINE, os.path.join(self.build, exe), *args], env=self.env,
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        if check_exit and result.returncode != 0:
            raise Failed(f"{exe} {' '.join(args)} exited {result.returncode}: {result.stdout!r}")
        return result.stdout.decode("utf-8", "replace")

    def folder(self, name):
        path = os.path.join(self.scratch, name)
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
        return path

    def demo_icq(self, name, *options):
        path = self.folder(name)
        self.run("demo-icq.exe", windows_path(path), *options)
        return path

    def inspect(self, title, wait_ms=0):
        """The visible window of that title, or None."""
        result = subprocess.run(
            [WINE, os.path.join(self.build, "inspector.exe"), title]
            + (["--wait", str(wait_ms)] if wait_ms else []),
            env=self.env, stdin=subprocess.DEVNULL, capture_output=True, timeout=30)
        if result.returncode == 1:
            return None
        if result.returncode != 0:
            raise Failed(f"inspector exited {result.returncode}")
        return Snapshot(result.stdout.decode("utf-8"))

    def opened(self):
        """The web addresses opened so far, in order."""
        if not os.path.exists(self.addresses):
            return []
        with open(self.addresses) as f:
            return f.read().split()

    def reg(self, *args):
        return subprocess.run([WINE, "reg", *args], env=self.env, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=30)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"t": "\t", "r": "\r", "n": "\n"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


class Control:
    def __init__(self, fields):
        (self.name, self.cls, text, left, top, width, height, sx, sy, enabled, visible,
         checked, self.parent) = fields
        self.text = unescape(text)
        self.left, self.top, self.width, self.height = map(int, (left, top, width, height))
        self.screen_left, self.screen_top = int(sx), int(sy)
        self.enabled, self.visible = enabled == "1", visible == "1"
        self.checked = None if checked == "-" else int(checked)

    @property
    def rect(self):
        return (self.left, self.top, self.width, self.height)

    def centre(self):
        return (self.screen_left + self.width // 2, self.screen_top + self.height // 2)


class Snapshot:
    def __init__(self, output):
        self.controls = {}
        for line in output.splitlines():
            fields = line.split("\t")
            if fields[0] == "window":
                self.title = unescape(fields[1])
                self.client = (int(fields[2]), int(fields[3]))
                self.dpi = int(fields[4])
                self.origin = (int(fields[5]), int(fields[6]))
                self.enabled = fields[7] == "1"
                self.focus = fields[8]
                self.pointer = fields[9]
            elif fields[0] == "control":
                control = Control(fields[1:])
                self.controls.setdefault(control.name, control)

    def __getitem__(self, name):
        return self.controls[name]


def click_at(x, y):
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "10", text], check=True)


def wait_until(probe, timeout, what):
    """Polls probe() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failed(f"timed out waiting for {what}")
        time.sleep(POLL)


def read_settings(folder):
    """The kvn.ini keys beside the program, in file order, or None when there is no file."""
    path = os.path.join(folder, "kvn.ini")
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        lines = f.read().decode("cp1252").splitlines()
    return [tuple(line.split("=", 1)) for line in lines if "=" in line]


def write_settings(folder, keys):
    text = f"[{SECTION}]\r\n" + "".join(f"{k}={v}\r\n" for k, v in keys.items())
    with open(os.path.join(folder, "kvn.ini"), "wb") as f:
        f.write(text.encode("cp1252"))


class Kelvane:
    """One kelvane.exe started from a folder of its own, so its kvn.ini is the test's."""

    TITLE = "Kelvane v.1.0"
    running = []

    def __init__(self, session, name, args=(), settings=None, german_system=False,
                 wait_shown=True):
        self.session = session
        self.folder = session.folder(name)
        shutil.copy(os.path.join(session.build, "kelvane.exe"), self.folder)
        if settings is not None:
            write_settings(self.folder, settings)
        self.process = subprocess.Popen(
            [WINE, os.path.join(self.folder, "kelvane.exe"), *args],
            env=session.environment(german_system), stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        Kelvane.running.append(self)
        self.last = None
        if wait_shown:
            self.shown()

    def shown(self, timeout=20):
        self.last = self.session.inspect(self.TITLE, wait_ms=int(timeout * 1000))
        check(self.last is not None, "the main window did not show")
        return self.last

    def snapshot(self):
        self.last = self.session.inspect(self.TITLE)
        check(self.last is not None, "the main window is gone")
        return self.last

    def wait(self, predicate, what, timeout=10):
        def probe():
            snapshot = self.snapshot()
            return snapshot if predicate(snapshot) else None
        return wait_until(probe, timeout, what)

    def click(self, name):
        snapshot = self.last or self.snapshot()
        click_at(*snapshot[name].centre())

    def toggle(self, name):
        """Clicks a box and waits until the window shows it flipped."""
        want = 0 if self.snapshot()[name].checked == 1 else 1
        self.click(name)
        return self.wait(lambda s: s[name].checked == want, f"{name} to become {want}")

    def select(self, name):
        """Clicks a radio button and waits until it is selected."""
        self.click(name)
        return self.wait(lambda s: s[name].checked == 1, f"{name} to be selected")

    def move_to(self, name):
        snapshot = self.last or self.snapshot()
        subprocess.run(["xdotool", "mousemove", *map(str, snapshot[name].centre())], check=True)

    def press_start(self):
        self.wait(lambda s: s["Command3"].enabled, "Start to be enabled")
        self.click("Command3")

    def report(self, timeout=30):
        """The status line's text once a run has put a mark beside it."""
        s = self.wait(lambda s: s["Image1"].visible or s["Image2"].visible, "the report",
                      timeout)
        return s["Label1"].text

    def screenshot(self, path):
        """The window's client area as a PNG."""
        s = self.snapshot()
        (width, height), (x, y) = s.client, s.origin
        subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                        "+repage", path], check=True)

    def message_box(self, title, timeout=10):
        box = self.session.inspect(title, wait_ms=int(timeout * 1000))
        check(box is not None, f"no message box {title!r}")
        return box

    def close_message_box(self, title):
        # Its OK button, clicked: a box shown before any window of the program has had the
        # keyboard need not have it either.
        box = self.message_box(title)
        ok = [c for c in box.controls.values() if c.cls == "Button" and c.text == "OK"]
        check(ok, f"{title!r} has no OK button")
        click_at(*ok[0].centre())
        wait_until(lambda: self.session.inspect(title) is None, 10, f"{title!r} to close")

    def settings(self):
        return read_settings(self.folder)

    def exit(self):
        self.click("Command2")
        self.process.wait(timeout=10)

    @classmethod
    def kill_all(cls):
        for k in cls.running:
            if k.process.poll() is None:
                k.process.kill()
                k.process.wait()
        cls.running.clear()
