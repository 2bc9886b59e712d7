"""Tilora starts with its start-up picture centred on a grid of A4 pages of
the default printer, the children where they belong, and keeps the left
column fixed while the window is resized, never below 600 x 450."""
import unittest

import tilora_window as tw
from harness import close_to

STARTUP_PICTURE = (3705, 2565)


class Startup(tw.TiloraTestCase):
    printer = True

    def client(self):
        return self.session.driver.client_rect(tw.CLASS)

    def misplaced_children(self):
        """(id, rectangle, expected) of every child away from its place."""
        s = self.session
        left, top, right, bottom = self.client()
        width, height = right - left, bottom - top
        children = {c["id"]: c for c in s.driver.children(tw.CLASS)}
        # A button's window is its face, larger than its plate by the shadow.
        expected = {child_id: tw.button_window(plate) for child_id, plate in tw.button_plates(s).items()}
        x, y, w, h = tw.LEFT_COLUMN[tw.PANEL]
        expected[tw.PANEL] = (left + x, top + y, left + x + w, top + y + h)
        expected[tw.PREVIEW] = (left + 191, top + 46, left + 191 + width - 198, top + 46 + height - 53)
        return [(i, children[i]["rect"], r) for i, r in expected.items() if children[i]["rect"] != r]

    def test_children_classes_texts_and_places(self):
        self.assertEqual(self.misplaced_children(), [])
        children = {c["id"]: c for c in self.session.driver.children(tw.CLASS)}
        self.assertEqual(self.session.driver.text(tw.CLASS), tw.TITLE)
        self.assertEqual(children[tw.PREVIEW]["cls"], "TLRAPREVIEW")
        self.assertEqual(children[tw.PANEL]["cls"], "TLRAPSIZE")
        for child_id, text in tw.BUTTON_TEXTS.items():
            self.assertEqual((children[child_id]["cls"], children[child_id]["text"]), (tw.BUTTON_CLASS, text))

    def test_startup_picture_centred_on_a4_pages_of_the_printer(self):
        s = self.session
        tile = tw.printer_tile(s.driver.printer_caps())
        # The picture is wider than tall: the width keeps its 64 cm.
        poster = tw.poster_for(STARTUP_PICTURE, width_smm=64000)
        self.assertEqual(tw.edit_texts(s), ("64.00", f"{poster[1] / 1000:.2f}"))
        layout = tw.Layout(tw.preview_size(s), poster, tile)
        columns, rows = layout.pages
        s.wait_for_text(tw.CLASS, tw.status_text(columns * rows, "A4"), tw.PREVIEW)

        shot = s.screenshot("startup")
        origin = tw.preview_origin(s)
        left, top, right, bottom = tw.offset(layout.picture, origin)
        grid = tw.offset(layout.grid, origin)
        # The picture fills its rectangle; the grid around it is white.
        # A row of the picture away from every horizontal outline.
        lines = [y + origin[1] for y in layout.horizontal_lines()]
        middle_y = next(y for y in range((top + bottom) // 2, top, -1) if all(abs(y - line) > 1 for line in lines))
        self.assertFalse(close_to(shot.pixel(left + 3, middle_y), tw.WHITE, 10))
        self.assertFalse(close_to(shot.pixel(right - 3, middle_y), tw.WHITE, 10))
        if left - grid[0] > 3:
            self.assertEqual(shot.pixel(left - 2, middle_y), tw.WHITE)
        if top - grid[1] > 3:
            self.assertEqual(shot.pixel((left + right) // 2 + 2, top - 2), tw.WHITE)
        # Every page outline where the layout puts it.
        y = layout.page_center(0, rows - 1)[1] + origin[1]
        for x in layout.vertical_lines():
            self.assertEqual(shot.pixel(x + origin[0], y), tw.OUTLINE, f"vertical line at {x}")
        x = layout.page_center(columns - 1, 0)[0] + origin[0]
        for y in layout.horizontal_lines():
            self.assertEqual(shot.pixel(x, y + origin[1]), tw.OUTLINE, f"horizontal line at {y}")
        # The status strip holds its text in the strip's grey.
        strip = (origin[0] + 1, origin[1] + tw.preview_size(s)[1] - 20, origin[0] + tw.preview_size(s)[0] - 1,
                 origin[1] + tw.preview_size(s)[1] - 1)
        self.assertGreater(shot.count(tw.OUTLINE, strip, 20), 20, "the status text is drawn")
        self.assertGreater(shot.count(tw.STRIP, strip), (strip[2] - strip[0]) * 10)

    def test_resizing_keeps_the_left_column_and_stops_at_the_minimum(self):
        s = self.session
        wl, wt, wr, wb = s.driver.rect(tw.CLASS)
        s.driver.move(tw.CLASS, wl, wt, 1000, 760)
        s.wait_until(lambda: s.driver.rect(tw.CLASS) == (wl, wt, wl + 1000, wt + 760), 10, "the new size")
        s.wait_until(lambda: not self.misplaced_children(), 5, f"the layout: {self.misplaced_children()}")
        # Dragging the frame's corner far up and left stops at 600 x 450.
        s.input.drag((wl + 998, wt + 758), (wl + 100, wt + 100))
        min_w, min_h = tw.MIN_SIZE
        s.wait_until(lambda: s.driver.rect(tw.CLASS) == (wl, wt, wl + min_w, wt + min_h), 10,
                     f"the minimum size, not {s.driver.rect(tw.CLASS)}")
        self.assertEqual(self.misplaced_children(), [])
        # The preview is laid out again for its new size.
        layout = tw.Layout(tw.preview_size(s), tw.poster_for(STARTUP_PICTURE, width_smm=64000),
                           tw.printer_tile(s.driver.printer_caps()))
        shot = s.screenshot("minimum-size")
        origin = tw.preview_origin(s)
        x = layout.vertical_lines()[1] + origin[0]
        self.assertEqual(shot.pixel(x, layout.page_center(0, 0)[1] + origin[1]), tw.OUTLINE)
        s.driver.move(tw.CLASS, wl, wt, wr - wl, wb - wt)
        s.wait_until(lambda: s.driver.rect(tw.CLASS) == (wl, wt, wr, wb), 10, "the first size again")


if __name__ == "__main__":
    unittest.main()
