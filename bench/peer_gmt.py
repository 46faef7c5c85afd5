#!/usr/bin/env python3
"""From grid file to picture against GMT: kalvenor-render draws a 512 x 512 display grid with two
boundaries, contours every 10 m, walls and boundary lines into a 1024 x 1024 PNG; GMT's grdview
draws the same grid as a coloured oblique block with a base wall into a PNG of similar size.
The two run in turns, RUNS times each; prints the median wall-clock times and their ratio.

    scripts/build release && bench/peer_gmt.py build-release/bin/kalvenor-render

GMT is not needed to build or test the project; without it only kalvenor-render is timed. To
compare, install it by hand (Debian: apt-get install gmt gmt-gshhg-low ghostscript; GMT writes
PNG through Ghostscript). Its grid (netCDF) and colour table are made once with GMT's own
xyz2grd and makecpt, outside the timings. KEEP=folder keeps the inputs and pictures there.
"""
import contextlib
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

# The same surfaces as the long-grid benchmark, written the same way.
import long_grid
from long_grid import lower, terrain, upper

RUNS = 7
N = 512
SPACING = 10
EXTENT = (N - 1) * SPACING


def write_grid(path, z):
    long_grid.write_grid(path, N, N, SPACING, z)


def write_xyz(path, z):
    with open(path, "w") as out:
        for j in range(N):
            y = j * SPACING
            out.write("".join(f"{i * SPACING} {y} {z(i * SPACING, y):.3f}\n" for i in range(N)))


def make_case(folder):
    """The input files of kalvenor-render, and the arguments that draw the picture."""
    files = {}
    for part, z in (("surface", terrain), ("lower", lower), ("upper", upper)):
        files[part] = os.path.join(folder, f"{part}.txt")
        write_grid(files[part], z)
    model = os.path.join(folder, "model.txt")
    with open(model, "w") as out:
        out.write("2\nlower\nupper\nbasement,-1,-1\nmiddle,1,-1\ncover,1,1\n")
    colours = os.path.join(folder, "colors.txt")
    with open(colours, "w") as out:
        out.write("unit 1 #8fb3d9 basement\nunit 2 #e8c468 middle\nunit 3 #8c9a6b cover\n"
                  "boundary 1 #a01010 lower\nboundary 2 #1030a0 upper\n")
    return ["--model", model, "--boundary", files["lower"], "--boundary", files["upper"],
            "--surface", files["surface"], "--colors", colours, "--zbase", "150",
            "--contours", "200,400,10", "--size", "1024x1024",
            "--map", os.path.join(folder, "kalvenor.png")]


def prepare_gmt(gmt, folder):
    """The surface as a netCDF grid and a colour table over its range."""
    xyz = os.path.join(folder, "topo.xyz")
    write_xyz(xyz, terrain)
    run([gmt, "xyz2grd", xyz, f"-R0/{EXTENT}/0/{EXTENT}", f"-I{SPACING}", "-Gtopo.nc"], folder)
    with open(os.path.join(folder, "topo.cpt"), "w") as out:
        subprocess.run([gmt, "makecpt", "-Cgeo", "-T250/360/10"], cwd=folder, stdout=out,
                       check=True)
    script = ("gmt begin peer png; gmt grdview topo.nc -Ctopo.cpt -JX10c -JZ3c -p135/30 "
              "-Qi254 -N150+glightgray -B0; gmt end")
    return ["sh", "-c", script.replace("gmt ", gmt + " ")]


def run(command, folder):
    result = subprocess.run(command, cwd=folder, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"{command[0]} failed: {result.stderr}")


def seconds(command, folder):
    start = time.perf_counter()
    run(command, folder)
    return time.perf_counter() - start


@contextlib.contextmanager
def case_folder():
    if os.environ.get("KEEP"):
        os.makedirs(os.environ["KEEP"], exist_ok=True)
        yield os.path.abspath(os.environ["KEEP"])
    else:
        with tempfile.TemporaryDirectory() as folder:
            yield folder


def main():
    program = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/bin/kalvenor-render")
    gmt = shutil.which("gmt")
    if not gmt:
        print("GMT is not installed (Debian: apt-get install gmt gmt-gshhg-low ghostscript); "
              "timing kalvenor-render alone")
    with case_folder() as folder:
        ours = [program] + make_case(folder)
        peer = prepare_gmt(gmt, folder) if gmt else None
        times = {"kalvenor-render": [], "gmt grdview": []}
        for _ in range(RUNS):
            times["kalvenor-render"].append(seconds(ours, folder))
            if peer:
                times["gmt grdview"].append(seconds(peer, folder))
        medians = {name: statistics.median(t) for name, t in times.items() if t}
        for name, median in medians.items():
            print(f"{name:16} median of {RUNS}: {median:6.3f} s   "
                  f"(runs {', '.join(f'{t:.3f}' for t in times[name])})")
        if peer:
            ratio = medians["gmt grdview"] / medians["kalvenor-render"]
            print(f"kalvenor-render is {ratio:.2f} times as fast as gmt grdview")


if __name__ == "__main__":
    main()
