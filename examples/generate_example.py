#!/usr/bin/env python3
"""Writes the bundled examples.

folded-basin/: a limestone, sandstone and mudstone sequence folded about a north-north-east axis,
overlain by a conglomerate, all truncated by a gently dipping unconformity under volcaniclastic
cover; a valley cuts through the cover into the folded rocks between two ridges. 101 x 81 nodes,
50 m apart (5 km x 4 km), in the viewer's own text grids and, with the same values, as GeoTIFFs
in JGD2011 / Japan Plane Rectangular CS IX (EPSG:6677). 25 boreholes logged from the same
surfaces (collars.csv, surveys.csv for the five deviated ones, intervals.csv), with a few decimetres
of logging noise, one contact logged 15 m deeper than modelled and a sill the model lacks.

clipped-dem/: a DEM as national mapping agencies ship them: whole metres in degrees of JGD2011
(EPSG:6668), clipped to an outline with NODATA outside, over two gently dipping boundaries given
in plane coordinates. Drawing it needs a projected system to warp it into (--srs EPSG:6677).

The GeoTIFFs need GDAL's Python bindings (Debian: python3-gdal)."""
import itertools
import math
import random
import pathlib

from osgeo import gdal, osr

gdal.UseExceptions()

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


def write_tif(path, width, height, transform, srs, value, data_type=gdal.GDT_Float64,
              nodata=None):
    """A north-up GeoTIFF: pixel (c, r) from the north-west holds value(c, r); None is NODATA."""
    raster = gdal.GetDriverByName("GTiff").Create(str(path), width, height, 1, data_type,
                                                   ["COMPRESS=DEFLATE"])
    raster.SetGeoTransform(transform)
    system = osr.SpatialReference()
    system.ImportFromEPSG(srs)
    raster.SetProjection(system.ExportToWkt())
    band = raster.GetRasterBand(1)
    if nodata is not None:
        band.SetNoDataValue(nodata)
    for r in range(height):
        row = [value(c, r) for c in range(width)]
        band.WriteRaster(0, r, width, 1, _packed(row, data_type, nodata))
    raster.FlushCache()


def _packed(row, data_type, nodata):
    import struct
    code = {gdal.GDT_Float64: "d", gdal.GDT_Int16: "h"}[data_type]
    return struct.pack(f"<{len(row)}{code}", *(nodata if v is None else v for v in row))


def write_basin_tif(name, z):
    """The same nodes and the same values as the text grid: pixel centres on the nodes."""
    def value(c, r):
        return float(f"{z(X0 + c * D, Y0 + (NY - 1 - r) * D):.2f}")
    write_tif(here / name, NX, NY, (X0 - D / 2, D, 0, Y0 + (NY - 0.5) * D, 0, -D), 6677, value)


here.mkdir(exist_ok=True)
write("topography.txt", topography)
write("limestone_top.txt", limestone_top)
write("sandstone_top.txt", sandstone_top)
write("mudstone_top.txt", mudstone_top)
write("unconformity.txt", unconformity)
for name, z in [("topography", topography), ("limestone_top", limestone_top),
                ("sandstone_top", sandstone_top), ("mudstone_top", mudstone_top),
                ("unconformity", unconformity)]:
    write_basin_tif(name + ".tif", z)
# The logical model: the boundaries lowest first, and for every unit, lowest first, on which side
# of each boundary it lies (1 above, -1 below, 0 either side).
BASIN_BOUNDARIES = [("石灰岩上面", limestone_top), ("砂岩上面", sandstone_top),
                    ("泥岩上面", mudstone_top), ("不整合面", unconformity)]
BASIN_UNITS = [("石灰岩", (-1, 0, 0, -1)), ("砂岩", (1, -1, 0, -1)), ("泥岩", (0, 1, -1, -1)),
               ("礫岩", (0, 0, 1, -1)), ("火山砕屑岩", (0, 0, 0, 1))]
(here / "model.txt").write_text(
    f"{len(BASIN_BOUNDARIES)}\n" + ", ".join(name for name, _ in BASIN_BOUNDARIES) + "\n"
    + "".join(f"{name}, " + ", ".join(str(side) for side in sides) + "\n"
              for name, sides in BASIN_UNITS))
(here / "colors.txt").write_text(
    "# Fill colour of every unit, lowest first, and the line colour of the unconformity.\n"
    "unit 1 #8fb3d9 石灰岩 limestone\n"
    "unit 2 #e8c468 砂岩 sandstone\n"
    "unit 3 #8c9a6b 泥岩 mudstone\n"
    "unit 4 #c98a5e 礫岩 conglomerate\n"
    "unit 5 #e3a3b5 火山砕屑岩 volcaniclastics\n"
    "boundary 4 #a01010 不整合面 unconformity\n")


# The clipped DEM: 150 x 120 pixels of one arc-second from 139.80 E, 36.40 N, just west of the
# origin of the plane system IX (139 50' E, 36 N), so about 3.7 km x 3.7 km.
DEM_W, DEM_H, LON0, LAT0, ARC = 150, 120, 139.80, 36.40, 1.0 / 3600
clipped = pathlib.Path(__file__).parent / "clipped-dem"
clipped.mkdir(exist_ok=True)


def dem_value(c, r):
    """Whole metres of a hill with a spur, inside a lobed outline; None outside it."""
    u = (c + 0.5) / DEM_W - 0.5
    v = 0.5 - (r + 0.5) / DEM_H
    angle = math.atan2(v, u)
    if math.hypot(u, v) > 0.42 * (1 + 0.15 * math.sin(3 * angle)):
        return None
    return round(300 + 140 * math.exp(-((u - 0.05) ** 2 + (v + 0.1) ** 2) / 0.05)
                 + 30 * math.sin(6 * u) * math.cos(5 * v))


write_tif(clipped / "dem.tif", DEM_W, DEM_H, (LON0, ARC, 0, LAT0, 0, -ARC), 6668, dem_value,
          gdal.GDT_Int16, -32768)

# The boundaries in plane coordinates of CS IX, 100 m apart, reaching past the DEM on every side.
BX0, BY0, BD, BN = -4000.0, 40000.0, 100.0, 51


def write_boundary(name, z):
    lines = [f"{BN},{BN},{BX0:g},{BY0:g},{BD:g},{BD:g}"]
    for i in range(BN):
        lines.append(",".join(f"{z(BX0 + i * BD, BY0 + j * BD):.2f}" for j in range(BN)))
    (clipped / name).write_text("\n".join(lines) + "\n")


write_boundary("granite_top.txt", lambda x, y: 330 + 0.03 * (x + 1500) - 0.01 * (y - 42500))
write_boundary("tuff_base.txt", lambda x, y: 390 - 0.02 * (x + 1500) + 0.015 * (y - 42500))
(clipped / "model.txt").write_text(
    "2\n"
    "花崗岩上面, 凝灰岩基底\n"
    "花崗岩, -1, 0\n"
    "砂岩, 1, -1\n"
    "凝灰岩, 0, 1\n")
(clipped / "colors.txt").write_text(
    "# Fill colour of every unit, lowest first.\n"
    "unit 1 #e6b8b8 花崗岩 granite\n"
    "unit 2 #e8d27a 砂岩 sandstone\n"
    "unit 3 #a9c8a0 凝灰岩 tuff\n")


# Boreholes in the folded basin: collars on the topography, logs taken from the surfaces above
# along every hole's path, with a few decimetres of logging noise and two deliberate misfits.
HOLE_RANDOM = random.Random(2025)
LOGGING_NOISE = 0.3  # metres along the hole, at most
DEVIATED = {"BH04", "BH09", "BH13", "BH18", "BH22"}
DEEPER_CONTACT = ("BH08", "砂岩", "石灰岩", 15.0)  # the contact and how much deeper it is logged
UNKNOWN_UNIT = ("BH07", "泥岩", "玄武岩", 4.0)  # a sill the model lacks, in the middle of a unit


def unit_at(x, y, z):
    """The first unit of the logical model on the right side of every boundary, 1 the lowest."""
    for unit, (_, sides) in enumerate(BASIN_UNITS, 1):
        if all(side == 0 or (z > surface(x, y)) == (side > 0)
               for side, (_, surface) in zip(sides, BASIN_BOUNDARIES)):
            return unit
    return 0


def direction(azimuth, dip):
    """The unit vector (east, north, up) at an azimuth from north and a dip (-90 down)."""
    a, d = math.radians(azimuth), math.radians(dip)
    return (math.cos(d) * math.sin(a), math.cos(d) * math.cos(a), math.sin(d))


def min_curvature_step(t1, t2, length):
    """The offset between two stations `length` apart with directions t1 and t2: the textbook
    minimum-curvature step, the mean direction times the ratio factor
    (2 / dogleg) tan(dogleg / 2)."""
    dogleg = math.acos(max(-1.0, min(1.0, sum(a * b for a, b in zip(t1, t2)))))
    ratio = 1.0 if dogleg < 1e-9 else 2 / dogleg * math.tan(dogleg / 2)
    return tuple(length / 2 * (a + b) * ratio for a, b in zip(t1, t2))


def slerp(t1, t2, share):
    """The direction `share` of the way along the arc from t1 to t2."""
    dogleg = math.acos(max(-1.0, min(1.0, sum(a * b for a, b in zip(t1, t2)))))
    if dogleg < 1e-9:
        return t1
    w1, w2 = math.sin((1 - share) * dogleg), math.sin(share * dogleg)
    return tuple((w1 * a + w2 * b) / math.sin(dogleg) for a, b in zip(t1, t2))


class Hole:
    """A hole from its collar through its survey stations (depth, azimuth, dip), the first at
    depth 0; the last station's direction holds to the hole's depth."""

    def __init__(self, hole_id, collar, depth, stations):
        self.id, self.collar, self.depth = hole_id, collar, depth
        self.stations = list(stations)
        if self.stations[-1][0] < depth:
            self.stations.append((depth,) + self.stations[-1][1:])
        self.points = [collar]
        for (d1, *s1), (d2, *s2) in zip(self.stations, self.stations[1:]):
            step = min_curvature_step(direction(*s1), direction(*s2), d2 - d1)
            self.points.append(tuple(p + s for p, s in zip(self.points[-1], step)))

    def position(self, depth):
        """The point at `depth` along the hole: the step from the station above to a station
        placed there, its direction interpolated along the arc."""
        n = max(i for i, station in enumerate(self.stations[:-1]) if station[0] <= depth)
        (d1, *s1), (d2, *s2) = self.stations[n], self.stations[n + 1]
        t1, t2 = direction(*s1), direction(*s2)
        step = min_curvature_step(t1, slerp(t1, t2, (depth - d1) / (d2 - d1)), depth - d1)
        return tuple(p + s for p, s in zip(self.points[n], step))

    def unit(self, depth):
        return unit_at(*self.position(depth))

    def contacts(self):
        """Every depth at which the unit changes going down, found by bisection between samples
        half a metre apart, with the units above and below."""
        found = []
        samples = [self.depth * i / math.ceil(2 * self.depth) for i in
                   range(math.ceil(2 * self.depth) + 1)]
        for top, bottom in zip(samples, samples[1:]):
            above, below = self.unit(top), self.unit(bottom)
            if above == below:
                continue
            while bottom - top > 1e-6:
                middle = (top + bottom) / 2
                top, bottom = (middle, bottom) if self.unit(middle) == above else (top, middle)
            found.append((bottom, above, below))
        return found


def basin_hole(n):
    """Hole n + 1 of a jittered 5 x 5 pattern, 180 to 320 m deep, placed again, ever farther from
    its place in the pattern, until it crosses at least two contacts (a collar on the valley's
    floor may stand in limestone all the way down)."""
    hole_id = f"BH{n + 1:02d}"
    for attempt in itertools.count():
        spread = 200 + 20 * attempt
        x = round(30500 + 1000 * (n % 5) + HOLE_RANDOM.uniform(-spread, spread))
        y = round(40400 + 800 * (n // 5) + HOLE_RANDOM.uniform(-spread, spread))
        depth = 10 * HOLE_RANDOM.randint(18, 32)
        stations = [(0, 0, -90)]
        if hole_id in DEVIATED:
            azimuth, dip = HOLE_RANDOM.uniform(0, 360), HOLE_RANDOM.uniform(-75, -65)
            turn, steepen = HOLE_RANDOM.uniform(-6, 6), HOLE_RANDOM.uniform(-5, 5)
            stations = [(d, round((azimuth + turn * d / 100) % 360, 1),
                         round(dip + steepen * d / 100, 1)) for d in range(0, depth, 100)]
        hole = Hole(hole_id, (x, y, round(topography(x, y), 2)), depth, stations)
        if len(hole.contacts()) >= 2:
            return hole


def logged_intervals(hole):
    """The hole's log: every unit change moved by the logging noise (never by more than a quarter
    of the thinner interval beside it), with the two misfits added where they are planned."""
    contacts = hole.contacts()
    depths = [0.0] + [depth for depth, _, _ in contacts] + [hole.depth]
    units = [BASIN_UNITS[unit - 1][0] for unit in [hole.unit(0)] + [b for _, _, b in contacts]]
    for n in range(1, len(depths) - 1):
        thinner = min(depths[n] - depths[n - 1], depths[n + 1] - depths[n])
        limit = min(LOGGING_NOISE, thinner / 4)
        depths[n] += HOLE_RANDOM.uniform(-limit, limit)
    rows = list(zip(depths, depths[1:], units))
    if hole.id == DEEPER_CONTACT[0]:
        log_deeper(hole, rows)
    if hole.id == UNKNOWN_UNIT[0]:
        log_unknown_unit(rows)
    return rows


def log_deeper(hole, rows):
    """Moves the planned contact down the hole by the planned height, along the hole's first
    direction (exactly for a vertical hole)."""
    _, upper, lower, deeper = DEEPER_CONTACT
    n = next(i for i in range(len(rows) - 1) if (rows[i][2], rows[i + 1][2]) == (upper, lower))
    along = deeper / -direction(*hole.stations[0][1:])[2]
    if rows[n + 1][1] - rows[n + 1][0] < 2 * along:
        raise ValueError(f"{hole.id}: the {lower} below the contact is too thin to move it")
    contact = rows[n][1] + along
    rows[n:n + 2] = [(rows[n][0], contact, upper), (contact, rows[n + 1][1], lower)]


def log_unknown_unit(rows):
    """Logs the planned unit the model does not have in the middle of the thickest interval of
    the unit it cuts."""
    _, host, unknown, thickness = UNKNOWN_UNIT
    n = max((i for i, row in enumerate(rows) if row[2] == host),
            key=lambda i: rows[i][1] - rows[i][0])
    f, t, _ = rows[n]
    top, bottom = (f + t - thickness) / 2, (f + t + thickness) / 2
    rows[n:n + 1] = [(f, top, host), (top, bottom, unknown), (bottom, t, host)]


def write_csv(name, header, rows):
    lines = [header] + [",".join(str(v) for v in row) for row in rows]
    (here / name).write_text("\n".join(lines) + "\n", encoding="utf-8")


basin_boreholes = [basin_hole(n) for n in range(25)]
write_csv("collars.csv", "hole_id,x,y,z,depth",
          [(h.id, h.collar[0], h.collar[1], f"{h.collar[2]:.2f}", h.depth)
           for h in basin_boreholes])
write_csv("surveys.csv", "hole_id,depth,azimuth,dip",
          [(h.id, d, a, i) for h in basin_boreholes if h.id in DEVIATED for d, a, i in h.stations
           if d < h.depth])
write_csv("intervals.csv", "hole_id,from,to,unit",
          [(h.id, f"{f:.2f}", f"{t:.2f}", u) for h in basin_boreholes
           for f, t, u in logged_intervals(h)])
