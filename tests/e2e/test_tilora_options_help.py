"""The Options dialog switches the unit the poster is shown in, at once and
for the next start; Help and Web hand their pages to the user's browser,
recorded here by a stand-in browser."""
import os
import re
import shutil
import stat
import unittest
from urllib.parse import parse_qs, quote, urlsplit

import tilora_window as tw
from harness import SessionTestCase

IDOK, IDCANCEL = 1, 2
UNITS, UNITS_LABEL = 1016, 1017
STARTUP_PICTURE = (3705, 2565)


def file_url(path):
    """A Unix file's URL as the browser gets it."""
    return "file://" + quote(path)


class OptionsAndHelp(SessionTestCase):
    printer = False

    # The Options dialog ---------------------------------------------------

    def options(self):
        """Opens Options with a click on its button; the dialog's controls
        by id."""
        s = self.session
        s.input.click_center(s.driver.rect(tw.CLASS, tw.OPTIONS))
        controls = s.driver.find_dialog("Options")
        self.assertIsNotNone(controls, "no Options dialog")
        return {c["id"]: c for c in controls}

    def choose_with_the_mouse(self, controls, entry):
        """Opens the unit list with a click and clicks the entry (0 cm,
        1 inches) in the dropped list."""
        s = self.session
        s.input.click_center(controls[UNITS]["rect"])
        self.assertTrue(s.driver.wait_window("ComboLBox", 10), "the unit list does not drop down")
        left, top, right, bottom = s.driver.rect("ComboLBox")
        s.input.click((left + right) // 2, top + (bottom - top) * (2 * entry + 1) // 4)

    def unit_label(self):
        """The panel's pixels right of the width edit, where its unit is."""
        s = self.session
        panel = s.driver.rect(tw.CLASS, tw.PANEL)
        edit = s.driver.rect(tw.CLASS, tw.WIDTH_EDIT)
        shot = s.screenshot("panel")
        return [shot.pixel(x, y) for x in range(edit[2] + 3, panel[2] - 2) for y in range(edit[1], edit[3])]

    def expect_poster_shown_in(self, unit_smm, width_smm):
        s = self.session
        height_smm = tw.poster_for(STARTUP_PICTURE, width_smm=width_smm)[1]
        s.wait_for_text(tw.CLASS, f"{width_smm / unit_smm:.2f}", tw.WIDTH_EDIT)
        self.assertEqual(s.driver.text(tw.CLASS, tw.HEIGHT_EDIT), f"{height_smm / unit_smm:.2f}")

    def test_options_switches_the_unit_at_once_and_for_the_next_start(self):
        s = self.session
        tw.start(s, metric=True)
        self.expect_poster_shown_in(1000, 64000)
        status = s.driver.text(tw.CLASS, tw.PREVIEW)
        label_in_cm = self.unit_label()

        # Cancel after choosing inches keeps centimetres.
        controls = self.options()
        self.assertEqual(controls[UNITS_LABEL]["text"], "Units:")
        self.assertEqual(controls[UNITS]["text"], "cm")
        self.choose_with_the_mouse(controls, 1)
        s.wait_for_text("#32770", "inches", UNITS)
        s.input.click_center(controls[IDCANCEL]["rect"])
        self.assertTrue(s.driver.wait_gone("#32770", 10), "Options still open after Cancel")
        self.expect_poster_shown_in(1000, 64000)

        # Inches with the keyboard: the panel shows the same poster in inches
        # at once (64.00 cm is 25.20 inches) and its label says so; the
        # layout stays.
        controls = self.options()
        self.assertEqual(controls[UNITS]["text"], "cm")
        s.input.click_center(controls[UNITS_LABEL]["rect"])
        s.input.key("Down", "Return")
        self.expect_poster_shown_in(2540, 64000)
        s.wait_until(lambda: self.unit_label() != label_in_cm, 10, "the panel's unit label to change")
        self.assertEqual(s.driver.text(tw.CLASS, tw.PREVIEW), status)

        # The unit reaches the settings at the end, and the next start shows
        # inches (its default poster, 23 inches wide) with "inches"
        # preselected; centimetres chosen with the mouse come back at once.
        self.assertEqual(s.close_program(tw.CLASS), 0)
        self.assertEqual(s.driver.reg_query(tw.SETTINGS_KEY, "metric"), "0")
        tw.start(s, metric=None)
        self.expect_poster_shown_in(2540, 23 * 2540)
        controls = self.options()
        self.assertEqual(controls[UNITS]["text"], "inches")
        self.choose_with_the_mouse(controls, 0)
        s.input.click_center(controls[IDOK]["rect"])
        self.expect_poster_shown_in(1000, 23 * 2540)
        self.assertEqual(s.close_program(tw.CLASS), 0)
        self.assertEqual(s.driver.reg_query(tw.SETTINGS_KEY, "metric"), "1")

    # Help and Web ----------------------------------------------------------

    def use_recording_browser(self):
        """Wine's shell hands web addresses and .htm files to winebrowser,
        which runs the first program of HKCU\\Software\\Wine\\WineBrowser
        "Browsers" with the address (a file as a file:// URL of its Unix
        path). This one writes each address it gets as a line of a file."""
        s = self.session
        record = os.path.join(s.dir, "browser.txt")
        browser = os.path.join(s.dir, "record-browser")
        with open(browser, "w") as f:
            f.write(f"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '{record}'\n")
        os.chmod(browser, os.stat(browser).st_mode | stat.S_IXUSR)
        s.driver.reg_set(r"HKCU\Software\Wine\WineBrowser", "Browsers", browser)
        # A fresh prefix knows no program for .htm files; a user's system
        # opens them in the browser.
        s.driver.reg_set(r"HKLM\Software\Classes\.htm", "", "htmlfile")
        return record

    def click_and_record(self, button, record):
        """Clicks the button; the address the browser gets for it."""
        s = self.session
        before = self.recorded(record)
        s.input.click_center(s.driver.rect(tw.CLASS, button))
        s.wait_until(lambda: len(self.recorded(record)) > len(before), 20, "the browser to be started")
        return self.recorded(record)[-1]

    @staticmethod
    def recorded(record):
        try:
            with open(record) as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def test_help_and_web_open_their_pages_in_the_browser(self):
        s = self.session
        record = self.use_recording_browser()
        # Shell calls are traced, so that the exact request can be read.
        program = tw.start(s, env={"WINEDEBUG": "+exec"})
        installed = os.path.join(tw.program_folder(), "help", "introduction.htm")
        self.assertTrue(os.path.isfile(installed), "the build did not install the help pages")
        self.assertEqual(self.click_and_record(tw.HELP, record), file_url(installed))

        web = urlsplit(self.click_and_record(tw.WEB, record))
        self.assertIn(web.scheme, ("http", "https"))
        self.assertEqual(web.path, "/r/")
        query = parse_qs(web.query)
        self.assertEqual(query["m"], ["home"])
        self.assertTrue(query["p"][0])

        # Both go to the shell's default action with the main window as owner
        # (a handle other than 0): no verb, no parameters, an empty working
        # folder, the normal show state; help as a file URL.
        requests = re.findall(r'trace:exec:ShellExecuteA (?!0+,)[0-9A-Fa-f]+,(.*)', program.log())
        help_url = "file://" + tw.windows_path(tw.program_folder()).replace("\\", "/") + "/help/introduction.htm"
        self.assertEqual(requests, [f'(null),"{help_url}",(null),"",1',
                                    f'(null),"{web.geturl()}",(null),"",1'])

        # Started from a shortcut whose working folder is another one, Help
        # looks for the help folder there.
        self.assertEqual(s.close_program(tw.CLASS), 0)
        elsewhere = os.path.join(s.dir, "working folder")
        shutil.copytree(os.path.dirname(installed), os.path.join(elsewhere, "help"))
        tw.start(s, cwd=elsewhere)
        self.assertEqual(self.click_and_record(tw.HELP, record),
                         file_url(os.path.join(elsewhere, "help", "introduction.htm")))
        self.assertEqual(s.close_program(tw.CLASS), 0)


if __name__ == "__main__":
    unittest.main()
