#!/usr/bin/env python3
"""Time and peak memory of kalvenor-render on a long, narrow display grid against a square one
with the same number of nodes (64 x 16384 and 1024 x 1024, two boundaries, walls, boundary lines,
1024 x 1024 picture), and of the units grid alone. Prints the medians and their ratios.

    scripts/build release && bench/long_grid.py build-release/bin/kalvenor-render
"""
import math
import os
import statistics
import subprocess
import sys
import tempfile

RUNS = 3


def write_grid(path, nx, ny, spacing, z):
    with open(path, "w") as out:
        out.write(f"{nx},{ny},0,0,{spacing},{spacing}\n")
        for i in range(nx):
            x = i * spacing
            out.write("\n".join(f"{z(x, j * spacing):.3f}" for j in range(ny)))
            out.write("\n")


def terrain(x, y):
    return 300 + 40 * math.sin(x / 900) * math.cos(y / 700) + 0.002 * y


def lower(x, y):
    return 220 + 30 * math.sin((x + y) / 1500)


def upper(x, y):
    return 290 + 25 * math.cos(x / 800) - 0.001 * y


def make_case(folder, name, nx, ny):
    files = {}
    for part, z in (("surface", terrain), ("lower", lower), ("upper", upper)):
        files[part] = os.path.join(folder, f"{name}-{part}.txt")
        write_grid(files[part], nx, ny, 10, z)
    return files


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


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else "build/bin/kalvenor-render"
    with tempfile.TemporaryDirectory() as folder:
        model = os.path.join(folder, "model.txt")
        with open(model, "w") as out:
            out.write("2\nlower\nupper\nbasement,-1,-1\nmiddle,1,-1\ncover,1,1\n")
        results = {}
        for name, nx, ny in (("square", 1024, 1024), ("long", 64, 16384)):
            f = make_case(folder, name, nx, ny)
            inputs = ["--model", model, "--boundary", f["lower"], "--boundary", f["upper"],
                      "--surface", f["surface"], "--zbase", "100"]
            results[name, "map"] = measure(program, inputs + [
                "--size", "1024x1024", "--map", os.path.join(folder, f"{name}.png")])
            results[name, "units"] = measure(program, inputs + [
                "--units-grid", os.path.join(folder, f"{name}.asc")])
        for task in ("map", "units"):
            (ts, ms), (tl, ml) = results["square", task], results["long", task]
            print(f"{task:5}  1024 x 1024: {ts:6.2f} s {ms:7.0f} MB   64 x 16384: {tl:6.2f} s "
                  f"{ml:7.0f} MB   ratio: time {tl / ts:4.2f}, memory {ml / ms:4.2f}")


if __name__ == "__main__":
    main()
