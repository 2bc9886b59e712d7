#!/usr/bin/python3
"""Renders all of Tilora's picture resources and icons into resources/.

    /usr/bin/python3 resources/make_pictures.py [--only NAME ...]

Needs Python 3 with Pillow and numpy and Debian's fonts:
    apt-get install python3-pil python3-numpy fonts-dejavu-core fonts-liberation fonts-urw-base35
Every picture is rendered by this script from fixed seeds, so a run gives
the same files again; they are committed, and building never runs this.
Afterwards check_resources.py verifies the results.
"""
import argparse
import os
import sys
import time

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

try:
    import numpy as np
    from PIL import Image
except ImportError:
    raise SystemExit("make_pictures needs Pillow and numpy: apt-get install python3-pil python3-numpy, "
                     "then run it with /usr/bin/python3")

import check_resources  # noqa: E402
from picturegen.background import render_background, seam_ratio  # noqa: E402
from picturegen.brand import SPLASH_TEXT_TOP, logo, splash  # noqa: E402
from picturegen.captions import caption_strip  # noqa: E402
from picturegen.icofile import write_ico  # noqa: E402
from picturegen.icons import make_icons  # noqa: E402
from picturegen.noise import to_image  # noqa: E402
from picturegen.scene import render_scene  # noqa: E402

STARTUP_SIZE = (3705, 2565)


def path(name):
    return os.path.join(HERE, name)


def save_jpeg(image, name, quality, subsampling):
    """Baseline JPEG with 3 YCbCr components, as any JPEG reader takes it."""
    image.convert("RGB").save(path(name), "JPEG", quality=quality, optimize=True, progressive=False,
                              subsampling=subsampling)


def make_startup():
    scene = to_image(render_scene(*STARTUP_SIZE))
    save_jpeg(scene, "startup.jpg", 90, "4:2:0")
    return scene


def make_background():
    save_jpeg(to_image(render_background()), "background.jpg", 95, "4:4:4")
    # Check the tile as the program will see it, after compression.
    tile = np.asarray(Image.open(path("background.jpg")).convert("RGB"), np.float32) / 255.0
    ratio = seam_ratio(tile)
    if ratio > 1.0:
        raise SystemExit(f"background.jpg: the wrap-around seam is {ratio:.2f} times the largest inside step")
    return ratio


def make_logo():
    # The logo is drawn over the tile's top-left corner as the program
    # decodes it, so that the two join without a visible edge.
    tile = np.asarray(Image.open(path("background.jpg")).convert("RGB"))
    save_jpeg(logo(tile), "logo.jpg", 95, "4:4:4")
    drawn = np.asarray(Image.open(path("logo.jpg")).convert("RGB"), np.float32)
    height, width = drawn.shape[:2]
    edges = np.concatenate([drawn[:, -1] - tile[:height, width - 1], drawn[-1] - tile[height - 1, :width]])
    step = float(np.abs(edges).mean())
    if step > 3.0:
        raise SystemExit(f"logo.jpg: its edges differ from the background tile by {step:.1f} levels")
    return step


def make_splash(scene):
    if scene is None:
        scene = Image.open(path("startup.jpg"))
    save_jpeg(splash(scene.resize((1026, 710), Image.LANCZOS)), "splash.jpg", 95, "4:4:4")
    # The program writes its texts there with an opaque white background.
    band = np.asarray(Image.open(path("splash.jpg")).convert("RGB"))[SPLASH_TEXT_TOP:]
    if band.min() < 255:
        raise SystemExit(f"splash.jpg: the band from row {SPLASH_TEXT_TOP} down is not plain white")


def make_captions():
    caption_strip().save(path("captions.png"), "PNG", optimize=True)


def make_icon_files():
    app, printer = make_icons()
    write_ico(path("tilora.ico"), app)
    write_ico(path("print.ico"), printer)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--only", nargs="+", choices=["startup", "background", "logo", "splash", "captions", "icons"],
                        help="render only these pictures")
    wanted = set(parser.parse_args().only or ["startup", "background", "logo", "splash", "captions", "icons"])
    started = time.time()
    scene = None
    if "startup" in wanted:
        scene = make_startup()
    if "background" in wanted:
        print(f"background.jpg: seam step / largest inside step = {make_background():.2f}")
    if "logo" in wanted:
        print(f"logo.jpg: mean step to the background tile along its edges = {make_logo():.2f} levels")
    if "splash" in wanted:
        make_splash(scene)
    if "captions" in wanted:
        make_captions()
    if "icons" in wanted:
        make_icon_files()
    print(f"rendered in {time.time() - started:.1f} s")
    return check_resources.main()


if __name__ == "__main__":
    sys.exit(main())
