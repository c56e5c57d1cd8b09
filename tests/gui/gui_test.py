#!/usr/bin/env python3
"""The window end to end, for what only kelvane.exe itself under Wine shows: its keys and focus,
message boxes, the hand over the links, the start-up at 144 DPI, the file chooser, and Start
through to the report, clicked and typed at with xdotool on an X display and read back with the
inspector. Places, captions and the keyboard order are window_layout's; the option rules, the
reports and the settings are the native model tests'.
Usage: gui_test.py BUILD_FOLDER [SCENARIO ...]"""

import os
import shutil
import subprocess
import sys
import time

from kelvane_gui import Failed, Kelvane, Session, check, near, wait_until, windows_path, xdotool


def px(twips, dpi):
    return (twips * dpi + 720) // 1440


def click_link(k, link):
    """Clicks the link, once the pointer over it is no longer the arrow it is over the status
    line: the hand."""
    xdotool("mousemove", *k.snapshot()["Label1"].centre)
    arrow = k.snapshot().pointer
    xdotool("mousemove", *k.snapshot()[link].centre)
    k.wait(lambda s: s.pointer != arrow, f"the hand over {link}")
    k.click(link)


def keys_and_start(session):
    """Enter on Start runs to the report, which ends after 3 s with the focus on Start; the
    arrow keys select the modes; the focus comes back after a hint's message box; Exit."""
    icq = session.demo_icq("icq-success")
    target = os.path.join(icq, "imApp", "content", "MUICore", "MainDlgPanelOwner.box")
    with open(target, "rb") as f:
        before = f.read()
    k = Kelvane(session, "success", ["-english"],
                settings={"ICQPath": windows_path(icq), "Option7": "0"})
    k.wait(lambda s: s.focus == "Command3", "the focus on Start")
    xdotool("key", "Return")
    s = k.wait(lambda s: s["Image1"].visible, "the success mark")
    shown = time.monotonic()
    check(s["Label1"].text == "Changes successful!", f"report {s['Label1'].text!r}")
    with open(target, "rb") as f:
        check(f.read() != before, "the run did not rewrite MainDlgPanelOwner.box")
    s = k.wait(lambda s: not s["Image1"].visible and s["Label1"].text.startswith("Choose"),
               "the report to end")
    check(2.5 <= time.monotonic() - shown <= 4.0 and s.focus == "Command3",
          f"the report stood {time.monotonic() - shown:.1f} s, not 3, focus on {s.focus}")
    k.click("Option1")
    xdotool("key", "Down")
    s = k.wait(lambda s: s["Option2"].checked == 1 and s.focus == "Option2", "Down to Standard")
    check(not any(s[f"Check{i}"].enabled for i in range(11)), "boxes enabled in Standard")
    xdotool("key", "Up")
    k.wait(lambda s: s["Option1"].checked == 1 and s.focus == "Option1" and s["Check0"].enabled,
           "Up to Custom")
    k.click("Check9")
    k.close_message_box("Important")
    k.wait(lambda s: s["Check9"].checked == 1 and s.focus == "Check9", "the focus on Check9")
    k.click("Check10")
    k.wait(lambda s: s["Label4"].visible, "the Windows 7 hint link")
    click_link(k, "Label4")
    k.close_message_box("Hint")
    k.exit()
    check(k.process.returncode == 0, f"kelvane.exe exited {k.process.returncode}")


def german_at_144_dpi(session):
    """On a German system at 144 DPI, the Alt+S hint of the start-up comes before the window,
    which opens in its size with the focus on Start; a run that cannot make the reset protection
    shows the help link, which takes a click at its centre."""
    icq = session.demo_icq("icq-no-protection")
    # An update folder that is a link gets no lock.
    shutil.rmtree(os.path.join(icq, "updates"))
    os.symlink(session.folder("elsewhere"), os.path.join(icq, "updates"))
    desktop = r"HKCU\Control Panel\Desktop"
    saved = session.wine("reg", "query", desktop, "/v", "LogPixels").stdout.decode().split()
    session.wine("reg", "add", desktop, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "144", "/f")
    try:
        k = Kelvane(session, "german-144", german_system=True, wait_shown=False,
                    settings={"ICQPath": windows_path(icq), "Option7": "0", "Option10": "1"})
        check(session.inspect("Wichtig", wait_ms=20000), "no Alt+S hint at start-up")
        check(session.inspect(Kelvane.TITLE) is None, "the window shows before the hint")
        k.close_message_box("Wichtig")
        s = k.shown()
        check(s.dpi == 144 and near(s.client[0], px(4815, 144)) and
              near(s.client[1], px(5715, 144)), f"client area {s.client} at {s.dpi} DPI")
        check(s["Command4"].text == "Ändern", f"Command4 reads {s['Command4'].text!r}")
        k.wait(lambda s: s.focus == "Command3", "the focus on Start after the hint")
        xdotool("key", "Return")
        k.wait(lambda s: s["Label3"].visible and s["Label1"].text.startswith("Reset-Schutz"),
               "the help link beside the reset protection's report")
        click_link(k, "Label3")
        wait_until(session.opened, "a click on the help link to open its page")
        check(session.opened() == ["http://www.kelvane.example/forum/viewtopic.php?t=2236"],
              f"opened {session.opened()}")
    finally:
        if "LogPixels" in saved:
            session.wine("reg", "add", desktop, "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                         str(int(saved[-1], 16)), "/f")
        else:
            session.wine("reg", "delete", desktop, "/v", "LogPixels", "/f")


def chooser_and_info(session):
    """The file chooser puts the chosen folder into the field; the info window opens above a
    disabled main window with the focus on OK, closes by Enter and by OK, and is made once."""
    icq = session.demo_icq("icq-chosen")
    k = Kelvane(session, "chooser-info", ["-english"])
    k.click("Command4")
    check(session.inspect("Please choose ICQ", wait_ms=5000), "no chooser 'Please choose ICQ'")
    xdotool("type", "--delay", 10, windows_path(icq) + "\\ICQ.exe")
    xdotool("key", "Return")
    k.wait(lambda s: s["Text1"].text == windows_path(icq) and s["Command3"].enabled,
           "the chosen folder in the field and Start enabled")
    seen = []
    for by_key in (False, True):  # the click's focus stays on Info for Enter
        if by_key:
            xdotool("key", "Return")
        else:
            k.click("Command1")
        info = session.inspect("Kelvane - Info", wait_ms=5000)
        check(info and info.focus == "Command1", "no info window with the focus on OK")
        check(not k.snapshot().enabled, "the main window takes input under the info window")
        seen.append(subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                    "^Kelvane - Info$"], capture_output=True, text=True).stdout)
        if by_key:
            xdotool("mousemove", *info["Command1"].centre, "click", 1)
        else:
            xdotool("key", "Return")
        wait_until(lambda: session.inspect("Kelvane - Info") is None, "the info window to close")
        k.wait(lambda s: s.enabled and s.focus == "Command1", "the focus back on Info")
    check(seen[0] == seen[1], f"the info window was made anew: {seen}")


SCENARIOS = [keys_and_start, german_at_144_dpi, chooser_and_info]


def main():
    build, chosen = os.path.abspath(sys.argv[1]), sys.argv[2:]
    session = Session(build, os.path.join(build, "gui-test"))
    # The inspector finds windows by title: a Kelvane left open elsewhere would answer.
    if session.inspect(Kelvane.TITLE) or session.inspect("Kelvane - Info"):
        print("another Kelvane window is open on this display")
        return 1
    failures = 0
    for scenario in SCENARIOS:
        if chosen and scenario.__name__ not in chosen:
            continue
        start = time.monotonic()
        try:
            scenario(session)
            print(f"ok    {scenario.__name__} ({time.monotonic() - start:.1f} s)")
        except Failed as failure:
            failures += 1
            print(f"FAIL  {scenario.__name__}: {failure}")
        finally:
            Kelvane.kill_all()
        sys.stdout.flush()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
