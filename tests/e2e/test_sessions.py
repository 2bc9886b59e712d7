"""Sessions keep apart from each other and leave nothing behind, also when
a test fails half-way."""
import glob
import os
import unittest

import probe_window as probe
from harness import Session
from harness.procs import wait_until
from harness.wineprefix import prefix_processes

CSIDL_PERSONAL = 5
KEY = r"HKCU\Software\Quenbrook\Tilora"


def alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    return True


def session_traces(s):
    """What must be gone after a session: its processes, folder, display
    lock, Wine server socket folder and print backend configuration."""
    with open(os.path.join(s.prefix, "wineserver")) as f:
        server_folder = os.path.join("/tmp", f.read().strip())
    pids = [s.display.process.pid, s.printing.process.pid] + prefix_processes(s.prefix)
    return {"pids": pids, "prefix": s.prefix,
            "paths": [s.dir, server_folder, f"/tmp/.X{s.display.number}-lock",
                      f"/tmp/.X11-unix/X{s.display.number}"]
            + ([s.printing.instance_conf] if s.printing.instance_conf else [])}


class Sessions(unittest.TestCase):
    def assertGone(self, traces):
        wait_until(lambda: not any(alive(pid) for pid in traces["pids"]), 10, "session processes to end")
        self.assertEqual(prefix_processes(traces["prefix"]), [])
        for path in traces["paths"]:
            self.assertFalse(os.path.exists(path), f"{path} left behind")

    def test_two_sessions_at_once_do_not_see_each_other(self):
        with Session(printer=True, name="sessions-a") as a, Session(printer=False, name="sessions-b") as b:
            self.assertNotEqual(a.display.display, b.display.display)
            self.assertNotEqual(a.printing.socket, b.printing.socket)
            a.start_program(probe.PROGRAM, window_class=probe.CLASS)
            self.assertFalse(b.driver.wait_window(probe.CLASS, timeout=1), "b sees a's window")
            b.start_program(probe.PROGRAM, window_class=probe.CLASS)
            a.driver.reg_set(KEY, "metric", "1")
            self.assertIsNone(b.driver.reg_query(KEY, "metric"))
            a.driver.command(probe.CLASS, probe.BUTTON)
            a.wait_for_text(probe.CLASS, "clicked", probe.EDIT)
            self.assertEqual(b.driver.text(probe.CLASS, probe.EDIT), "")
            self.assertEqual(a.driver.printers(), (["TiloraPDF"], "TiloraPDF"))
            self.assertEqual(b.driver.printers(), ([], None))
            traces = [session_traces(a), session_traces(b)]
            self.assertGreater(len(traces[0]["pids"]), 3, "the Wine server and programs are found")
            self.assertEqual(a.close_program(probe.CLASS), 0)
        for t in traces:
            self.assertGone(t)

    def test_registry_folders_and_restarts_stay_within_the_session(self):
        with Session(printer=False, name="sessions-folders") as s:
            self.assertIsNone(s.driver.reg_query(KEY, "metric"))
            s.driver.reg_set(KEY, "metric", "0")
            s.driver.reg_set(KEY, "rtMargin.left", "1000")
            self.assertEqual(s.driver.reg_query(KEY, "metric"), "0")
            self.assertEqual(s.driver.reg_query(KEY, "rtMargin.left"), "1000")
            s.driver.reg_delete(KEY)
            self.assertIsNone(s.driver.reg_query(KEY, "metric"))
            # A program closed and started again finds the prefix as it was.
            s.start_program(probe.PROGRAM, window_class=probe.CLASS)
            s.driver.reg_set(KEY, "metric", "1")
            self.assertEqual(s.close_program(probe.CLASS), 0)
            s.start_program(probe.PROGRAM, window_class=probe.CLASS)
            self.assertEqual(s.driver.reg_query(KEY, "metric"), "1")
            documents = s.documents_folder()
            self.assertTrue(os.path.isdir(documents) and not os.path.islink(documents))
            self.assertTrue(documents.startswith(s.prefix + os.sep))
            user = os.path.basename(os.path.dirname(documents))
            self.assertEqual(s.driver.folder(CSIDL_PERSONAL), f"C:\\users\\{user}\\Documents")

    def test_failing_test_still_cleans_up_everything(self):
        with self.assertRaises(RuntimeError):
            with Session(printer=True, name="sessions-failing") as s:
                s.start_program(probe.PROGRAM, window_class=probe.CLASS)
                traces = session_traces(s)
                raise RuntimeError("test failed half-way")
        self.assertGone(traces)
        # The failed session's logs are kept for a look.
        self.assertTrue(glob.glob(os.path.join(s.artifacts, "*.log")))


if __name__ == "__main__":
    unittest.main()
