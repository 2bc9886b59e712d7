"""Screenshots show what the program painted, at the screen coordinates
the driver reports; a window frame dragged with the mouse obeys the
program's minimum size."""
import unittest

import probe_window as probe
from harness import close_to


class ProbeScreen(probe.ProbeTestCase):
    printer = False

    def test_painted_square_is_where_the_client_area_is(self):
        s = self.session
        left, top, right, bottom = s.driver.client_rect(probe.CLASS)
        shot = s.screenshot("probe")
        self.assertEqual((shot.width, shot.height), (1280, 1024))
        sl, st, sr, sb = probe.SQUARE_RECT
        self.assertEqual(shot.pixel(left + (sl + sr) // 2, top + (st + sb) // 2), probe.SQUARE)
        # The square's edges, exactly: first and last pixel inside, the next outside.
        self.assertEqual(shot.pixel(left + sl, top + st), probe.SQUARE)
        self.assertEqual(shot.pixel(left + sr - 1, top + sb - 1), probe.SQUARE)
        self.assertEqual(shot.pixel(left + sr, top + sb - 1), probe.BACKGROUND)
        self.assertEqual(shot.pixel(left + sl - 1, top + st), probe.BACKGROUND)
        self.assertEqual(shot.count(probe.SQUARE, (left, top, right, bottom)), (sr - sl) * (sb - st))
        # Outside the window the screen stays black: nothing else is drawn.
        wl, wt, wr, wb = s.driver.rect(probe.CLASS)
        self.assertEqual(shot.pixel(wr + 5, wb + 5), (0, 0, 0))

    def test_frame_drag_stops_at_minimum_size_and_grows_freely(self):
        s = self.session
        left, top, right, bottom = s.driver.rect(probe.CLASS)
        s.input.drag((right - 2, bottom - 2), (left + 100, top + 100))
        min_w, min_h = probe.MIN_TRACK_SIZE
        s.wait_until(lambda: s.driver.rect(probe.CLASS) == (left, top, left + min_w, top + min_h), 10,
                     f"the window at its minimum size, not {s.driver.rect(probe.CLASS)}")
        s.input.drag((left + min_w - 2, top + min_h - 2), (left + min_w + 98, top + min_h + 48))
        s.wait_until(lambda: s.driver.rect(probe.CLASS) == (left, top, left + min_w + 100, top + min_h + 50),
                     10, f"the window grown by the drag, not {s.driver.rect(probe.CLASS)}")
        shot = s.screenshot("probe-resized")
        cl, ct, cr, cb = s.driver.client_rect(probe.CLASS)
        self.assertTrue(close_to(shot.pixel(cr - 3, cb - 3), probe.BACKGROUND),
                        "the grown client area is painted")


if __name__ == "__main__":
    unittest.main()
