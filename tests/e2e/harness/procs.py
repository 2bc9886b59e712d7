"""Starting, waiting for and stopping the processes of a test session.

Every long-running process is started in a process group of its own and is
told by the kernel to die with the test (PR_SET_PDEATHSIG), so that even a
test killed by a timeout leaves no X server or print scheduler behind.
"""
import ctypes
import os
import signal
import subprocess
import tempfile
import time

_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


class HarnessError(Exception):
    """A session could not be set up, or a wait ran out of time."""


def _die_with_parent():
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM, 0, 0, 0)


def wait_until(check, timeout, what, interval=0.1):
    """Calls check() until it returns something true and returns that;
    raises HarnessError naming `what` when `timeout` seconds pass first."""
    deadline = time.monotonic() + timeout
    while True:
        result = check()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise HarnessError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def run(command, env=None, timeout=60, check=True, cwd=None, binary=False):
    """Runs a short command to its end and returns (status, stdout, stderr),
    the outputs as text unless `binary`.

    The outputs go through temporary files, not pipes: a Wine program may
    start the prefix's background services, which inherit its output and
    would keep a pipe open long after the program itself has ended."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        try:
            status = subprocess.run(command, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out,
                                    stderr=err, timeout=timeout, preexec_fn=_die_with_parent).returncode
        except subprocess.TimeoutExpired as error:
            raise HarnessError(f"{command[0]} took longer than {timeout} s: {command}") from error
        out.seek(0)
        err.seek(0)
        stdout, stderr = out.read(), err.read()
    if not binary:
        stdout = stdout.decode(errors="replace")
    stderr = stderr.decode(errors="replace")
    if check and status != 0:
        raise HarnessError(f"{command} failed with status {status}: {stderr.strip()}")
    return status, stdout, stderr


class Process:
    """A background process whose output goes to a log file."""

    def __init__(self, command, log_path, env=None, cwd=None, pass_fds=()):
        self.command = command
        self.log_path = log_path
        with open(log_path, "ab") as log:
            self.popen = subprocess.Popen(command, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                                          stdout=log, stderr=subprocess.STDOUT, pass_fds=pass_fds,
                                          start_new_session=True, preexec_fn=_die_with_parent)
        self.pid = self.popen.pid

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout):
        """Waits for the end; returns the exit status, or None on timeout."""
        try:
            return self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self, grace=5):
        """SIGTERM to the process's own group, then SIGKILL if it lingers."""
        if not self.running():
            return self.popen.returncode
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(self.pid, sig)
            except ProcessLookupError:
                pass
            status = self.wait(grace)
            if status is not None:
                return status
        return self.popen.poll()

    def log(self):
        try:
            with open(self.log_path, errors="replace") as f:
                return f.read()
        except OSError:
            return ""
