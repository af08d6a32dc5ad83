#!/usr/bin/env python3
"""Draws Vexa's icon: a 4 x 4 grid of the 16 standard colours in a black frame, as a 32 x 32 and a
16 x 16 image of 16 colours each, written as res/vexa.ico."""
import struct
import sys

# The 16 colours of the standard VGA palette, as (red, green, blue).
COLOURS = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# Tile order: a spread of bright and dark colours, so the grid reads as a palette at 16 x 16 too.
TILES = [9, 11, 10, 14, 12, 13, 1, 3, 2, 6, 4, 5, 15, 7, 8, 0]


def image(size):
    cell = (size - 1) // 4  # one-pixel black lines between and around the tiles
    pixels = [[0] * size for _ in range(size)]
    for row in range(4):
        for col in range(4):
            colour = TILES[row * 4 + col]
            for y in range(row * cell + 1, (row + 1) * cell):
                for x in range(col * cell + 1, (col + 1) * cell):
                    pixels[y][x] = colour
    used = 4 * cell + 1
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    table = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in COLOURS)
    xor = b""
    for y in reversed(range(size)):  # bottom-up rows, two pixels a byte
        row = pixels[y]
        xor += bytes((row[x] << 4) | row[x + 1] for x in range(0, size, 2))
    and_row_bytes = ((size + 31) // 32) * 4
    mask = b""
    for y in reversed(range(size)):  # transparent outside the drawn grid
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if x >= used or y >= used else 0)
        mask += bits.to_bytes((size + 7) // 8, "big").ljust(and_row_bytes, b"\0")
    return header + table + xor + mask


def main(path):
    images = [image(32), image(16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/vexa.ico")
