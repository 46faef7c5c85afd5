#!/usr/bin/env python3
"""Time and peak memory of kalvenor-render on display grids of one node count in different
shapes, and on sections that are long against the grid they cross. Prints medians of three runs.

1. 64 x 16384 against 1024 x 1024 (own text grids, 10 m cells): the map with walls and boundary
   lines into a 1024 x 1024 picture, then the units grid alone, and their ratios.
2. 8388608 x 2 against 4096 x 4096 (ESRI ASCII grids read through GDAL, 1 m cells; both at the
   node cap): the same two runs and their ratios.
3. Sections: along the 64 x 16384 strip of (1), its cells 1 m, and across a display of 2 x 2
   nodes 1 m by 20 km, each 16 km or 20 km long; corner to corner across 1024 x 1024 for scale.

    scripts/build release && bench/long_grid.py build-release/bin/kalvenor-render
"""
import math
import os
import statistics
import subprocess
import sys
import tempfile

RUNS = 3


def write_grid(path, nx, ny, spacing, z, dy=None):
    dy = spacing if dy is None else dy
    with open(path, "w") as out:
        out.write(f"{nx},{ny},0,0,{spacing},{dy}\n")
        for i in range(nx):
            x = i * spacing
            out.write("\n".join(f"{z(x, j * dy):.3f}" for j in range(ny)))
            out.write("\n")


def write_ascii_grid(path, nx, ny, z):
    """An ESRI ASCII grid of 1 m cells from the origin, its rows north to south."""
    with open(path, "w") as out:
        out.write(f"ncols {nx}\nnrows {ny}\nxllcorner -0.5\nyllcorner -0.5\ncellsize 1\n")
        for row in range(ny):
            y = ny - 1 - row
            out.write(" ".join(f"{z(x, y):.2f}" for x in range(nx)))
            out.write("\n")


def terrain(x, y):
    return 300 + 40 * math.sin(x / 900) * math.cos(y / 700) + 0.002 * y


def lower(x, y):
    return 220 + 30 * math.sin((x + y) / 1500)


def upper(x, y):
    return 290 + 25 * math.cos(x / 800) - 0.001 * y


def make_case(folder, name, nx, ny, spacing=10, dy=None):
    files = {}
    for part, z in (("surface", terrain), ("lower", lower), ("upper", upper)):
        files[part] = os.path.join(folder, f"{name}-{part}.txt")
        write_grid(files[part], nx, ny, spacing, z, dy)
    return files


def make_raster_case(folder, name, nx, ny):
    """The surface as an ESRI ASCII grid; the boundaries as 2 x 2 own grids over it."""
    files = {"surface": os.path.join(folder, f"{name}-surface.asc")}
    write_ascii_grid(files["surface"], nx, ny, terrain)
    for part, z in (("lower", lower), ("upper", upper)):
        files[part] = os.path.join(folder, f"{name}-{part}.txt")
        with open(files[part], "w") as out:
            corners = [z(x, y) for x in (0, nx - 1) for y in (0, ny - 1)]
            out.write(f"2,2,0,0,{nx - 1},{ny - 1},{','.join(f'{c:.3f}' for c in corners)}\n")
    return files


def inputs(model, f):
    return ["--model", model, "--boundary", f["lower"], "--boundary", f["upper"],
            "--surface", f["surface"], "--zbase", "100"]


def measure(program, args):
    """Median seconds and peak resident megabytes of RUNS runs."""
    seconds, megabytes = [], []
    for _ in range(RUNS):
        result = subprocess.run(["/usr/bin/time", "-f", "%e %M", program] + args,
                                capture_output=True, text=True)
        if result.returncode != 0:
            sys.exit(f"kalvenor-render failed: {result.stderr}")
        elapsed, kilobytes = result.stderr.strip().splitlines()[-1].split()
        seconds.append(float(elapsed))
        megabytes.append(int(kilobytes) / 1024)
    return statistics.median(seconds), statistics.median(megabytes)


def compare(program, folder, model, shapes, square, long):
    results = {}
    for name, f in shapes.items():
        results[name, "map"] = measure(program, inputs(model, f) + [
            "--size", "1024x1024", "--map", os.path.join(folder, f"{name}.png")])
        results[name, "units"] = measure(program, inputs(model, f) + [
            "--units-grid", os.path.join(folder, f"{name}-units.asc")])
    for task in ("map", "units"):
        (ts, ms), (tl, ml) = results[square, task], results[long, task]
        print(f"{task:5}  {square:>11}: {ts:6.2f} s {ms:7.0f} MB   {long:>11}: {tl:6.2f} s "
              f"{ml:7.0f} MB   ratio: time {tl / ts:4.2f}, memory {ml / ms:4.2f}")


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else "build/bin/kalvenor-render"
    with tempfile.TemporaryDirectory() as folder:
        model = os.path.join(folder, "model.txt")
        with open(model, "w") as out:
            out.write("2\nlower\nupper\nbasement,-1,-1\nmiddle,1,-1\ncover,1,1\n")
        square = make_case(folder, "square", 1024, 1024)
        compare(program, folder, model, {
            "1024 x 1024": square,
            "64 x 16384": make_case(folder, "long", 64, 16384)}, "1024 x 1024", "64 x 16384")
        compare(program, folder, model, {
            "4096 x 4096": make_raster_case(folder, "cap-square", 4096, 4096),
            "8388608 x 2": make_raster_case(folder, "cap-long", 8388608, 2)},
            "4096 x 4096", "8388608 x 2")
        sections = {
            "corner to corner, 1024 x 1024": (square, ["--start", "0,0", "--end", "10230,10230"]),
            "along 64 x 16384, 1 m cells": (make_case(folder, "strip", 64, 16384, 1),
                                            ["--start", "32,0", "--azimuth", "0"]),
            "across 2 x 2, 1 m by 20 km": (make_case(folder, "tall", 2, 2, 1, 20000),
                                           ["--start", "0.5,0", "--azimuth", "0"]),
        }
        for name, (f, line) in sections.items():
            t, m = measure(program, inputs(model, f) + line + [
                "--size", "1024x1024", "--section", os.path.join(folder, "section.png")])
            print(f"section {name:>30}: {t:6.2f} s {m:7.0f} MB")


if __name__ == "__main__":
    main()
