"""The crop tool under real mouse input: a band dragged over the preview's
picture becomes the crop exactly as tilora-cli plan --crop-band maps it (a
band beyond the picture is clamped to it), cropping again narrows again,
Uncrop brings back the first poster, Crop pressed twice and a click without
a drag change nothing, and another program coming forward mid-drag applies
the band."""
import os
import re
import subprocess
import time
import unittest

import tilora_pictures as pictures
import tilora_window as tw
from tilora_jobs import tilora_cli

PICTURE = (400, 300)
WIDTH_CM = 64
PROBE = "tests/e2e/tilora-e2e-probe.exe"
PROBE_CLASS = "TLRAPROBE"


def plan_after_band(image, poster, band, client):
    """The crop and poster tilora-cli plan gives for a band over a preview
    of client size, on the A4 tile the program uses without a printer."""
    out = subprocess.run([tilora_cli(), "plan", "--image", f"{image[0]}x{image[1]}",
                          "--width", f"{poster[0] / 100:.2f}mm", "--height", f"{poster[1] / 100:.2f}mm",
                          "--tile", "%dx%d" % tw.a4_tile(), "--device-tile", "4370x6425",
                          "--preview", f"{client[0]}x{client[1]}",
                          "--crop-band", ",".join(str(v) for v in band)],
                         capture_output=True, text=True, timeout=60, check=True).stdout
    crop = [int(v) for v in re.search(r"^crop (.*)$", out, re.M).group(1).split()]
    new_poster = tuple(int(v) for v in re.search(r"^poster (.*)$", out, re.M).group(1).split())
    return crop, new_poster


class CropTool(tw.TiloraTestCase):
    printer = False

    def setUp(self):
        s = self.session
        path = os.path.join(s.dir, "crop.bmp")
        if not os.path.exists(path):
            pictures.write_raster(path, "BMP3", (200, 120, 40), PICTURE)
        s.driver.drop(tw.CLASS, [path])
        s.input.click_center(s.driver.rect(tw.CLASS, tw.WIDTH_EDIT))
        s.input.key("End", "shift+Home")
        s.input.type(str(WIDTH_CM))
        self.poster = tw.poster_for(PICTURE, width_smm=WIDTH_CM * 1000)
        s.wait_for_text(tw.CLASS, f"{self.poster[1] / 1000:.2f}", tw.HEIGHT_EDIT)

    def layout(self, poster):
        return tw.Layout(tw.preview_size(self.session), poster, tw.a4_tile())

    def shown_poster(self):
        return tuple(tw.smm_from_edit(t) for t in tw.edit_texts(self.session))

    def drag_band(self, start, end, release=True):
        """Clicks Crop and drags from start to end (preview client points)."""
        s = self.session
        s.input.click_center(s.driver.rect(tw.CLASS, tw.CROP))
        origin = tw.preview_origin(s)
        s.input.drag(tw.offset(start, origin), tw.offset(end, origin), release=release)

    def assert_poster(self, expected):
        s = self.session
        s.wait_until(lambda: all(abs(a - b) <= 10 for a, b in zip(self.shown_poster(), expected)), 10,
                     f"the poster {expected}")

    def test_bands_clamp_narrow_and_uncrop_restores(self):
        s = self.session
        client = tw.preview_size(s)
        left, top, right, bottom = self.layout(self.poster).picture
        # From inside the picture to beyond its bottom-right corner.
        band = (left + 40, top + 30, right, bottom)
        self.drag_band((left + 40, top + 30), (right + 60, bottom + 80), release=False)
        time.sleep(0.5)
        s.screenshot("band-in-progress")
        s.input.release()
        crop, poster = plan_after_band(PICTURE, self.poster, band, client)
        self.assertEqual(crop[2:], list(PICTURE), "the band reaches the picture's edges")
        self.assert_poster(poster)

        # Again, over the cropped picture: it narrows once more.
        first_size = (crop[2] - crop[0], crop[3] - crop[1])
        left, top, right, bottom = self.layout(poster).picture
        band = (left, top, (left + right) // 2, (top + bottom) // 2)
        self.drag_band(band[:2], band[2:])
        second, poster2 = plan_after_band(first_size, poster, band, client)
        self.assertLess(second[2] - second[0], first_size[0])
        self.assert_poster(poster2)

        s.input.click_center(s.driver.rect(tw.CLASS, tw.UNCROP))
        self.assert_poster(self.poster)

    def test_crop_twice_and_a_click_change_nothing(self):
        s = self.session
        layout = self.layout(self.poster)
        status = s.driver.text(tw.CLASS, tw.PREVIEW)
        # A click on the picture in crop mode: no band, crop mode ends.
        center = layout.page_center(0, 0)
        self.drag_band(center, center)
        time.sleep(0.5)
        self.assertEqual(self.shown_poster(), self.poster)
        # Crop twice: crop mode is off again, so a click switches a page.
        s.input.click_center(s.driver.rect(tw.CLASS, tw.CROP))
        s.input.click_center(s.driver.rect(tw.CLASS, tw.CROP))
        s.input.click(*tw.offset(center, tw.preview_origin(s)))
        s.wait_until(lambda: s.driver.text(tw.CLASS, tw.PREVIEW) != status, 10, "a page switched off")
        s.input.click(*tw.offset(center, tw.preview_origin(s)))
        s.wait_for_text(tw.CLASS, status, tw.PREVIEW)
        self.assertEqual(self.shown_poster(), self.poster)

    def test_another_program_mid_drag_applies_the_band(self):
        s = self.session
        client = tw.preview_size(s)
        left, top, right, bottom = self.layout(self.poster).picture
        band = (left + 10, top + 10, left + 110, top + 60)
        self.drag_band(band[:2], band[2:], release=False)
        s.start_program(PROBE, window_class=PROBE_CLASS)
        _, poster = plan_after_band(PICTURE, self.poster, band, client)
        self.assert_poster(poster)
        s.input.release()
        s.close_program(PROBE_CLASS)
        s.input.click_center(s.driver.rect(tw.CLASS, tw.UNCROP))
        self.assert_poster(self.poster)


if __name__ == "__main__":
    unittest.main()
