"""The logo drawn at the main window's top-left corner and the splash."""
from PIL import Image, ImageDraw

from .emblem import emblem_picture, sheet_grid, with_shadow
from .fonts import SANS, WORDMARK, font

LOGO_SIZE = (185, 112)
SPLASH_SIZE = (514, 384)
# The program writes its version, notice and web address into the band
# below this row of the splash; it must stay plain white there, because the
# texts are drawn with an opaque white background.
SPLASH_TEXT_TOP = 330

INK = (38, 52, 78)
MUTED = (96, 104, 118)


def logo(background):
    """185 x 112: the emblem as four sheets and the name beside it, on the
    top-left corner of the background tile so that it joins the window's
    background without an edge."""
    canvas = Image.fromarray(background[:LOGO_SIZE[1], :LOGO_SIZE[0]]).convert("RGBA")
    sheets = sheet_grid(emblem_picture(400).resize((46, 46), Image.LANCZOS), 2, 2, 2, 1, (252, 252, 250, 255))
    canvas.alpha_composite(with_shadow(sheets, (1, 1), 1.6, 0.45, 4), (13 - 4, 33 - 4))
    draw = ImageDraw.Draw(canvas)
    name = font(WORDMARK, 34)
    draw.text((68, 57), "Tilora", font=name, fill=INK, anchor="ls")
    draw.text((69, 75), "poster printing", font=font(SANS, 11), fill=MUTED, anchor="ls")
    return canvas.convert("RGB")


def splash(scene):
    """514 x 384: the start-up scene (given reduced, about 1000 pixels
    wide) printed as a poster of 4 x 3 sheets, the name below it, and a
    white band at the bottom for the texts the program writes itself."""
    width, height = SPLASH_SIZE
    canvas = Image.new("RGBA", SPLASH_SIZE, (255, 255, 255, 255))
    margin = 11
    picture_w = width - 2 * margin
    picture_h = 236
    # The scene's middle: sun, mountains and lake, at the frame's aspect.
    source = scene
    crop_h = int(source.size[0] * picture_h / picture_w)
    top = int(source.size[1] * 0.50) - crop_h // 2
    picture = source.crop((0, top, source.size[0], top + crop_h)).resize((picture_w, picture_h), Image.LANCZOS)
    sheets = sheet_grid(picture, 4, 3, 3)
    canvas.alpha_composite(with_shadow(sheets, (0, 1), 2.0, 0.35, margin), (0, 0))
    draw = ImageDraw.Draw(canvas)
    draw.text((margin - 1, 298), "Tilora", font=font(WORDMARK, 46), fill=INK, anchor="ls")
    draw.text((width - margin, 296), "your picture as a poster, on any printer", font=font(SANS, 12),
              fill=MUTED, anchor="rs")
    draw.line([(margin, 310), (width - margin - 1, 310)], fill=(222, 224, 228), width=1)
    return canvas.convert("RGB")
