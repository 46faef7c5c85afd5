#!/usr/bin/env python3
"""Writes the bundled example into folded-basin/: a limestone, sandstone and mudstone sequence
folded about a north-north-east axis, overlain by a conglomerate, all truncated by a gently
dipping unconformity under volcaniclastic cover; a valley cuts through the cover into the
folded rocks between two ridges. 101 x 81 nodes, 50 m apart (5 km x 4 km)."""
import math
import pathlib

NX, NY, X0, Y0, D = 101, 81, 30000.0, 40000.0, 50.0
here = pathlib.Path(__file__).parent / "folded-basin"


def fold(x, y):
    across = (x - X0) - 0.3 * (y - Y0)
    return 110 * math.cos(2 * math.pi * across / 2600) + 0.02 * (y - Y0)


def limestone_top(x, y):
    return 150 + fold(x, y)


def sandstone_top(x, y):
    return limestone_top(x, y) + 80


def mudstone_top(x, y):
    return limestone_top(x, y) + 170


def unconformity(x, y):
    return 330 + 0.01 * (x - X0) - 0.008 * (y - Y0)


def topography(x, y):
    u, v = x - X0, y - Y0
    valley = 2400 + 300 * math.sin(v / 900)
    return (395 - 175 * math.exp(-((u - valley) / 850) ** 2)
            + 25 * math.sin(u / 500) * math.cos(v / 700) + 0.01 * v)


def write(name, z):
    lines = [f"{NX},{NY},{X0:g},{Y0:g},{D:g},{D:g}"]
    for i in range(NX):
        x = X0 + i * D
        lines.append(",".join(f"{z(x, Y0 + j * D):.2f}" for j in range(NY)))
    (here / name).write_text("\n".join(lines) + "\n")


here.mkdir(exist_ok=True)
write("topography.txt", topography)
write("limestone_top.txt", limestone_top)
write("sandstone_top.txt", sandstone_top)
write("mudstone_top.txt", mudstone_top)
write("unconformity.txt", unconformity)
(here / "model.txt").write_text(
    "4\n"
    "石灰岩上面, 砂岩上面, 泥岩上面, 不整合面\n"
    "石灰岩, -1, 0, 0, -1\n"
    "砂岩, 1, -1, 0, -1\n"
    "泥岩, 0, 1, -1, -1\n"
    "礫岩, 0, 0, 1, -1\n"
    "火山砕屑岩, 0, 0, 0, 1\n")
(here / "colors.txt").write_text(
    "# Fill colour of every unit, lowest first, and the line colour of the unconformity.\n"
    "unit 1 #8fb3d9 石灰岩 limestone\n"
    "unit 2 #e8c468 砂岩 sandstone\n"
    "unit 3 #8c9a6b 泥岩 mudstone\n"
    "unit 4 #c98a5e 礫岩 conglomerate\n"
    "unit 5 #e3a3b5 火山砕屑岩 volcaniclastics\n"
    "boundary 4 #a01010 不整合面 unconformity\n")
