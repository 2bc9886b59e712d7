"""Real mouse and keyboard input on the session's display with xdotool.

Without a window manager xdotool cannot activate windows: a window gets the
keyboard focus by a click into it. Win32 screen coordinates are X root
coordinates, so rectangles from the driver can be clicked directly.
"""
from .procs import run


class Input:
    def __init__(self, display):
        self._env = {"DISPLAY": display, "PATH": "/usr/bin:/bin"}

    def _xdotool(self, *args):
        run(["xdotool"] + [str(a) for a in args], env=self._env, timeout=30)

    def move(self, x, y):
        self._xdotool("mousemove", x, y)

    def click(self, x, y, button=1, repeat=1):
        self._xdotool("mousemove", x, y, "click", "--repeat", repeat, button)

    def click_center(self, rect, button=1):
        """Clicks the middle of a (left, top, right, bottom) rectangle."""
        left, top, right, bottom = rect
        self.click((left + right) // 2, (top + bottom) // 2, button)

    def drag(self, start, end, steps=8, button=1, release=True):
        """Presses the button at `start`, moves to `end` in steps (so the
        program sees motion, as from a hand) and releases it there, or keeps
        it pressed when release is false."""
        (x0, y0), (x1, y1) = start, end
        args = ["mousemove", x0, y0, "mousedown", button]
        for i in range(1, steps + 1):
            args += ["mousemove", x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps,
                     "sleep", "0.03"]
        if release:
            args += ["mouseup", button]
        self._xdotool(*args)

    def press(self, x, y, button=1):
        """Moves to (x, y) and holds the button down there."""
        self._xdotool("mousemove", x, y, "mousedown", button)

    def release(self, button=1):
        self._xdotool("mouseup", button)

    def type(self, text, delay_ms=30):
        """Types text into the window that has the keyboard focus."""
        self._xdotool("type", "--delay", delay_ms, "--", text)

    def key(self, *names):
        """Presses keys by X keysym name, e.g. "Tab", "shift+Tab", "F5"."""
        self._xdotool("key", "--delay", 30, *names)
