"""One end-to-end test session: a private X display, print scheduler and
Wine prefix, the programs run in them, and the tools that drive and read
them; everything is stopped and removed at the end, also after a failure.

    with Session(printer=True) as s:
        s.start_program("tests/e2e/tilora-e2e-probe.exe", window_class="TLRAPROBE")
        s.input.click(...)
        assert s.driver.text("TLRAPROBE", 200) == "clicked"
        s.screenshot("probe").pixel(x, y)
        s.close_program("TLRAPROBE")
"""
import glob
import os
import shutil
import signal
import sys
import tempfile
import time

from .driver import Driver
from .images import read_xwd
from .printing import PrintServer, pdf_to_png, remove_stale_instance_configs
from .procs import HarnessError, Process, run, wait_until
from .wineprefix import WINE, clone_prefix, create_template, stop_wineserver, wine_env
from .xinput import Input
from .xserver import SCREEN_SIZE, VirtualDisplay

REPO = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
SESSION_PREFIX = "tilora-e2e-"
DRIVER = "tests/e2e/tilora-e2e-driver.exe"


def winelib_program(relative):
    """Path of a program of the Windows API build tree (TILORA_WINELIB_DIR,
    by default build/winelib), as the .exe.so that wine runs."""
    tree = os.environ.get("TILORA_WINELIB_DIR") or os.path.join(REPO, "build", "winelib")
    path = os.path.join(tree, relative)
    for candidate in (path + ".so", path):
        if os.path.isfile(candidate):
            return candidate
    raise HarnessError(f"{relative} is not built in {tree}; build the Windows API tree first")


def _pid_alive(pid):
    try:
        os.kill(pid, 0)
        return True
    except ProcessLookupError:
        return False
    except PermissionError:
        return True


def remove_stale_sessions():
    """Removes the folders of sessions whose test process died without
    cleaning up (a hard kill); live sessions of other runs, and folders kept
    on purpose (TILORA_E2E_KEEP), are left alone."""
    for folder in glob.glob(os.path.join(tempfile.gettempdir(), SESSION_PREFIX + "*")):
        if os.path.exists(os.path.join(folder, "kept")):
            continue
        try:
            with open(os.path.join(folder, "owner.pid")) as f:
                owner = int(f.read())
        except (OSError, ValueError):
            continue
        if not _pid_alive(owner):
            shutil.rmtree(folder, ignore_errors=True)
    remove_stale_instance_configs()


def _raise_on_sigterm(signum, frame):
    raise SystemExit(f"stopped by signal {signum}")


class Session:
    def __init__(self, printer=True, name=None, screen=SCREEN_SIZE):
        """`printer`: a cups-pdf queue as the default printer, or no printer
        at all. `name` names the folder of screenshots and logs (by default
        the test script's name)."""
        self.want_printer = printer
        self.name = name or os.path.splitext(os.path.basename(sys.argv[0]))[0] or "session"
        self.screen = screen
        self.dir = None
        self.display = None
        self.printing = None
        self.prefix = None
        self.env = None
        self.driver = None
        self.input = None
        self.programs = []
        self.holder = None
        root = os.environ.get("TILORA_E2E_ARTIFACTS") or os.path.join(REPO, "build", "e2e-artifacts")
        self.artifacts = os.path.join(root, self.name)

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, exc_type, exc, tb):
        self.stop(failed=exc_type is not None)
        return False

    def start(self):
        remove_stale_sessions()
        if signal.getsignal(signal.SIGTERM) in (signal.SIG_DFL, None):
            signal.signal(signal.SIGTERM, _raise_on_sigterm)
        shutil.rmtree(self.artifacts, ignore_errors=True)
        os.makedirs(self.artifacts)
        self.dir = tempfile.mkdtemp(prefix=SESSION_PREFIX)
        # The print filters run as user lp and must reach the spool inside.
        os.chmod(self.dir, 0o711)
        with open(os.path.join(self.dir, "owner.pid"), "w") as f:
            f.write(str(os.getpid()))
        try:
            self.display = VirtualDisplay(self.dir, self.screen)
            self.printing = PrintServer(self.dir, pdf_printer=self.want_printer)
            self.prefix = os.path.join(self.dir, "prefix")
            clone_prefix(self._template(), self.prefix)
            home = os.path.join(self.dir, "home")
            os.makedirs(home)
            self.env = wine_env(self.prefix, home, self.display.display, self.printing.socket)
            self.driver = Driver(WINE, winelib_program(DRIVER), self.env)
            self.input = Input(self.display.display)
            self._hold_prefix()
            print(f"e2e session {self.name}: DISPLAY={self.display.display} WINEPREFIX={self.prefix} "
                  f"CUPS_SERVER={self.printing.socket}", file=sys.stderr)
        except BaseException:
            self.stop(failed=True)
            raise

    def _hold_prefix(self, timeout=120):
        """Starts the prefix (server, background services, desktop) with one
        process that lives for the whole session. Two Wine programs that
        start at the same moment in a prefix not yet running can end up
        unable to see each other's windows; with the prefix held up, the
        programs and driver calls of the session never meet that race."""
        # On a loaded machine the first Wine process of a fresh prefix now and
        # then exits at once without a word; a second start then succeeds.
        for attempt in range(2):
            self.holder = Process([WINE, winelib_program(DRIVER), "hold"],
                                  os.path.join(self.dir, f"holder-{attempt}.log"), env=self.env, cwd=self.dir)
            wait_until(lambda: "holding" in self.holder.log() or not self.holder.running(), timeout,
                       "the Wine prefix to start")
            if self.holder.running():
                return
            time.sleep(2)
        raise HarnessError(f"the Wine prefix did not start: {self.holder.log()[-2000:]}")

    def _template(self):
        """The run's shared template (TILORA_E2E_PREFIX_TEMPLATE, made by the
        CTest fixture), or one booted for this session alone."""
        shared = os.environ.get("TILORA_E2E_PREFIX_TEMPLATE")
        if shared and os.path.exists(os.path.join(shared, "prefix", "system.reg")):
            return shared
        own = os.path.join(self.dir, "template")
        print(f"booting a Wine prefix for this session ({own})", file=sys.stderr)
        create_template(own)
        return own

    # Programs ----------------------------------------------------------------

    def start_program(self, relative, *args, window_class=None, cwd=None, timeout=60, env=None):
        """Runs a program of the Windows API build (path relative to that
        tree) under wine, with `env` added to the session's environment
        (e.g. WINEDEBUG channels). With `window_class`, waits until its
        window shows; the session closes it with WM_CLOSE at the end."""
        exe = winelib_program(relative)
        log = os.path.join(self.dir, f"{os.path.basename(relative)}-{len(self.programs)}.log")
        process = Process([WINE, exe] + [str(a) for a in args], log, env=dict(self.env, **(env or {})),
                          cwd=cwd or self.dir)
        process.window_class = window_class
        self.programs.append(process)
        if window_class and not self.driver.wait_window(window_class, timeout):
            raise HarnessError(f"no {window_class} window within {timeout} s; "
                               f"running: {process.running()}; driver: {self.driver.last_error}; "
                               f"log: {process.log()[-2000:]}")
        return process

    def close_program(self, window_class, timeout=30):
        """Posts WM_CLOSE to the window and waits for its program to end;
        returns the exit status."""
        process = next((p for p in reversed(self.programs)
                        if p.window_class == window_class and p.running()), None)
        if process is None:
            raise HarnessError(f"no running program with a {window_class} window")
        self.driver.close(window_class)
        status = process.wait(timeout)
        if status is None:
            raise HarnessError(f"{window_class} did not end within {timeout} s of WM_CLOSE")
        return status

    # Reading back --------------------------------------------------------------

    def screenshot(self, name):
        """The whole screen as a Picture, also saved as NAME.png among the
        session's artifacts."""
        _, data, _ = run(["xwd", "-root", "-silent", "-display", self.display.display],
                         timeout=30, binary=True)
        picture = read_xwd(data)
        picture.save_png(os.path.join(self.artifacts, name + ".png"))
        return picture

    def wait_for_pdf(self, timeout=60):
        return self.printing.wait_for_pdf(timeout)

    def pdf_pages(self, pdf, dpi=75, area=None):
        """The PDF's pages rendered at `dpi` (only `area` of each, when
        given) as Pictures, saved as PNG among the artifacts."""
        return pdf_to_png(pdf, dpi, self.artifacts, area)

    def documents_folder(self):
        """The Unix path of the Wine user's Documents folder."""
        users = os.path.join(self.prefix, "drive_c", "users")
        own = [u for u in os.listdir(users) if u != "Public" and os.path.isdir(os.path.join(users, u))]
        if len(own) != 1:
            raise HarnessError(f"cannot tell the Wine user among {own}")
        return os.path.join(users, own[0], "Documents")

    def wait_until(self, check, timeout, what, interval=0.1):
        return wait_until(check, timeout, what, interval)

    def wait_for_text(self, window_class, expected, child_id=None, timeout=10):
        """Waits until the window's (or child's) text is `expected`; input
        reaches a Wine program asynchronously, so tests poll for its effect."""
        seen = []

        def matches():
            seen.append(self.driver.text(window_class, child_id))
            return seen[-1] == expected

        try:
            wait_until(matches, timeout, f"text {expected!r}", interval=0.2)
        except HarnessError as error:
            raise HarnessError(f"{error}; last text {seen[-1]!r}") from None
        return expected

    # Stopping ------------------------------------------------------------------

    def stop(self, failed=False):
        """Closes what still runs (WM_CLOSE, then kill), stops the Wine
        server, the print scheduler and the display, keeps the logs among the
        artifacts when the session failed, and removes the session folder."""
        errors = []
        for process in self.programs:
            if process.running() and process.window_class:
                try:
                    self.driver.close(process.window_class)
                    process.wait(10)
                except HarnessError:
                    pass  # no window to close: the kill below ends it
            process.stop()
        if self.holder:
            self.holder.stop()
            self.holder = None
        if self.prefix and self.env:
            try:
                stop_wineserver(self.prefix, self.env)
            except HarnessError as error:
                errors.append(error)
        for part in (self.printing, self.display):
            if part:
                part.stop()
        if self.dir:
            if failed or errors:
                self._keep_logs()
            if os.environ.get("TILORA_E2E_KEEP"):
                open(os.path.join(self.dir, "kept"), "w").close()
                print(f"e2e session folder kept: {self.dir}", file=sys.stderr)
            else:
                shutil.rmtree(self.dir, ignore_errors=True)
            self.dir = None
        self.programs = []
        if errors and not failed:
            raise HarnessError(f"session did not stop cleanly: {errors}")

    def _keep_logs(self):
        for path in glob.glob(os.path.join(self.dir, "*.log")) + \
                glob.glob(os.path.join(self.dir, "cups", "log", "*")):
            try:
                shutil.copy(path, self.artifacts)
            except OSError:
                pass
