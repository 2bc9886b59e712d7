"""The Windows-side test driver (driver.cpp), run in the session's prefix:
window texts and rectangles, commands, drops, dialogs, the registry and
the printer set-up as the program under test sees them."""
from .procs import HarnessError, run


class Driver:
    def __init__(self, wine, exe, env):
        self._command = [wine, exe]
        self._env = env
        self.last_error = ""

    def _run(self, *args, timeout=30, check=True, query=False):
        status, out, err = run(self._command + [str(a) for a in args], env=self._env,
                               timeout=timeout, check=False)
        if query and status != 0 and not err.strip():
            # The driver names every failure of a query; a silent one is Wine
            # failing to run it (seen once on a loaded machine), so a query,
            # which changes nothing, is asked once more.
            status, out, err = run(self._command + [str(a) for a in args], env=self._env,
                                   timeout=timeout, check=False)
        self.last_error = err.strip()
        if check and status != 0:
            raise HarnessError(f"driver {' '.join(map(str, args))} failed ({status}): {self.last_error}")
        return status, out

    def wait_window(self, window_class, timeout=30):
        """True once a visible top-level window of the class exists."""
        return self._run("wait-window", window_class, timeout, timeout=timeout + 30, check=False)[0] == 0

    def wait_gone(self, window_class, timeout=30):
        return self._run("wait-gone", window_class, timeout, timeout=timeout + 30, check=False)[0] == 0

    def text(self, window_class, child_id=None):
        args = ["text", window_class] + ([child_id] if child_id is not None else [])
        return self._run(*args, query=True)[1].rstrip("\n")

    def _rect(self, command, window_class, child_id):
        args = [command, window_class] + ([child_id] if child_id is not None else [])
        return tuple(int(v) for v in self._run(*args, query=True)[1].split())

    def rect(self, window_class, child_id=None):
        """Window rectangle in screen coordinates (left, top, right, bottom)."""
        return self._rect("rect", window_class, child_id)

    def client_rect(self, window_class, child_id=None):
        """Client area in screen coordinates (left, top, right, bottom)."""
        return self._rect("client-rect", window_class, child_id)

    def children(self, window_class):
        """The direct children: dicts with id, cls, rect, visible, text."""
        return [_child(line) for line in self._run("children", window_class, query=True)[1].splitlines()]

    def focus(self, window_class):
        """The control id of the window with the keyboard focus in the thread
        of the window of the class (0: that window itself), or None."""
        status, out = self._run("focus", window_class, check=False)
        return int(out) if status == 0 and out.strip() else None

    def command(self, window_class, command_id):
        self._run("command", window_class, command_id)

    def close(self, window_class):
        self._run("close", window_class)

    def move(self, window_class, x, y, width, height):
        self._run("move", window_class, x, y, width, height)

    def drop(self, window_class, paths, x=10, y=10):
        """Drops the files on the window as the shell would (WM_DROPFILES);
        absolute Unix paths arrive as Z: drive paths."""
        self._run("drop", window_class, x, y, *paths)

    def find_dialog(self, title, timeout=10):
        """The children of the visible dialog with that title (message boxes
        included), or None when none appears in time."""
        status, out = self._run("find-dialog", title, timeout, timeout=timeout + 30, check=False)
        return [_child(line) for line in out.splitlines()] if status == 0 else None

    def click_dialog(self, title, button_id):
        self._run("click-dialog", title, button_id)

    def reg_query(self, key, value):
        """The value as text, or None when it does not exist."""
        status, out = self._run("reg-query", key, value, check=False)
        return out.rstrip("\n") if status == 0 else None

    def reg_set(self, key, value, text):
        self._run("reg-set", key, value, text)

    def reg_delete(self, key):
        self._run("reg-delete", key)

    def folder(self, csidl):
        """A special folder's Windows path (SHGetFolderPath), e.g. 5 for the
        user's documents."""
        return self._run("folder", csidl)[1].rstrip("\n")

    def printers(self):
        """(names of the printers, name of the default or None)."""
        names, default = [], None
        for line in self._run("printers")[1].splitlines():
            kind, _, name = line.partition(": ")
            if kind == "printer":
                names.append(name)
            elif kind == "default":
                default = name
        return names, default

    def printer_caps(self):
        """Device capabilities of the default printer's device context, or
        None when there is no default printer."""
        status, out = self._run("printer-caps", check=False)
        if status != 0:
            return None
        caps = {}
        for line in out.splitlines():
            key, _, value = line.partition(": ")
            caps[key] = int(value) if value.lstrip("-").isdigit() else value
        return caps


def _child(line):
    fields = line.split("\t")
    if len(fields) < 5:
        raise HarnessError(f"driver printed a malformed child line: {line!r}")
    return {"id": int(fields[0]), "cls": fields[1], "rect": tuple(int(v) for v in fields[2].split()),
            "visible": fields[3] == "1", "text": _unescape(fields[4])}


def _unescape(text):
    """Undoes the driver's escapes of backslash, tab, CR and LF."""
    out, escaped = [], False
    for c in text:
        if escaped:
            out.append({"t": "\t", "r": "\r", "n": "\n"}.get(c, c))
            escaped = False
        elif c == "\\":
            escaped = True
        else:
            out.append(c)
    return "".join(out)
