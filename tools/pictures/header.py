"""The default header banner: a night-sky arena of light with the QVorvane emblem and wordmark.

Layers, back to front: a diagonal gradient, coloured glows, a perspective grid floor, light
streaks, floating shards, sparks, the logo with its shadow, and a vignette.
"""

import math
import random

from canvas import Canvas, clamp, mix, smoothstep
from lettering import emblem_shapes, glyph_shapes, text_width
from shapes import outline, polygon, rounded_rect

WIDTH, HEIGHT = 558, 205
NAME = "QVorvane"
ORANGE_LIGHT = (255, 186, 64)
ORANGE_DEEP = (240, 112, 0)
LETTER_TOP = (250, 252, 255)
LETTER_BOTTOM = (196, 210, 228)
_HORIZON = 150.0


def _background(x, y):
    t = clamp(x / WIDTH * 0.8 + y / HEIGHT * 0.2)
    colour = mix((9, 14, 34), (44, 18, 68), t)
    return mix(colour, (4, 6, 16), smoothstep(60.0, HEIGHT, y) * 0.6), 1.0


_GLOWS = [  # (centre x, centre y, radius, colour, strength)
    (440, 30, 230, (0, 150, 255), 0.34),
    (90, 190, 210, (190, 40, 170), 0.30),
    (279, 110, 170, (255, 120, 0), 0.16),
    (560, 200, 160, (120, 60, 255), 0.25),
]


def _glow(x, y):
    light = [0.0, 0.0, 0.0]
    for cx, cy, radius, colour, strength in _GLOWS:
        f = clamp(1.0 - math.hypot(x - cx, y - cy) / radius)
        f = strength * f * f
        for k in range(3):
            light[k] += colour[k] * f / 255.0
    return light


def _grid(x, y):
    """Lines of a floor receding to the horizon, anti-aliased by their on-screen width."""
    depth = y - _HORIZON
    if depth <= 0.5:
        return 0.0
    u = (x - WIDTH / 2.0) / depth * 1.4
    v = 420.0 / depth
    du, dv = 1.4 / depth * 1.2, 420.0 / (depth * depth) * 1.2
    line_u = clamp(1.0 - abs(u - round(u)) / max(du, 0.02))
    line_v = clamp(1.0 - abs(v - round(v)) / max(dv, 0.02))
    fade = smoothstep(2.0, 50.0, depth)
    horizon = math.exp(-depth / 6.0) * 0.25  # a haze where the floor meets the sky
    return max(line_u, line_v) * 0.4 * fade + horizon


_STREAKS = [  # light beams: start, end, width, strength
    ((300, 205), (560, 20), 1.2, 0.55),
    ((350, 205), (558, 60), 0.8, 0.35),
    ((-10, 120), (170, -10), 0.9, 0.30),
    ((430, 205), (558, 115), 0.7, 0.30),
]


def _streak_light(x, y):
    total = 0.0
    for (ax, ay), (bx, by), width, strength in _STREAKS:
        vx, vy = bx - ax, by - ay
        t = clamp(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy))
        d = math.hypot(x - ax - vx * t, y - ay - vy * t)
        core = math.exp(-(d * d) / (width * width))
        halo = math.exp(-(d * d) / (100.0 * width * width)) * 0.25
        total += strength * (core + halo) * math.sin(math.pi * t)
    return total


def _lights(canvas):
    for y in range(HEIGHT):
        for x in range(WIDTH):
            cx, cy = x + 0.5, y + 0.5
            glow = _glow(cx, cy)
            grid = _grid(cx, cy)
            streak = _streak_light(cx, cy)
            colour = (glow[0] * 255 + grid * 80 + streak * 200,
                      glow[1] * 255 + grid * 200 + streak * 230,
                      glow[2] * 255 + grid * 255 + streak * 255)
            canvas.add_light(x, y, colour, 1.0)


def _shards(canvas, rng):
    """Translucent diamonds drifting around the logo."""
    for _ in range(14):
        cx, cy = rng.uniform(0, WIDTH), rng.uniform(0, HEIGHT)
        if 120 < cx < 440 and 60 < cy < 150:
            continue  # keep the logo clear
        size = rng.uniform(5, 16)
        angle = rng.uniform(0, math.pi)
        stretch = rng.uniform(1.4, 2.4)
        points = []
        for k in range(4):
            a = angle + k * math.pi / 2
            r = size * (stretch if k % 2 == 0 else 1.0)
            points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        colour = rng.choice([(255, 150, 40), (80, 200, 255), (200, 120, 255)])
        reach = size * stretch + 2
        canvas.fill(polygon(points), colour, (cx - reach, cy - reach, cx + reach, cy + reach),
                    opacity=rng.uniform(0.12, 0.3))


def _sparks(canvas, rng):
    for _ in range(90):
        cx, cy = rng.uniform(0, WIDTH), rng.uniform(0, HEIGHT)
        radius = rng.uniform(0.5, 1.6)
        strength = rng.uniform(0.3, 0.9)
        colour = rng.choice([(255, 255, 255), (150, 220, 255), (255, 200, 120)])
        reach = radius * 4
        for y in range(max(0, int(cy - reach)), min(HEIGHT, int(cy + reach) + 1)):
            for x in range(max(0, int(cx - reach)), min(WIDTH, int(cx + reach) + 1)):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                canvas.add_light(x, y, colour, strength * math.exp(-(d * d) / (radius * radius)))


def _logo(canvas):
    scale = 0.5
    emblem_radius = 40.0
    gap = 22.0
    width = emblem_radius * 2 + gap + text_width(NAME) * scale
    left = (WIDTH - width) / 2.0
    baseline = 120.0
    ecx, ecy = left + emblem_radius, baseline - 50 * scale
    badge, chevron = emblem_shapes(ecx, ecy, emblem_radius)
    letters = glyph_shapes(NAME, left + emblem_radius * 2 + gap, baseline, scale)

    # A soft dark halo under the whole logo keeps it readable over the lights.
    plate = rounded_rect(left - 10, ecy - emblem_radius - 4, left + width + 10,
                         ecy + emblem_radius + 4, 30.0)
    canvas.shade(lambda x, y: ((4, 6, 20), 0.45 * (1.0 - smoothstep(-30.0, 24.0, plate(x, y)))),
                 (left - 50, ecy - emblem_radius - 44, left + width + 50, ecy + emblem_radius + 44))

    top, bottom = ecy - emblem_radius, ecy + emblem_radius
    orange = lambda x, y: mix(ORANGE_LIGHT, ORANGE_DEEP, clamp((y - top) / (bottom - top)))
    box = (ecx - emblem_radius - 2, top - 2, ecx + emblem_radius + 2, bottom + 2)
    canvas.fill(lambda x, y: badge(x + 1.5, y - 2.5), (0, 0, 0), box, opacity=0.5)
    canvas.fill(badge, orange, box)
    rim = outline(lambda x, y: badge(x, y) + 3.5, 0.8)  # a thin light line just inside the edge
    canvas.fill(rim, (255, 230, 190), box, opacity=0.55)
    canvas.fill(chevron, (255, 255, 255), box)

    cap_top, cap_bottom = baseline - 100 * scale, baseline
    white = lambda x, y: mix(LETTER_TOP, LETTER_BOTTOM, clamp((y - cap_top) / (cap_bottom - cap_top)))
    for char, shape, bbox in letters:
        shadow_box = (bbox[0], bbox[1], bbox[2] + 3, bbox[3] + 3)
        canvas.fill(lambda x, y, s=shape: s(x - 1.5, y - 2.0), (0, 0, 0), shadow_box, opacity=0.55)
        canvas.fill(shape, orange if char == "V" else white, bbox)

    # An underline that runs out from under the name in both directions.
    line_left, line_right = left + emblem_radius * 2 + gap, left + width
    underline = rounded_rect(line_left, baseline + 14, line_right, baseline + 17, 1.5)
    fade = lambda x, y: mix(ORANGE_LIGHT, ORANGE_DEEP, clamp((x - line_left) / (line_right - line_left)))
    canvas.fill(underline, fade, (line_left - 2, baseline + 12, line_right + 2, baseline + 19))


def _vignette(x, y):
    dx = (x - WIDTH / 2.0) / (WIDTH / 2.0)
    dy = (y - HEIGHT / 2.0) / (HEIGHT / 2.0)
    return (0, 0, 0), 0.45 * smoothstep(0.55, 1.5, math.hypot(dx, dy))


def header():
    rng = random.Random(1317)  # fixed, so every run draws the same picture
    canvas = Canvas(WIDTH, HEIGHT)
    canvas.shade(_background)
    _lights(canvas)
    _shards(canvas, rng)
    _sparks(canvas, rng)
    _logo(canvas)
    canvas.shade(_vignette)
    return canvas
