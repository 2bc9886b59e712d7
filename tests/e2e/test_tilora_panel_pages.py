"""The poster-size panel and the preview's pages under real mouse and
keyboard input: typing a width sets the height and the page grid, letters
never reach the edits, Tab moves between them, and a click on a page
crosses it out and takes it off the page count until it is clicked again."""
import unittest

import tilora_window as tw
from harness import SessionTestCase

STARTUP_PICTURE = (3705, 2565)


class PanelAndPages(SessionTestCase):
    printer = False

    @classmethod
    def start_programs(cls):
        tw.start(cls.session)

    def type_into_width(self, text):
        """Clicks into the width edit, selects its text and types over it."""
        s = self.session
        s.input.click_center(s.driver.rect(tw.CLASS, tw.WIDTH_EDIT))
        s.input.key("End", "shift+Home")
        s.input.type(text)

    def current_layout(self):
        s = self.session
        poster = tuple(tw.smm_from_edit(t) for t in tw.edit_texts(s))
        return tw.Layout(tw.preview_size(s), poster, tw.a4_tile())

    def test_typed_width_sets_height_and_pages_and_letters_are_dropped(self):
        s = self.session
        self.type_into_width("9x0")
        s.wait_for_text(tw.CLASS, "90", tw.WIDTH_EDIT)
        height = tw.poster_for(STARTUP_PICTURE, width_smm=90000)[1]
        s.wait_for_text(tw.CLASS, f"{height / 1000:.2f}", tw.HEIGHT_EDIT)
        layout = tw.Layout(tw.preview_size(s), (90000, height), tw.a4_tile())
        self.assertEqual(layout.pages, (5, 3))
        s.wait_for_text(tw.CLASS, tw.status_text(15, ""), tw.PREVIEW)
        # Each keystroke that leaves a valid number sets the poster; 20000 cm,
        # beyond 100 m, is refused as a whole and the poster stays 2000 cm wide.
        self.type_into_width("20000")
        s.wait_for_text(tw.CLASS, "20000", tw.WIDTH_EDIT)
        poster = tw.poster_for(STARTUP_PICTURE, width_smm=2000000)
        s.wait_for_text(tw.CLASS, f"{poster[1] / 1000:.2f}", tw.HEIGHT_EDIT)
        columns, rows = tw.pages_needed(poster, tw.a4_tile())
        self.assertEqual(s.driver.text(tw.CLASS, tw.PREVIEW), tw.status_text(columns * rows, ""))
        self.type_into_width("64")
        s.wait_for_text(tw.CLASS, f"{tw.poster_for(STARTUP_PICTURE, width_smm=64000)[1] / 1000:.2f}",
                        tw.HEIGHT_EDIT)

    def test_tab_and_shift_tab_move_between_the_edits(self):
        s = self.session
        self.type_into_width("64")
        s.input.key("Tab")
        s.input.type("50")
        s.wait_for_text(tw.CLASS, "50", tw.HEIGHT_EDIT)
        width = tw.poster_for(STARTUP_PICTURE, height_smm=50000)[0]
        s.wait_for_text(tw.CLASS, f"{width / 1000:.2f}", tw.WIDTH_EDIT)
        s.input.key("shift+Tab")
        s.input.type("64")
        s.wait_for_text(tw.CLASS, "64", tw.WIDTH_EDIT)
        s.wait_for_text(tw.CLASS, f"{tw.poster_for(STARTUP_PICTURE, width_smm=64000)[1] / 1000:.2f}",
                        tw.HEIGHT_EDIT)

    def test_clicked_page_is_crossed_out_until_clicked_again(self):
        s = self.session
        layout = self.current_layout()
        columns, rows = layout.pages
        all_pages = tw.status_text(columns * rows, "")
        s.wait_for_text(tw.CLASS, all_pages, tw.PREVIEW)
        origin = tw.preview_origin(s)
        left, top, right, bottom = tw.offset(layout.page_cell(0, 0), origin)
        # A point on the page's diagonal, away from the other diagonal.
        diagonal = (left + (right - left) // 4, top + (bottom - top) // 4)

        s.input.click(*tw.offset(layout.page_center(0, 0), origin))
        s.wait_for_text(tw.CLASS, tw.status_text(columns * rows - 1, ""), tw.PREVIEW)
        shot = s.screenshot("page-off")
        near = [(diagonal[0] + dx, diagonal[1] + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)]
        self.assertTrue(any(shot.pixel(*p) == tw.CROSS for p in near), "the page is crossed out")

        s.input.click(*tw.offset(layout.page_center(0, 0), origin))
        s.wait_for_text(tw.CLASS, all_pages, tw.PREVIEW)
        shot = s.screenshot("page-on")
        self.assertFalse(any(shot.pixel(*p) == tw.CROSS for p in near), "the cross is gone")

    def test_clicks_beside_the_grid_change_nothing(self):
        s = self.session
        layout = self.current_layout()
        columns, rows = layout.pages
        all_pages = tw.status_text(columns * rows, "")
        origin = tw.preview_origin(s)
        grid_left, grid_top, grid_right, grid_bottom = tw.offset(layout.grid, origin)
        for x, y in ((grid_left - 3, grid_top + 20), (grid_left + 20, grid_top - 3),
                     (grid_right + 1, grid_top + 20), (grid_left + 20, grid_bottom + 1)):
            s.input.click(x, y)
        # A page click after them shows that every click before it was taken.
        s.input.click(*tw.offset(layout.page_center(columns - 1, rows - 1), origin))
        s.wait_for_text(tw.CLASS, tw.status_text(columns * rows - 1, ""), tw.PREVIEW)
        s.input.click(*tw.offset(layout.page_center(columns - 1, rows - 1), origin))
        s.wait_for_text(tw.CLASS, all_pages, tw.PREVIEW)


if __name__ == "__main__":
    unittest.main()
