"""Fonts from Debian's font packages (fonts-dejavu-core, fonts-liberation,
fonts-urw-base35); the first file found of each list is used."""
import os

from PIL import ImageFont

FONT_DIRS = ["/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/liberation",
             "/usr/share/fonts/opentype/urw-base35"]

SANS_BOLD = ["DejaVuSans-Bold.ttf", "LiberationSans-Bold.ttf"]
SANS = ["DejaVuSans.ttf", "LiberationSans-Regular.ttf"]
WORDMARK = ["URWGothic-Demi.otf", "DejaVuSans-Bold.ttf"]


def font(names, size):
    for name in names:
        for folder in FONT_DIRS:
            path = os.path.join(folder, name)
            if os.path.exists(path):
                return ImageFont.truetype(path, size)
    raise SystemExit(f"none of the fonts {names} found; install fonts-dejavu-core, "
                     "fonts-liberation and fonts-urw-base35")
