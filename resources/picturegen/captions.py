"""The caption strip: one 150 x 29 cell per button caption, light text and
pictograms on transparency with a faint dark halo, so that they stay legible
on the tinted button plates."""
import numpy as np
from PIL import Image, ImageDraw, ImageFilter

from .fonts import SANS_BOLD, font

STRIP_SIZE = (150, 400)
ROW_HEIGHT = 29
TEXT_COLOUR = (250, 252, 255)
HALO_COLOUR = (6, 18, 38)
HALO_OPACITY = 0.55
SUPERSAMPLE = 8

# Row index -> caption: text, or the name of a pictogram.
CAPTIONS = {
    0: ("text", "Open"),
    1: ("text", "Scan"),
    2: ("icon", "scanner_list"),
    3: ("text", "Page Setup"),
    4: ("text", "Crop"),
    5: ("text", "1:1"),
    6: ("text", "Print"),
    8: ("icon", "house"),
    9: ("icon", "question"),
    10: ("icon", "tools"),
    11: ("text", "Poster Extras"),
}


def text_mask(text):
    """Coverage of a caption text, centred in a cell; the glyphs' ink box
    is centred, not the font's line box, so that every word sits in the
    middle of its plate."""
    face = font(SANS_BOLD, 15)
    cell = Image.new("L", (STRIP_SIZE[0], ROW_HEIGHT), 0)
    left, top, right, bottom = face.getbbox(text, anchor="ls")
    x = (STRIP_SIZE[0] - (right - left)) / 2 - left
    # Centre the height of a capital letter, so that words with and without
    # descenders share one baseline.
    cap_top = face.getbbox("H", anchor="ls")[1]
    y = (ROW_HEIGHT - 1 + (-cap_top)) / 2
    ImageDraw.Draw(cell).text((round(x), round(y)), text, font=face, fill=255, anchor="ls")
    return cell


def icon_mask(name):
    """Coverage of a pictogram of about 18 x 18 pixels, centred in a cell;
    drawn at a large scale and reduced for clean anti-aliased edges."""
    k = SUPERSAMPLE
    size = 20 * k
    canvas = Image.new("L", (size, size), 0)
    draw = ImageDraw.Draw(canvas)
    PICTOGRAMS[name](draw, k)
    small = canvas.resize((20, 20), Image.LANCZOS)
    cell = Image.new("L", (STRIP_SIZE[0], ROW_HEIGHT), 0)
    cell.paste(small, ((STRIP_SIZE[0] - 20) // 2, (ROW_HEIGHT - 20) // 2))
    return cell


def house(draw, k):
    draw.polygon([(10 * k, 1.5 * k), (19 * k, 10 * k), (16.5 * k, 10 * k), (10 * k, 4.2 * k),
                  (3.5 * k, 10 * k), (1 * k, 10 * k)], fill=255)
    draw.rectangle([13.5 * k, 2.5 * k, 15.5 * k, 6.5 * k], fill=255)
    draw.polygon([(4.5 * k, 10 * k), (10 * k, 5 * k), (15.5 * k, 10 * k), (15.5 * k, 18 * k), (4.5 * k, 18 * k)],
                 fill=255)
    draw.rectangle([8.5 * k, 12 * k, 11.5 * k, 18 * k], fill=0)


def question(draw, k):
    face = font(SANS_BOLD, 19 * k)
    draw.text((10 * k, 10 * k), "?", font=face, fill=255, anchor="mm")


def tools(draw, k):
    """A wrench and a screwdriver crossed."""
    wrench = Image.new("L", (20 * k, 20 * k), 0)
    w = ImageDraw.Draw(wrench)
    w.rounded_rectangle([8.6 * k, 6 * k, 11.4 * k, 19 * k], radius=1.4 * k, fill=255)
    w.ellipse([5.2 * k, 0.5 * k, 14.8 * k, 10 * k], fill=255)
    w.rectangle([8.6 * k, -1 * k, 11.4 * k, 4.2 * k], fill=0)
    wrench = wrench.rotate(-45, resample=Image.BICUBIC, center=(10 * k, 10 * k))
    driver = Image.new("L", (20 * k, 20 * k), 0)
    d = ImageDraw.Draw(driver)
    d.rounded_rectangle([7.9 * k, 11 * k, 12.1 * k, 19.5 * k], radius=1.6 * k, fill=255)
    d.rectangle([9.3 * k, 3 * k, 10.7 * k, 11 * k], fill=255)
    d.polygon([(9.3 * k, 3 * k), (10.7 * k, 3 * k), (10.4 * k, 1 * k), (9.6 * k, 1 * k)], fill=255)
    driver = driver.rotate(45, resample=Image.BICUBIC, center=(10 * k, 10 * k))
    combined = Image.fromarray(np.maximum(np.asarray(wrench), np.asarray(driver)))
    draw.bitmap((0, 0), combined, fill=255)


def scanner_list(draw, k):
    """A flatbed scanner with its lid raised, and a drop-down mark for the
    list of sources."""
    draw.rounded_rectangle([0 * k, 9 * k, 14 * k, 16.5 * k], radius=1.6 * k, fill=255)
    draw.polygon([(0.4 * k, 7.9 * k), (12.4 * k, 1.6 * k), (13.8 * k, 4.4 * k), (4 * k, 7.9 * k)], fill=255)
    draw.rectangle([2.2 * k, 11.6 * k, 11.8 * k, 13 * k], fill=0)
    draw.polygon([(14.8 * k, 10 * k), (20 * k, 10 * k), (17.4 * k, 14 * k)], fill=255)


PICTOGRAMS = {"house": house, "question": question, "tools": tools, "scanner_list": scanner_list}


def with_halo(mask):
    """Light caption over a soft dark halo, as straight-alpha RGBA."""
    coverage = np.asarray(mask, np.float32) / 255.0
    spread = mask.filter(ImageFilter.MaxFilter(3)).filter(ImageFilter.GaussianBlur(1.2))
    halo = np.asarray(spread, np.float32) / 255.0 * HALO_OPACITY
    alpha = coverage + halo * (1.0 - coverage)
    colour = np.zeros(coverage.shape + (3,), np.float32)
    light = np.array(TEXT_COLOUR, np.float32)
    dark = np.array(HALO_COLOUR, np.float32)
    visible = alpha > 0
    weight = np.where(visible, coverage / np.maximum(alpha, 1e-6), 0.0)[..., None]
    colour = dark + (light - dark) * weight
    rgba = np.dstack([colour, alpha * 255.0])
    rgba[~visible] = 0
    return Image.fromarray(np.clip(rgba + 0.5, 0, 255).astype(np.uint8), "RGBA")


def caption_strip():
    strip = Image.new("RGBA", STRIP_SIZE, (0, 0, 0, 0))
    for row, (kind, value) in CAPTIONS.items():
        mask = text_mask(value) if kind == "text" else icon_mask(value)
        strip.paste(with_halo(mask), (0, row * ROW_HEIGHT))
    return strip
