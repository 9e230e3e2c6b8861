"""A floating-point RGBA canvas with premultiplied alpha and anti-aliased shape filling.

Shapes are signed distance functions in pixel units (negative inside), sampled at pixel centres;
coverage is 0.5 - distance clamped to [0, 1], which anti-aliases edges over about one pixel.
Colours are 0-255 floats, alpha 0-1.
"""


def clamp(value, low=0.0, high=1.0):
    return low if value < low else high if value > high else value


def mix(a, b, t):
    """Linear blend of two colours (tuples), t = 0 gives a."""
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def smoothstep(edge0, edge1, x):
    t = clamp((x - edge0) / (edge1 - edge0))
    return t * t * (3.0 - 2.0 * t)


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        size = width * height
        self.r = [0.0] * size
        self.g = [0.0] * size
        self.b = [0.0] * size
        self.a = [0.0] * size

    def _box(self, bbox):
        if bbox is None:
            return 0, 0, self.width, self.height
        x0, y0, x1, y1 = bbox
        return (max(0, int(x0)), max(0, int(y0)),
                min(self.width, int(x1) + 1), min(self.height, int(y1) + 1))

    def blend(self, x, y, colour, alpha):
        """Source-over of a straight colour with the given alpha onto one pixel."""
        if alpha <= 0.0:
            return
        i = y * self.width + x
        keep = 1.0 - alpha
        self.r[i] = colour[0] * alpha + self.r[i] * keep
        self.g[i] = colour[1] * alpha + self.g[i] * keep
        self.b[i] = colour[2] * alpha + self.b[i] * keep
        self.a[i] = alpha + self.a[i] * keep

    def add_light(self, x, y, colour, amount):
        """Adds light to an existing pixel's colour without changing its alpha."""
        if amount <= 0.0:
            return
        i = y * self.width + x
        a = self.a[i]
        self.r[i] = min(255.0 * a, self.r[i] + colour[0] * amount * a)
        self.g[i] = min(255.0 * a, self.g[i] + colour[1] * amount * a)
        self.b[i] = min(255.0 * a, self.b[i] + colour[2] * amount * a)

    def fill(self, sdf, paint, bbox=None, opacity=1.0):
        """Fills the shape `sdf(x, y)`; paint is a colour or a function (x, y) -> colour."""
        x0, y0, x1, y1 = self._box(bbox)
        shader = paint if callable(paint) else None
        for y in range(y0, y1):
            cy = y + 0.5
            for x in range(x0, x1):
                coverage = 0.5 - sdf(x + 0.5, cy)
                if coverage <= 0.0:
                    continue
                colour = shader(x + 0.5, cy) if shader else paint
                self.blend(x, y, colour, min(coverage, 1.0) * opacity)

    def shade(self, function, bbox=None):
        """Per-pixel effect: function(x, y) -> (colour, alpha) or None, blended source-over."""
        x0, y0, x1, y1 = self._box(bbox)
        for y in range(y0, y1):
            for x in range(x0, x1):
                result = function(x + 0.5, y + 0.5)
                if result is not None:
                    self.blend(x, y, result[0], result[1])

    def to_bytes(self, channels):
        """8-bit straight (not premultiplied) RGB or RGBA rows, as PNG stores them."""
        out = bytearray()
        for i in range(self.width * self.height):
            a = self.a[i]
            alpha8 = int(round(clamp(a) * 255.0))
            if channels == 3:
                assert alpha8 == 255, "an opaque picture has a see-through pixel"
            if alpha8 == 0:
                out += bytes(channels)
                continue
            rgb = [int(round(clamp(c / a, 0.0, 255.0))) for c in (self.r[i], self.g[i], self.b[i])]
            out += bytes(rgb + ([alpha8] if channels == 4 else []))
        return bytes(out)
