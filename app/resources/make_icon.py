#!/usr/bin/env python3
"""Draws the program icon (64x64, 32-bit with alpha) and writes it as a Windows .ico file.

Run from this folder: python3 make_icon.py  -> VornScpiControl64x64.ico
"""
import struct

SIZE = 64
SAMPLES = 4  # per axis, for smooth edges

# A lightning bolt on a round dark-blue badge with a light ring.
BOLT = [(36, 6), (16, 36), (30, 36), (24, 58), (48, 26), (34, 26), (42, 6)]


def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def sample(x, y):
    """Colour (r, g, b, a) of one sub-pixel."""
    dx, dy = x - 32, y - 32
    r2 = dx * dx + dy * dy
    if r2 > 31 * 31:
        return (0, 0, 0, 0)
    if inside(BOLT, x, y):
        return (255, 204, 0, 255)
    if r2 > 28 * 28:
        return (190, 210, 235, 255)
    return (24, 52, 110, 255)


def pixel(px, py):
    acc = [0, 0, 0, 0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            r, g, b, a = sample(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
            acc[0] += r * a
            acc[1] += g * a
            acc[2] += b * a
            acc[3] += a
    if acc[3] == 0:
        return (0, 0, 0, 0)
    return (acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], acc[3] // (SAMPLES * SAMPLES))


def main():
    rows = []
    for py in reversed(range(SIZE)):  # bitmaps are stored bottom-up
        row = b""
        for px in range(SIZE):
            r, g, b, a = pixel(px, py)
            row += bytes((b, g, r, a))
        rows.append(row)
    mask = b"\0" * (SIZE * SIZE // 8)  # alpha decides; the AND mask stays clear
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    image = header + b"".join(rows) + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open("VornScpiControl64x64.ico", "wb") as out:
        out.write(directory + image)


if __name__ == "__main__":
    main()
