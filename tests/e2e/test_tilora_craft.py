"""The poster craft through the Poster Extras dialog: a glue band, sheet
labels, trim marks and the assembly sheet chosen with real clicks and keys,
the resolution shown there; the job printed to the PDF printer matches
tilora-cli pages with the same craft page by page (the assembly sheet
first) and record by record; the choices reach the registry on closing. An
OK refused for sheets that cannot be laid out keeps none of the choices."""
import os
import unittest

import tilora_window as tw
from harness import pdf_page_count
from tilora_jobs import IDCANCEL, IDOK, compare_job_with_cli, confirm, read_job_log, start_log, write_picture

EXTRAS = 117
SEAMLESS, OVERLAP, LABELS, TRIM_MARKS, ASSEMBLY_SHEET, SHEETS_ACROSS, RESOLUTION_TEXT = 151, 152, 153, 154, 155, 160, 162
PICTURE = (200, 240)


class PosterCraft(tw.TiloraTestCase):
    printer = True

    def test_extras_chosen_in_the_dialog_print_as_the_command_line_renders_them(self):
        s = self.session
        path = os.path.join(s.dir, "poster.bmp")
        write_picture(path, PICTURE)
        s.driver.drop(tw.CLASS, [path])
        s.input.click_center(s.driver.rect(tw.CLASS, tw.WIDTH_EDIT))
        s.input.key("End", "shift+Home")
        s.input.type("30")
        s.wait_for_text(tw.CLASS, "36.00", tw.HEIGHT_EDIT)

        s.driver.command(tw.CLASS, EXTRAS)
        dialog = s.driver.find_dialog("Poster Extras", timeout=15)
        self.assertIsNotNone(dialog, "no Poster Extras dialog")
        controls = {c["id"]: c for c in dialog}
        # 200 pixels over 30 cm: 16.9 per inch, far below the thresholds.
        self.assertTrue(controls[RESOLUTION_TEXT]["text"].startswith("The picture has 17 x 17 ppi at this size "
                                                                     "(very low); up to 3.39 x 4.06 cm"),
                        controls[RESOLUTION_TEXT]["text"])
        self.assertEqual(controls[OVERLAP]["text"], "0.00")
        self.choose_extras(controls)

        # 200 sheets across cannot be laid out: told, and none of the other
        # choices is kept either.
        s.input.click_center(controls[SHEETS_ACROSS]["rect"])
        s.input.key("End", "shift+Home")
        s.input.type("200")
        s.driver.click_dialog("Poster Extras", IDOK)
        box = s.driver.find_dialog(tw.TITLE, timeout=15)
        self.assertIsNotNone(box, "no message about the sheets")
        self.assertTrue(any("No poster of the picture's shape fits those sheets." in c["text"] for c in box), box)
        s.driver.click_dialog(tw.TITLE, IDOK)
        s.wait_until(lambda: s.driver.find_dialog(tw.TITLE, timeout=0) is None, 10, "the box to close")
        s.driver.click_dialog("Poster Extras", IDCANCEL)
        s.wait_until(lambda: s.driver.find_dialog("Poster Extras", timeout=0) is None, 10, "the dialog is closed")
        s.driver.command(tw.CLASS, EXTRAS)
        dialog = s.driver.find_dialog("Poster Extras", timeout=15)
        controls = {c["id"]: c for c in dialog}
        self.assertEqual(controls[OVERLAP]["text"], "0.00")

        self.choose_extras(controls)
        s.driver.click_dialog("Poster Extras", IDOK)
        s.wait_until(lambda: s.driver.find_dialog("Poster Extras", timeout=0) is None, 10, "the dialog is closed")

        start_log(self)
        s.driver.command(tw.CLASS, tw.PRINT)
        self.assertEqual(confirm(self, margins=False), "TiloraPDF is ready to print 4 page(s)")
        s.wait_until(lambda: s.driver.find_dialog("Printing", timeout=0) is None, 180, "the job's end")
        pdf = s.wait_for_pdf(timeout=120)
        self.assertEqual(pdf_page_count(pdf), 5, "the assembly sheet and four pages")
        log_text = read_job_log(s)
        job = log_text[log_text.rindex("print begin"):]
        for record in ("overlap (smm): 1200", "seamless: 1", "labels: 1", "trim_marks: 1", "assembly_sheet: 1"):
            self.assertIn(record, job)
        order, _ = compare_job_with_cli(self, pdf, path, [], log_text)
        self.assertEqual(order, [(0, 0), (0, 1), (1, 0), (1, 1)])

        self.assertEqual(s.close_program(tw.CLASS), 0)
        stored = {name: s.driver.reg_query(tw.SETTINGS_KEY, name)
                  for name in ("seamless", "overlap", "sheetLabels", "trimMarks", "assemblySheet", "showResolution")}
        self.assertEqual(stored, {"seamless": "1", "overlap": "1200", "sheetLabels": "1", "trimMarks": "1",
                                  "assemblySheet": "1", "showResolution": "0"})

    def choose_extras(self, controls):
        """A 12 mm band, labels, trim marks and the assembly sheet."""
        s = self.session
        s.input.click_center(controls[OVERLAP]["rect"])
        s.input.key("End", "shift+Home")
        s.input.type("12")
        for box in (LABELS, TRIM_MARKS, ASSEMBLY_SHEET):
            s.input.click_center(controls[box]["rect"])
        s.wait_until(lambda: {c["id"]: c for c in s.driver.find_dialog("Poster Extras", timeout=0)}[OVERLAP]["text"]
                     == "12", 10, "the typed band")


if __name__ == "__main__":
    unittest.main()
