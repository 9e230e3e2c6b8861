"""PNG encoding with the standard library only: 8-bit RGB or RGBA, adaptive row filters."""

import struct
import zlib

_SIGNATURE = b"\x89PNG\r\n\x1a\n"
_COLOUR_TYPE = {3: 2, 4: 6}  # channels -> PNG colour type (2 truecolour, 6 truecolour + alpha)


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filtered_rows(rows, bpp):
    """Each row with the filter that leaves the smallest sum of magnitudes (the usual heuristic)."""
    previous = bytes(len(rows[0]))
    for row in rows:
        candidates = []
        for kind in range(5):
            out = bytearray(len(row))
            for i, value in enumerate(row):
                left = row[i - bpp] if i >= bpp else 0
                up = previous[i]
                upper_left = previous[i - bpp] if i >= bpp else 0
                predictor = (0, left, up, (left + up) // 2, _paeth(left, up, upper_left))[kind]
                out[i] = (value - predictor) & 0xFF
            cost = sum(v if v < 128 else 256 - v for v in out)
            candidates.append((cost, kind, out))
        _, kind, out = min(candidates, key=lambda c: (c[0], c[1]))
        yield bytes([kind]) + bytes(out)
        previous = row


def encode_png(width, height, channels, pixels):
    """pixels: bytes of height rows of width pixels, `channels` bytes each (3 = RGB, 4 = RGBA)."""
    stride = width * channels
    assert len(pixels) == stride * height
    rows = [pixels[y * stride:(y + 1) * stride] for y in range(height)]
    header = struct.pack(">IIBBBBB", width, height, 8, _COLOUR_TYPE[channels], 0, 0, 0)
    data = zlib.compress(b"".join(_filtered_rows(rows, channels)), 9)
    return _SIGNATURE + _chunk(b"IHDR", header) + _chunk(b"IDAT", data) + _chunk(b"IEND", b"")
