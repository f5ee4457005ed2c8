#!/usr/bin/env python3
"""Draws the setup's icon, a disc of the medium, and writes res/setup.ico with an image for each
size Windows asks for at 100%, 125%, 150% and 200%: 32, 40, 48 and 64 pixels, and the small 16, 20,
24 and 32 (32-bit colour with alpha, plus the AND mask that systems without alpha use).

Run it again only to change the picture; the .ico beside it is what the build uses."""
import math
import os
import struct


def pixel(size, x, y):
    """BGRA of one pixel of the disc, sampled 4 x 4 for smooth edges."""
    c = size / 2.0
    outer, hole, hub = size * 0.47, size * 0.10, size * 0.22
    rim = outer - size / 26.0
    covered, b, g, r = 0, 0, 0, 0
    for sy in range(4):
        for sx in range(4):
            px, py = x + (sx + 0.5) / 4 - c, y + (sy + 0.5) / 4 - c
            d = math.hypot(px, py)
            if d > outer or d < hole:
                continue
            if d < hub:
                rgb = (200, 204, 212)  # the clear hub
            elif d > rim:
                rgb = (90, 100, 130)
            else:
                # A silver face with a blue-violet sheen that turns with the angle.
                t = (math.atan2(py, px) + math.pi) / (2 * math.pi)
                sheen = 0.5 + 0.5 * math.cos(4 * math.pi * t)
                rgb = (int(150 + 80 * sheen), int(170 + 60 * (1 - sheen)), 235)
            covered += 1
            r, g, b = r + rgb[0], g + rgb[1], b + rgb[2]
    if not covered:
        return (0, 0, 0, 0)
    # Premultiplied by nothing: the colour is the covered samples' mean, the alpha their share.
    return (b // covered, g // covered, r // covered, 255 * covered // 16)


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up, as in a BMP
        rows.append(b"".join(bytes(pixel(size, x, y)) for x in range(size)))
    xor = b"".join(rows)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(mask_stride)
        for x in range(size):
            if pixel(size, x, y)[3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + bytes(mask)


def main():
    sizes = [64, 48, 40, 32, 24, 20, 16]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "setup.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
