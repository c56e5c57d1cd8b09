#!/usr/bin/env python3
"""./run demo's window: Kelvane on the demo ICQ folder. On a display it stays until it is
closed; with --headless Start is pressed, the report printed and a screenshot saved.
Usage: demo.py BUILD_FOLDER DEMO_FOLDER ICQ_FOLDER [--headless] [-german]"""

import os
import sys

from window_driver import Kelvane, Session, windows_path


def main():
    build, demo, icq = sys.argv[1:4]
    flags = sys.argv[4:]
    session = Session(os.path.abspath(build), os.path.join(demo, "window"))
    # The stored folder fills the field, so the demo does not lean on the installation search.
    k = Kelvane(session, "kelvane", [f for f in flags if f.startswith("-g")],
                settings={"ICQPath": windows_path(icq)})
    k.shown()
    if "--headless" not in flags:
        print(f"the window runs from {k.folder}; close it to end the demo")
        k.process.wait()
        return 0
    k.press_start()
    print("report: " + k.report().replace("\r\n", "\n        "))
    shot = os.path.join(demo, "kelvane.png")
    k.screenshot(shot)
    print(f"screenshot: {shot}")
    k.exit()
    return 0


if __name__ == "__main__":
    sys.exit(main())
