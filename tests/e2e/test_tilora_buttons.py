"""The splash and the skinned buttons. Before the main window shows, the
splash fades in, stays 3.5 seconds and is gone; then every button shows its
caption on its face, takes another look under the pointer and again when
pressed, runs its command only when released over it, the right-hand ones
show tooltips, and the keyboard reaches the buttons with Tab."""
import unittest

import tilora_window as tw
from harness import SessionTestCase, close_to

SPLASH_CLASS = "TLRAMAINFRAME_INTRO"
SPLASH_PICTURE = (514, 384)
DRIVER = "tests/e2e/tilora-e2e-driver.exe"
# The alpha values of the fade: 5 percent more every step.
FADE = [p * 255 // 100 for p in range(0, 101, 5)]
IDCANCEL = 2


def watch_events(log):
    """The watcher's lines as (event, numbers...)."""
    return [(line.split()[0], *map(int, line.split()[1:])) for line in log.splitlines()[1:] if line.strip()]


def light_pixels(shot, rect):
    """(count, centre) of the caption's light pixels inside rect."""
    xs, ys = [], []
    for y in range(rect[1], rect[3]):
        for x in range(rect[0], rect[2]):
            if min(shot.pixel(x, y)) > 200:
                xs.append(x)
                ys.append(y)
    return len(xs), ((min(xs) + max(xs)) / 2, (min(ys) + max(ys)) / 2) if xs else None


def differing(a, b, rect):
    return sum(a.pixel(x, y) != b.pixel(x, y) for y in range(rect[1], rect[3]) for x in range(rect[0], rect[2]))


def inset(rect, by):
    return (rect[0] + by, rect[1] + by, rect[2] - by, rect[3] - by)


def centre(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


class Buttons(SessionTestCase):
    printer = False

    @classmethod
    def start_programs(cls):
        s = cls.session
        cls.watch = s.start_program(DRIVER, "watch", SPLASH_CLASS, tw.CLASS, 120)
        s.wait_until(lambda: "ready" in cls.watch.log(), 60, "the watcher")
        s.driver.reg_set(tw.SETTINGS_KEY, "metric", "1")
        program = s.start_program(tw.PROGRAM)
        program.window_class = tw.CLASS
        s.wait_until(lambda: "alpha 255" in cls.watch.log(), 60, "an opaque splash")
        cls.splash_shot = s.screenshot("splash")
        cls.splash_rects = (s.driver.rect(SPLASH_CLASS), s.driver.client_rect(SPLASH_CLASS))
        cls.splash_up_after = cls.watch.log()
        tw.wait_ready(s)
        cls.plates = tw.button_plates(s)
        cls.rest = (lambda l, t, r, b: (l + 90, t + 420))(*s.driver.client_rect(tw.CLASS))

    def setUp(self):
        # The pointer away from every button, the keyboard with the main window.
        self.session.input.click(*self.rest)

    def test_splash_fades_in_stays_and_is_gone_before_the_main_window(self):
        s = self.session
        self.assertTrue(s.driver.wait_gone(SPLASH_CLASS, 5), "the splash is still up")
        s.wait_until(lambda: "other" in self.watch.log(), 10, "the watcher to see the main window")
        events = watch_events(self.watch.log())
        times = {e[0]: e[-1] for e in reversed(events)}
        alphas = [e[1] for e in events if e[0] == "alpha"]
        self.assertEqual(alphas, sorted(alphas))
        self.assertLessEqual(set(alphas), set(FADE), alphas)
        self.assertEqual(alphas[-1], 255)
        self.assertGreaterEqual(len(alphas), 5, "the fade goes in steps")
        # 20 steps 20 ms apart; the splash was up when opaque, and 3.5 s in all.
        opaque = next(e[-1] for e in events if e[:2] == ("alpha", 255))
        self.assertGreaterEqual(opaque - times["shown"], 19 * 20 - 20)
        self.assertNotIn("gone", self.splash_up_after)
        self.assertGreaterEqual(times["gone"] - times["shown"], 3500 - 20)
        self.assertNotIn("together", times, "splash and main window were up together")
        self.assertLessEqual(times["gone"], times["other"])

        # Centred on the screen: the picture with the version, the notice
        # line and the web address in the white band beneath it.
        (wl, wt, wr, wb), (left, top, right, bottom) = self.splash_rects
        shot = self.splash_shot
        self.assertEqual((right - left, bottom - top), SPLASH_PICTURE)
        self.assertEqual((wl + wr - shot.width, wt + wb - shot.height), (0, 0))
        self.assertFalse(close_to(shot.pixel(left + 180, top + 110), tw.WHITE, 30))
        w = SPLASH_PICTURE[0]
        dark = (0, 0, 0)
        self.assertGreater(shot.count(dark, (left + 11, top + 365, left + 300, top + 384), 90), 60, "notice")
        self.assertGreater(shot.count(dark, (left + w - 120, top + 365, left + w - 11, top + 384), 90), 30, "web")
        self.assertGreater(shot.count(tw.OUTLINE, (left + w - 100, top + 340, left + w - 11, top + 360), 40), 15,
                           "version")
        self.assertEqual(shot.count(tw.WHITE, (left + 11, top + 330, left + w - 100, top + 360)),
                         (w - 111) * 30, "nothing else in the band")
        self.assertEqual(shot.count(tw.WHITE, (left + w - 10, top + 330, right, bottom)), 10 * 54)

    def test_captions_on_their_faces(self):
        s = self.session
        shot = s.screenshot("buttons")
        for button, plate in self.plates.items():
            with self.subTest(tw.BUTTON_TEXTS[button]):
                # The strip's captions are centred in its 150 columns: a wide
                # plate shows them flush left, a narrow one their middle.
                width = plate[2] - plate[0]
                light, middle = light_pixels(shot, plate)
                self.assertGreater(light, 15)
                self.assertAlmostEqual(middle[0], plate[0] + (75 if width >= 150 else width / 2), delta=4)
                self.assertAlmostEqual(middle[1], plate[1] + 13, delta=4)
                # The plate around the caption is tinted: blue, Print red.
                r, g, b = shot.pixel(plate[0] + 3, plate[1] + 13)
                self.assertTrue(r > b > g if button == tw.PRINT else b > g > r, (r, g, b))

    def test_hover_and_press_change_the_face_and_only_a_release_over_it_clicks(self):
        s = self.session
        plate = self.plates[tw.OPEN]
        away = (plate[0] + 60, plate[3] + 60)
        normal = s.screenshot("button-normal")
        s.input.move(*centre(plate))
        s.wait_until(lambda: differing(s.screenshot("button-hover"), normal, plate) > 500, 5, "the hovered face")
        hover = s.screenshot("button-hover")
        self.assertGreater(differing(hover, normal, inset(plate, 4)), (plate[2] - plate[0] - 8) * 10)
        s.input.press(*centre(plate))
        s.wait_until(lambda: differing(s.screenshot("button-pressed"), hover, plate) > 500, 5, "the pressed face")
        # Dragged off and released: no command.
        s.input.move(*away)
        s.input.release()
        self.assertIsNone(s.driver.find_dialog("Open", timeout=3))
        # Off and back on before the release: the command.
        s.input.press(*centre(plate))
        s.input.move(*away)
        s.input.move(*centre(plate))
        s.input.release()
        self.assertIsNotNone(s.driver.find_dialog("Open", timeout=15), "no Open dialog")
        s.driver.click_dialog("Open", IDCANCEL)
        s.wait_until(lambda: s.driver.find_dialog("Open", timeout=0) is None, 10, "the Open dialog to close")

    def test_tooltip_over_a_right_hand_button(self):
        s = self.session
        s.input.move(*centre(self.plates[tw.HELP]))
        s.input.move(*(c + 1 for c in centre(self.plates[tw.HELP])))
        self.assertTrue(s.driver.wait_window("tooltips_class32", 10), "no tooltip")
        s.wait_for_text("tooltips_class32", "Help")
        s.screenshot("tooltip")
        s.input.move(*self.rest)

    def test_tab_reaches_the_buttons_and_enter_or_space_click_them(self):
        s = self.session
        before = s.screenshot("focus-none")
        s.input.key("Tab")
        s.wait_until(lambda: self.focus() == tw.OPEN, 5, "Open focused")
        # The focused button shows it on its plate.
        plate = self.plates[tw.OPEN]
        s.wait_until(lambda: differing(s.screenshot("focus-open"), before, plate) > 50, 5, "the focus mark")
        s.input.key("Tab", "Tab")
        s.wait_until(lambda: self.focus() == tw.SCAN_SELECT, 5, "Scan Select focused")
        s.input.key("shift+Tab", "shift+Tab", "shift+Tab")
        s.wait_until(lambda: self.focus() == tw.HELP, 5, "Help focused, round the end")
        # Back past Options, Web and Poster Extras.
        s.input.key("shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab")
        s.wait_until(lambda: self.focus() == tw.PRINT, 5, "Print focused")
        # Print asks for confirmation: once by Space, once by Enter.
        for key in ("space", "Return"):
            s.input.key(key)
            self.assertIsNotNone(s.driver.find_dialog("Print", timeout=10), f"no confirmation after {key}")
            s.driver.click_dialog("Print", IDCANCEL)
            s.wait_until(lambda: s.driver.find_dialog("Print", timeout=0) is None, 10, "the dialog to close")
            s.input.click(*self.rest)
            s.input.key("shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab")
            s.wait_until(lambda: self.focus() == tw.PRINT, 5, "Print focused again")

    def focus(self):
        return self.session.driver.focus(tw.CLASS)


if __name__ == "__main__":
    unittest.main()
