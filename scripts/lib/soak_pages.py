"""Writes the TIFF samples of scripts/soak: every page a blank sheet of the
size asked for with its own mark in the middle (the page's number as a grid
of black squares), so that no two pages make the same print file.

   python3 scripts/lib/soak_pages.py OUT_FOLDER NAME:WIDTH_MM:HEIGHT_MM:PAGES[:noise] ...

Pages are 1-bit, 100 dpi, uncompressed, one strip each. With "noise" the
sheet is random dots (drawn from the page's number) around the mark: a page
that hardly compresses, for print files of megabytes.
"""
import random
import struct
import sys

DPI = 100
CELL, GRID = 16, 6  # 36 squares: bit i of the page number black or white


def page_bits(width_mm, height_mm, number, noise=False):
    width, height = round(width_mm / 25.4 * DPI), round(height_mm / 25.4 * DPI)
    row = (width + 7) // 8
    pixels = bytearray(random.Random(number).randbytes(row * height) if noise else row * height)
    left, top = (width - CELL * GRID) // 2 // 8 * 8, (height - CELL * GRID) // 2
    for y in range(CELL * GRID):
        line = bytearray(CELL * GRID // 8)
        for x in range(CELL * GRID):
            if number >> (y // CELL * GRID + x // CELL) & 1:
                line[x // 8] |= 0x80 >> (x % 8)
        start = (top + y) * row + left // 8
        pixels[start:start + len(line)] = line
    return width, height, bytes(pixels)


def write_tiff(path, pages):
    """pages: (width, height, bits) of each page."""
    out = bytearray(b"II*\0\0\0\0\0")
    link = 4  # where the offset of the next directory goes
    for width, height, bits in pages:
        data = len(out)
        out += bits
        resolution = len(out)
        out += struct.pack("<II", DPI, 1)
        if len(out) % 2:
            out += b"\0"
        tags = [(256, 4, width), (257, 4, height), (258, 3, 1), (259, 3, 1), (262, 3, 0), (273, 4, data),
                (277, 3, 1), (278, 4, height), (279, 4, len(bits)), (282, 5, resolution),
                (283, 5, resolution), (296, 3, 2)]
        struct.pack_into("<I", out, link, len(out))
        out += struct.pack("<H", len(tags))
        for tag, kind, value in tags:
            out += struct.pack("<HHI", tag, kind, 1) + struct.pack("<H2x" if kind == 3 else "<I", value)
        link = len(out)
        out += b"\0\0\0\0"
    with open(path, "wb") as f:
        f.write(out)


def main():
    folder = sys.argv[1]
    number = 0
    for spec in sys.argv[2:]:
        name, width, height, count, *kind = spec.split(":")
        pages = []
        for _ in range(int(count)):
            number += 1
            pages.append(page_bits(float(width), float(height), number, kind == ["noise"]))
        write_tiff(f"{folder}/{name}", pages)


if __name__ == "__main__":
    main()
