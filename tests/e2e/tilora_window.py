"""Tilora's main window as the end-to-end tests see it: control ids, where
the children sit, and the page grid and picture the preview must show for a
poster, worked out independently from the numbers the program is given."""
import functools
import os
import subprocess
import tempfile
import unittest

from harness import SessionTestCase

PROGRAM = "app/Tilora.exe"
CLASS = "TLRAMAINFRAME"
TITLE = "Tilora"

OPEN, SCAN, SCAN_SELECT, PAGE_SETUP, PRINT = 101, 102, 103, 104, 106
WEB, HELP, OPTIONS = 108, 109, 110
WIDTH_EDIT, HEIGHT_EDIT = 111, 112
PREVIEW, CROP, UNCROP, PANEL = 113, 114, 115, 116

SETTINGS_KEY = r"HKCU\Software\Quenbrook\Tilora"
SETTING_NAMES = ("metric", "rtMargin.left", "rtMargin.top", "rtMargin.right", "rtMargin.bottom")

# Left column, fixed: id -> (x, y, width, height) in client coordinates.
LEFT_COLUMN = {
    OPEN: (13, 121, 159, 26),
    SCAN: (13, 154, 126, 26),
    SCAN_SELECT: (146, 154, 26, 26),
    PAGE_SETUP: (13, 187, 159, 26),
    PANEL: (13, 230, 159, 78),
    CROP: (13, 319, 76, 26),
    UNCROP: (96, 319, 76, 26),
    PRINT: (13, 352, 159, 26),
}
# Right-hand buttons: id -> distance of the left edge from the client's right edge.
RIGHT_BUTTONS = {WEB: 101, OPTIONS: 67, HELP: 33}
BUTTON_TEXTS = {OPEN: "Open", SCAN: "Scan", SCAN_SELECT: "Scan Select", PAGE_SETUP: "Page Setup",
                CROP: "Crop", UNCROP: "Uncrop", PRINT: "Print", WEB: "Web", OPTIONS: "Options", HELP: "Help"}

BUTTON_CLASS = "TSPBUTTONCN"
BUTTON_HEIGHT = 26

MIN_SIZE = (600, 450)
METRIC_MARGINS = (500, 500, 2000, 2000)  # left, top, right, bottom in 1/100 mm
A4 = (21000, 29700)

OUTLINE = (128, 128, 128)
CROSS = (255, 0, 0)
WHITE = (255, 255, 255)
STRIP = (229, 229, 229)


def tilora_cli():
    path = os.environ.get("TILORA_CLI") or os.path.join(os.path.dirname(__file__), "../../build/native/tools/cli/tilora-cli")
    if not os.path.exists(path):
        raise unittest.SkipTest(f"tilora-cli not found at {path} (set TILORA_CLI)")
    return path


@functools.lru_cache(maxsize=None)
def button_face(width):
    """(plate x, plate y, face width, face height) of the face of a button
    whose plate is `width` x 26, as tilora-cli renders it."""
    with tempfile.TemporaryDirectory() as folder:
        out = subprocess.run([tilora_cli(), "face", "--width", str(width), os.path.join(folder, "face.png")],
                             check=True, capture_output=True, text=True).stdout.split()
    return (int(out[1]), int(out[2]), int(out[4]), int(out[5]))


def button_window(plate):
    """The window rectangle of a skinned button whose plate is (left, top,
    right, bottom): the face with its shadow, shifted to keep the plate."""
    left, top, right, bottom = plate
    x, y, width, height = button_face(right - left)
    return (left - x, top - y, left - x + width, top - y + height)


def button_plates(session):
    """Screen rectangle of every button's plate, by id, where the layout puts
    it: the left column fixed, the right-hand buttons from the right edge."""
    left, top, right, _ = session.driver.client_rect(CLASS)
    plates = {i: (left + x, top + y, left + x + w, top + y + h)
              for i, (x, y, w, h) in LEFT_COLUMN.items() if i != PANEL}
    for i, from_right in RIGHT_BUTTONS.items():
        plates[i] = (right - from_right, top + 12, right - from_right + BUTTON_HEIGHT, top + 12 + BUTTON_HEIGHT)
    return plates


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def status_text(pages, paper):
    return f"1 page of {paper}" if pages == 1 else f"{pages} pages of {paper}"


def _div(a, b):
    """Integer division truncating toward zero, as C does."""
    q = abs(a) // abs(b)
    return q if (a < 0) == (b < 0) else -q


def _mul_div(a, b, c):
    """MulDiv: a * b / c rounded to nearest, halves away from zero."""
    p = a * b
    q = (2 * abs(p) + abs(c)) // (2 * abs(c))
    return q if (p < 0) == (c < 0) else -q


def a4_tile(margins=METRIC_MARGINS):
    left, top, right, bottom = margins
    return (A4[0] - right - left, A4[1] - bottom - top)


def printer_tile(caps, margins=METRIC_MARGINS):
    """The printable tile of a printer, from its device capabilities, with
    the user's margins beyond the unprintable strips."""
    dpi_x, dpi_y = caps["LOGPIXELSX"], caps["LOGPIXELSY"]
    horz, vert = caps["HORZRES"], caps["VERTRES"]
    off_x, off_y = caps["PHYSICALOFFSETX"], caps["PHYSICALOFFSETY"]
    unprintable = (_div(off_x * 2540, dpi_x), _div(off_y * 2540, dpi_y),
                   _div((caps["PHYSICALWIDTH"] - off_x - horz) * 2540, dpi_x),
                   _div((caps["PHYSICALHEIGHT"] - off_y - vert) * 2540, dpi_y))
    extra = [max(m - u, 0) for m, u in zip(margins, unprintable)]
    return (_div(horz * 2540, dpi_x) - extra[2] - extra[0], _div(vert * 2540, dpi_y) - extra[3] - extra[1])


def pages_needed(poster, tile):
    return tuple(-(-p // t) for p, t in zip(poster, tile))


def poster_for(picture_size, width_smm=None, height_smm=None):
    """The poster a picture gets: the given side stays, the other follows
    the picture's aspect, rounded half away from zero."""
    w, h = picture_size
    if width_smm is not None:
        return (width_smm, int(width_smm * (h / w) + 0.5))
    return (int(height_smm * (w / h) + 0.5), height_smm)


class Layout:
    """The page grid and the picture in a preview of the given client size."""

    def __init__(self, client, poster, tile):
        self.pages = pages_needed(poster, tile)
        cols, rows = self.pages
        room_w, room_h = max(client[0] - 20, 0), max(client[1] - 40, 0)
        cell_w = room_w // cols
        cell_h = cell_w * tile[1] // tile[0]
        if cell_h * rows > room_h:
            cell_h = room_h // rows
            cell_w = cell_h * tile[0] // tile[1]
        grid_w, grid_h = cell_w * cols, cell_h * rows
        self.cell = (cell_w, cell_h)
        self.origin = ((room_w - grid_w) // 2 + 10, (room_h - grid_h) // 2 + 10)
        pic_w = _mul_div(poster[0], grid_w, tile[0] * cols)
        pic_h = _mul_div(poster[1], grid_h, tile[1] * rows)
        left = (grid_w - pic_w) // 2 + self.origin[0]
        top = (grid_h - pic_h) // 2 + self.origin[1]
        self.picture = (left, top, left + pic_w, top + pic_h)
        self.grid = (self.origin[0], self.origin[1], self.origin[0] + grid_w, self.origin[1] + grid_h)

    def page_cell(self, column, row):
        left = self.origin[0] + column * self.cell[0]
        top = self.origin[1] + row * self.cell[1]
        return (left, top, left + self.cell[0], top + self.cell[1])

    def page_center(self, column, row):
        left, top, right, bottom = self.page_cell(column, row)
        return ((left + right) // 2, (top + bottom) // 2)

    def vertical_lines(self):
        """x of every vertical outline: shared lines between pages, the last
        one on the grid's last pixel column."""
        cols = self.pages[0]
        return [self.origin[0] + j * self.cell[0] for j in range(cols)] + [self.grid[2] - 1]

    def horizontal_lines(self):
        rows = self.pages[1]
        return [self.origin[1] + i * self.cell[1] for i in range(rows)] + [self.grid[3] - 1]


def offset(rect, origin):
    """A client rectangle (or point) moved to screen coordinates."""
    if len(rect) == 2:
        return (rect[0] + origin[0], rect[1] + origin[1])
    return (rect[0] + origin[0], rect[1] + origin[1], rect[2] + origin[0], rect[3] + origin[1])


def program_folder():
    """The folder of Tilora.exe in the Windows API tree, where the build puts
    the help pages."""
    from harness import winelib_program
    return os.path.dirname(winelib_program(PROGRAM))


def start(session, metric=True, **kwargs):
    """Starts Tilora and waits for its start-up picture; returns its
    process. With metric set the unit is centimetres whatever the prefix's
    locale says; None leaves the settings as they are. Like an installed
    program it runs in its own folder unless `cwd` names another."""
    if metric is not None:
        session.driver.reg_set(SETTINGS_KEY, "metric", "1" if metric else "0")
    kwargs.setdefault("cwd", program_folder())
    process = session.start_program(PROGRAM, window_class=CLASS, **kwargs)
    wait_ready(session)
    return process


def wait_ready(session):
    """Waits for the main window with its start-up picture in place, which it
    is once the preview names its pages."""
    if not session.driver.wait_window(CLASS, 60):
        raise AssertionError(f"no {CLASS} window")
    session.wait_until(lambda: " of " in session.driver.text(CLASS, PREVIEW), 20, "the preview's status")


def preview_origin(session):
    return session.driver.client_rect(CLASS, PREVIEW)[:2]


def preview_size(session):
    left, top, right, bottom = session.driver.client_rect(CLASS, PREVIEW)
    return (right - left, bottom - top)


def edit_texts(session):
    return (session.driver.text(CLASS, WIDTH_EDIT), session.driver.text(CLASS, HEIGHT_EDIT))


def smm_from_edit(text, unit=1000):
    return int(round(float(text.replace(",", ".")) * unit))


def documents_log(session):
    return os.path.join(session.documents_folder(), "tilora.txt")


def picture_points(layout, origin):
    """Screen points inside the preview's picture, away from the page
    outlines drawn over it."""
    left, top, right, bottom = offset(layout.picture, origin)
    xs = [x + origin[0] for x in layout.vertical_lines()]
    ys = [y + origin[1] for y in layout.horizontal_lines()]
    points = []
    for i in range(1, 6):
        for j in range(1, 6):
            x = left + 3 + (right - left - 7) * i // 6
            y = top + 3 + (bottom - top - 7) * j // 6
            if all(abs(x - line) > 2 for line in xs) and all(abs(y - line) > 2 for line in ys):
                points.append((x, y))
    return points


def wrong_points(shot, points, color, tolerance=0):
    """The points whose pixel is not the colour."""
    from harness import close_to
    return [(p, shot.pixel(*p)) for p in points if not close_to(shot.pixel(*p), color, tolerance)]


class TiloraTestCase(SessionTestCase):
    """Tests of the class share one session with Tilora running."""

    @classmethod
    def start_programs(cls):
        start(cls.session)
