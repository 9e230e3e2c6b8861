"""The program's icon: the emblem of the header banner on a rounded night-sky tile."""

from canvas import Canvas, clamp, mix
from lettering import emblem_shapes
from header import ORANGE_DEEP, ORANGE_LIGHT
from shapes import rounded_rect

SKY_TOP = (30, 24, 70)
SKY_BOTTOM = (8, 14, 34)


def icon(size):
    canvas = Canvas(size, size)
    inset = size / 32.0
    tile = rounded_rect(inset, inset, size - inset, size - inset, size * 0.2)
    canvas.fill(tile, lambda x, y: mix(SKY_TOP, SKY_BOTTOM, y / size))
    # Small sizes get a larger badge and a bolder chevron, so they stay legible.
    small = size <= 32
    radius = size * (0.42 if small else 0.36)
    cx, cy = size / 2.0, size / 2.0
    badge, chevron = emblem_shapes(cx, cy, radius, 0.18 if small else 0.13)
    top, bottom = cy - radius, cy + radius
    canvas.fill(badge, lambda x, y: mix(ORANGE_LIGHT, ORANGE_DEEP, clamp((y - top) / (bottom - top))))
    canvas.fill(chevron, (255, 255, 255))
    return canvas
