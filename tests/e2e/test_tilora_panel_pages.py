"""The poster-size panel and the preview's pages under real mouse and
keyboard input: typing a width sets the height and the page grid, letters
never reach the edits, Tab moves between them, and a click on a page
crosses it out and takes it off the page count until it is clicked again."""
import os
import unittest

import tilora_pictures as pictures
import tilora_window as tw

# Every test starts from this picture, 64 cm wide.
PICTURE = (320, 200)


class PanelAndPages(tw.TiloraTestCase):
    printer = False

    def setUp(self):
        s = self.session
        path = os.path.join(s.dir, "panel.bmp")
        if not os.path.exists(path):
            pictures.write_raster(path, "BMP3", (90, 90, 200), PICTURE)
        s.driver.drop(tw.CLASS, [path])
        self.type_into_width("64")
        s.wait_for_text(tw.CLASS, self.height_text(64000), tw.HEIGHT_EDIT)

    @staticmethod
    def height_text(width_smm, picture=PICTURE):
        return f"{tw.poster_for(picture, width_smm=width_smm)[1] / 1000:.2f}"

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
        height = tw.poster_for(PICTURE, width_smm=90000)[1]
        s.wait_for_text(tw.CLASS, self.height_text(90000), tw.HEIGHT_EDIT)
        layout = tw.Layout(tw.preview_size(s), (90000, height), tw.a4_tile())
        self.assertEqual(layout.pages, (5, 3))
        s.wait_for_text(tw.CLASS, tw.status_text(15, "A4"), tw.PREVIEW)
        # Each keystroke that leaves a valid number sets the poster; 20000 cm,
        # beyond 100 m, is refused as a whole and the poster stays 2000 cm wide.
        self.type_into_width("20000")
        s.wait_for_text(tw.CLASS, "20000", tw.WIDTH_EDIT)
        poster = tw.poster_for(PICTURE, width_smm=2000000)
        s.wait_for_text(tw.CLASS, f"{poster[1] / 1000:.2f}", tw.HEIGHT_EDIT)
        columns, rows = tw.pages_needed(poster, tw.a4_tile())
        self.assertEqual(s.driver.text(tw.CLASS, tw.PREVIEW), tw.status_text(columns * rows, "A4"))

    def test_tab_and_shift_tab_move_between_the_edits(self):
        s = self.session
        s.input.key("Tab")
        s.input.type("50")
        s.wait_for_text(tw.CLASS, "50", tw.HEIGHT_EDIT)
        width = tw.poster_for(PICTURE, height_smm=50000)[0]
        s.wait_for_text(tw.CLASS, f"{width / 1000:.2f}", tw.WIDTH_EDIT)
        s.input.key("shift+Tab")
        s.input.type("64")
        s.wait_for_text(tw.CLASS, "64", tw.WIDTH_EDIT)
        s.wait_for_text(tw.CLASS, self.height_text(64000), tw.HEIGHT_EDIT)

    def test_clicked_page_is_crossed_out_until_clicked_again(self):
        s = self.session
        layout = self.current_layout()
        columns, rows = layout.pages
        all_pages = tw.status_text(columns * rows, "A4")
        s.wait_for_text(tw.CLASS, all_pages, tw.PREVIEW)
        origin = tw.preview_origin(s)
        left, top, right, bottom = tw.offset(layout.page_cell(0, 0), origin)
        # A point on the page's diagonal, away from the other diagonal.
        diagonal = (left + (right - left) // 4, top + (bottom - top) // 4)

        s.input.click(*tw.offset(layout.page_center(0, 0), origin))
        s.wait_for_text(tw.CLASS, tw.status_text(columns * rows - 1, "A4"), tw.PREVIEW)
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
        all_pages = tw.status_text(columns * rows, "A4")
        origin = tw.preview_origin(s)
        grid_left, grid_top, grid_right, grid_bottom = tw.offset(layout.grid, origin)
        for x, y in ((grid_left - 3, grid_top + 20), (grid_left + 20, grid_top - 3),
                     (grid_right + 1, grid_top + 20), (grid_left + 20, grid_bottom + 1)):
            s.input.click(x, y)
        # A page click after them shows that every click before it was taken.
        s.input.click(*tw.offset(layout.page_center(columns - 1, rows - 1), origin))
        s.wait_for_text(tw.CLASS, tw.status_text(columns * rows - 1, "A4"), tw.PREVIEW)
        s.input.click(*tw.offset(layout.page_center(columns - 1, rows - 1), origin))
        s.wait_for_text(tw.CLASS, all_pages, tw.PREVIEW)

    def test_switched_off_pages_stay_off_while_the_grid_keeps_its_size(self):
        s = self.session
        layout = self.current_layout()
        columns, rows = layout.pages
        origin = tw.preview_origin(s)
        s.input.click(*tw.offset(layout.page_center(1, 0), origin))
        s.wait_for_text(tw.CLASS, tw.status_text(columns * rows - 1, "A4"), tw.PREVIEW)
        # Another picture on the same grid keeps the selection.
        path = os.path.join(s.dir, "same-grid.bmp")
        pictures.write_raster(path, "BMP3", (10, 200, 30), (300, 200))
        s.driver.drop(tw.CLASS, [path])
        s.wait_for_text(tw.CLASS, self.height_text(64000, (300, 200)), tw.HEIGHT_EDIT)
        self.assertEqual(tw.pages_needed((64000, tw.poster_for((300, 200), width_smm=64000)[1]), tw.a4_tile()),
                         (columns, rows))
        self.assertEqual(s.driver.text(tw.CLASS, tw.PREVIEW), tw.status_text(columns * rows - 1, "A4"))
        # A poster on another grid selects every page again.
        self.type_into_width("100")
        wider = tw.pages_needed((100000, tw.poster_for((300, 200), width_smm=100000)[1]), tw.a4_tile())
        s.wait_for_text(tw.CLASS, tw.status_text(wider[0] * wider[1], "A4"), tw.PREVIEW)

    def test_cleared_edit_keeps_the_poster_and_uncrop_writes_it_back(self):
        s = self.session
        height = s.driver.text(tw.CLASS, tw.HEIGHT_EDIT)
        status = s.driver.text(tw.CLASS, tw.PREVIEW)
        s.input.key("End", "shift+Home", "BackSpace")
        s.wait_for_text(tw.CLASS, "", tw.WIDTH_EDIT)
        self.assertEqual(s.driver.text(tw.CLASS, tw.HEIGHT_EDIT), height)
        self.assertEqual(s.driver.text(tw.CLASS, tw.PREVIEW), status)
        # Crop pressed twice and an id outside the table change nothing.
        for command in (tw.CROP, tw.CROP, 999):
            s.driver.command(tw.CLASS, command)
        s.driver.command(tw.CLASS, tw.UNCROP)
        s.wait_for_text(tw.CLASS, "64.00", tw.WIDTH_EDIT)
        self.assertEqual(s.driver.text(tw.CLASS, tw.HEIGHT_EDIT), height)
        self.assertEqual(s.driver.text(tw.CLASS, tw.PREVIEW), status)
        self.assertIsNone(s.driver.find_dialog(tw.TITLE, timeout=0))


if __name__ == "__main__":
    unittest.main()
