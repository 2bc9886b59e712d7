"""The main window's background tile: a calm, seamless paper-like texture."""
import numpy as np

from .noise import mix, periodic_noise, rgb

TILE_SIZE = 512
PAPER = "#cdcac3"


def render_background(seed=1137):
    """A size x size float32 RGB tile that repeats without a seam.

    Every component is built on the torus (see periodic_noise), so the
    right edge continues into the left and the bottom into the top."""
    rng = np.random.default_rng(seed)
    size = TILE_SIZE
    mottle = periodic_noise(rng, size, 1.4, low_cut=3.0, high_cut=30.0)
    grain = periodic_noise(rng, size, 0.2, low_cut=40.0, high_cut=200.0)
    fibres = fibre_noise(rng, size)
    light = (mottle - 0.5) * 0.022 + (grain - 0.5) * 0.03 + (fibres - 0.5) * 0.035
    base = np.broadcast_to(rgb(PAPER), (size, size, 3))
    # Darker spots of the mottle lean slightly cooler, as shaded paper does.
    tone = mix(base, rgb("#c4c5c6"), np.clip(0.5 - mottle, 0.0, 0.5) * 0.6)
    return np.clip(tone + light[..., None], 0.0, 1.0).astype(np.float32)


def fibre_noise(rng, size):
    """Short fibres in two directions: white noise whose spectrum is kept
    only near the horizontal and vertical frequency axes."""
    white = rng.standard_normal((size, size))
    fy = np.fft.fftfreq(size)[:, None] * size
    fx = np.fft.rfftfreq(size)[None, :] * size
    radius = np.sqrt(fx * fx + fy * fy)
    near_axes = np.exp(-(np.minimum(np.abs(fx), np.abs(fy)) / 6.0) ** 2)
    band = np.exp(-((radius - 90.0) / 60.0) ** 2)
    field = np.fft.irfft2(np.fft.rfft2(white) * near_axes * band, s=(size, size))
    field = (field - field.min()) / (field.max() - field.min())
    return field.astype(np.float32)


def seam_ratio(tile):
    """The step across the wrap-around seams relative to the largest step
    between two neighbouring inside columns or rows: 1 or less means that
    the seams are no more visible than any line inside the tile."""
    tile = tile.astype(np.float64)
    inside_x = np.abs(np.diff(tile, axis=1)).mean(axis=(0, 2)).max()
    inside_y = np.abs(np.diff(tile, axis=0)).mean(axis=(1, 2)).max()
    across_x = np.abs(tile[:, 0] - tile[:, -1]).mean()
    across_y = np.abs(tile[0, :] - tile[-1, :]).mean()
    return max(across_x / inside_x, across_y / inside_y)
