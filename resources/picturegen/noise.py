"""Deterministic value noise, fractal sums and small array helpers.

Every function takes a numpy Generator so that a fixed seed always gives the
same picture.  Arrays are float32 in [0, 1] unless said otherwise.
"""
import numpy as np
from PIL import Image


def smooth_resize(values, width, height):
    """Bicubic enlargement of a small float grid to width x height."""
    image = Image.fromarray(np.ascontiguousarray(values, dtype=np.float32), "F")
    return np.asarray(image.resize((width, height), Image.BICUBIC), dtype=np.float32)


def value_noise(rng, width, height, cells_x, cells_y):
    """One octave of smooth noise with about cells_x by cells_y features."""
    cells_x = max(2, int(cells_x))
    cells_y = max(2, int(cells_y))
    return smooth_resize(rng.random((cells_y, cells_x), dtype=np.float32), width, height)


def fbm(rng, width, height, cells_x, cells_y, octaves, gain=0.5, ridged=False):
    """Fractal sum of value-noise octaves, normalised to [0, 1].  Ridged
    octaves (1 - |2n - 1|) squared form sharp crests and rounded valleys."""
    total = np.zeros((height, width), np.float32)
    amplitude, weight = 1.0, 0.0
    for _ in range(octaves):
        octave = value_noise(rng, width, height, cells_x, cells_y)
        if ridged:
            octave = (1.0 - np.abs(2.0 * octave - 1.0)) ** 2
        total += amplitude * octave
        weight += amplitude
        amplitude *= gain
        cells_x *= 2
        cells_y *= 2
        if cells_x > width and cells_y > height:
            break
    return normalise(total / weight)


def fbm_1d(rng, length, cells, octaves, gain=0.5, ridged_from=None):
    """Fractal noise along one axis; octaves from ridged_from on are ridged
    (1 - |2n - 1|), which gives the sharp crests of rocky ridges."""
    total = np.zeros(length, np.float32)
    amplitude = 1.0
    for octave in range(octaves):
        n = value_noise(rng, length, 1, cells, 1)[0]
        if ridged_from is not None and octave >= ridged_from:
            n = 1.0 - np.abs(2.0 * n - 1.0)
        total += amplitude * (n - 0.5)
        amplitude *= gain
        cells *= 2
    return total


def periodic_noise(rng, size, spectrum_exponent, low_cut=1.0, high_cut=None):
    """Noise on a size x size torus: white noise shaped in the frequency domain.

    The inverse FFT of any spectrum is periodic, so the result tiles without a
    seam.  Amplitude falls off as frequency ** -spectrum_exponent between the
    two cut-off frequencies (in cycles per tile)."""
    white = rng.standard_normal((size, size))
    fy = np.fft.fftfreq(size)[:, None] * size
    fx = np.fft.rfftfreq(size)[None, :] * size
    radius = np.sqrt(fx * fx + fy * fy)
    shape = np.where(radius >= low_cut, np.maximum(radius, 1e-6) ** -spectrum_exponent, 0.0)
    if high_cut is not None:
        shape *= np.exp(-(radius / high_cut) ** 2)
    field = np.fft.irfft2(np.fft.rfft2(white) * shape, s=(size, size))
    return normalise(field.astype(np.float32))


def normalise(values):
    low, high = float(values.min()), float(values.max())
    return ((values - low) / (high - low if high > low else 1.0)).astype(np.float32)


def smoothstep(edge0, edge1, x):
    t = np.clip((x - edge0) / (edge1 - edge0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    """Linear blend; t broadcasts over the colour axis when given per pixel."""
    t = np.asarray(t, np.float32)
    if t.ndim == 2:
        t = t[..., None]
    return a + (b - a) * t


def rgb(hex_colour):
    """'#rrggbb' as a float32 colour in [0, 1]."""
    value = int(hex_colour.lstrip("#"), 16)
    return np.array([(value >> 16) & 255, (value >> 8) & 255, value & 255], np.float32) / 255.0


def gradient(stops, positions):
    """Colour of a piecewise-linear gradient at each position.

    stops: list of (position, '#rrggbb'); positions: any float array."""
    keys = np.array([s[0] for s in stops], np.float32)
    colours = np.stack([rgb(s[1]) for s in stops])
    out = np.empty(positions.shape + (3,), np.float32)
    for channel in range(3):
        out[..., channel] = np.interp(positions, keys, colours[:, channel])
    return out


def to_image(colour):
    """float [0, 1] H x W x 3 (or H x W) array to an 8-bit Pillow image."""
    return Image.fromarray(np.clip(colour * 255.0 + 0.5, 0, 255).astype(np.uint8))


def _hash(ix, iy, seed):
    """A well-mixed 32-bit hash of two lattice coordinates, as floats in [0, 1)."""
    h = (ix.astype(np.uint32) * np.uint32(0x8DA6B343)) ^ (iy.astype(np.uint32) * np.uint32(0xD8163841))
    h ^= np.uint32(seed * 0x9E3779B1 & 0xFFFFFFFF)
    h ^= h >> np.uint32(15)
    h *= np.uint32(0x2C1B3C6D)
    h ^= h >> np.uint32(12)
    h *= np.uint32(0x297A2D39)
    h ^= h >> np.uint32(15)
    return h.astype(np.float32) * np.float32(1.0 / 4294967296.0)


def lattice_noise(x, y, seed):
    """Value noise at arbitrary coordinates with its gradient.

    Returns (value, d/dx, d/dy); quintic interpolation keeps the gradient
    continuous, which matters when it is used as a surface slope."""
    fx, fy = np.floor(x), np.floor(y)
    ix, iy = fx.astype(np.int64), fy.astype(np.int64)
    tx, ty = (x - fx).astype(np.float32), (y - fy).astype(np.float32)
    a = _hash(ix, iy, seed)
    b = _hash(ix + 1, iy, seed)
    c = _hash(ix, iy + 1, seed)
    d = _hash(ix + 1, iy + 1, seed)
    ux = tx * tx * tx * (tx * (tx * 6 - 15) + 10)
    uy = ty * ty * ty * (ty * (ty * 6 - 15) + 10)
    dux = 30 * tx * tx * (tx * (tx - 2) + 1)
    duy = 30 * ty * ty * (ty * (ty - 2) + 1)
    k = a - b - c + d
    value = a + (b - a) * ux + (c - a) * uy + k * ux * uy
    return value, dux * ((b - a) + k * uy), duy * ((c - a) + k * ux)


def fractal_noise(x, y, octaves, seed, gain=0.5, ridged=False):
    """Fractal lattice noise with its gradient, at arbitrary coordinates.

    Every octave is rotated by its own angle so that no lattice direction
    shows; ridged octaves (1 - |2n - 1|) squared give sharp crests.  Returns
    (value, d/dx, d/dy), the value roughly in [0, 1]."""
    value = np.zeros(np.broadcast(x, y).shape, np.float32)
    grad_x = np.zeros_like(value)
    grad_y = np.zeros_like(value)
    amplitude, frequency, weight = 1.0, 1.0, 0.0
    for octave in range(octaves):
        angle = 0.9 + octave * 1.7
        c, s = np.float32(np.cos(angle)), np.float32(np.sin(angle))
        rx = (c * x - s * y) * frequency + octave * 17.3
        ry = (s * x + c * y) * frequency - octave * 9.1
        n, dnx, dny = lattice_noise(rx, ry, seed + octave)
        # Back from the rotated, scaled frame to x and y.
        dx = (dnx * c + dny * s) * frequency
        dy = (-dnx * s + dny * c) * frequency
        if ridged:
            fold = 1.0 - np.abs(2.0 * n - 1.0)
            factor = -4.0 * fold * np.sign(2.0 * n - 1.0)
            n, dx, dy = fold * fold, factor * dx, factor * dy
        value += amplitude * n
        grad_x += amplitude * dx
        grad_y += amplitude * dy
        weight += amplitude
        amplitude *= gain
        frequency *= 2.0
    return value / weight, grad_x / weight, grad_y / weight
