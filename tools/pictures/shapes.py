"""Signed distance functions (pixel units, negative inside) and ways to combine them."""

import math


def box_distance(x, y, x0, y0, x1, y1):
    """Distance from a point to the rectangle [x0, x1] x [y0, y1]; negative inside."""
    dx = max(x0 - x, x - x1)
    dy = max(y0 - y, y - y1)
    outside = math.hypot(max(dx, 0.0), max(dy, 0.0))
    return outside + min(max(dx, dy), 0.0)


def rounded_rect(x0, y0, x1, y1, radius):
    return lambda x, y: box_distance(x, y, x0 + radius, y0 + radius, x1 - radius, y1 - radius) - radius


def segment_distance(x, y, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    length2 = vx * vx + vy * vy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * vx + (y - ay) * vy) / length2))
    return math.hypot(x - ax - vx * t, y - ay - vy * t)


def capsule(ax, ay, bx, by, half_width):
    """A stroke from a to b with round caps."""
    return lambda x, y: segment_distance(x, y, ax, ay, bx, by) - half_width


def arc(cx, cy, radius, start_deg, end_deg, half_width):
    """A round-capped stroke along a circle, counter-clockwise from start to end (y grows down,
    so angles are measured as on screen: 0 is right, 90 is up)."""
    start = math.radians(start_deg)
    sweep = math.radians(end_deg - start_deg) % (2.0 * math.pi) or 2.0 * math.pi
    ends = [(cx + radius * math.cos(a), cy - radius * math.sin(a)) for a in (start, start + sweep)]

    def sdf(x, y):
        angle = (math.atan2(cy - y, x - cx) - start) % (2.0 * math.pi)
        if angle <= sweep:
            return abs(math.hypot(x - cx, y - cy) - radius) - half_width
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - half_width
    return sdf


def polygon(points):
    """A closed polygon (any winding, no self-intersections)."""
    n = len(points)

    def sdf(x, y):
        best = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[i - 1]
            best = min(best, segment_distance(x, y, ax, ay, bx, by))
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                inside = not inside
        return -best if inside else best
    return sdf


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def outline(shape, half_width):
    """A stroke of the given half width centred on the shape's edge."""
    return lambda x, y: abs(shape(x, y)) - half_width
