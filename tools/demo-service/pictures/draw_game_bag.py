#!/usr/bin/env python3
"""Draws the demo game bag's pictures: the featured game's header banner (install_head.png) and
its shortcut picture (icon.png), a sailing ship on a night sea, into ../content/gamebag/.

    tools/demo-service/pictures/draw_game_bag.py            writes the two files
    tools/demo-service/pictures/draw_game_bag.py --check    fails when a committed file differs

Uses the picture generator's canvas and PNG writer (tools/pictures); the output is the same on
every run.
"""

import argparse
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "pictures"))

from canvas import Canvas, clamp, mix, smoothstep  # noqa: E402
from png_writer import encode_png  # noqa: E402
from shapes import polygon, rounded_rect, union  # noqa: E402

HEADER_SIZE = (558, 205)
SKY_TOP, SKY_LOW = (12, 20, 52), (46, 60, 110)
SEA_TOP, SEA_DEEP = (18, 52, 92), (4, 14, 34)
MOON = (255, 236, 190)
SAIL = (244, 238, 222)
HULL = (70, 40, 24)


def _wave_height(x, phase, scale):
    return (math.sin(x * 0.045 * scale + phase) * 4.0 + math.sin(x * 0.11 * scale + phase * 1.7) * 1.6)


def _ship(cx, base, size):
    """Hull and two sails of a ship whose keel line is at `base`, `size` pixels long."""
    half = size / 2.0
    hull = polygon([(cx - half, base - size * 0.16), (cx + half, base - size * 0.16),
                    (cx + half * 0.72, base), (cx - half * 0.72, base)])
    mast = rounded_rect(cx - size * 0.02, base - size * 0.95, cx + size * 0.02, base - size * 0.14,
                        size * 0.01)
    main_sail = polygon([(cx + size * 0.04, base - size * 0.9), (cx + size * 0.04, base - size * 0.22),
                         (cx + half * 0.85, base - size * 0.24)])
    fore_sail = polygon([(cx - size * 0.04, base - size * 0.8), (cx - size * 0.04, base - size * 0.24),
                         (cx - half * 0.8, base - size * 0.26)])
    return hull, mast, union(main_sail, fore_sail)


def header():
    width, height = HEADER_SIZE
    horizon = 128.0
    canvas = Canvas(width, height)

    def sky_and_sea(x, y):
        if y < horizon:
            colour = mix(SKY_TOP, SKY_LOW, smoothstep(0.0, horizon, y))
            glow = clamp(1.0 - math.hypot(x - 420.0, y - 52.0) / 150.0)
            return mix(colour, MOON, glow * glow * 0.35), 1.0
        depth = (y - horizon) / (height - horizon)
        colour = mix(SEA_TOP, SEA_DEEP, depth)
        # The moon's reflection: a broken column of light on the water.
        shimmer = clamp(1.0 - abs(x - 420.0) / (18.0 + depth * 60.0))
        ripple = 0.5 + 0.5 * math.sin(y * 0.9 + math.sin(x * 0.07) * 3.0)
        return mix(colour, MOON, shimmer * ripple * 0.45 * (1.0 - depth * 0.6)), 1.0

    canvas.shade(sky_and_sea)
    canvas.fill(lambda x, y: math.hypot(x - 420.0, y - 52.0) - 20.0, MOON)
    for i, (sx, sy) in enumerate([(40, 22), (95, 60), (160, 18), (230, 44), (300, 14), (350, 80),
                                  (500, 20), (530, 95), (20, 100), (270, 92), (190, 75)]):
        radius = 1.1 if i % 3 else 1.6
        canvas.fill(lambda x, y, sx=sx, sy=sy, r=radius: math.hypot(x - sx, y - sy) - r,
                    (230, 235, 255), opacity=0.8)

    hull, mast, sails = _ship(170.0, horizon + 10.0, 110.0)
    canvas.fill(hull, HULL)
    canvas.fill(mast, HULL)
    canvas.fill(sails, lambda x, y: mix(SAIL, (190, 196, 210), clamp((x - 120.0) / 110.0)))

    # Waves in front of the hull, three bands rolling towards the viewer.
    for band, (base, phase, shade) in enumerate([(horizon + 8.0, 0.0, 0.25), (horizon + 30.0, 1.3, 0.45),
                                                 (horizon + 55.0, 2.6, 0.7)]):
        scale = 1.0 + band * 0.4

        def wave(x, y, base=base, phase=phase, scale=scale):
            return (base + _wave_height(x, phase, scale)) - y

        canvas.fill(wave, lambda x, y, s=shade: mix(SEA_TOP, SEA_DEEP, s))
        crest = lambda x, y, base=base, phase=phase, scale=scale: abs(  # noqa: E731
            y - (base + _wave_height(x, phase, scale))) - 0.7
        canvas.fill(crest, (150, 190, 230), opacity=0.5)
    return canvas


def icon(size=256):
    canvas = Canvas(size, size)
    inset = size / 32.0
    tile = rounded_rect(inset, inset, size - inset, size - inset, size * 0.2)
    canvas.fill(tile, lambda x, y: mix(SKY_LOW, SEA_DEEP, y / size))
    hull, mast, sails = _ship(size * 0.5, size * 0.72, size * 0.62)
    canvas.fill(sails, SAIL)
    canvas.fill(mast, (230, 200, 160))
    canvas.fill(hull, (200, 140, 80))

    def water(x, y):
        return size * 0.74 + math.sin(x / size * 2.0 * math.pi * 2.0) * size * 0.025 - y

    canvas.fill(lambda x, y: max(water(x, y), tile(x, y)), (60, 140, 210))
    return canvas


PICTURES = {"install_head.png": (header, 3), "icon.png": (icon, 4)}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="compare instead of writing")
    args = parser.parse_args()
    out_folder = os.path.join(HERE, "..", "content", "gamebag")
    stale = []
    for name, (draw, channels) in PICTURES.items():
        canvas = draw()
        data = encode_png(canvas.width, canvas.height, channels, canvas.to_bytes(channels))
        path = os.path.join(out_folder, name)
        if args.check:
            with open(path, "rb") as existing:
                if existing.read() != data:
                    stale.append(name)
        else:
            with open(path, "wb") as out:
                out.write(data)
    if stale:
        print("out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
