"""Scanning as a user does, through the data source over SANE and SANE's
own test backend: Scan Select lists the test devices, Scan with the
source's window acquires the backend's colour pattern at a chosen
resolution and area, which becomes the working picture; Cancel leaves the
picture as it was; closing the source's window closes it and the next Scan
(the grid picture in grey) works; no "ts" file is left behind. Without any
scanner, Scan says so."""
import os
import unittest

import tilora_scanning as scanning
import tilora_window as tw
from harness import SessionTestCase, winelib_program

IDOK = 1


def winelib_tree():
    return os.path.dirname(os.path.dirname(winelib_program(tw.PROGRAM)))


class Scanning(SessionTestCase):
    printer = False

    @classmethod
    def start_programs(cls):
        s = cls.session
        cls.config = scanning.sane_config(os.path.join(s.dir, "sane"))
        scanning.install_data_source(s, winelib_tree())
        tw.start(s, env={"SANE_CONFIG_DIR": cls.config})

    def open_source(self, title):
        """Presses Scan and waits for the source's window."""
        s = self.session
        s.input.click_center(s.driver.rect(tw.CLASS, tw.SCAN))
        if not s.driver.wait_window(scanning.SOURCE_CLASS, 15):
            # Right after the manager's own dialog, Wine can let the first
            # click on the main window go by without a command.
            s.input.click_center(s.driver.rect(tw.CLASS, tw.SCAN))
        self.assertTrue(s.driver.wait_window(scanning.SOURCE_CLASS, 60), "no window of the data source")
        self.assertEqual(s.driver.text(scanning.SOURCE_CLASS), title)

    def press(self, control):
        self.session.input.click_center(self.session.driver.rect(scanning.SOURCE_CLASS, control))

    def replace_text(self, control, text):
        s = self.session
        self.press(control)
        s.input.key("End")
        s.input.key(*["BackSpace"] * 4)
        s.input.type(text)
        s.wait_for_text(scanning.SOURCE_CLASS, text, control)

    def scan_and_close(self):
        s = self.session
        self.press(scanning.SCAN_BUTTON)
        s.wait_for_text(scanning.SOURCE_CLASS, "Scanned.", scanning.STATUS, timeout=60)
        self.assertEqual(scanning.temporary_files(s), [])
        # Cancel with no scan running closes the source.
        self.press(scanning.CANCEL_BUTTON)
        self.assertTrue(s.driver.wait_gone(scanning.SOURCE_CLASS, 20), "the source's window stays")

    def assert_picture(self, reference, what):
        """The preview shows the reference picture, at its aspect."""
        s = self.session
        width, height = reference[:2]
        poster_width = tw.smm_from_edit(tw.edit_texts(s)[0])
        poster_height = tw.smm_from_edit(tw.edit_texts(s)[1])
        self.assertAlmostEqual(poster_height / poster_width, height / width, delta=0.01)
        layout = tw.Layout(tw.preview_size(s), tw.poster_for((width, height), width_smm=poster_width), tw.a4_tile())
        origin = tw.preview_origin(s)
        shot = s.screenshot(what)
        left, top, right, bottom = layout.picture
        wrong = []
        for x, y in tw.picture_points(layout, origin):
            shown = shot.pixel(x, y)
            if shown not in scanning.reference_colours(reference, x - origin[0] - left, y - origin[1] - top,
                                                       (right - left, bottom - top)):
                wrong.append(((x, y), shown))
        self.assertEqual(wrong, [], f"{what}: pixels that are not the scanned picture's")

    def test_1_select_the_second_device_and_scan_a_colour_pattern(self):
        s = self.session
        s.input.click_center(s.driver.rect(tw.CLASS, tw.SCAN_SELECT))
        dialog = s.driver.find_dialog("Select Source", timeout=60)
        self.assertIsNotNone(dialog, "no source selection dialog")
        listbox = next(c for c in dialog if c["cls"] == "ListBox")
        # Both test devices are listed: the second one is chosen.
        s.input.click(listbox["rect"][0] + 20, listbox["rect"][1] + 5)
        s.input.key("Down")
        s.input.key("Return")
        s.wait_until(lambda: s.driver.find_dialog("Select Source", timeout=0) is None, 10, "the dialog to close")

        self.open_source("frontend-tester (test:1)")
        self.press(scanning.RESOLUTION)
        s.input.type("7")
        s.input.key("Return")
        s.wait_for_text(scanning.SOURCE_CLASS, "75 dpi", scanning.RESOLUTION)
        self.replace_text(scanning.WIDTH, "60")
        self.scan_and_close()
        reference = scanning.reference_scan(self.config, "test:1", 75, 60, 100, "Color")
        self.assertEqual(reference[:2], (177, 295))
        self.assert_picture(reference, "colour-pattern")

    def test_2_cancel_keeps_the_picture(self):
        s = self.session
        before = tw.edit_texts(s)
        self.open_source("frontend-tester (test:1)")
        self.press(scanning.CANCEL_BUTTON)
        self.assertTrue(s.driver.wait_gone(scanning.SOURCE_CLASS, 20), "Cancel leaves the source's window")
        self.assertEqual(tw.edit_texts(s), before)

    def test_3_closing_the_window_then_scanning_the_grid(self):
        s = self.session
        self.open_source("frontend-tester (test:1)")
        s.driver.close(scanning.SOURCE_CLASS)
        self.assertTrue(s.driver.wait_gone(scanning.SOURCE_CLASS, 20), "the source's window stays")
        # The backend reads its settings whenever the source opens a device.
        scanning.sane_config(self.config, picture="Grid", mode="Gray")
        self.open_source("frontend-tester (test:1)")
        s.wait_for_text(scanning.SOURCE_CLASS, "Gray", scanning.MODE)
        self.scan_and_close()
        reference = scanning.reference_scan(self.config, "test:1", 50, 80, 100, "Gray")
        self.assert_picture(reference, "grid")


class NoScanner(SessionTestCase):
    printer = False

    @classmethod
    def start_programs(cls):
        s = cls.session
        config = scanning.sane_config(os.path.join(s.dir, "sane"), backends=())
        scanning.install_data_source(s, winelib_tree())
        tw.start(s, env={"SANE_CONFIG_DIR": config})

    def test_scan_says_no_scanner_found(self):
        s = self.session
        before = tw.edit_texts(s)
        s.input.click_center(s.driver.rect(tw.CLASS, tw.SCAN))
        box = s.driver.find_dialog(tw.TITLE, timeout=60)
        self.assertIsNotNone(box, "no message")
        self.assertIn("No scanner found.", [c["text"] for c in box if c["cls"] == "Static"])
        s.driver.click_dialog(tw.TITLE, IDOK)
        self.assertEqual(tw.edit_texts(s), before)


if __name__ == "__main__":
    unittest.main()
