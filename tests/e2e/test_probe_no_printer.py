"""Without any printer the program sees none, and its message box can be
read and answered through the driver."""
import unittest

import probe_window as probe

IDOK = 1


class ProbeNoPrinter(probe.ProbeTestCase):
    printer = False

    def test_no_printer_and_no_default(self):
        self.assertEqual(self.session.driver.printers(), ([], None))
        self.assertIsNone(self.session.driver.printer_caps())

    def test_printer_check_shows_printer_not_found_and_is_answered(self):
        s = self.session
        s.driver.command(probe.CLASS, probe.CMD_CHECK_PRINTER)
        box = s.driver.find_dialog("Tilora", timeout=15)
        self.assertIsNotNone(box, "no message box titled Tilora")
        self.assertIn("Printer not found.", [c["text"] for c in box if c["cls"] == "Static"])
        self.assertIn(IDOK, [c["id"] for c in box if c["cls"] == "Button"])
        s.screenshot("printer-not-found")
        s.driver.click_dialog("Tilora", IDOK)
        s.wait_until(lambda: s.driver.find_dialog("Tilora", timeout=0) is None, 10, "the box to close")
        # The program goes on working once the box is gone.
        s.driver.command(probe.CLASS, probe.CMD_PRINT)
        s.wait_for_text(probe.CLASS, "no printer")


if __name__ == "__main__":
    unittest.main()
