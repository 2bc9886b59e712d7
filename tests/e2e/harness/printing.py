"""A private print scheduler (cupsd) for one session, with or without a
PDF printer, and the helpers that find and render what was printed.

The scheduler listens only on a socket in the session's directory; Wine's
print spooler reaches it through CUPS_SERVER. The PDF queue uses the cups-pdf
backend with a queue instance of its own: the backend reads its settings
from /etc/cups/cups-pdf-INSTANCE.conf, so the session writes that one file,
pointing the output into the session directory, and removes it again.
"""
import glob
import os
import re
import time

from .images import read_ppm
from .procs import HarnessError, Process, run, wait_until

PRINTER_NAME = "TiloraPDF"
CUPS_PDF_PPD = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"
CUPS_PDF_CONF_DIR = "/etc/cups"
INSTANCE_PREFIX = "tilora-e2e-"

_CUPSD_CONF = """LogLevel warn
Listen {socket}
Browsing No
WebInterface No
DefaultAuthType None
IdleExitTimeout 0
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
"""

_CUPS_FILES_CONF = """SystemGroup root
ServerRoot {root}/conf
RequestRoot {root}/spool
TempDir {root}/spool/tmp
CacheDir {root}/cache
StateDir {root}/state
ErrorLog {root}/log/error_log
AccessLog {root}/log/access_log
PageLog {root}/log/page_log
Printcap {root}/printcap
Sandboxing relaxed
"""

_CUPS_PDF_CONF = """Out {out}
Spool {root}/cups-pdf-spool
Log {root}/log
LogType 3
Label 1
"""


def remove_stale_instance_configs():
    """Removes backend configurations left by sessions that were killed
    before they could clean up: those whose output folder is gone."""
    for path in glob.glob(os.path.join(CUPS_PDF_CONF_DIR, f"cups-pdf-{INSTANCE_PREFIX}*.conf")):
        try:
            with open(path) as f:
                out = re.search(r"^Out (.+)$", f.read(), re.M)
            if out and not os.path.isdir(out.group(1)):
                os.unlink(path)
        except OSError:
            pass


class PrintServer:
    """cupsd in the foreground on a private socket; with `pdf_printer` it has
    one cups-pdf queue, the default, otherwise no queue at all."""

    def __init__(self, workdir, pdf_printer=True, timeout=20):
        self.root = os.path.join(workdir, "cups")
        self.socket = os.path.join(self.root, "cups.sock")
        self.pdf_dir = os.path.join(self.root, "pdf")
        self.printer = PRINTER_NAME if pdf_printer else None
        self.instance = INSTANCE_PREFIX + os.path.basename(workdir).split("-")[-1]
        self.instance_conf = None
        self.process = None
        self._returned = set()
        for sub in ("conf", "spool/tmp", "cache", "state", "log", "pdf", "cups-pdf-spool"):
            os.makedirs(os.path.join(self.root, sub), exist_ok=True)
        conf = os.path.join(self.root, "conf")
        with open(os.path.join(conf, "cupsd.conf"), "w") as f:
            f.write(_CUPSD_CONF.format(socket=self.socket))
        with open(os.path.join(conf, "cups-files.conf"), "w") as f:
            f.write(_CUPS_FILES_CONF.format(root=self.root))
        self.process = Process(["cupsd", "-f", "-c", os.path.join(conf, "cupsd.conf"),
                                "-s", os.path.join(conf, "cups-files.conf")],
                               os.path.join(self.root, "log", "cupsd.log"))
        try:
            wait_until(self._scheduler_running, timeout, "the print scheduler")
            if pdf_printer:
                self._add_pdf_printer()
        except Exception:
            self.stop()
            raise

    def env(self):
        return {"CUPS_SERVER": self.socket}

    def _client(self, *args, check=True):
        env = dict(os.environ, CUPS_SERVER=self.socket)
        return run(list(args), env=env, timeout=30, check=check)

    def _scheduler_running(self):
        if not self.process.running():
            raise HarnessError(f"cupsd ended: {self.process.log()[-2000:]}")
        if not os.path.exists(self.socket):
            return False
        status, out, _ = self._client("lpstat", "-r", check=False)
        return status == 0 and "is running" in out and "not running" not in out

    def _add_pdf_printer(self):
        self.instance_conf = os.path.join(CUPS_PDF_CONF_DIR, f"cups-pdf-{self.instance}.conf")
        with open(self.instance_conf, "w") as f:
            f.write(_CUPS_PDF_CONF.format(out=self.pdf_dir, root=self.root))
        self._client("lpadmin", "-p", PRINTER_NAME, "-E", "-v", f"cups-pdf:/{self.instance}",
                     "-P", CUPS_PDF_PPD)
        self._client("lpadmin", "-d", PRINTER_NAME)

    def pending_jobs(self):
        _, out, _ = self._client("lpstat", "-o", check=False)
        return [line for line in out.splitlines() if line.strip()]

    def _finished_pdfs(self):
        if self.pending_jobs():
            return []
        done = []
        for path in sorted(glob.glob(os.path.join(self.pdf_dir, "*.pdf")), key=os.path.getmtime):
            if path in self._returned:
                continue
            with open(path, "rb") as f:
                f.seek(max(0, os.path.getsize(path) - 64))
                if b"%%EOF" in f.read():
                    done.append(path)
        return done

    def wait_for_pdf(self, timeout=60):
        """Waits until a job has become a complete PDF that no earlier call
        returned, and returns its path."""
        try:
            path = wait_until(self._finished_pdfs, timeout, "a printed PDF", interval=0.25)[0]
        except HarnessError as error:
            _, state, _ = self._client("lpstat", "-l", "-p", check=False)
            raise HarnessError(f"{error}; jobs {self.pending_jobs()}; printer: {state.strip()}") from None
        self._returned.add(path)
        return path

    def stop(self):
        if self.process:
            self.process.stop()
        if self.instance_conf and os.path.exists(self.instance_conf):
            os.unlink(self.instance_conf)
        self.instance_conf = None


def pdf_page_count(pdf):
    _, out, _ = run(["pdfinfo", pdf])
    match = re.search(r"^Pages:\s+(\d+)", out, re.M)
    if not match:
        raise HarnessError(f"pdfinfo gave no page count for {pdf}")
    return int(match.group(1))


def pdf_to_png(pdf, dpi, outdir, area=None):
    """Renders every page with pdftoppm at `dpi`, or only the rectangle
    `area` (left, top, right, bottom in pixels at that dpi) of each page;
    saves each as PNG in `outdir` and returns the pages as Pictures (whose
    .path is the PNG)."""
    os.makedirs(outdir, exist_ok=True)
    stem = os.path.join(outdir, os.path.splitext(os.path.basename(pdf))[0])
    command = ["pdftoppm", "-r", str(dpi)]
    if area:
        left, top, right, bottom = area
        command += ["-x", str(left), "-y", str(top), "-W", str(right - left), "-H", str(bottom - top)]
        stem += f"-{left}-{top}"
    started = time.monotonic()
    run(command + [pdf, stem], timeout=120)
    pages = []
    for ppm in sorted(glob.glob(stem + "-*.ppm")):
        picture = read_ppm(ppm)
        os.unlink(ppm)
        picture.save_png(ppm[:-4] + ".png")
        pages.append(picture)
    if not pages:
        raise HarnessError(f"pdftoppm rendered no page of {pdf} in {time.monotonic() - started:.1f} s")
    return pages
