"""The five settings survive a restart through the registry, and F5 in the
main window switches the diagnostics log on: a fresh log with its header in
the documents folder, opened for the user when the program is closed."""
import os
import unittest

import tilora_window as tw
from harness import SessionTestCase

IDOK = 1
STARTUP_PICTURE = (3705, 2565)


class SettingsAndLog(SessionTestCase):
    printer = True

    def settings(self):
        return {name: self.session.driver.reg_query(tw.SETTINGS_KEY, name) for name in tw.SETTING_NAMES}

    def set_settings(self, values):
        s = self.session
        s.driver.reg_delete(tw.SETTINGS_KEY)
        for name, text in values.items():
            s.driver.reg_set(tw.SETTINGS_KEY, name, text)

    def test_closing_writes_the_settings_and_the_next_start_reads_them(self):
        s = self.session
        # Inches and margins of the user's own; the printer reaches every edge,
        # so no margin is raised.
        self.set_settings({"metric": "0", "rtMargin.left": "1000", "rtMargin.top": "1100",
                           "rtMargin.right": "1200", "rtMargin.bottom": "abc"})
        tw.start(s, metric=None)
        height = tw.poster_for(STARTUP_PICTURE, width_smm=23 * 2540)[1]
        self.assertEqual(tw.edit_texts(s), ("23.00", f"{height / 2540:.2f}"))
        self.assertEqual(s.close_program(tw.CLASS), 0)
        self.assertEqual(self.settings(), {"metric": "0", "rtMargin.left": "1000", "rtMargin.top": "1100",
                                           "rtMargin.right": "1200", "rtMargin.bottom": "0"})

        # Any value but 0 means metric, and is saved back as 1.
        s.driver.reg_set(tw.SETTINGS_KEY, "metric", "2")
        tw.start(s, metric=None)
        self.assertEqual(tw.edit_texts(s)[0], "64.00")
        self.assertEqual(s.close_program(tw.CLASS), 0)
        self.assertEqual(self.settings()["metric"], "1")
        self.assertEqual(self.settings()["rtMargin.left"], "1000")

    def test_f5_writes_a_fresh_log_and_closing_opens_it(self):
        s = self.session
        tw.start(s)
        log = tw.documents_log(s)
        # The main window has the keyboard focus after start-up; a click on its
        # background, away from every child, keeps it there.
        left, top, right, bottom = s.driver.client_rect(tw.CLASS)
        s.input.click(left + 90, top + 420)
        s.input.key("F5")
        box = s.driver.find_dialog(tw.TITLE, timeout=15)
        self.assertIsNotNone(box, "no message box after F5")
        message = " ".join(c["text"] for c in box if c["cls"] == "Static")
        self.assertIn("The log was enabled to file:", message)
        self.assertIn("tilora.txt", message)
        s.driver.click_dialog(tw.TITLE, IDOK)
        with open(log, encoding="latin-1") as f:
            lines = f.read().splitlines()
        self.assertEqual(lines[0], "This is log file created during printing from Tilora.")
        self.assertIn("APP_VERSION: 124", lines)
        self.assertIn("Procesor(s)", lines)

        # F5 typed into a panel edit stays in the edit: the log is not started
        # afresh, so a line added to it stays.
        with open(log, "a") as f:
            f.write("-- marker --\n")
        s.input.click_center(s.driver.rect(tw.CLASS, tw.WIDTH_EDIT))
        s.input.key("F5")
        self.assertIsNone(s.driver.find_dialog(tw.TITLE, timeout=2))
        with open(log, encoding="latin-1") as f:
            self.assertIn("-- marker --", f.read())
        # A click on a button gives the keyboard back to the main window.
        s.input.click_center(s.driver.rect(tw.CLASS, tw.WEB))
        s.input.key("F5")
        self.assertIsNotNone(s.driver.find_dialog(tw.TITLE, timeout=15), "no message box after a click and F5")
        s.driver.click_dialog(tw.TITLE, IDOK)
        s.wait_until(lambda: s.driver.find_dialog(tw.TITLE, timeout=0) is None, 10, "the message to close")

        # With the log on, closing the program shows the log in the user's
        # viewer for text files (a fresh Wine prefix has none: give it Notepad).
        s.driver.reg_set(r"HKLM\Software\Classes\.txt", "", "txtfile")
        self.assertEqual(s.close_program(tw.CLASS), 0)
        self.assertTrue(s.driver.wait_window("Notepad", 20), "the log is not opened after closing")


if __name__ == "__main__":
    unittest.main()
