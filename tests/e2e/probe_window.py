"""What the harness's probe program (probe.cpp) shows and understands, and
the test case that runs it."""
from harness import SessionTestCase

PROGRAM = "tests/e2e/tilora-e2e-probe.exe"
CLASS = "TLRAPROBE"
TITLE = "Tilora probe"
EDIT = 200
BUTTON = 201
CMD_PRINT = 202
CMD_CHECK_PRINTER = 203

BACKGROUND = (0x20, 0x60, 0xA0)
SQUARE = (0xE0, 0x30, 0x20)
SQUARE_RECT = (50, 100, 150, 200)  # client coordinates
MIN_TRACK_SIZE = (320, 240)

# Printed, in inches from the printable origin.
PRINT_RED = (0xFF, 0x00, 0x00)
PRINT_RED_RECT = (1, 1, 3, 2)
PRINT_BLUE = (0x00, 0x00, 0xFF)
PRINT_BLUE_RECT = (1, 3, 3, 3.5)


class ProbeTestCase(SessionTestCase):
    """Tests of the class share one session with the probe running."""

    @classmethod
    def start_programs(cls):
        cls.session.start_program(PROGRAM, window_class=CLASS)
