"""Files dropped through the driver arrive as a real drop: the program's
DragQueryFile sees every path of the block, as Windows paths."""
import os
import unittest

import probe_window as probe


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


class ProbeDrop(probe.ProbeTestCase):
    printer = False

    def make_file(self, name):
        folder = os.path.join(self.session.dir, "drop files")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, name)
        with open(path, "w") as f:
            f.write("x")
        return path

    def test_one_file_arrives_with_its_windows_path(self):
        path = self.make_file("one picture.bmp")
        self.session.driver.drop(probe.CLASS, [path])
        self.session.wait_for_text(probe.CLASS, windows_path(path))

    def test_two_files_arrive_in_one_drop(self):
        first, second = self.make_file("a.png"), self.make_file("b.jpg")
        self.session.driver.drop(probe.CLASS, [first, second])
        self.session.wait_for_text(probe.CLASS, windows_path(first) + "|" + windows_path(second))

    def test_program_keeps_running_after_drops(self):
        # The drop block lives in memory the program did not allocate itself;
        # finishing the drop must not take the program down.
        s = self.session
        for i in range(3):
            s.driver.drop(probe.CLASS, [self.make_file(f"{i}.gif")])
        s.wait_for_text(probe.CLASS, windows_path(self.make_file("2.gif")))
        s.driver.command(probe.CLASS, probe.BUTTON)
        s.wait_for_text(probe.CLASS, "clicked", probe.EDIT)


if __name__ == "__main__":
    unittest.main()
