#!/usr/bin/env python3
"""The window end to end: kelvane.exe under Wine on an X display, clicked with xdotool and
read with the inspector. Usage: gui_test.py BUILD_FOLDER [SCENARIO ...]"""

import os
import subprocess
import sys
import time

from kelvane_gui import (Failed, Kelvane, Session, Skipped, check, click_at, key, near,
                         type_text, wait_until, windows_path)

# The window as designed: container, left, top, width, height (twips), German and English
# caption. Labels size themselves to their text, so only their place is fixed.
DESIGN = {
    "Label2": ("window", 1515, 0, 1710, 195, "Für ICQ 7.1 Build #2096", "For ICQ 7.1 Build #2096"),
    "Frame1": ("window", 120, 240, 4575, 855, "ICQ-Installationsverzeichnis",
               "ICQ installation directory"),
    "Picture2": ("Frame1", 120, 300, 4400, 420, "", ""),
    "Text1": ("Picture2", 0, 40, 3375, 285, None, None),
    "Command4": ("Picture2", 3480, 0, 855, 375, "Ändern", "Change"),
    "Frame2": ("window", 120, 1200, 4575, 3975, "Optionen", "Options"),
    "Picture1": ("Frame2", 120, 240, 4335, 3705, "", ""),
    "Option2": ("Picture1", 240, 0, 3375, 255, "Standard (setzt alle Veränderungen zurück)",
                "Standard (resets all changes)"),
    "Option1": ("Picture1", 240, 240, 3045, 255, "ICQ mit folgenden Optionen anpassen",
                "Tweak ICQ with the following settings"),
    "Check0": ("Picture1", 480, 480, 3375, 255, "Werbung unter der Kontaktliste entfernen",
               "Remove banner ads under the contact list"),
    "Check1": ("Picture1", 720, 720, 3375, 255, "An dieser Stelle keinen freien Platz lassen",
               "Don't leave a space at this place"),
    "Check2": ("Picture1", 480, 960, 3135, 255, "Suchleiste in der Kontaktliste entfernen",
               "Remove search bar in the contact list"),
    "Check3": ("Picture1", 480, 1200, 3135, 255, "Buttons über der Kontaktliste entfernen",
               "Remove buttons above the contact list"),
    "Check4": ("Picture1", 480, 1440, 3135, 255, "Werbebanner im Chatfenster entfernen",
               "Remove banner ads in the chat window"),
    "Check5": ("Picture1", 720, 1680, 3255, 255, "An dieser Stelle keinen freien Platz lassen",
               "Don't leave a space at this place"),
    "Check6": ("Picture1", 480, 1920, 3375, 255, "Werbung im Nachrichtenfeld deaktivieren",
               "Deactivate banner ads in the message field"),
    "Check7": ("Picture1", 480, 2160, 2895, 255, "SMS-Tab im Chatfenster entfernen",
               "Remove sms tab in the chat window"),
    "Check8": ("Picture1", 480, 2400, 3735, 255,
               "Minimalgröße für Haupt- && Chatfenster aktivieren",
               "Activate minimum size of chat window"),
    "Check9": ("Picture1", 480, 2640, 2415, 255, "Nachrichten mit Alt+S senden",
               "Send messages with Alt+S"),
    "Check10": ("Picture1", 480, 2880, 2895, 255, "ICQ nicht in der Taskleiste anzeigen",
                "Don't show ICQ in the taskbar"),
    "Label4": ("Picture1", 3480, 2900, 555, 195, "Hinweis", "Hint"),
    "Label1": ("Picture1", 240, 3290, 2385, 195, "Einstellungen wählen und starten.",
               "Choose settings and click Start"),
    "Label3": ("Picture1", 2160, 3390, 315, 195, "Hilfe", "Help"),
    "Image1": ("Picture1", 3240, 3210, 330, 255, "", ""),
    "Image2": ("Picture1", 3840, 3180, 330, 360, "", ""),
    "Command3": ("window", 120, 5280, 1935, 375, "Start", "Start"),
    "Command1": ("window", 2160, 5280, 855, 375, "Info", "Info"),
    "Command2": ("window", 3120, 5280, 1575, 375, "Beenden", "Exit"),
}
LABELS = {"Label1", "Label2", "Label3", "Label4"}
HIDDEN_AT_START = {"Label3", "Label4", "Image1", "Image2"}
OPTION_BOXES = [f"Check{i}" for i in range(11)]
TICKED_BY_DEFAULT = {"Check0", "Check1", "Check4", "Check5", "Check6"}
IDLE = {"de": "Einstellungen wählen und starten.", "en": "Choose settings and click Start"}

TARGETS = [
    r"imApp\content\MUICore\MainDlgPanelOwner.box", r"imApp\content\MUIMessage\MsgSessionPanel.box",
    r"imApp\theme\MUIMessage\MsgSessionDlg.style.box", r"imApp\content\MUICore\MainDlg.box",
    r"imApp\content\MUICore\ContentPanelCL.box", r"imApp\content\MUIMessage\MsgSessionDlg.box",
    r"packages\german\language\de-DE\MsgSessionPanel.dtd",
    r"imApp\resources\en-US\MsgSessionPanel.dtd", r"imApp\resources\en-US\MsgSessionDlg.dtd",
    r"imApp\theme\MUICore\MainDlg.style.box", r"imApp\theme\MUICore\MainDlgPanelOwner.style.box",
    r"imApp\theme\MUICore\LifestreamTab.style.box",
]


def px(twips, dpi=96):
    return (twips * dpi + 720) // 1440


def design(name, language):
    container, left, top, width, height, german, english = DESIGN[name]
    if language == "en" and name == "Check10":
        width = 2500
    if language == "en" and name == "Label4":
        left = 3080
    return container, (left, top, width, height), german if language == "de" else english


def check_captions(snapshot, language):
    for name in DESIGN:
        caption = design(name, language)[2]
        if caption is not None:
            check(snapshot[name].text == caption,
                  f"{name} reads {snapshot[name].text!r}, not {caption!r}")


def check_layout(snapshot, dpi, language):
    check(snapshot.dpi == dpi, f"the window is at {snapshot.dpi} DPI, not {dpi}")
    want = (px(4815, dpi), px(5715, dpi))
    check(all(near(a, b) for a, b in zip(snapshot.client, want)),
          f"client area {snapshot.client}, not {want}")
    for name in DESIGN:
        container, twips, _ = design(name, language)
        c = snapshot[name]
        check(c.parent == container, f"{name} sits in {c.parent}, not {container}")
        expected = [px(v, dpi) for v in twips]
        checked = 2 if name in LABELS else 4
        check(all(near(a, b) for a, b in zip(c.rect[:checked], expected[:checked])),
              f"{name} at {c.rect}, not {tuple(expected)} ({twips} twips at {dpi} DPI)")
        check(c.visible == (name not in HIDDEN_AT_START), f"{name} visible: {c.visible}")


def check_start_state(snapshot):
    check(snapshot["Option1"].checked == 1 and snapshot["Option2"].checked == 0,
          "Custom is not the mode at start")
    for name in OPTION_BOXES:
        check(snapshot[name].checked == (1 if name in TICKED_BY_DEFAULT else 0),
              f"{name} starts with {snapshot[name].checked}")


def file_stamps(folder):
    stamps = {}
    for target in TARGETS:
        path = os.path.join(folder, *target.split("\\"))
        stamps[target] = os.stat(path).st_mtime_ns if os.path.exists(path) else None
    return stamps


def report_to_idle_seconds(k, mark, language, shown):
    """Waits for the report to end and tells how long it stood since it was seen at shown."""
    # The inspector reads the controls one after another while the window may be changing
    # them, so every sign of the end is waited for together.
    k.wait(lambda s: not s[mark].visible and not s["Label3"].visible
           and s["Label1"].text == IDLE[language] and near(s["Label1"].top, px(3290)),
           "the report to end: mark and help link gone, the idle text back at top 3290",
           timeout=10)
    return time.monotonic() - shown


def check_mark_beside(snapshot, mark, top):
    line, m = snapshot["Label1"], snapshot[mark]
    check(m.visible, f"{mark} not shown")
    check(near(m.left, line.left + line.width + px(130)),
          f"{mark} at left {m.left}, status line ends at {line.left + line.width}")
    check(near(m.top, px(top)), f"{mark} at top {m.top}, not {px(top)}")


# Scenarios: each starts kelvane.exe once (or twice where a restart is the point).


def english_layout_96(session):
    # "-english" on a German system.
    k = Kelvane(session, "english-96", ["-english"], german_system=True)
    s = k.snapshot()
    check_layout(s, 96, "en")
    check_captions(s, "en")
    check_start_state(s)


def german_layout_144(session):
    # "-german" on an English system, at 144 DPI.
    key_path = r"HKCU\Control Panel\Desktop"
    before = session.reg("query", key_path, "/v", "LogPixels")
    old = before.stdout.decode(errors="replace").split()[-1] if before.returncode == 0 else None
    session.reg("add", key_path, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "144", "/f")
    try:
        k = Kelvane(session, "german-144", ["-german"])
        s = k.snapshot()
        check_layout(s, 144, "de")
        check_captions(s, "de")
    finally:
        if old is None:
            session.reg("delete", key_path, "/v", "LogPixels", "/f")
        else:
            session.reg("add", key_path, "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                        str(int(old, 16)), "/f")


def german_by_system_locale(session):
    k = Kelvane(session, "german-locale", german_system=True)
    check_captions(k.snapshot(), "de")
    # The file chooser speaks the window's language; Escape cancels it and changes nothing.
    k.click("Command4")
    check(session.inspect("Bitte ICQ wählen", wait_ms=5000) is not None,
          "no file chooser titled 'Bitte ICQ wählen'")
    key("Escape")
    wait_until(lambda: session.inspect("Bitte ICQ wählen") is None, 10, "the chooser to close")
    s = k.snapshot()
    check(s["Text1"].text == "" and not s["Command3"].enabled, "cancelling changed the field")


def german_by_language_key(session):
    # The settings file's "Language" beats "-english"; its Option10 runs the Alt+S hint
    # before the window shows, which then opens with the focus on Start all the same.
    icq = session.demo_icq("icq-german-key")
    k = Kelvane(session, "german-key", ["-english"], wait_shown=False,
                settings={"Language": "German", "Option10": "1", "ICQPath": windows_path(icq)})
    box = k.message_box("Wichtig")
    check(box["id65535"].text.startswith("Damit das Senden von Nachrichten mit Alt+S"),
          f"hint reads {box['id65535'].text!r}")
    check(session.inspect(Kelvane.TITLE) is None, "the window shows before the start-up hint")
    k.close_message_box("Wichtig")
    s = k.shown()
    check_captions(s, "de")
    check(s["Check9"].checked == 1, "Check9 not ticked from the settings")
    k.wait(lambda s: s.focus == "Command3", "the focus on Start after the hint")
    wait_until(lambda: ("AltSInfo", "1") in (k.settings() or []), 5, "AltSInfo=1")


def select_by_arrow(k, name, arrow):
    """Moves in the mode group from the other button with an arrow key."""
    k.click("Option2" if name == "Option1" else "Option1")
    k.wait(lambda s: s.focus != name, "the focus on the other mode button")
    key(arrow)
    return k.wait(lambda s: s[name].checked == 1 and s.focus == name,
                  f"{arrow} to select {name} and give it the focus")


def check_hand_over(k, link):
    k.move_to("Label1")
    arrow = k.snapshot().pointer
    k.move_to(link)
    k.wait(lambda s: s.pointer != arrow, f"the pointer over {link} to differ from the arrow")


def option_rules(session):
    k = Kelvane(session, "rules", ["-english"])
    start = k.snapshot()
    ticks = {n: start[n].checked for n in OPTION_BOXES}

    def expect(s, disabled, label4):
        for n in OPTION_BOXES:
            check(s[n].enabled == (n not in disabled), f"{n} enabled: {s[n].enabled}")
            check(s[n].checked == ticks[n], f"{n} tick changed to {s[n].checked}")
        check(s["Label4"].visible == label4, f"Label4 visible: {s['Label4'].visible}")

    expect(start, set(), False)
    expect(select_by_arrow(k, "Option2", "Down"), set(OPTION_BOXES), False)
    expect(select_by_arrow(k, "Option1", "Up"), set(), False)
    ticks["Check0"] = ticks["Check4"] = 0
    k.toggle("Check0")
    expect(k.toggle("Check4"), {"Check1", "Check5"}, False)
    ticks["Check10"] = 1
    expect(k.toggle("Check10"), {"Check1", "Check5"}, True)
    expect(k.select("Option2"), set(OPTION_BOXES), False)
    expect(k.select("Option1"), {"Check1", "Check5"}, True)
    ticks["Check10"] = 0
    expect(k.toggle("Check10"), {"Check1", "Check5"}, False)
    ticks["Check10"] = 1
    k.toggle("Check10")
    check_hand_over(k, "Label4")
    k.click("Label4")
    box = k.message_box("Hint")
    check(box["id65535"].text == "This option could cause trouble under Windows 7. Either "
          "deactivate this option or run ICQ 7 with Vista compatibility.",
          f"Windows 7 hint reads {box['id65535'].text!r}")
    k.close_message_box("Hint")


def alt_s_hint_once(session):
    k = Kelvane(session, "alt-s", ["-english"])
    k.click("Check9")
    box = k.message_box("Important")
    check(box["id65535"].text == "To send messages with Alt+S you have to choose sending "
          "messages with Ctrl+Return in the settings of ICQ.", "Alt+S hint text")
    check(("AltSInfo", "1") not in (k.settings() or []), "the mark is written before OK")
    k.close_message_box("Important")
    k.wait(lambda s: s["Check9"].checked == 1 and s.focus == "Check9",
           "Check9 ticked and holding the focus again")
    wait_until(lambda: ("AltSInfo", "1") in (k.settings() or []), 5, "AltSInfo=1")
    for _ in range(2):
        k.toggle("Check9")
        check(session.inspect("Important") is None, "the Alt+S hint came a second time")


def start_success(session):
    icq = session.demo_icq("icq-success")
    before = file_stamps(icq)
    k = Kelvane(session, "success", ["-english"], settings={"ICQPath": windows_path(icq)})
    # Enter presses the button with the focus: Start, when the window opens.
    k.wait(lambda s: s.focus == "Command3", "the focus on Start")
    key("Return")
    s = k.wait(lambda s: s["Image1"].visible, "the success mark")
    shown = time.monotonic()
    check(s["Label1"].text == "Changes successful!", f"report {s['Label1'].text!r}")
    check(near(s["Label1"].top, px(3290)), "a one-line report moved the status line")
    check_mark_beside(s, "Image1", 3210)
    check(not s["Image2"].visible and not s["Label3"].visible, "failure signs on success")
    check(s.focus == "Command3", f"focus on {s.focus} after the report, not Start")
    after = file_stamps(icq)
    unchanged = [t for t in TARGETS if after[t] is None or after[t] == before[t]]
    check(not unchanged, f"not rewritten: {unchanged}")
    keys = [key for key, _ in k.settings()]
    check(keys == ["ICQPath", "Standard"] + [f"Option{i}" for i in range(1, 12)],
          f"kvn.ini keys {keys}")
    values = dict(k.settings())
    check(values["Standard"] == "0" and values["Option1"] == "1" and values["Option3"] == "0",
          f"kvn.ini values {values}")
    elapsed = report_to_idle_seconds(k, "Image1", "en", shown)
    check(2.5 <= elapsed <= 4.0, f"the success report stood {elapsed:.1f} s, not 3")
    # A change of mode ends a report at once.
    k.press_start()
    k.wait(lambda s: s["Image1"].visible, "the second report")
    shown = time.monotonic()
    k.select("Option2")
    s = k.wait(lambda s: not s["Image1"].visible, "the mode change to end the report")
    check(time.monotonic() - shown < 2, "the mode change left the report standing")
    check(s["Label1"].text == IDLE["en"], f"after the mode change: {s['Label1'].text!r}")


def start_write_failure(session):
    icq = session.demo_icq("icq-write-failure")
    theme = os.path.join(icq, "imApp", "theme", "MUICore")
    for name in os.listdir(theme):
        os.remove(os.path.join(theme, name))
    os.rmdir(theme)
    k = Kelvane(session, "write-failure", ["-german"], settings={"ICQPath": windows_path(icq)})
    k.press_start()
    s = k.wait(lambda s: s["Image2"].visible, "the failure mark")
    shown = time.monotonic()
    check(s["Label1"].text == "Fehler beim Schreiben der Daten!", f"report {s['Label1'].text!r}")
    check(near(s["Label1"].top, px(3290)), "a one-line report moved the status line")
    check_mark_beside(s, "Image2", 3180)
    check(not s["Image1"].visible and not s["Label3"].visible, "success mark or help link shown")
    elapsed = report_to_idle_seconds(k, "Image2", "de", shown)
    check(2.5 <= elapsed <= 4.0, f"the failure report stood {elapsed:.1f} s, not 3")


def reset_protection_failure(session):
    probe = session.demo_icq("icq-probe-protection")
    session.run("kelvane-cli.exe", "apply", "--folder", windows_path(probe), "--custom",
                check_exit=False)
    if not os.path.isdir(os.path.join(probe, "updates", "manifest")):
        raise Skipped("a Custom run leaves updates\\manifest a file: the reset protection is "
                      "not in this build yet")
    icq = session.demo_icq("icq-protection-failure")
    # Held open without delete sharing, the manifest file can be neither removed nor replaced.
    holder = subprocess.Popen(
        ["/usr/lib/wine/wine64", os.path.join(session.build, "hold-file.exe"),
         windows_path(os.path.join(icq, "updates", "manifest"))],
        env=session.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE)
    try:
        check(holder.stdout.readline() == b"held\n", "hold-file could not hold the manifest")
        k = Kelvane(session, "protection-failure", ["-english"],
                    settings={"ICQPath": windows_path(icq)})
        k.press_start()
        s = k.wait(lambda s: s["Image2"].visible, "the failure mark")
        shown = time.monotonic()
        check(s["Label1"].text == "Couldn't create reset protection!\r\nPlease do it manually.",
              f"report {s['Label1'].text!r}")
        check(near(s["Label1"].top, px(3190)), "a two-line report is not at top 3190")
        check_mark_beside(s, "Image2", 3210)
        help_link = s["Label3"]
        check(help_link.visible and help_link.text == "Help", "no help link")
        check(near(help_link.left, px(1840)) and near(help_link.top, px(3390)),
              f"help link at {help_link.rect}")
        check_hand_over(k, "Label3")
        k.click("Label3")
        elapsed = report_to_idle_seconds(k, "Image2", "en", shown)
        check(4.5 <= elapsed <= 6.0, f"the report stood {elapsed:.1f} s, not 5")
        wait_until(lambda: session.opened(), 10, "a click on the help link to open its page")
        check(session.opened() == ["http://www.kelvane.example/forum/viewtopic.php?t=2236"],
              f"opened {session.opened()}")
    finally:
        holder.kill()
        holder.wait()


def wrong_version(session):
    icq = session.demo_icq("icq-wrong-version", "--version", "7.1.0.2000")
    before = file_stamps(icq)
    probe = subprocess.run(
        ["/usr/lib/wine/wine64", os.path.join(session.build, "kelvane-cli.exe"), "apply",
         "--folder", windows_path(session.demo_icq("icq-probe-version", "--version",
                                                   "7.1.0.2000"))],
        env=session.env, stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    if probe.returncode != 2:
        raise Skipped("kelvane-cli applies to ICQ 7.1.0.2000: the version check is not in this "
                      "build yet")
    k = Kelvane(session, "wrong-version", ["-english"], settings={"ICQPath": windows_path(icq)})
    k.press_start()
    s = k.wait(lambda s: s["Image2"].visible, "the failure mark")
    check(s["Label1"].text == "Wrong version of ICQ! (7.1 Build #2000)",
          f"report {s['Label1'].text!r}")
    check_mark_beside(s, "Image2", 3180)
    check(file_stamps(icq) == before, "a wrong version changed files")


def change_dialog(session):
    icq = session.demo_icq("icq-change")
    k = Kelvane(session, "change", ["-english"])
    check(not k.snapshot()["Command3"].enabled, "Start enabled without a folder")
    k.click("Command4")
    check(session.inspect("Please choose ICQ", wait_ms=5000) is not None,
          "no file chooser titled 'Please choose ICQ'")
    type_text(windows_path(icq) + "\\ICQ.exe")
    key("Return")
    s = k.wait(lambda s: s["Text1"].text == windows_path(icq), "the chosen folder in the field")
    check(s["Command3"].enabled, "Start stays disabled on the chosen folder")
    check(s["Label1"].text == IDLE["en"], f"status line {s['Label1'].text!r}")


def info_window(session):
    k = Kelvane(session, "info", ["-english"])
    x_windows = []
    # Enter presses the button with the focus: OK first, then Info, which had the mouse's click.
    for by_key in (False, True):
        if by_key:
            key("Return")
        else:
            k.click("Command1")
        info = session.inspect("Kelvane - Info", wait_ms=5000)
        check(info is not None, "the info window did not open")
        check(all(near(a, px(b)) for a, b in zip(info.client, (3120, 1635))),
              f"info client area {info.client}")
        for name, parent, twips, text in [
                ("Frame1", "window", (125, 120, 2895, 975), "Kelvane v.1.0"),
                ("Label5", "Frame1", (240, 615, 825, 195), "Homepage:"),
                ("Command4", "window", (1300, 720, 1455, 255), "kelvane.example"),
                ("Command1", "window", (900, 1200, 1335, 375), "OK")]:
            c = info[name]
            check(c.parent == parent and all(near(a, px(b)) for a, b in zip(c.rect, twips)),
                  f"info {name} at {c.rect} in {c.parent}")
            check(c.text == text, f"info {name} reads {c.text!r}")
        check(info["Label4"].parent == "Frame1" and info["Label4"].text, "no legal notice")
        check(info.focus == "Command1", f"info focus on {info.focus}, not OK")
        check(not k.snapshot().enabled, "the main window takes input under the info window")
        x_windows.append(subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^Kelvane - Info$"],
            capture_output=True, text=True).stdout.split())
        if by_key:
            click_at(*info["Command1"].centre())
        else:
            key("Return")
        wait_until(lambda: session.inspect("Kelvane - Info") is None, 10, "the info window to close")
        k.wait(lambda s: s.enabled and s.focus == "Command1",
               "the main window to take input again, the focus back on Info")
    check(x_windows[0] == x_windows[1], f"the info window was made anew: {x_windows}")


def exit_keeps_settings(session):
    icq = session.demo_icq("icq-exit")
    k = Kelvane(session, "exit", settings={"ICQPath": windows_path(icq), "Standard": "0",
                                           "Option3": "1", "Language": "English"})
    with open(os.path.join(k.folder, "kvn.ini"), "rb") as f:
        before = f.read()
    k.toggle("Check2")
    k.select("Option2")
    k.exit()
    check(k.process.returncode == 0, f"kelvane.exe exited {k.process.returncode}")
    with open(os.path.join(k.folder, "kvn.ini"), "rb") as f:
        check(f.read() == before, "Exit changed kvn.ini")


SCENARIOS = [english_layout_96, german_layout_144, german_by_system_locale,
             german_by_language_key, option_rules, alt_s_hint_once, start_success,
             start_write_failure, reset_protection_failure, wrong_version, change_dialog,
             info_window, exit_keeps_settings]


def main():
    build = os.path.abspath(sys.argv[1])
    chosen = set(sys.argv[2:])
    if not os.environ.get("DISPLAY"):
        print("no X display")
        return 1
    session = Session(build, os.path.join(build, "gui-test"))
    # The inspector finds windows by title: a Kelvane left open elsewhere would answer.
    if session.inspect(Kelvane.TITLE) or session.inspect("Kelvane - Info"):
        print("another Kelvane window is open on this display")
        return 1
    failures = 0
    began = time.monotonic()
    registered = session.hide_registered_icq()
    try:
        for scenario in SCENARIOS:
            if chosen and scenario.__name__ not in chosen:
                continue
            start = time.monotonic()
            try:
                scenario(session)
                print(f"ok    {scenario.__name__} ({time.monotonic() - start:.1f} s)")
            except Skipped as skipped:
                print(f"skip  {scenario.__name__}: {skipped}")
            except Failed as failure:
                failures += 1
                print(f"FAIL  {scenario.__name__}: {failure}")
            finally:
                Kelvane.kill_all()
            sys.stdout.flush()
    finally:
        session.restore_registered_icq(registered)
    print(f"{failures} failed, {time.monotonic() - began:.1f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
