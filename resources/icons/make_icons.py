#!/usr/bin/env python3
"""Draws the program's icons (run states, status marks, program icon) as PNGs.

Plain shapes, anti-aliased by 4x4 supersampling, written with zlib alone so
that no imaging package is needed. Run it again after changing a drawing;
the PNGs beside it are what the build embeds.
"""
import math
import os
import struct
import zlib

SAMPLES = 4


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def round_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        nx = min(max(x, x0 + r), x1 - r)
        ny = min(max(y, y0 + r), y1 - r)
        return (x - nx) ** 2 + (y - ny) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return inside


def stroke(x0, y0, x1, y1, width):
    """A segment with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    half = width / 2

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half * half
    return inside


def render(size, layers):
    """layers: (shape, (r, g, b)) painted in order over transparency."""
    rows = []
    for py in range(size):
        row = bytearray([0])
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    colour = None
                    for shape, rgb in layers:
                        if shape(x, y):
                            colour = rgb
                    if colour:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        a += 1
            n = SAMPLES * SAMPLES
            if a:
                row += bytes([round(r / a), round(g / a), round(b / a), round(255 * a / n)])
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def write_png(path, size, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    data = zlib.compress(b"".join(rows), 9)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data) + chunk(b"IEND", b""))


WHITE = (255, 255, 255)
RED = (200, 40, 40)
GREEN = (40, 150, 60)
AMBER = (230, 160, 20)
ORANGE = (210, 90, 20)
BLUE = (40, 100, 200)
DARK = (50, 60, 80)


def state_icons(s):
    c = s / 2
    disc = circle(c, c, s * 0.47)
    bar_w = s * 0.13
    return {
        # stopped: a square, running: a play triangle, stop pending: a pause,
        # forced stop pending: a pause crossed out.
        "state_stopped": [(disc, RED), (rect(c - s * 0.18, c - s * 0.18, c + s * 0.18, c + s * 0.18), WHITE)],
        "state_running": [(disc, GREEN),
                          (polygon([(c - s * 0.14, c - s * 0.22), (c + s * 0.24, c), (c - s * 0.14, c + s * 0.22)]), WHITE)],
        "state_stop_pending": [(disc, AMBER),
                               (rect(c - s * 0.2, c - s * 0.2, c - s * 0.2 + bar_w, c + s * 0.2), WHITE),
                               (rect(c + s * 0.2 - bar_w, c - s * 0.2, c + s * 0.2, c + s * 0.2), WHITE)],
        "state_forced_stop_pending": [(disc, ORANGE),
                                      (stroke(c - s * 0.18, c - s * 0.18, c + s * 0.18, c + s * 0.18, s * 0.13), WHITE),
                                      (stroke(c - s * 0.18, c + s * 0.18, c + s * 0.18, c - s * 0.18, s * 0.13), WHITE)],
    }


def mark_icons(s):
    c = s / 2
    return {
        "mark_done": [(circle(c, c, s * 0.47), GREEN),
                      (stroke(s * 0.26, s * 0.52, s * 0.43, s * 0.7, s * 0.14), WHITE),
                      (stroke(s * 0.43, s * 0.7, s * 0.74, s * 0.3, s * 0.14), WHITE)],
        "mark_in_progress": [(circle(c, c, s * 0.47), BLUE),
                             (polygon([(s * 0.3, s * 0.25), (s * 0.75, c), (s * 0.3, s * 0.75)]), WHITE)],
        "mark_failed": [(circle(c, c, s * 0.47), RED),
                        (stroke(s * 0.3, s * 0.3, s * 0.7, s * 0.7, s * 0.14), WHITE),
                        (stroke(s * 0.3, s * 0.7, s * 0.7, s * 0.3, s * 0.14), WHITE)],
    }


def program_icon(s):
    # A printer: body, paper coming out, a green light.
    return {
        "orvella": [(round_rect(s * 0.06, s * 0.34, s * 0.94, s * 0.78, s * 0.08), DARK),
                    (rect(s * 0.24, s * 0.08, s * 0.76, s * 0.42), WHITE),
                    (rect(s * 0.24, s * 0.08, s * 0.76, s * 0.11), BLUE),
                    (rect(s * 0.24, s * 0.62, s * 0.76, s * 0.94), WHITE),
                    (rect(s * 0.3, s * 0.7, s * 0.7, s * 0.73), (150, 150, 150)),
                    (rect(s * 0.3, s * 0.8, s * 0.62, s * 0.83), (150, 150, 150)),
                    (circle(s * 0.84, s * 0.45, s * 0.04), (80, 220, 90))],
    }


# The program icon in the hicolor theme, for the desktop entries.
HICOLOR_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for size, icons in ((32, state_icons(32)), (16, mark_icons(16)), (64, program_icon(64))):
        for name, layers in icons.items():
            write_png(os.path.join(here, name + ".png"), size, render(size, layers))
    for size in HICOLOR_SIZES:
        folder = os.path.join(here, "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        write_png(os.path.join(folder, "orvella.png"), size, render(size, program_icon(size)["orvella"]))


if __name__ == "__main__":
    main()
