"""A page printed on the session's default printer (the private cups-pdf
queue) arrives as a one-page PDF with its shapes where they were drawn."""
import subprocess
import time
import unittest

import probe_window as probe
from harness import pdf_page_count

RENDER_DPI = 75


def inch_rect(rect):
    return tuple(round(v * RENDER_DPI) for v in rect)


class ProbePrint(probe.ProbeTestCase):
    printer = True

    def test_the_private_queue_is_the_only_and_default_printer(self):
        self.assertEqual(self.session.driver.printers(), (["TiloraPDF"], "TiloraPDF"))

    def test_default_printer_device_is_a4_at_300_dpi_without_offsets(self):
        caps = self.session.driver.printer_caps()
        self.assertEqual(caps["device"], "TiloraPDF")
        self.assertEqual((caps["LOGPIXELSX"], caps["LOGPIXELSY"]), (300, 300))
        self.assertEqual((caps["PHYSICALWIDTH"], caps["PHYSICALHEIGHT"]), (2479, 3508))
        self.assertEqual((caps["HORZRES"], caps["VERTRES"]), (2479, 3508))
        self.assertEqual((caps["PHYSICALOFFSETX"], caps["PHYSICALOFFSETY"]), (0, 0))
        self.assertGreater(caps["papers"], 10)

    def test_printed_page_reaches_the_pdf_with_its_shapes_in_place(self):
        s = self.session
        started = time.monotonic()
        s.driver.command(probe.CLASS, probe.CMD_PRINT)
        s.wait_for_text(probe.CLASS, "printed", timeout=60)
        pdf = s.wait_for_pdf(timeout=60)
        print(f"page reached the PDF {time.monotonic() - started:.1f} s after the print command")
        self.assertEqual(pdf_page_count(pdf), 1)
        page = s.pdf_pages(pdf, RENDER_DPI)[0]
        self.assertEqual((page.width, page.height), (620, 878))
        # FillRect lands exactly; the band sent line by line may gain a
        # partial pixel at its edges when rendered at a quarter of 300 dpi.
        self.assertEqual(page.bounds(probe.PRINT_RED, 40), inch_rect(probe.PRINT_RED_RECT))
        blue = page.bounds(probe.PRINT_BLUE, 40)
        for got, want in zip(blue, inch_rect(probe.PRINT_BLUE_RECT)):
            self.assertLessEqual(abs(got - want), 1, f"blue band at {blue}")
        text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True).stdout
        self.assertIn("Tilora probe page", text)
        self.check_band_at_device_resolution(pdf)

    def check_band_at_device_resolution(self, pdf):
        """At the printer's own 300 dpi the band sent line by line is one
        solid block where it was sent: every row there, no gap, no seam."""
        left, top, right, bottom = (round(v * 300) for v in probe.PRINT_BLUE_RECT)
        margin = 20
        area = (left - margin, top - margin, right + margin, bottom + margin)
        band = self.session.pdf_pages(pdf, 300, area)[0]
        got = band.bounds(probe.PRINT_BLUE, 40)
        self.assertEqual(got[:2], (margin, margin))
        # pdftoppm draws an image one pixel past its right and bottom edges.
        self.assertIn(got[2] - got[0] - (right - left), (0, 1), f"band at {got}")
        self.assertIn(got[3] - got[1] - (bottom - top), (0, 1), f"band at {got}")
        self.assertEqual(band.count(probe.PRINT_BLUE, tolerance=40), (got[2] - got[0]) * (got[3] - got[1]))

if __name__ == "__main__":
    unittest.main()
