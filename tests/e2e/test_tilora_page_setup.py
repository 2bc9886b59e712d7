"""Page setup through the real print-setup dialog with the margins group:
margins shown and typed in millimetres and inches (a negative one becomes 0,
an empty one keeps its value), margins that leave no tile are refused with a
message, Cancel changes nothing, and a poster set up in landscape on Letter
comes out of the PDF printer page for page as tilora-cli pages renders it
for the same device."""
import os
import time
import unittest

import tilora_window as tw
from harness import pdf_page_count
from tilora_jobs import IDCANCEL, IDOK, compare_job_with_cli, confirm, read_job_log, start_log, write_picture

TITLE = "Print Setup"
PAPER_LIST, LANDSCAPE, PORTRAIT = 1137, 1057, 1056
MARGINS_GROUP = 145
LEFT, TOP, RIGHT, BOTTOM = 141, 142, 143, 144
PICTURE = (300, 200)
# The PDF printer's name for Letter paper.
LETTER = "US Letter"


class PageSetup(tw.TiloraTestCase):
    printer = True

    def open_dialog(self):
        s = self.session
        s.input.click_center(s.driver.rect(tw.CLASS, tw.PAGE_SETUP))
        dialog = s.driver.find_dialog(TITLE, timeout=20)
        self.assertIsNotNone(dialog, "no page setup dialog")
        return {c["id"]: c for c in dialog}

    def type_into(self, control, text):
        s = self.session
        s.input.click_center(control["rect"])
        s.input.key("End", "shift+Home", "BackSpace")
        if text:
            s.input.type(text)

    def dialog_text(self, control_id):
        dialog = self.session.driver.find_dialog(TITLE, timeout=5) or []
        return next((c["text"] for c in dialog if c["id"] == control_id), None)

    def close_dialog(self, button):
        s = self.session
        s.driver.click_dialog(TITLE, button)
        s.wait_until(lambda: s.driver.find_dialog(TITLE, timeout=0) is None, 10, "the dialog to close")

    def test_a_cancel_and_margins_without_a_tile_change_nothing(self):
        s = self.session
        status = s.driver.text(tw.CLASS, tw.PREVIEW)
        controls = self.open_dialog()
        self.assertEqual(controls[MARGINS_GROUP]["text"], "Margins (milimeters)")
        self.assertEqual([controls[i]["text"] for i in (LEFT, TOP, RIGHT, BOTTOM)],
                         ["5.00", "5.00", "20.00", "20.00"])
        s.input.click_center(controls[LANDSCAPE]["rect"])
        self.type_into(controls[LEFT], "30")
        self.close_dialog(IDCANCEL)
        self.assertEqual(s.driver.text(tw.CLASS, tw.PREVIEW), status)

        # 150 mm on each side of an A4 sheet leave no tile: refused, told.
        controls = self.open_dialog()
        self.assertEqual(controls[LEFT]["text"], "5.00")
        self.type_into(controls[LEFT], "150")
        self.type_into(controls[RIGHT], "150")
        self.close_dialog(IDOK)
        box = s.driver.find_dialog(tw.TITLE, timeout=15)
        self.assertIsNotNone(box, "no message about the margins")
        self.assertTrue(any("margins leave no room" in c["text"] for c in box), box)
        s.driver.click_dialog(tw.TITLE, IDOK)
        s.wait_until(lambda: s.driver.find_dialog(tw.TITLE, timeout=0) is None, 10, "the box to close")
        self.assertEqual(s.driver.text(tw.CLASS, tw.PREVIEW), status)
        controls = self.open_dialog()
        self.assertEqual(controls[LEFT]["text"], "5.00")
        self.close_dialog(IDCANCEL)

    def test_b_landscape_letter_prints_as_the_command_line_renders(self):
        s = self.session
        path = os.path.join(s.dir, "poster.bmp")
        write_picture(path, PICTURE)
        s.driver.drop(tw.CLASS, [path])
        s.input.click_center(s.driver.rect(tw.CLASS, tw.WIDTH_EDIT))
        s.input.key("End", "shift+Home")
        s.input.type("40")
        s.wait_for_text(tw.CLASS, "26.67", tw.HEIGHT_EDIT)

        controls = self.open_dialog()
        s.input.click_center(controls[LANDSCAPE]["rect"])
        # Down the paper list by keyboard to "Letter".
        s.input.click_center(controls[PAPER_LIST]["rect"])
        s.input.key("Escape", "Home")
        for _ in range(80):
            if self.dialog_text(PAPER_LIST) == LETTER:
                break
            s.input.key("Down")
        self.assertEqual(self.dialog_text(PAPER_LIST), LETTER)
        self.type_into(controls[LEFT], "7.5")
        self.type_into(controls[TOP], "-3")
        self.type_into(controls[RIGHT], "")
        self.type_into(controls[BOTTOM], "10")
        # Without a window manager a dialog over the main window shows black
        # in a screenshot: the main window steps aside for the picture.
        main = s.driver.rect(tw.CLASS)
        s.driver.move(tw.CLASS, 870, 0, main[2] - main[0], main[3] - main[1])
        time.sleep(1)
        s.screenshot("page-setup")
        s.driver.move(tw.CLASS, *main[:2], main[2] - main[0], main[3] - main[1])
        self.close_dialog(IDOK)
        s.wait_until(lambda: s.driver.text(tw.CLASS, tw.PREVIEW).endswith(" of " + LETTER), 10, "Letter paper")

        start_log(self)
        s.driver.command(tw.CLASS, tw.PRINT)
        confirm(self, margins=False)
        s.wait_until(lambda: s.driver.find_dialog("Printing", timeout=0) is None, 120, "the job's end")
        pdf = s.wait_for_pdf(timeout=120)
        log_text = read_job_log(s)
        self.assertIn("g_paper_margin: 750, 0, 2000, 1000", log_text)
        self.assertIn("portrait: 0", log_text)
        order, printed = compare_job_with_cli(self, pdf, path, [], log_text)
        self.assertEqual(pdf_page_count(pdf), len(order))
        self.assertTrue(all(page.width > page.height for page in printed), "landscape pages")
        # The chosen margins come back in the dialog.
        controls = self.open_dialog()
        self.assertEqual([controls[i]["text"] for i in (LEFT, TOP, RIGHT, BOTTOM)],
                         ["7.50", "0.00", "20.00", "10.00"])
        self.close_dialog(IDCANCEL)

    def test_c_margins_in_inches_reach_the_settings(self):
        s = self.session
        s.close_program(tw.CLASS)
        tw.start(s, metric=False)
        controls = self.open_dialog()
        self.assertEqual(controls[MARGINS_GROUP]["text"], "Margins (inches)")
        self.type_into(controls[LEFT], "0.5")
        self.close_dialog(IDOK)
        s.close_program(tw.CLASS)
        self.assertEqual(s.driver.reg_query(tw.SETTINGS_KEY, "rtMargin.left"), "1270")
        tw.start(s)


if __name__ == "__main__":
    unittest.main()
