#!/usr/bin/python3
"""A picture of Tilora's main window for the README: the program runs under
Wine on a private virtual display with the end-to-end tests' harness (its own
Wine prefix, no printer, so the poster lies on A4), sized to 760 x 520, and
the window's rectangle is written as a PNG.

    /usr/bin/python3 scripts/screenshot.py [OUT.png]    (default docs/tilora.png)

TILORA_WINELIB_DIR names the Windows API build tree (default build/winelib).
"""
import os
import sys
import time

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import tilora_window as tw  # noqa: E402
from harness import Session  # noqa: E402

SIZE = (760, 520)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "docs", "tilora.png")
    with Session(printer=False, name="screenshot") as s:
        tw.start(s)
        left, top, _, _ = s.driver.rect(tw.CLASS)
        s.driver.move(tw.CLASS, left, top, *SIZE)
        s.wait_until(lambda: s.driver.rect(tw.CLASS) == (left, top, left + SIZE[0], top + SIZE[1]), 10,
                     "the window's new size")
        s.wait_until(lambda: " of " in s.driver.text(tw.CLASS, tw.PREVIEW), 10, "the preview")
        # The pointer off the window, so that no button shows its hover face.
        s.input.move(1270, 1010)
        time.sleep(1.5)
        s.screenshot("screen").crop(s.driver.rect(tw.CLASS)).save_png(out)
    print(out)


if __name__ == "__main__":
    main()
