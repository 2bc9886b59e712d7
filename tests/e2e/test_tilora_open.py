"""Opening pictures the way a user does: every supported format dropped on
the window and chosen in the Open dialog, two files dropped at once, and
files that cannot be read. Runs without any printer, so the poster is laid
out on A4 paper."""
import os
import unittest

import tilora_pictures as pictures
import tilora_window as tw
from harness import HarnessError, SessionTestCase, close_to

IDOK = 1


class OpenPictures(SessionTestCase):
    printer = False

    @classmethod
    def start_programs(cls):
        tw.start(cls.session)
        cls.folder = os.path.join(cls.session.dir, "pictures")
        cls.paths = pictures.write_all(cls.folder)

    def expected_layout(self, name):
        width = tw.smm_from_edit(tw.edit_texts(self.session)[0])
        poster = tw.poster_for(pictures.picture_size(name), width_smm=width)
        return tw.Layout(tw.preview_size(self.session), poster, tw.a4_tile())

    def wait_for_picture(self, name, what):
        """Waits until the preview shows the file's colour all over the
        place the layout gives the picture."""
        s = self.session
        color = pictures.FORMATS[name][1]
        tolerance = pictures.TOLERANCE.get(name, 0)
        wrong = []

        def shown():
            box = s.driver.find_dialog(tw.TITLE, timeout=0)
            if box is not None:
                texts = [c["text"] for c in box if c["cls"] == "Static" and c["text"]]
                s.screenshot(what)
                s.driver.click_dialog(tw.TITLE, IDOK)
                raise AssertionError(f"{name}: the program said {texts}")
            layout = self.expected_layout(name)
            shot = s.screenshot(what)
            points = tw.picture_points(layout, tw.preview_origin(s))
            expected = color or shot.pixel(*points[0])
            wrong[:] = tw.wrong_points(shot, points, expected, tolerance)
            others = [c for _, c in pictures.FORMATS.values() if c] + [tw.WHITE]
            if color is None and any(close_to(expected, other, 16) for other in others):
                wrong.append(("plain, but in the colour of another picture", expected))
            return not wrong

        try:
            s.wait_until(shown, 45, f"{name} in the preview ({what})", interval=0.5)
        except HarnessError as error:
            self.fail(f"{error}: {wrong[:4]}")

    def drop(self, *names):
        self.session.driver.drop(tw.CLASS, [self.paths.get(n, n) for n in names])

    def assert_message(self, text):
        """The message box with the text is up; answers it with OK."""
        s = self.session
        box = s.driver.find_dialog(tw.TITLE, timeout=15)
        self.assertIsNotNone(box, f"no message box saying {text!r}")
        self.assertIn(text, [c["text"] for c in box if c["cls"] == "Static"])
        s.driver.click_dialog(tw.TITLE, IDOK)
        s.wait_until(lambda: s.driver.find_dialog(tw.TITLE, timeout=0) is None, 10, "the message box to close")

    def test_a4_pages_without_a_printer(self):
        s = self.session
        self.drop("picture.bmp")
        self.wait_for_picture("picture.bmp", "a4")
        layout = self.expected_layout("picture.bmp")
        columns, rows = layout.pages
        # No printer: the status strip names no paper.
        s.wait_for_text(tw.CLASS, tw.status_text(columns * rows, "A4"), tw.PREVIEW)
        shot = s.screenshot("a4")
        origin = tw.preview_origin(s)
        y = layout.page_center(0, 0)[1] + origin[1]
        for x in layout.vertical_lines():
            self.assertEqual(shot.pixel(x + origin[0], y), tw.OUTLINE, f"vertical line at {x}")

    def test_every_format_by_drop(self):
        for name in pictures.FORMATS:
            with self.subTest(name):
                self.drop(name)
                self.wait_for_picture(name, "drop-" + name.replace(".", "-"))

    def test_formats_through_the_open_dialog(self):
        s = self.session
        for number, name in enumerate(("picture.png", "picture.gif", "picture.emf")):
            with self.subTest(name):
                s.input.click_center(s.driver.rect(tw.CLASS, tw.OPEN))
                dialog = s.driver.find_dialog("Open", timeout=15)
                self.assertIsNotNone(dialog, "no Open dialog")
                texts = {c["id"]: c["text"] for c in dialog}
                # The pictures folder first, the folder of the last file afterwards;
                # "All Formats" preselected.
                self.assertEqual(texts[1137], "Pictures" if number == 0 else "pictures")
                self.assertEqual(texts[1136], "All Formats")
                s.input.type(tw.windows_path(self.paths[name]))
                s.input.key("Return")
                try:
                    s.wait_until(lambda: s.driver.find_dialog("Open", timeout=0) is None, 5, "the dialog to close")
                except HarnessError:
                    # The name field may have taken the first Return for its completion list.
                    s.input.key("Return")
                    s.wait_until(lambda: s.driver.find_dialog("Open", timeout=0) is None, 5, "the dialog to close")
                self.wait_for_picture(name, "dialog-" + name.replace(".", "-"))

    def test_two_files_at_once_are_refused(self):
        self.drop("picture.bmp")
        self.wait_for_picture("picture.bmp", "before-two")
        self.drop("picture.gif", "picture.tga")
        self.assert_message("One file at a time, please.")
        self.wait_for_picture("picture.bmp", "after-two")

    def test_unreadable_files_keep_the_picture(self):
        damaged = pictures.write_damaged(os.path.join(self.folder, "damaged.png"))
        text = os.path.join(self.folder, "notes.txt")
        with open(text, "w") as f:
            f.write("not a picture\n")
        self.drop("picture.bmp")
        self.wait_for_picture("picture.bmp", "before-damaged")
        for path in (damaged, text):
            with self.subTest(os.path.basename(path)):
                self.drop(path)
                self.assert_message("Loading file failed")
                self.wait_for_picture("picture.bmp", "after-" + os.path.basename(path).replace(".", "-"))


if __name__ == "__main__":
    unittest.main()
