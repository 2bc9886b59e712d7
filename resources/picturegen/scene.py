"""The start-up picture: a mountain lake at sunrise, rendered procedurally.

Every position and length is a fraction of the picture's height (v) or width
(u), so the same seed gives the same composition at any size; make_pictures
renders it at 3705 x 2565, the splash and logo use smaller renderings.
"""
import numpy as np
from PIL import Image, ImageDraw

from .conifers import draw_spruce, draw_treeline
from .noise import fbm, fbm_1d, fractal_noise, gradient, lattice_noise, mix, normalise, rgb, smoothstep

SUN_U, SUN_V, SUN_RADIUS = 0.63, 0.462, 0.016
WATERLINE = 0.60

SKY = [
    (0.00, "#0b1733"),
    (0.16, "#1d3563"),
    (0.30, "#485d92"),
    (0.40, "#9a7f9f"),
    (0.48, "#e49d80"),
    (0.54, "#f6b46c"),
    (0.60, "#ffd08a"),
]


class Ridge:
    """One mountain layer; layers are listed from the farthest to the nearest."""

    def __init__(self, base, rise, cells, octaves, ridged_from, colour, haze, mist_from, mist_to,
                 mist, relief, forest=None):
        self.base, self.rise = base, rise            # crest: base - rise * noise (in v)
        self.cells, self.octaves, self.ridged_from = cells, octaves, ridged_from
        self.colour = colour
        self.haze = haze                             # share of the air's colour
        self.mist_from, self.mist_to, self.mist = mist_from, mist_to, mist
        self.relief = relief                         # strength of the rock relief shading
        self.forest = forest                         # (tree height in v, density) or None


RIDGES = [
    Ridge(0.500, 0.150, 3, 9, 2, "#5a5485", 0.22, 0.44, 0.52, 0.35, 0.55),
    Ridge(0.548, 0.080, 5, 9, 2, "#433a66", 0.22, 0.51, 0.565, 0.40, 0.40),
    Ridge(0.580, 0.045, 7, 8, 3, "#252440", 0.12, 0.55, 0.595, 0.35, 0.25, (0.014, 0.7)),
    Ridge(0.600, 0.018, 9, 7, 3, "#121421", 0.04, 0.585, 0.605, 0.20, 0.10, (0.024, 1.0)),
]


def render_scene(width, height, seed=1126):
    """The scene as a float32 height x width x 3 array in [0, 1]."""
    rng = np.random.default_rng(seed)
    v = ((np.arange(height, dtype=np.float32) + 0.5) / height)[:, None]
    u = ((np.arange(width, dtype=np.float32) + 0.5) / width)[None, :]
    aspect = width / height

    image = sky(rng, width, height, v, u, aspect)
    haze = haze_colours(image, height)
    for ridge in RIDGES:
        add_ridge(rng, image, u, aspect, haze, ridge)
    lake(image, u, aspect, seed)
    mist(rng, image, v, haze)
    foreground(rng, image, u, aspect)
    finish(rng, image, v, u, aspect)
    return image


def screen(image, amount, colour):
    """Screen blend of colour at the given strength: brightens, never clips."""
    light = np.clip(amount[..., None] * colour, 0.0, 1.0)
    return 1.0 - (1.0 - image) * (1.0 - light)


def sky(rng, width, height, v, u, aspect):
    column = gradient(SKY, v[:, 0])
    image = np.repeat(column[:, None, :], width, axis=1)
    sun_distance = np.sqrt(((u - SUN_U) * aspect) ** 2 + (v - SUN_V) ** 2)

    # Clouds: long thin bands, lit from below and warmer near the sun.
    density = normalise(fbm(rng, width, height, 3, 18, 7) * 0.75 + fbm(rng, width, height, 6, 6, 3) * 0.25)
    band = smoothstep(0.04, 0.14, v) * (1.0 - smoothstep(0.30, 0.43, v))
    cover = smoothstep(0.50, 0.80, density) * band
    shift = max(1, height // 120)
    underside = np.clip((density - np.roll(density, -shift, axis=0)) * 14.0, 0.0, 1.0)
    near_sun = np.exp(-np.abs(u - SUN_U) * aspect / 0.55) * smoothstep(0.02, 0.42, v)
    cloud = mix(np.broadcast_to(rgb("#403a68"), image.shape), rgb("#b8708a"), near_sun)
    cloud = mix(cloud, rgb("#ffc890"), underside * near_sun)
    image = mix(image, cloud, cover * 0.85)

    # Sun glow: a hot core, a wide halo and a faint glow along the horizon.
    glow = (0.75 * np.exp(-sun_distance / 0.03) + 0.40 * np.exp(-(sun_distance / 0.16) ** 2)
            + 0.16 * np.exp(-(sun_distance / 0.5) ** 2))
    glow = glow + 0.18 * np.exp(-((v - 0.585) / 0.05) ** 2) * np.exp(-np.abs(u - SUN_U) * aspect / 1.2)
    image = screen(image, glow, rgb("#ffae4a"))
    disc = smoothstep(SUN_RADIUS + 0.0015, SUN_RADIUS - 0.0015, sun_distance)
    return mix(image, rgb("#fff4d6"), disc)


def haze_colours(image, height):
    """Per-column colour of the air near the horizon, used for the haze that
    makes far ridges fade into the sky."""
    row = image[int(0.565 * height)]
    return mix(row * 0.8, rgb("#6f6897"), 0.45)


def crest_line(rng, width, ridge, u):
    line = normalise(fbm_1d(rng, width, ridge.cells, ridge.octaves, 0.52, ridge.ridged_from))
    envelope = 0.45 + 0.55 * np.maximum(np.exp(-((u[0] - 0.24) / 0.16) ** 2),
                                        0.8 * np.exp(-((u[0] - 0.88) / 0.13) ** 2))
    # A saddle behind the sun so that it rises between two peaks.
    envelope *= 1.0 - 0.55 * np.exp(-((u[0] - SUN_U) / 0.07) ** 2)
    return ridge.base - ridge.rise * line * envelope


def add_ridge(rng, image, u, aspect, haze, ridge):
    """Paint one layer into the rows between its highest crest and the
    waterline (nearer layers and the lake cover everything below)."""
    height, width = image.shape[:2]
    top = crest_line(rng, width, ridge, u) * height
    headroom = ridge.forest[0] * height + 2 if ridge.forest else 0
    y0, y1 = int(max(0, top.min() - headroom)), int(WATERLINE * height) + 1
    rows = np.arange(y0, y1, dtype=np.float32)[:, None] + 0.5
    v = rows / height
    if ridge.forest:
        cover = forest_cover(rng, top, y0, y1, width, height, ridge.forest)
    else:
        cover = np.clip(rows - top[None, :] + 0.5, 0.0, 1.0)

    band_height = y1 - y0
    # Rock relief: ridged noise, taller than wide, so that spurs and gullies
    # run down the slopes; from mountain-sized forms down to small ledges.
    # Coordinates are in picture heights, gradients per picture height.
    px = u * aspect * 9.0 + np.float32(ridge.base * 100.0)
    py = v * 4.5
    relief, gx, gy = fractal_noise(px, py, 8, int(ridge.base * 1000), 0.45, ridged=True)
    gx, gy = gx * 9.0 * 0.02, gy * 4.5 * 0.02
    # Seen against the light: slopes turned towards the sun's side catch a
    # little of it, the others are lit only by the sky above.
    toward = np.sign(SUN_U - u)
    light = np.clip(0.5 + ridge.relief * (gx * toward * 0.6 - gy * 0.8), 0.0, 1.0)
    tone = np.broadcast_to(rgb(ridge.colour), (band_height, width, 3)) * (0.72 + 0.5 * light)[..., None]
    if ridge is RIDGES[0]:
        line = 0.41 + 0.03 * (relief - 0.5)
        snow = smoothstep(0.0, 0.015, line - v) * smoothstep(0.3, 0.6, relief) * smoothstep(0.35, 0.6, light)
        tone = mix(tone, rgb("#a29ecb") * (0.8 + 0.3 * light)[..., None], snow * 0.8)
    tone = mix(tone, haze[None, :, :], ridge.haze)
    tone = mix(tone, haze[None, :, :] * 1.08, smoothstep(ridge.mist_from, ridge.mist_to, v) * ridge.mist)
    # Light spilling over the crest near the sun: a thin bright edge along
    # the top of whatever the layer covers (rock or trees).
    edge = np.zeros_like(cover)
    steps = max(1, height // 700)
    for step in range(1, steps + 1):
        above = np.vstack([np.zeros((step, width), np.float32), cover[:-step]])
        edge = np.maximum(edge, (cover - above) * (1.0 - step / (steps + 2)))
    near_sun = np.exp(-np.abs(u - SUN_U) * aspect / 0.15)
    tone = screen(tone, np.clip(edge, 0.0, 1.0) * near_sun * 0.8, rgb("#ffd09a"))
    image[y0:y1] = mix(image[y0:y1], tone, cover)


def forest_cover(rng, top, y0, y1, width, height, forest):
    """Coverage of a forested ridge: the ridge itself and a treeline along
    its crest, drawn at twice the size and reduced for smooth edges."""
    tree_height, density = forest
    scale = 2
    mask = Image.new("L", (width * scale, (y1 - y0) * scale), 0)
    draw = ImageDraw.Draw(mask)
    crest = (top - y0) * scale
    outline = [(x * scale, crest[x]) for x in range(width)]
    draw.polygon([(0, mask.height)] + outline + [(mask.width, mask.height)], fill=255)
    tree = height * scale * tree_height
    draw_treeline(draw, rng, np.repeat(crest, scale), (tree * 0.3, tree), (tree * 0.04, tree * 0.16), density)
    return np.asarray(mask.reduce(scale), np.float32) / 255.0


def water_surface(width, rows, height, seed):
    """Slopes of a gently rippled lake, seen in perspective.

    Each water pixel is mapped to the lake plane: distance Z = height / dy
    for a pixel dy rows below the horizon, across X = (x - centre) / dy.
    Ripple octaves whose wavelength would fall under a few pixels are not
    drawn but turned into blur: far away, ripples too small to see still
    smear the mirror image.  Returns the slopes across and along the view,
    the blur (as a slope spread) and the plane coordinates."""
    dy = (np.arange(rows, dtype=np.float32) + 0.5)[:, None]
    z = height / dy
    x = (np.arange(width, dtype=np.float32)[None, :] - width * 0.5) / dy
    slope_x = np.zeros((rows, width), np.float32)
    slope_z = np.zeros((rows, width), np.float32)
    spread = np.zeros((rows, width), np.float32)
    # Wind patches: some of the lake is ruffled, some glassy.
    wind, _, _ = lattice_noise(x * 0.25 + 7.0, z * 0.12, seed + 99)
    wind = 0.3 + 0.9 * smoothstep(0.35, 0.75, wind)
    frequency_x, frequency_z, amplitude = 3.0, 10.0, 0.010
    for octave in range(6):
        pixels_per_wave = np.minimum(dy / frequency_x, dy / (frequency_z * z))
        fade = smoothstep(1.5, 4.0, pixels_per_wave)
        _, dnx, dnz = lattice_noise(x * frequency_x, z * frequency_z, seed + octave)
        slope_x += fade * amplitude * frequency_x * dnx
        slope_z += fade * amplitude * frequency_z * dnz
        spread += ((1.0 - fade) * amplitude * frequency_z * 0.6) ** 2
        frequency_x *= 2.1
        frequency_z *= 1.9
        amplitude *= 0.45
    return slope_x * wind, slope_z * wind, np.sqrt(spread) * wind, x, z


def lake(image, u, aspect, seed):
    """Mirror the scene above the waterline through a rippled surface, darken
    it towards the viewer and strew the sun's glitter along its path."""
    height, width = image.shape[:2]
    water_top = int(WATERLINE * height)
    rows = height - water_top
    slope_x, slope_z, spread, plane_x, plane_z = water_surface(width, rows, height, seed)
    t = ((np.arange(rows, dtype=np.float32) + 0.5) / rows)[:, None]

    # A facet tilted by a slope s turns the reflected ray by 2 s; the factors
    # below set how far that moves the mirror image, in pixels.
    reach_y, reach_x = 0.24 * height, 0.10 * height
    mirrored = (water_top - 1 - np.arange(rows, dtype=np.float32))[:, None] + slope_z * reach_y
    columns = np.arange(width, dtype=np.float32)[None, :]
    source_x = np.clip(columns + slope_x * reach_x, 0, width - 1).astype(np.int32)
    reflection = np.zeros((rows, width, 3), np.float32)
    taps = (-1.5, -0.5, 0.5, 1.5)
    for tap in taps:
        source_y = np.clip(mirrored + tap * spread * reach_y, 0, water_top - 1).astype(np.int32)
        reflection += image[source_y, source_x]
    reflection /= len(taps)

    fresnel = 0.86 - 0.56 * t
    water = mix(np.broadcast_to(rgb("#08121f"), reflection.shape), reflection,
                np.broadcast_to(fresnel, (rows, width)))

    # Glitter: the crests of small wavelets, only along the sun's path.
    path = np.exp(-(((u - SUN_U) * aspect) / (0.010 + 0.10 * t ** 1.1)) ** 2)
    sparkle, _, _ = lattice_noise(plane_x * 40.0, plane_z * 160.0, seed + 7)
    sparkle = smoothstep(0.80, 0.97, sparkle) * smoothstep(0.0, 0.06, slope_z + 0.02)
    light = path * (0.22 * (1.0 - t) + sparkle * (1.3 - 0.7 * t))
    image[water_top:] = screen(water, light, rgb("#ffdcaa"))


def mist(rng, image, v, haze):
    height, width = image.shape[:2]
    drift = fbm(rng, width, height, 5, 40, 5)
    band = smoothstep(0.555, 0.598, v) * (1.0 - smoothstep(0.603, 0.66, v))
    amount = band * (0.25 + 0.45 * smoothstep(0.3, 0.8, drift))
    image[:] = mix(image, np.minimum(haze[None, :, :] * 1.15, 1.0), amount)


def foreground(rng, image, u, aspect):
    """Dark near shore: a low bank with grass on the left, a high bank with
    tall spruces on the right, edged towards the sun with warm light."""
    height, width = image.shape[:2]
    scale = 2
    W, H = width * scale, height * scale
    mask = Image.new("L", (W, H), 0)
    draw = ImageDraw.Draw(mask)
    bank = normalise(fbm_1d(rng, W, 6, 8, 0.55, 3))
    across = np.linspace(0, 1, W)
    left = 0.905 + 0.22 * smoothstep(0.12, 0.42, across) - 0.02 * bank
    right = 0.955 - 0.09 * smoothstep(0.72, 0.95, across) - 0.015 * bank
    shore = np.minimum(left, right) * H
    draw.polygon([(0, H)] + [(x, shore[x]) for x in range(0, W, 2)] + [(W, H)], fill=255)
    for _ in range(int(W * 0.35)):
        x = rng.uniform(0, W)
        y = shore[min(W - 1, int(x))]
        if y > H:
            continue
        blade = H * rng.uniform(0.008, 0.03)
        lean = blade * rng.uniform(-0.35, 0.35)
        half = H * 0.0012
        draw.polygon([(x - half, y + 2), (x + lean, y - blade), (x + half, y + 2)], fill=255)
    for x, size in ((0.915, 0.52), (0.972, 0.78), (1.03, 0.62)):
        base = shore[min(W - 1, int(x * W))] + H * 0.01
        draw_spruce(draw, rng, x * W, base, size * H, size * H * 0.3)
    cover = np.asarray(mask.reduce(scale), np.float32) / 255.0

    # Edges that face the sun (to the left of the trees on the right) get a
    # thin warm rim.
    shift = max(1, width // 1200)
    toward_sun = np.roll(cover, shift, axis=1)
    rim = np.clip(cover - toward_sun, 0.0, 1.0) * (u > SUN_U)
    near_sun = np.exp(-np.abs(u - SUN_U) * aspect / 0.9)
    tone = np.broadcast_to(rgb("#0b0f17"), image.shape)
    tone = screen(tone, rim * near_sun * 0.35, rgb("#ffb47a"))
    image[:] = mix(image, tone, cover)


def finish(rng, image, v, u, aspect):
    """Vignette, a gentle contrast curve and fine film grain."""
    height, width = image.shape[:2]
    radius = np.sqrt(((u - 0.5) * 2.0) ** 2 + ((v - 0.5) * 2.0) ** 2) / np.sqrt(2)
    image *= (1.0 - 0.32 * radius ** 2.4)[..., None]
    np.clip(image, 0.0, 1.0, out=image)
    image[:] = mix(image, smoothstep(0.0, 1.0, image), 0.2)
    grain = rng.standard_normal((height, width), dtype=np.float32) * 0.010
    image += grain[..., None]
    np.clip(image, 0.0, 1.0, out=image)
