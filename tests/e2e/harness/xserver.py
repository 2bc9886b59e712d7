"""A private virtual X display (Xvfb) without a window manager."""
import os
import select

from .procs import HarnessError, Process

SCREEN_SIZE = (1280, 1024)


class VirtualDisplay:
    """Xvfb on a display number it picks itself (-displayfd), so sessions
    never collide with each other or with a display someone else uses."""

    def __init__(self, workdir, size=SCREEN_SIZE, depth=24, timeout=20):
        self.size = size
        self.process = None
        self.display = None
        read_end, write_end = os.pipe()
        try:
            command = ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                       f"{size[0]}x{size[1]}x{depth}", "-nolisten", "tcp", "-noreset"]
            self.process = Process(command, os.path.join(workdir, "xvfb.log"), pass_fds=(write_end,))
            os.close(write_end)
            write_end = None
            number = self._read_display_number(read_end, timeout)
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        self.number = number
        self.display = f":{number}"

    def _read_display_number(self, fd, timeout):
        text = b""
        while not text.endswith(b"\n"):
            ready, _, _ = select.select([fd], [], [], timeout)
            chunk = os.read(fd, 64) if ready else b""
            if not chunk:
                self.stop()
                raise HarnessError(f"Xvfb did not start: {self.process.log()[-2000:]}")
            text += chunk
        return int(text.strip())

    def stop(self):
        """Stops the server; Xvfb removes its own lock file and socket on
        SIGTERM, and a stale pair left by a hard kill is removed here."""
        if self.process:
            self.process.stop()
        if self.display is None:
            return
        lock = f"/tmp/.X{self.number}-lock"
        try:
            with open(lock) as f:
                owner = int(f.read().strip() or 0)
        except (OSError, ValueError):
            return
        if owner == self.process.pid:
            for path in (lock, f"/tmp/.X11-unix/X{self.number}"):
                try:
                    os.unlink(path)
                except OSError:
                    pass
