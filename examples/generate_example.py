#!/usr/bin/env python3
"""Writes the bundled examples.

folded-basin/: a limestone, sandstone and mudstone sequence folded about a north-north-east axis,
overlain by a conglomerate, all truncated by a gently dipping unconformity under volcaniclastic
cover; a valley cuts through the cover into the folded rocks between two ridges. 101 x 81 nodes,
50 m apart (5 km x 4 km), in the viewer's own text grids and, with the same values, as GeoTIFFs
in JGD2011 / Japan Plane Rectangular CS IX (EPSG:6677).

clipped-dem/: a DEM as national mapping agencies ship them: whole metres in degrees of JGD2011
(EPSG:6668), clipped to an outline with NODATA outside, over two gently dipping boundaries given
in plane coordinates. Drawing it needs a projected system to warp it into (--srs EPSG:6677).

The GeoTIFFs need GDAL's Python bindings (Debian: python3-gdal)."""
import math
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
