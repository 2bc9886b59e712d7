"""Printing a poster through the real dialogs to the private cups-pdf queue:
the pages in the PDF are those tilora-cli pages renders for the same
printer, poster and page selection, in printing order, with the corner
marks and without the switched-off page; the log holds the same records as
the command line's; Cancel stops a job; without a printer the job ends in
"Printer not found."."""
import os
import re
import subprocess
import time
import unittest

import tilora_pictures as pictures
import tilora_window as tw
from harness import SessionTestCase, pdf_page_count

IDOK, IDCANCEL = 1, 2
PRINT_MARGINS, CONFIRM_TEXT = 1009, 1018
PRINTER_NAME, QUALITY, DOCUMENT, PAGE_COUNTER, NOTE = 1009, 1010, 1007, 1006, 1028
# Taller than wide, so that a 30 cm wide poster covers 2 x 2 pages of the
# cups-pdf queue's A4 tile.
PICTURE = (200, 240)
# A simulated printer with the cups-pdf queue's device: 300 dpi, 2479 x 3508
# device pixels, no offsets.
CLI_PRINTER = ["--dpi", "300", "--paper", "209.905x297.015mm"]
# Records that carry timings or the machine's memory figures.
TIMING = re.compile(r"^(page time \(s\)|image_resize time \(s\)): \d+$")
MEMORY_LABELS = ("Percent of memory in use", "Bytes of physical memory", "Free physical memory bytes",
                 "Bytes of paging file", "Free bytes of paging file", "User bytes of address space",
                 "Free user bytes")


def tilora_cli():
    path = os.environ.get("TILORA_CLI") or os.path.join(os.path.dirname(__file__), "../../build/native/tools/cli/tilora-cli")
    if not os.path.exists(path):
        raise unittest.SkipTest(f"tilora-cli not found at {path} (set TILORA_CLI)")
    return path


def write_picture(path):
    """A horizontal gradient with a square and a disc, so that a part of
    the picture out of place shows."""
    subprocess.run(["convert", "-size", f"{PICTURE[1]}x{PICTURE[0]}", "gradient:rgb(230,60,40)-rgb(40,80,220)",
                    "-rotate", "90", "-fill", "rgb(250,220,40)", "-draw", "rectangle 20,30 80,90",
                    "-fill", "rgb(20,140,60)", "-draw", "circle 140,170 170,200", "-depth", "8", f"BMP3:{path}"],
                   check=True, capture_output=True, timeout=60)


def job_records(text):
    """The records of the last print job, from "print begin" to "print end",
    with the memory reports left out and the timings masked."""
    lines = text.splitlines()
    start = max(i for i, line in enumerate(lines) if line == "print begin")
    records = []
    for line in lines[start:]:
        if line.startswith(MEMORY_LABELS):
            continue
        records.append(TIMING.sub(r"\1: T", line))
        if line == "print end":
            break
    # The memory report ends with an empty line of its own.
    return [line for line in records if line]


def differing_pixels(a, b, fuzz):
    """How many pixels of two PNGs differ by more than fuzz percent."""
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", f"{fuzz}%", a, b, "null:"],
                            capture_output=True, text=True, timeout=120)
    return int(float(result.stderr.split()[0]))


class PrintPoster(SessionTestCase):
    printer = True

    @classmethod
    def start_programs(cls):
        tw.start(cls.session)

    def drop_picture_as_poster(self, width_cm):
        s = self.session
        path = os.path.join(s.dir, "poster.bmp")
        if not os.path.exists(path):
            write_picture(path)
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

    def start_log(self):
        s = self.session
        # F5 typed into a panel edit stays there. A clicked button hands the
        # focus back to the main window, and Uncrop changes nothing here.
        s.input.click_center(s.driver.rect(tw.CLASS, tw.UNCROP))
        time.sleep(0.5)
        s.input.key("F5")
        self.assertIsNotNone(s.driver.find_dialog(tw.TITLE, timeout=15), "no message box after F5")
        s.driver.click_dialog(tw.TITLE, IDOK)
        s.wait_until(lambda: s.driver.find_dialog(tw.TITLE, timeout=0) is None, 10, "the box is closed")

    def confirm(self, margins):
        """Answers the confirmation dialog with Print, ticking "Print margins"
        by a real click when asked; returns the dialog's text."""
        s = self.session
        dialog = s.driver.find_dialog("Print", timeout=15)
        self.assertIsNotNone(dialog, "no confirmation dialog")
        controls = {c["id"]: c for c in dialog}
        if margins:
            s.input.click_center(controls[PRINT_MARGINS]["rect"])
            time.sleep(0.5)  # input reaches the dialog asynchronously
        s.driver.click_dialog("Print", IDOK)
        return controls[CONFIRM_TEXT]["text"]

    def test_printed_pages_match_the_command_line_rendering(self):
        s = self.session
        path, poster = self.drop_picture_as_poster(30)
        tile = tw.printer_tile(s.driver.printer_caps())
        self.assertEqual(tw.pages_needed(poster, tile), (2, 2))
        self.wait_for_pages(4)
        layout = tw.Layout(tw.preview_size(s), poster, tile)
        s.input.click(*tw.offset(layout.page_center(1, 0), tw.preview_origin(s)))
        self.wait_for_pages(3)
        self.start_log()

        s.driver.command(tw.CLASS, tw.PRINT)
        self.assertEqual(self.confirm(margins=True), "TiloraPDF is ready to print 3 page(s)")
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

        with open(tw.documents_log(s), encoding="latin-1") as f:
            log_text = f.read()
        program_log = job_records(log_text)
        job_text = log_text[log_text.rindex("print begin"):]
        self.assertEqual(job_text.count("Percent of memory in use"), 3, "one memory report per printed page")
        poster_line = next(line for line in program_log if line.startswith("g_poster: "))
        margins_line = next(line for line in program_log if line.startswith("g_paper_margin: "))
        width, height = (int(v) for v in poster_line.split(": ")[1].split(", "))
        margins = [int(v) for v in margins_line.split(": ")[1].split(", ")]

        out = os.path.join(s.artifacts, "cli-pages")
        cli = subprocess.run([tilora_cli(), "pages", path, "--width", f"{width / 100:.2f}mm", "--height",
                              f"{height / 100:.2f}mm", "--margins", ",".join(f"{m / 100:g}" for m in margins),
                              *CLI_PRINTER, "--skip", "1,0", "--marks", "--log", "--out", out],
                             capture_output=True, text=True, timeout=300)
        self.assertEqual(cli.returncode, 0, cli.stderr)
        # The same job, record for record: device, model, tile, order of
        # pages, every rectangle; only the timings differ.
        self.assertEqual(program_log, job_records(cli.stderr))
        order = [tuple(int(v) for v in m) for m in re.findall(r"page_x: (\d+), page_y: (\d+)", log_text)]
        self.assertEqual(order, [(0, 0), (0, 1), (1, 1)])

        printed = s.pdf_pages(pdf, 300)
        for page, (column, row) in zip(printed, order):
            rendered = os.path.join(out, f"page-{column}-{row}.png")
            # pdftoppm rounds the A4 page up to 2480 x 3509 pixels at 300 dpi;
            # the sheet is the device's 2479 x 3508 from its top-left corner.
            self.assertEqual((page.width, page.height), (2480, 3509))
            sheet = page.path[:-4] + "-sheet.png"
            subprocess.run(["convert", page.path, "-crop", "2479x3508+0+0", "+repage", sheet], check=True,
                           timeout=120)
            # The PDF's image edges gain a pixel in pdftoppm and its colours
            # move a little in the PDF round trip; anything out of place
            # would differ over whole rows or columns of the part.
            differing = differing_pixels(sheet, rendered, 6)
            self.assertLess(differing, 12000, f"page {column},{row} differs from {rendered} in {differing} pixels")
            self.check_marks(page, column, row, log_text)
        self.assertFalse(os.path.exists(os.path.join(out, "page-1-0.png")))

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
        self.confirm(margins=False)
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


class PrintWithoutPrinter(SessionTestCase):
    printer = False

    @classmethod
    def start_programs(cls):
        tw.start(cls.session)

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
