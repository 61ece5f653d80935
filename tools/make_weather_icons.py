#!/usr/bin/env python3
"""Draws the weather icons (resources/pic/<weather text>.gif) with ImageMagick.

The results are committed, so a build does not need this script; run it again
after changing the design. Each icon is drawn at four times its size and
scaled down; GIF keeps one-bit transparency, so the soft edge is first laid on
a colour close to the window's skin.
"""
import math
import shlex
import subprocess
import tempfile
from pathlib import Path

OUT = Path(__file__).resolve().parents[1] / "resources" / "pic"
SIZE = 48
S = 4  # drawing scale
SKIN = "#EEF2FB"

SUN, SUN_EDGE = "#FBBF24", "#F59E0B"
CLOUD, CLOUD_EDGE = "#F8FAFC", "#94A3B8"
GREY, GREY_EDGE = "#CBD5E1", "#64748B"
DARK, DARK_EDGE = "#94A3B8", "#475569"
RAIN, SNOW, ICE = "#3B82F6", "#60A5FA", "#93C5FD"
BOLT = "#FACC15"
FOG, HAZE, DUST = "#94A3B8", "#A8A29E", "#B45309"


def p(x, y):
    return f"{x * S:.0f},{y * S:.0f}"


def sun(cx=24, cy=24, r=9):
    ops = [f"-stroke {SUN_EDGE} -strokewidth {3 * S} -fill none"]
    for k in range(8):
        a = k * math.pi / 4
        ops.append(f'-draw "line {p(cx + (r + 4) * math.cos(a), cy + (r + 4) * math.sin(a))} '
                   f'{p(cx + (r + 8) * math.cos(a), cy + (r + 8) * math.sin(a))}"')
    ops.append(f'-stroke {SUN_EDGE} -strokewidth {2 * S} -fill {SUN} -draw "circle {p(cx, cy)} {p(cx + r, cy)}"')
    return " ".join(ops)


def cloud(fill=CLOUD, edge=CLOUD_EDGE, dy=0):
    shapes = [f'circle {p(17, 25 + dy)} {p(17, 17 + dy)}', f'circle {p(28, 20 + dy)} {p(28, 9 + dy)}',
              f'circle {p(36, 27 + dy)} {p(36, 20 + dy)}', f'roundrectangle {p(7, 24 + dy)} {p(43, 34 + dy)} {5 * S},{5 * S}']
    outline = " ".join(f'-draw "{s}"' for s in shapes)
    return (f"-stroke {edge} -strokewidth {4 * S} -fill {edge} {outline} "
            f"-stroke none -fill {fill} {outline}")


def drops(count, color=RAIN, width=2.4, top=36, centre=24):
    xs = [centre + (k - (count - 1) / 2) * 7 for k in range(count)]
    return (f"-stroke {color} -strokewidth {width * S} -fill none " +
            " ".join(f'-draw "line {p(x + 2, top)} {p(x - 1, top + 8)}"' for x in xs))


def flakes(count, color=SNOW, top=40, centre=24):
    ops = [f"-stroke {color} -strokewidth {1.8 * S} -fill none"]
    for k in range(count):
        x = centre + (k - (count - 1) / 2) * 8
        y = top + (k % 2) * 3
        for a in (0, math.pi / 3, 2 * math.pi / 3):
            dx, dy = 3.2 * math.cos(a), 3.2 * math.sin(a)
            ops.append(f'-draw "line {p(x - dx, y - dy)} {p(x + dx, y + dy)}"')
    return " ".join(ops)


def bolt():
    pts = [(25, 31), (19, 41), (24, 41), (21, 48), (30, 37), (25, 37), (28, 31)]
    return f'-stroke {SUN_EDGE} -strokewidth {1 * S} -fill {BOLT} -draw "polygon {" ".join(p(x, y) for x, y in pts)}"'


def lines(color, rows, width=3, wave=False):
    ops = [f"-stroke {color} -strokewidth {width * S} -fill none"]
    for k, y in enumerate(rows):
        x0, x1 = (8, 40) if k % 2 == 0 else (12, 44)
        if wave:
            ops.append(f'-draw "bezier {p(x0, y)} {p((x0 + x1) / 2 - 6, y - 5)} {p((x0 + x1) / 2 + 6, y + 5)} {p(x1, y)}"')
        else:
            ops.append(f'-draw "line {p(x0, y)} {p(x1, y)}"')
    return " ".join(ops)


def dots(color, count=9):
    ops = [f"-stroke none -fill {color}"]
    for k in range(count):
        x, y = 10 + (k * 11) % 30, 12 + (k * 7) % 26
        ops.append(f'-draw "circle {p(x, y)} {p(x + 1.6, y)}"')
    return " ".join(ops)


# The base pictures, by weather text. Rain and snow clouds sit higher.
BASE = {
    "晴": sun(),
    "多云": sun(17, 16, 8) + " " + cloud(dy=5),
    "阴": cloud(GREY, GREY_EDGE, dy=2),
    "阵雨": sun(15, 13, 7) + " " + cloud(dy=-3) + " " + drops(2),
    "雷阵雨": cloud(DARK, DARK_EDGE, dy=-4) + " " + drops(2, width=2.2) + " " + bolt(),
    "小雨": cloud(dy=-4) + " " + drops(2),
    "中雨": cloud(GREY, GREY_EDGE, dy=-4) + " " + drops(3),
    "大雨": cloud(GREY, GREY_EDGE, dy=-4) + " " + drops(4, width=2.8),
    "暴雨": cloud(DARK, DARK_EDGE, dy=-4) + " " + drops(4, width=3.4),
    "大暴雨": cloud(DARK, DARK_EDGE, dy=-4) + " " + drops(5, color="#1D4ED8", width=3.4),
    "雨夹雪": cloud(dy=-4) + " " + drops(2, top=36, centre=16) + " " + flakes(2, top=40, centre=32),
    "小雪": cloud(dy=-4) + " " + flakes(2),
    "中雪": cloud(GREY, GREY_EDGE, dy=-4) + " " + flakes(3),
    "大雪": cloud(GREY, GREY_EDGE, dy=-4) + " " + flakes(4),
    "暴雪": cloud(DARK, DARK_EDGE, dy=-4) + " " + flakes(5),
    "冻雨": cloud(GREY, GREY_EDGE, dy=-4) + " " + drops(3, color=ICE) +
            f' -stroke {SNOW} -strokewidth {2 * S} -draw "line {p(10, 46)} {p(38, 46)}"',
    "雾": lines(FOG, [14, 22, 30, 38]),
    "霾": lines(HAZE, [16, 26, 36]) + " " + dots(HAZE, 6),
    "沙尘暴": lines(DUST, [12, 22, 32, 42], width=3.4, wave=True),
    "浮尘": dots(DUST, 12),
    "扬沙": lines(DUST, [18, 30], wave=True) + " " + dots(DUST, 5),
}
# "A转B": A large at the top left, B small at the bottom right.
TURNS = ["多云转晴", "晴转多云", "阴转多云", "多云转阴", "小雨转多云", "阵雨转晴", "阴转小雨",
         "多云转小雨", "晴转阴", "阴转晴", "小雨转阴", "阵雨转多云", "多云转阵雨", "小雨转晴"]


def paint(draw, out):
    draw = draw.replace('-draw "', '-draw "stroke-linecap round stroke-linejoin round ')
    subprocess.run(["convert", "-size", f"{SIZE * S}x{SIZE * S}", "xc:none", *shlex.split(draw), str(out)],
                   check=True)


def render(draw, out, tmp):
    big = tmp / "big.png"
    paint(draw, big)
    small = tmp / "small.png"
    subprocess.run(["convert", str(big), "-filter", "Lanczos", "-resize", f"{SIZE}x{SIZE}", str(small)], check=True)
    to_gif(small, out)


def to_gif(png, out):
    subprocess.run(["convert", str(png),
                    "(", "-clone", "0", "-background", SKIN, "-flatten", ")",
                    "(", "-clone", "0", "-alpha", "extract", "-threshold", "45%", ")",
                    "-delete", "0", "-alpha", "off", "-compose", "copy-opacity", "-composite",
                    str(out)], check=True)


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as d:
        tmp = Path(d)
        for name, draw in BASE.items():
            render(draw, OUT / f"{name}.gif", tmp)
            paint(draw, tmp / f"{name}.png")
        for name in TURNS:
            first, second = name.split("转")
            subprocess.run(["convert", "-size", f"{SIZE * S}x{SIZE * S}", "xc:none",
                            "(", str(tmp / f"{first}.png"), "-resize", "72%", ")", "-geometry", "+0+0", "-composite",
                            "(", str(tmp / f"{second}.png"), "-resize", "52%", ")",
                            "-geometry", f"+{SIZE * S * 48 // 100}+{SIZE * S * 48 // 100}", "-composite",
                            str(tmp / "turn.png")], check=True)
            subprocess.run(["convert", str(tmp / "turn.png"), "-filter", "Lanczos", "-resize", f"{SIZE}x{SIZE}",
                            str(tmp / "small.png")], check=True)
            to_gif(tmp / "small.png", OUT / f"{name}.gif")
    print(f"{len(BASE) + len(TURNS)} icons written to {OUT}")


if __name__ == "__main__":
    main()
