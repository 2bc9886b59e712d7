"""Spruce silhouettes drawn as polygons onto a Pillow mask."""


def conifer_outline(rng, x, base_y, height, width):
    """Outline of a small spruce standing at (x, base_y), for treelines.

    The crown narrows towards a thin tip; every tier ends in a drooping
    branch tip with a notch above it, each side with its own jitter."""
    tiers = max(5, int(height / max(width, 1.0) * 4.0 + rng.integers(0, 4)))
    top = base_y - height
    trunk = max(0.5, width * 0.05)
    sides = []
    for side in (-1, 1):
        points = []
        for tier in range(1, tiers + 1):
            t = tier / tiers
            y = top + height * 0.94 * t
            reach = width * 0.5 * (0.12 + 0.88 * t) * (0.6 + 0.6 * rng.random())
            step = height * 0.94 / tiers
            points.append((x + side * reach * 0.3, y - step * 0.5))
            points.append((x + side * reach, y + step * (0.2 + 0.3 * rng.random())))
        points.append((x + side * trunk, base_y))
        sides.append(points)
    return [(x, top)] + sides[1] + list(reversed(sides[0]))


def draw_conifer(draw, rng, x, base_y, height, width=None, fill=255):
    width = width if width is not None else height * (0.26 + 0.12 * rng.random())
    draw.polygon(conifer_outline(rng, x, base_y, height, width), fill=fill)


def draw_spruce(draw, rng, x, base_y, height, width, fill=255):
    """A large, detailed spruce: a slender trunk carrying drooping branches
    covered in small needle tufts, shorter towards the top, here and there a
    branch missing so that the sky shows through."""
    top = base_y - height
    trunk_half = max(1.0, width * 0.022)
    draw.polygon([(x - trunk_half * 0.2, top), (x + trunk_half * 0.2, top),
                  (x + trunk_half, base_y), (x - trunk_half, base_y)], fill=fill)
    # The dense inner crown around the trunk.
    core = [(x, top)]
    for k in range(1, 21):
        t = k / 20
        core.append((x + width * 0.09 * t * rng.uniform(0.7, 1.3), top + height * 0.95 * t))
    for k in range(20, 0, -1):
        t = k / 20
        core.append((x - width * 0.09 * t * rng.uniform(0.7, 1.3), top + height * 0.95 * t))
    draw.polygon(core, fill=fill)
    branches = int(height / width * 22)
    for index in range(branches):
        t = (index + rng.random()) / branches
        y = top + height * (0.02 + 0.93 * t)
        for side in (-1, 1):
            if 0.2 < t < 0.95 and rng.random() < 0.1:
                continue
            crown = 0.06 + 0.94 * t ** 0.8
            length = width * 0.5 * crown * rng.uniform(0.5, 1.05)
            draw_branch(draw, rng, x, y, side, length, height / branches, fill)


def draw_branch(draw, rng, x, y, side, length, spacing, fill):
    """A branch as a thin drooping stem with needle tufts hanging from it."""
    droop = length * rng.uniform(0.15, 0.45)
    rise = length * rng.uniform(-0.05, 0.1)
    steps = max(3, int(length / max(spacing * 0.35, 1.0)))
    stem = []
    for k in range(steps + 1):
        s = k / steps
        stem.append((x + side * length * s, y - rise * s + droop * s * s))
    thickness = max(1.0, spacing * 0.12)
    draw.line(stem, fill=fill, width=int(thickness * 2))
    for k in range(1, steps + 1):
        s = k / steps
        bx, by = stem[k]
        tuft = spacing * rng.uniform(0.9, 2.2) * (1.0 - 0.5 * s)
        spread = spacing * rng.uniform(0.4, 0.8)
        lean = side * spread * rng.uniform(0.2, 1.0)
        draw.polygon([(bx - spread * 0.5, by - tuft * 0.3), (bx + spread * 0.5, by - tuft * 0.3),
                      (bx + lean + side * spread * 0.3, by + tuft), (bx + lean - side * spread * 0.2, by + tuft * 0.8)],
                     fill=fill)


def draw_treeline(draw, rng, ridge_top, size_range, spacing_range, density=1.0):
    """Trees along a ridge line; ridge_top gives the ridge's y per column of
    the mask.  size_range and spacing_range are in mask pixels."""
    length = len(ridge_top)
    x = rng.uniform(0, spacing_range[1])
    while x < length:
        column = min(length - 1, int(x))
        if rng.random() < density:
            height = rng.uniform(*size_range)
            # Trees on a slope stand a little into it so that no gap shows.
            draw_conifer(draw, rng, x, ridge_top[column] + height * 0.08, height)
        x += rng.uniform(*spacing_range)
