"""Tilora's emblem: a small sunrise picture cut into a grid of sheets, the
way the program prints a poster."""
import numpy as np
from PIL import Image, ImageDraw, ImageFilter

from .noise import gradient, rgb, smoothstep, to_image


def emblem_picture(size):
    """A bold, simple sunrise over mountains and water, size x size RGB,
    legible down to a few pixels per sheet.  Composed for a 2 x 2 cut: sky
    top left, the sun top right, mountains across the middle, the lake with
    the sun's reflection below."""
    v = ((np.arange(size, dtype=np.float32) + 0.5) / size)[:, None]
    u = ((np.arange(size, dtype=np.float32) + 0.5) / size)[None, :]
    sky = gradient([(0.0, "#24427e"), (0.30, "#6a6fb0"), (0.50, "#e59a86"), (0.64, "#ffc67c")], v[:, 0])
    image = np.repeat(sky[:, None, :], size, axis=1)
    distance = np.sqrt((u - 0.73) ** 2 + (v - 0.27) ** 2)
    glow = np.exp(-distance / 0.16)[..., None] * 0.7
    image = 1.0 - (1.0 - image) * (1.0 - glow * rgb("#ffb347"))
    sun = smoothstep(0.145, 0.135, distance)[..., None]
    image = image * (1.0 - sun) + sun * rgb("#fff4d2")
    pil = to_image(image)
    draw = ImageDraw.Draw(pil)
    s = size
    draw.polygon([(0, 0.66 * s), (0, 0.52 * s), (0.14 * s, 0.40 * s), (0.24 * s, 0.47 * s),
                  (0.38 * s, 0.33 * s), (0.56 * s, 0.54 * s), (0.70 * s, 0.47 * s),
                  (0.86 * s, 0.38 * s), (s, 0.48 * s), (s, 0.66 * s)], fill="#5d5690")
    draw.polygon([(0, 0.66 * s), (0, 0.58 * s), (0.20 * s, 0.51 * s), (0.40 * s, 0.60 * s),
                  (0.66 * s, 0.57 * s), (0.84 * s, 0.52 * s), (s, 0.59 * s), (s, 0.66 * s)], fill="#2b2848")
    water = gradient([(0.0, "#8a76a0"), (1.0, "#1e2745")], np.linspace(0, 1, s - int(0.66 * s), dtype=np.float32))
    lake = to_image(np.repeat(water[:, None, :], s, axis=1))
    pil.paste(lake, (0, int(0.66 * s)))
    for top, half, colour in ((0.70, 0.11, "#ffe1a6"), (0.78, 0.085, "#f7c58f"), (0.86, 0.06, "#e0a583"),
                              (0.93, 0.04, "#b98a86")):
        draw.rectangle([(0.73 - half) * s, top * s, (0.73 + half) * s, (top + 0.035) * s], fill=colour)
    return pil


def sheet_grid(picture, columns, rows, gap, border=0, border_colour=(255, 255, 255, 255)):
    """Cut picture into columns x rows sheets separated by transparent gaps
    of gap pixels; the picture keeps its scale, the gaps remove strips of it,
    as neighbouring printed pages abut.  A border paints each sheet's edge."""
    width, height = picture.size
    out = Image.new("RGBA", (width, height), (0, 0, 0, 0))
    sheet_w = (width - gap * (columns - 1)) / columns
    sheet_h = (height - gap * (rows - 1)) / rows
    for row in range(rows):
        for column in range(columns):
            left = round(column * (sheet_w + gap))
            top = round(row * (sheet_h + gap))
            right = round(column * (sheet_w + gap) + sheet_w)
            bottom = round(row * (sheet_h + gap) + sheet_h)
            box = (left, top, right, bottom)
            out.paste(picture.crop(box).convert("RGBA"), box[:2])
            if border:
                draw = ImageDraw.Draw(out)
                draw.rectangle([left, top, right - 1, bottom - 1], outline=border_colour, width=border)
    return out


def with_shadow(image, offset, blur, opacity, margin):
    """image on a transparent canvas enlarged by margin, with a soft shadow."""
    width, height = image.size
    canvas = Image.new("RGBA", (width + 2 * margin, height + 2 * margin), (0, 0, 0, 0))
    alpha = Image.new("L", canvas.size, 0)
    alpha.paste(image.getchannel("A"), (margin + offset[0], margin + offset[1]))
    alpha = alpha.filter(ImageFilter.GaussianBlur(blur)).point(lambda a: int(a * opacity))
    shadow = Image.new("RGBA", canvas.size, (16, 22, 36, 255))
    shadow.putalpha(alpha)
    canvas.alpha_composite(shadow)
    canvas.alpha_composite(image, (margin, margin))
    return canvas
