#!/usr/bin/env python3
"""Draws the progress bar's four skins: for each a track picture (stretched
over the control with fixed corners) and a fill picture, as 24-bit BMP files
in resources/pictures/progress/. The results are committed; run this again
after changing the design (tools/make_pictures.sh does)."""
import struct
from pathlib import Path

OUT = Path(__file__).resolve().parents[1] / "resources" / "pictures" / "progress"


def write_bmp(path, width, height, pixel):
    """A bottom-up 24-bit BMP; pixel(x, y) gives (r, g, b) with y = 0 at the top."""
    row_bytes = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (row_bytes - len(row)))
    image = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    path.write_bytes(header + info + image)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def hexrgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def track(width, height, border, edge, inner_top, inner_bottom, round_corners):
    """A frame `border` pixels wide: an outer line in `edge`, the rest of the
    border and the inside a vertical gradient; corners cut when asked."""
    def pixel(x, y):
        outer = x == 0 or y == 0 or x == width - 1 or y == height - 1
        corner = (x in (0, width - 1)) and (y in (0, height - 1))
        t = y / max(1, height - 1)
        inside = mix(inner_top, inner_bottom, t)
        if corner and round_corners:
            return mix(edge, (255, 255, 255), 0.6)
        if outer:
            return edge
        if border > 2 and (x == 1 or y == 1 or x == width - 2 or y == height - 2):
            return mix(edge, inside, 0.5)
        return inside
    return pixel


def gradient(width, height, top, bottom, shine=0.35):
    """A vertical gradient with a light band in its upper third."""
    def pixel(x, y):
        t = y / max(1, height - 1)
        colour = mix(top, bottom, t)
        if y < height / 3:
            colour = mix(colour, (255, 255, 255), shine * (1 - y / (height / 3)))
        return colour
    return pixel


def capsule(width, height, top, bottom):
    """A gradient whose four-pixel ends are rounded: they are never stretched."""
    body = gradient(width, height, top, bottom)
    back = (236, 240, 245)
    def pixel(x, y):
        r = height / 2
        for cx in (r - 0.5, width - r - 0.5):
            if (x < r and cx == r - 0.5) or (x > width - r - 1 and cx != r - 0.5):
                if (x - cx) ** 2 + (y - (height - 1) / 2) ** 2 > r * r:
                    return back
        return body(x, y)
    return pixel


def stripes(width, height, light, dark):
    """Diagonal stripes, eight pixels a period."""
    shade = gradient(width, height, (255, 255, 255), (0, 0, 0), shine=0)
    def pixel(x, y):
        base = light if ((x + y) // 4) % 2 == 0 else dark
        return mix(base, shade(x, y), 0.12)
    return pixel


SKINS = [
    # style 0: the updater's bar
    ("picture1", 7, 14, track(7, 14, 2, hexrgb("#9AA6B8"), (241, 244, 248), (226, 232, 240), True)),
    ("picture2", 3, 10, gradient(3, 10, hexrgb("#3B82F6"), hexrgb("#1D4ED8"))),
    # style 1: square and green
    ("picture3", 21, 21, track(21, 21, 2, hexrgb("#6B7280"), (249, 250, 251), (229, 231, 235), False)),
    ("picture4", 17, 17, gradient(17, 17, hexrgb("#4ADE80"), hexrgb("#15803D"))),
    # style 2: an orange capsule
    ("picture5", 11, 15, track(11, 15, 2, hexrgb("#B8A48F"), (250, 246, 240), (236, 228, 218), True)),
    ("picture6", 13, 13, capsule(13, 13, hexrgb("#FDBA74"), hexrgb("#EA580C"))),
    # style 3: a thick frame and stripes
    ("picture7", 13, 18, track(13, 18, 3, hexrgb("#475569"), (248, 250, 252), (203, 213, 225), False)),
    ("picture8", 124, 10, stripes(124, 10, hexrgb("#60A5FA"), hexrgb("#2563EB"))),
]


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for name, width, height, pixel in SKINS:
        write_bmp(OUT / f"{name}.bmp", width, height, pixel)
    print(f"progress skins written to {OUT}")


if __name__ == "__main__":
    main()
