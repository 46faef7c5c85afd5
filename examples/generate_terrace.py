#!/usr/bin/env python3
"""Writes the bundled example: a granite basement under an east-dipping sandstone and mudstone
sequence, cut by a terrace deposit, under hilly topography. 61 x 41 nodes, 50 m apart."""
import math
import pathlib

NX, NY, X0, Y0, D = 61, 41, 10000.0, 20000.0, 50.0
here = pathlib.Path(__file__).parent / "terrace"


def topography(x, y):
    u, v = x - X0, y - Y0
    return (300 + 55 * math.sin(u / 420) * math.cos(v / 360) + 30 * math.cos((u + v) / 700)
            - 0.012 * u + 0.01 * v)


def basement(x, y):
    u, v = x - X0, y - Y0
    return 150 + 40 * math.sin(u / 900) + 25 * math.cos(v / 500)


def sandstone_top(x, y):
    return 330 - 0.07 * (x - X0) + 0.02 * (y - Y0)


def terrace_base(x, y):
    return 305 + 6 * math.sin((x - X0) / 300)


def write(name, z):
    lines = [f"{NX},{NY},{X0:g},{Y0:g},{D:g},{D:g}"]
    for i in range(NX):
        x = X0 + i * D
        lines.append(",".join(f"{z(x, Y0 + j * D):.2f}" for j in range(NY)))
    (here / name).write_text("\n".join(lines) + "\n")


here.mkdir(exist_ok=True)
write("topography.txt", topography)
write("basement.txt", basement)
write("sandstone_top.txt", sandstone_top)
write("terrace_base.txt", terrace_base)
(here / "model.txt").write_text(
    "3\n"
    "基盤上面, 砂岩上面, 段丘基底\n"
    "花崗岩, -1, 0, 0\n"
    "砂岩, 1, -1, 0\n"
    "泥岩, 1, 1, -1\n"
    "段丘堆積物, 0, 0, 1\n")
