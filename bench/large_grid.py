#!/usr/bin/env python3
"""Time and peak memory of kalvenor-render on the largest display grid it takes: 4096 x 4096
nodes with five boundaries of the same size (float32 GeoTIFFs), the 3D map with walls and
boundary lines built and drawn into a 2048 x 2048 PNG. Prints the medians of three runs.

    scripts/build release && bench/large_grid.py build-release/bin/kalvenor-render

Writing the rasters needs numpy and GDAL's Python bindings (Debian: python3-numpy python3-gdal,
run with /usr/bin/python3); they are not needed to build or test the project. KEEP=folder keeps
the inputs and the picture there.
"""
import contextlib
import os
import sys
import tempfile

import numpy as np
from osgeo import gdal

# Timed as the long-grid benchmark times its runs.
import long_grid
from long_grid import measure
N = 4096
SPACING = 5
BOUNDARIES = 5


def write_raster(path, z):
    raster = gdal.GetDriverByName("GTiff").Create(path, N, N, 1, gdal.GDT_Float32)
    # North up: the first row is the northern edge; pixel centres 5 m apart from (0, 0).
    raster.SetGeoTransform((-SPACING / 2, SPACING, 0, (N - 0.5) * SPACING, 0, -SPACING))
    raster.GetRasterBand(1).WriteArray(z.astype(np.float32))
    raster.FlushCache()


def make_case(folder):
    y, x = np.mgrid[N - 1:-1:-1, 0:N] * float(SPACING)
    terrain = 600 + 80 * np.sin(x / 2500) * np.cos(y / 1900) + 0.004 * y
    paths = {"surface": os.path.join(folder, "surface.tif")}
    write_raster(paths["surface"], terrain)
    for k in range(1, BOUNDARIES + 1):
        boundary = 100 * k + 40 * np.sin((x + k * 700) / (1500 + 200 * k)) + 0.002 * x
        paths[k] = os.path.join(folder, f"boundary{k}.tif")
        write_raster(paths[k], boundary)
    model = os.path.join(folder, "model.txt")
    with open(model, "w") as out:
        out.write(f"{BOUNDARIES}\n" + ",".join(f"b{k}" for k in range(1, BOUNDARIES + 1)) + "\n")
        for unit in range(BOUNDARIES + 1):
            signs = ["1" if k <= unit else "-1" for k in range(1, BOUNDARIES + 1)]
            out.write(f"u{unit + 1}," + ",".join(signs) + "\n")
    args = ["--model", model]
    for k in range(1, BOUNDARIES + 1):
        args += ["--boundary", paths[k]]
    return args + ["--surface", paths["surface"], "--zbase", "0", "--size", "2048x2048",
                   "--map", os.path.join(folder, "large.png")]


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else "build/bin/kalvenor-render"
    keep = os.environ.get("KEEP")
    with (contextlib.nullcontext(keep) if keep else tempfile.TemporaryDirectory()) as folder:
        os.makedirs(folder, exist_ok=True)
        args = make_case(folder)
        # The 400 MB of rasters just written reach the disk before the runs, not during them.
        os.sync()
        seconds, megabytes = measure(program, args)
        print(f"{N} x {N}, {BOUNDARIES} boundaries, 2048 x 2048 PNG: median of "
              f"{long_grid.RUNS} runs {seconds:.2f} s, {megabytes:.0f} MB")


if __name__ == "__main__":
    main()
