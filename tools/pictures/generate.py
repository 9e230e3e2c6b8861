#!/usr/bin/env python3
"""Draws the installer's pictures and icons from code and writes them as PNG files.

    tools/pictures/generate.py            writes the files into resources/
    tools/pictures/generate.py --check    fails when a committed file differs from what this draws

Standard library only; the output is the same on every run (fixed random seeds).
"""

import argparse
import os
import sys

from buttons import GREY, ORANGE, close_button, minimise_button, progress_sprite
from frame import frame
from header import header
from icons import icon
from png_writer import encode_png

# file under resources/ -> (drawing, channels); ids in resources/manifest.txt
PICTURES = {
    "pictures/frame.png": (frame, 4),
    "pictures/close.png": (lambda: close_button(GREY), 4),
    "pictures/minimise.png": (lambda: minimise_button(GREY), 4),
    "pictures/minimise_hover.png": (lambda: minimise_button(ORANGE), 4),
    "pictures/close_hover.png": (lambda: close_button(ORANGE), 4),
    "pictures/progress_bar.png": (progress_sprite, 4),
    "pictures/header.png": (header, 3),
    "icons/icon_large.png": (lambda: icon(256), 4),
    "icons/icon_small.png": (lambda: icon(16), 4),
}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="compare instead of writing")
    parser.add_argument("--resources", default=os.path.join(os.path.dirname(__file__), "..", "..",
                                                            "resources"))
    args = parser.parse_args()
    stale = []
    for name, (draw, channels) in PICTURES.items():
        canvas = draw()
        data = encode_png(canvas.width, canvas.height, channels, canvas.to_bytes(channels))
        path = os.path.normpath(os.path.join(args.resources, name))
        if args.check:
            with open(path, "rb") as committed:
                if committed.read() != data:
                    stale.append(path)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(data)
        print(f"{path}: {canvas.width} x {canvas.height}, {len(data)} bytes")
    for path in stale:
        print(f"{path} differs from what the generator draws", file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main())
