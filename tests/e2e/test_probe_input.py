"""Real mouse and keyboard input reaches a program, and the driver reads
the result back."""
import unittest

import probe_window as probe


class ProbeInput(probe.ProbeTestCase):
    printer = False

    def replace_edit_text(self, text):
        """Clicks into the edit, selects its whole text and types over it."""
        s = self.session
        s.input.click_center(s.driver.rect(probe.CLASS, probe.EDIT))
        s.input.key("End", "shift+Home")
        s.input.type(text)
        return s.wait_for_text(probe.CLASS, text, probe.EDIT)

    def test_click_on_button_runs_its_command(self):
        s = self.session
        self.replace_edit_text("before")
        s.input.click_center(s.driver.rect(probe.CLASS, probe.BUTTON))
        s.wait_for_text(probe.CLASS, "clicked", probe.EDIT)

    def test_typed_text_arrives_in_the_focused_edit(self):
        self.assertEqual(self.replace_edit_text("Width 42,50 cm"), "Width 42,50 cm")

    def test_tab_moves_the_focus_to_the_next_control(self):
        s = self.session
        self.replace_edit_text("x")
        s.input.key("Tab", "space")
        s.wait_for_text(probe.CLASS, "clicked", probe.EDIT)
        s.input.key("shift+Tab")
        s.input.type("y")
        # Shift+Tab selects the whole edit text, so the letter replaces it.
        s.wait_for_text(probe.CLASS, "y", probe.EDIT)

    def test_window_title_and_children_as_created(self):
        s = self.session
        self.assertEqual(s.driver.text(probe.CLASS), probe.TITLE)
        children = {c["id"]: c for c in s.driver.children(probe.CLASS)}
        self.assertEqual(sorted(children), [probe.EDIT, probe.BUTTON])
        self.assertEqual(children[probe.BUTTON]["cls"], "Button")
        self.assertEqual(children[probe.BUTTON]["text"], "Set")
        client = s.driver.client_rect(probe.CLASS)
        left, top, right, bottom = children[probe.EDIT]["rect"]
        self.assertEqual((left - client[0], top - client[1], right - left, bottom - top), (10, 10, 200, 24))


if __name__ == "__main__":
    unittest.main()
