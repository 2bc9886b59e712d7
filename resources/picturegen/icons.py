"""The application icon (the emblem) and the print icon (a printer with the
emblem on its output sheet), each drawn for every size separately."""
from PIL import Image, ImageDraw

from .emblem import emblem_picture, sheet_grid, with_shadow

ICON_SIZES = (16, 32, 48, 256)

# Per size: (margin around the grid, gap between sheets, sheet border,
# shadow offset), chosen so that sheet edges fall on whole pixels.
APP_LAYOUT = {16: (0, 2, 0, 0), 32: (1, 2, 0, 1), 48: (2, 2, 1, 1), 256: (14, 10, 5, 4)}


def app_icon(size, master):
    margin, gap, border, shadow = APP_LAYOUT[size]
    grid = size - 2 * margin - shadow
    picture = master.resize((grid, grid), Image.LANCZOS)
    sheets = sheet_grid(picture, 2, 2, gap, border, (250, 250, 247, 255))
    icon = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    if shadow:
        shaded = with_shadow(sheets, (shadow, shadow), max(0.6, size / 64), 0.55, margin)
        icon.alpha_composite(shaded.crop((0, 0, size, size)))
    else:
        icon.alpha_composite(sheets, (margin, margin))
    return icon


def print_icon(size, master):
    """A printer seen from the front, a blank sheet in its feeder and a
    printed sheet coming out; drawn at four times the size and reduced."""
    scale = 4
    k = size * scale / 256.0
    canvas = Image.new("RGBA", (size * scale, size * scale), (0, 0, 0, 0))
    draw = ImageDraw.Draw(canvas)

    def box(x0, y0, x1, y1):
        return [x0 * k, y0 * k, x1 * k, y1 * k]

    draw.rectangle(box(62, 14, 194, 110), fill=(236, 238, 240, 255), outline=(150, 156, 166, 255), width=max(1, int(3 * k)))
    for line in range(4):
        y = 36 + line * 16
        draw.line(box(80, y, 176 - (line % 2) * 30, y), fill=(176, 184, 196, 255), width=max(1, int(5 * k)))
    draw.rounded_rectangle(box(14, 88, 242, 196), radius=26 * k, fill=(64, 78, 100, 255))
    draw.rounded_rectangle(box(14, 88, 242, 150), radius=26 * k, fill=(96, 112, 136, 255))
    draw.rectangle(box(14, 130, 242, 150), fill=(96, 112, 136, 255))
    draw.line(box(32, 100, 224, 100), fill=(150, 164, 186, 255), width=max(1, int(6 * k)))
    draw.ellipse(box(206, 114, 222, 130), fill=(120, 220, 120, 255))
    draw.rectangle(box(46, 158, 210, 172), fill=(28, 34, 46, 255))
    draw.rectangle(box(54, 164, 202, 248), fill=(252, 252, 250, 255), outline=(150, 156, 166, 255), width=max(1, int(3 * k)))
    picture_box = [int(v) for v in box(66, 176, 190, 238)]
    box_w, box_h = picture_box[2] - picture_box[0], picture_box[3] - picture_box[1]
    # A band of the emblem with the box's aspect: sun, mountains and shore.
    side = master.size[0]
    band = int(side * box_h / box_w)
    top = int(side * 0.17)
    picture = master.crop((0, top, side, top + band)).resize((box_w, box_h), Image.LANCZOS)
    canvas.paste(picture, picture_box[:2])
    return canvas.resize((size, size), Image.LANCZOS)


def make_icons():
    master = emblem_picture(1024)
    return ([app_icon(size, master) for size in ICON_SIZES],
            [print_icon(size, master) for size in ICON_SIZES])
