"""Deterministic value noise, for single points and for whole picture grids.

Every field of the sample weather (rain, cloud, pressure, temperature swings)
is fractal value noise over longitude and latitude, so a point forecast, a
radar picture and a satellite picture of the same place and time agree.

The grid evaluator is the fast path for pictures: for one row of pixels the
lattice rows above and below are mixed once per lattice column, and each
pixel is then a single interpolation between two columns.
"""

import math


def lattice(ix, iy, seed):
    """A pseudo-random value in [0, 1) for one lattice point."""
    h = (ix * 374761393 + iy * 668265263 + seed * 1442695041) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    h ^= h >> 16
    return h / 4294967296.0


def _smooth(t):
    return t * t * (3.0 - 2.0 * t)


def value(x, y, seed):
    """Smoothly interpolated lattice noise at (x, y), in [0, 1)."""
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = _smooth(x - ix), _smooth(y - iy)
    a = lattice(ix, iy, seed)
    b = lattice(ix + 1, iy, seed)
    c = lattice(ix, iy + 1, seed)
    d = lattice(ix + 1, iy + 1, seed)
    top = a + (b - a) * fx
    bottom = c + (d - c) * fx
    return top + (bottom - top) * fy


def fbm(x, y, seed, octaves=4, gain=0.5):
    """Fractal sum of 'octaves' noise layers, each twice as fine; about [0, 1)."""
    total, amplitude, norm, frequency = 0.0, 1.0, 0.0, 1.0
    for octave in range(octaves):
        total += amplitude * value(x * frequency, y * frequency, seed + octave * 7919)
        norm += amplitude
        amplitude *= gain
        frequency *= 2.0
    return total / norm


def _axis(coords):
    """Lattice cells and smoothed weights of one axis of a grid."""
    cells = [math.floor(c) for c in coords]
    weights = [_smooth(c - i) for c, i in zip(coords, cells)]
    return cells, weights


def value_grid(xs, ys, seed, amplitude=1.0, rows=None):
    """Adds amplitude * value(x, y) for every y of 'ys' and x of 'xs' into 'rows'
    (a list of lists of floats, created when None) and returns it."""
    xcells, xweights = _axis(xs)
    x_low = min(xcells)
    x_span = max(xcells) - x_low + 2
    offsets = [c - x_low for c in xcells]
    ycells, yweights = _axis(ys)
    if rows is None:
        rows = [[0.0] * len(xs) for _ in ys]
    cache = {}

    def lattice_row(iy):
        row = cache.get(iy)
        if row is None:
            row = [lattice(x_low + i, iy, seed) for i in range(x_span)]
            cache[iy] = row
        return row

    for out, iy, wy in zip(rows, ycells, yweights):
        upper, lower = lattice_row(iy), lattice_row(iy + 1)
        mixed = [(u + (l - u) * wy) * amplitude for u, l in zip(upper, lower)]
        out[:] = [o + mixed[k] + (mixed[k + 1] - mixed[k]) * w
                  for o, k, w in zip(out, offsets, xweights)]
    return rows


def fbm_grid(xs, ys, seed, octaves=4, gain=0.5):
    """fbm() over a grid: rows (one per y) of values (one per x)."""
    rows = None
    amplitude, norm, frequency = 1.0, 0.0, 1.0
    for octave in range(octaves):
        rows = value_grid([x * frequency for x in xs], [y * frequency for y in ys],
                          seed + octave * 7919, amplitude, rows)
        norm += amplitude
        amplitude *= gain
        frequency *= 2.0
    scale = 1.0 / norm
    return [[v * scale for v in row] for row in rows]


def stable_hash(text):
    """A small hash of a text that stays the same from run to run (unlike hash())."""
    h = 2166136261
    for byte in text.encode("utf-8"):
        h = ((h ^ byte) * 16777619) & 0xFFFFFFFF
    return h
