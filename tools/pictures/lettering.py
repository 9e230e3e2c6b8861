"""The QVorvane wordmark and emblem, drawn from strokes (no font involved).

Glyphs are geometric, built from round-capped strokes on a grid of font units: baseline 0, the
capital height 100 and the x-height 70 are the outer edges of the strokes, y grows upwards.
"""

import math

from shapes import arc, capsule, polygon, union

STROKE = 14.0  # font units
_H = STROKE / 2.0
_SPACING = 14.0

# name -> (advance width, strokes); a stroke is ("line", points...) or ("arc", cx, cy, r, a0, a1)
_GLYPHS = {
    "Q": (100, [("arc", 50, 50, 43, 0, 360), ("line", (62, 24), (92, -4))]),
    "V": (80, [("line", (7, 93), (40, 7), (73, 93))]),
    "o": (70, [("arc", 35, 35, 28, 0, 360)]),
    "r": (54, [("line", (7, 7), (7, 63)), ("arc", 35, 35, 28, 65, 180)]),
    "v": (66, [("line", (7, 63), (33, 7), (59, 63))]),
    "a": (70, [("arc", 35, 35, 28, 0, 360), ("line", (63, 7), (63, 63))]),
    "n": (70, [("line", (7, 7), (7, 63)), ("arc", 35, 35, 28, 0, 180), ("line", (63, 35), (63, 7))]),
    "e": (70, [("line", (7, 35), (63, 35)), ("arc", 35, 35, 28, 0, 320)]),
}


def text_width(text):
    return sum(_GLYPHS[c][0] for c in text) + _SPACING * (len(text) - 1)


def glyph_shapes(text, left, baseline, scale):
    """One distance function per character, in pixels, placed with its left edge at `left` and
    its baseline at `baseline`; returns (character, shape, pixel bounding box) per character."""
    placed = []
    pen = 0.0
    half = _H * scale
    for char in text:
        advance, strokes = _GLYPHS[char]

        def px(u, pen=pen):
            return left + (pen + u) * scale

        def py(v):
            return baseline - v * scale
        parts = []
        for stroke in strokes:
            if stroke[0] == "line":
                points = stroke[1:]
                parts += [capsule(px(a[0]), py(a[1]), px(b[0]), py(b[1]), half)
                          for a, b in zip(points, points[1:])]
            else:
                _, cx, cy, r, a0, a1 = stroke
                parts.append(arc(px(cx), py(cy), r * scale, a0, a1, half))
        bbox = (px(0) - 2, py(110) - 2, px(advance) + 2, py(-12) + 2)
        placed.append((char, union(*parts), bbox))
        pen += advance + _SPACING
    return placed


def hexagon_points(cx, cy, radius):
    """A hexagon standing on a point (pointy top and bottom)."""
    return [(cx + radius * math.cos(math.radians(90 + 60 * k)),
             cy - radius * math.sin(math.radians(90 + 60 * k))) for k in range(6)]


def emblem_shapes(cx, cy, radius, weight=0.13):
    """The platform's emblem: a hexagon badge holding a chevron whose stroke is `weight` times
    the radius wide on each side. Returns (badge, chevron)."""
    corner = radius * 0.12
    inner = polygon(hexagon_points(cx, cy, radius - corner * 2.0))
    badge = lambda x, y: inner(x, y) - corner * 2.0 * math.cos(math.radians(30))
    half = radius * weight
    chevron = union(capsule(cx - radius * 0.42, cy - radius * 0.30, cx, cy + radius * 0.40, half),
                    capsule(cx + radius * 0.42, cy - radius * 0.30, cx, cy + radius * 0.40, half))
    return badge, chevron
