"""The main window's frame: an opaque dark panel with a lighter border and a glossy upper-left
corner, inside a soft translucent shadow."""

import math

from canvas import Canvas, clamp, mix, smoothstep
from shapes import box_distance

WIDTH, HEIGHT = 584, 410
SHADOW = 12  # the panel starts this far inside the picture on every side
PANEL_TOP = (38, 42, 46)
PANEL_BOTTOM = (29, 32, 35)
BORDER = (70, 78, 86)
SHADOW_ALPHA = 0.5  # next to the panel, fading to nothing at the picture's edge


def _shadow(x, y):
    d = box_distance(x, y, SHADOW, SHADOW, WIDTH - SHADOW, HEIGHT - SHADOW)
    if d <= 0.0:
        return None
    fade = clamp(1.0 - d / SHADOW)
    return (0, 0, 0), SHADOW_ALPHA * fade * fade


def _panel(x, y):
    left, top = SHADOW, SHADOW
    right, bottom = WIDTH - SHADOW, HEIGHT - SHADOW
    if not (left <= x < right and top <= y < bottom):
        return None
    colour = mix(PANEL_TOP, PANEL_BOTTOM, (y - top) / (bottom - top))
    if x < left + 1 or x > right - 1 or y < top + 1 or y > bottom - 1:
        colour = BORDER
    return colour, 1.0


def _gloss(x, y):
    """Light falling on the upper-left corner: a broad glow and a softly edged sheen."""
    px, py = x - SHADOW, y - SHADOW
    glow = clamp(1.0 - math.hypot(px, py * 1.4) / 320.0)
    sheen = 1.0 - smoothstep(-6.0, 6.0, px + 1.7 * py - 190.0)
    return 0.10 * glow * glow + 0.05 * sheen * glow


def frame():
    canvas = Canvas(WIDTH, HEIGHT)
    canvas.shade(_shadow)
    canvas.shade(_panel)
    for y in range(SHADOW, HEIGHT // 2):
        for x in range(SHADOW, WIDTH // 2 + 40):
            canvas.add_light(x, y, (255, 255, 255), _gloss(x + 0.5, y + 0.5))
    return canvas
