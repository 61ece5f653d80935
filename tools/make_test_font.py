#!/usr/bin/python3
"""Writes the font the Wine tests draw every Chinese Windows face with.

WenQuanYi Micro Hei stands in well for the faces of a Chinese Windows, but it
maps "℃" to an empty glyph, so the weather's temperatures lose their unit on
screen. This copy, renamed "Torvane Test Hei", draws "℃" as its own "°" and
"C" in the same full-width cell; every other glyph and metric is unchanged.

    make_test_font.py OUT.ttf        (Debian's python3 with python3-fonttools)
"""
import sys

from fontTools.ttLib import TTCollection
from fontTools.ttLib.tables._g_l_y_f import Glyph, GlyphComponent

SOURCE = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
FAMILY = "Torvane Test Hei"
CELSIUS = 0x2103


def component(name, x):
    part = GlyphComponent()
    part.glyphName, part.x, part.y, part.flags = name, x, 0, 0
    return part


def draw_celsius(font):
    cmap = font.getBestCmap()
    target, degree, letter = cmap[CELSIUS], cmap[0xB0], cmap[ord("C")]
    width, _ = font["hmtx"][target]
    degree_width, degree_lsb = font["hmtx"][degree]
    letter_width, _ = font["hmtx"][letter]
    # Both parts inside the cell the empty glyph had, the "C" tucked under
    # the ring's right side as printed "℃" has it.
    start = max(0, (width - degree_width - letter_width) // 2)
    letter_x = min(start + degree_width * 9 // 10, width - letter_width)
    glyph = Glyph()
    glyph.numberOfContours = -1
    glyph.components = [component(degree, start), component(letter, letter_x)]
    font["glyf"][target] = glyph
    font["hmtx"][target] = (width, start + degree_lsb)


def rename(font):
    for record in font["name"].names:
        if record.nameID in (1, 4, 16):
            record.string = FAMILY
        elif record.nameID in (3, 6):
            record.string = FAMILY.replace(" ", "")


def main(out):
    font = TTCollection(SOURCE).fonts[0]  # the proportional face
    draw_celsius(font)
    rename(font)
    font.save(out)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
