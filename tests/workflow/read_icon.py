#!/usr/bin/env python3
"""Reads an icon file on its own terms (struct, no project code) and prints what it holds.

Output: one "name=value" line per header field, then "colour=" with the pixels top-down as hex
(blue, green, red and, for 32 bits, alpha) and "mask=" with one 0/1 per pixel top-down.
Exits 1 when the file does not hold one uncompressed 24- or 32-bit image as the layout says.
"""
import struct
import sys


def main(path):
    data = open(path, "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    width_byte, height_byte, colours, reserved2, planes, bpp, size, offset = struct.unpack_from(
        "<BBBBHHII", data, 6)
    (bih_size, width, height2, bih_planes, bih_bpp, compression, image_bytes, xppm, yppm,
     used, important) = struct.unpack_from("<IiiHHIIiiII", data, offset)
    fields = dict(reserved=reserved, type=kind, count=count, width_byte=width_byte,
                  height_byte=height_byte, colours=colours, reserved2=reserved2, planes=planes,
                  bpp=bpp, size=size, offset=offset, file_size=len(data), bih_size=bih_size,
                  bih_width=width, bih_height=height2, bih_planes=bih_planes, bih_bpp=bih_bpp,
                  compression=compression, image_bytes=image_bytes,
                  rest=xppm | yppm | used | important)
    for name, value in fields.items():
        print(f"{name}={value}")
    if bih_bpp not in (24, 32) or compression != 0 or offset + size != len(data):
        return 1
    height = height2 // 2
    colour_row = (bih_bpp * width + 31) // 32 * 4
    mask_row = (width + 31) // 32 * 4
    colour_start = offset + bih_size
    mask_start = colour_start + height * colour_row
    step = bih_bpp // 8
    colour, mask = [], []
    for y in range(height):  # top-down
        row = height - 1 - y
        c = data[colour_start + row * colour_row:colour_start + row * colour_row + width * step]
        colour.append(c.hex())
        m = data[mask_start + row * mask_row:mask_start + (row + 1) * mask_row]
        mask.append("".join(str((m[x // 8] >> (7 - x % 8)) & 1) for x in range(width)))
    print("colour=" + "".join(colour))
    print("mask=" + "".join(mask))
    return 0


sys.exit(main(sys.argv[1]))
