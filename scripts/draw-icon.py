#!/usr/bin/env python3
"""Draws Kelbrin's icon, resources/kelbrin.ico: 32 x 32 pixels in the 16
standard colours, a black disc with a red "K" in brush strokes.

Usage: scripts/draw-icon.py [OUTPUT]. Needs nothing beyond Python."""
import math
import struct
import sys

SIZE = 32
# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255),
    (255, 255, 255),
]
BLACK, DARK_RED, GREY, RED = 0, 1, 8, 9
TRANSPARENT = None

# Each stroke: points (x, y, brush radius), drawn as a swelling and thinning line.
STROKES = [
    [(11.0, 6.0, 1.2), (11.5, 9.0, 2.6), (11.2, 17.0, 2.4), (10.8, 23.0, 2.0), (10.0, 26.5, 0.8)],  # the stem
    [(22.5, 6.5, 0.8), (20.0, 9.5, 2.0), (16.0, 14.0, 2.4), (12.5, 17.0, 1.6)],  # the upper arm
    [(14.0, 16.0, 1.4), (17.0, 19.0, 2.2), (20.0, 23.0, 2.6), (23.5, 26.0, 1.2), (25.5, 26.8, 0.5)],  # the leg
]
SPLASHES = [(24.5, 9.0, 0.9), (7.5, 25.5, 0.7)]


def distance_to_segment(px, py, a, b):
    """Distance from (px, py) to segment a-b and the brush radius there."""
    ax, ay, ar = a
    bx, by, br = b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy), ar + t * (br - ar)


def ink(px, py):
    """How deep a pixel lies inside the strokes: > 0 inside, the larger the deeper."""
    depth = -1.0
    for stroke in STROKES:
        for a, b in zip(stroke, stroke[1:]):
            d, r = distance_to_segment(px, py, a, b)
            depth = max(depth, r - d)
    for x, y, r in SPLASHES:
        depth = max(depth, r - math.hypot(px - x, py - y))
    return depth


def colour_at(x, y):
    px, py = x + 0.5, y + 0.5
    from_centre = math.hypot(px - 16, py - 16)
    if from_centre > 15.5:
        return TRANSPARENT
    depth = ink(px, py)
    if depth > 0.55:
        return RED
    if depth > 0.0:
        return DARK_RED
    return GREY if from_centre > 14.8 else BLACK


def icon_bytes():
    pixels = [[colour_at(x, y) for x in range(SIZE)] for y in range(SIZE)]
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bitmaps run bottom up
        indexes = [BLACK if p is TRANSPARENT else p for p in row]
        xor_rows.append(bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, SIZE, 2)))
        mask = 0
        for p in row:
            mask = (mask << 1) | (p is TRANSPARENT)
        and_rows.append(mask.to_bytes(SIZE // 8, "big"))
    bits = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(bits), 0, 0, 16, 0)
    image = header + colours + bits
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 22)
    return directory + image


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else "resources/kelbrin.ico"
    with open(output, "wb") as f:
        f.write(icon_bytes())


if __name__ == "__main__":
    main()
