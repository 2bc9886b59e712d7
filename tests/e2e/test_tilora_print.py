"""Printing a poster through the real dialogs to the private cups-pdf queue:
the pages in the PDF are those tilora-cli pages renders for the same
printer, poster and page selection, in printing order, with the corner
marks and without the switched-off page; the log holds the same records as
the command line's; Cancel stops a job; without a printer the job ends in
"Printer not found."."""
import os
import re
import unittest

import tilora_pictures as pictures
import tilora_window as tw
from harness import pdf_page_count
from tilora_jobs import (CONFIRM_TEXT, IDCANCEL, IDOK, compare_job_with_cli, confirm, read_job_log,
                         start_log, write_picture)

PRINTER_NAME, QUALITY, DOCUMENT, PAGE_COUNTER, NOTE = 1009, 1010, 1007, 1006, 1028
# Taller than wide, so that a 30 cm wide poster covers 2 x 2 pages of the
# cups-pdf queue's A4 tile.
PICTURE = (200, 240)


class PrintPoster(tw.TiloraTestCase):
    printer = True

    def drop_picture_as_poster(self, width_cm):
        s = self.session
        path = os.path.join(s.dir, "poster.bmp")
        if not os.path.exists(path):
            write_picture(path, PICTURE)
        s.driver.drop(tw.CLASS, [path])
        s.input.click_center(s.driver.rect(tw.CLASS, tw.WIDTH_EDIT))
        s.input.key("End", "shift+Home")
        s.input.type(str(width_cm))
        poster = tw.poster_for(PICTURE, width_smm=width_cm * 1000)
        s.wait_for_text(tw.CLASS, f"{poster[1] / 1000:.2f}", tw.HEIGHT_EDIT)
        return path, poster

    def wait_for_pages(self, count):
        s = self.session
        prefix = tw.status_text(count, "")
        s.wait_until(lambda: s.driver.text(tw.CLASS, tw.PREVIEW).startswith(prefix), 10, prefix)

    def test_printed_pages_match_the_command_line_rendering(self):
        s = self.session
        path, poster = self.drop_picture_as_poster(30)
        tile = tw.printer_tile(s.driver.printer_caps())
        self.assertEqual(tw.pages_needed(poster, tile), (2, 2))
        self.wait_for_pages(4)
        layout = tw.Layout(tw.preview_size(s), poster, tile)
        s.input.click(*tw.offset(layout.page_center(1, 0), tw.preview_origin(s)))
        self.wait_for_pages(3)
        start_log(self)

        s.driver.command(tw.CLASS, tw.PRINT)
        self.assertEqual(confirm(self, margins=True), "TiloraPDF is ready to print 3 page(s)")
        progress = s.driver.find_dialog("Printing", timeout=15)
        self.assertIsNotNone(progress, "no progress dialog")
        texts = {c["id"]: c["text"] for c in progress}
        self.assertEqual(texts[PRINTER_NAME], "TiloraPDF")
        self.assertRegex(texts[QUALITY], r"^Quality: (default|high|medium|low|draft|\d+ DPI)$")
        self.assertEqual(texts[DOCUMENT], "Tilora")
        self.assertEqual(texts[NOTE], "Note: To change the quality or speed, change the print quality in "
                                      "printer properties.")
        s.wait_until(lambda: s.driver.find_dialog("Printing", timeout=0) is None, 120, "the job's end")
        pdf = s.wait_for_pdf(timeout=120)
        self.assertEqual(pdf_page_count(pdf), 3)

        log_text = read_job_log(s)
        job_text = log_text[log_text.rindex("print begin"):]
        self.assertEqual(job_text.count("Percent of memory in use"), 3, "one memory report per printed page")
        order, printed = compare_job_with_cli(self, pdf, path, ["--marks"], log_text)
        self.assertEqual(order, [(0, 0), (0, 1), (1, 1)])
        for page, (column, row) in zip(printed, order):
            self.check_marks(page, column, row, job_text)

        # The program is usable again: the Print button answers real clicks.
        s.input.click_center(s.driver.rect(tw.CLASS, tw.PRINT))
        self.assertIsNotNone(s.driver.find_dialog("Print", timeout=15), "Print does not answer after the job")
        s.driver.click_dialog("Print", IDCANCEL)
        s.wait_until(lambda: s.driver.find_dialog("Print", timeout=0) is None, 10, "the dialog is closed")

    def check_marks(self, page, column, row, log_text):
        """The corner marks' first dash starts at each corner of the part,
        in the pen's light grey."""
        rects = re.findall(r"page_x: %d, page_y: %d\n(?:.*\n){5}page_rect: (-?\d+), (-?\d+), (-?\d+), (-?\d+)"
                           % (column, row), log_text.replace("\r\n", "\n"))
        self.assertTrue(rects, f"no page_rect for page {column},{row}")
        left, top, right, bottom = (int(v) for v in rects[0])
        grey = (200, 200, 200)
        for x, y, dx, dy in ((left, top, 1, 0), (left, bottom - 1, 1, 0), (right - 1, top, -1, 0),
                             (right - 1, bottom - 1, -1, 0)):
            # Along the horizontal arm, 10 to 40 pixels from the corner.
            points = [(x + dx * k, y) for k in range(10, 40, 5)]
            near_grey = [p for p in points if all(abs(a - b) <= 40 for a, b in zip(page.pixel(*p), grey))]
            self.assertEqual(near_grey, points, f"mark at corner ({x}, {y}) of page {column},{row}")

    def test_cancel_stops_the_job_and_the_program_stays_usable(self):
        s = self.session
        self.drop_picture_as_poster(90)
        s.driver.command(tw.CLASS, tw.PRINT)
        confirm(self, margins=False)
        # The first pump of the job, inside the first page, takes the Cancel.
        self.assertIsNotNone(s.driver.find_dialog("Printing", timeout=15), "no progress dialog")
        s.driver.click_dialog("Printing", IDCANCEL)
        s.wait_until(lambda: s.driver.find_dialog("Printing", timeout=0) is None, 30, "the job's end")
        # The document was ended: the queue delivers it with the page that was
        # under way, and no further one.
        pdf = s.wait_for_pdf(timeout=120)
        self.assertEqual(pdf_page_count(pdf), 1)
        s.input.click_center(s.driver.rect(tw.CLASS, tw.PRINT))
        self.assertIsNotNone(s.driver.find_dialog("Print", timeout=15), "Print does not answer after Cancel")
        s.driver.click_dialog("Print", IDCANCEL)


class PrintWithoutPrinter(tw.TiloraTestCase):
    printer = False

    def test_print_ends_in_printer_not_found(self):
        s = self.session
        path = os.path.join(s.dir, "small.bmp")
        pictures.write_raster(path, "BMP3", (90, 90, 200), (64, 48))
        s.driver.drop(tw.CLASS, [path])
        s.driver.command(tw.CLASS, tw.PRINT)
        dialog = s.driver.find_dialog("Print", timeout=15)
        self.assertIsNotNone(dialog, "no confirmation dialog")
        self.assertEqual({c["id"]: c["text"] for c in dialog}[CONFIRM_TEXT], "Tiskarna .....")
        s.driver.click_dialog("Print", IDOK)
        box = s.driver.find_dialog(tw.TITLE, timeout=15)
        self.assertIsNotNone(box, "no message box")
        self.assertIn("Printer not found.", [c["text"] for c in box])
        s.driver.click_dialog(tw.TITLE, IDOK)
        s.wait_until(lambda: s.driver.find_dialog(tw.TITLE, timeout=0) is None, 10, "the box is closed")
        self.assertIsNone(s.driver.find_dialog("Printing", timeout=1))


if __name__ == "__main__":
    unittest.main()
