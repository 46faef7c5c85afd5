"""The example's geological map as QGIS opens it: kalvenor-render writes the map as a GeoPackage
(with the units grid beside it), QGIS's Python opens both layers headless, checks that they are
valid and styled by unit in the colours of the `color` field, that every unit's area agrees with
the units grid within one cell across along its outline, and draws the layers into a picture
beside the program's own plan view. Not a dependency of the project: a check that QGIS reads the
file as meant (Debian's python3-qgis).

    QT_QPA_PLATFORM=offscreen /usr/bin/python3 scripts/qgis-geology-map.py build-release/bin/kalvenor-render

writes docs/geology-map-qgis.png and docs/geology-map-plan.png and exits 1 when a check fails.
"""
import os
import subprocess
import sys
import tempfile

from osgeo import gdal
from qgis.core import (QgsApplication, QgsMapRendererParallelJob, QgsMapSettings,
                       QgsRectangle, QgsVectorLayer)
from qgis.PyQt.QtCore import QSize
from qgis.PyQt.QtGui import QColor

render = sys.argv[1]
root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
e = os.path.join(root, "examples", "folded-basin")
inputs = ["--model", f"{e}/model.txt",
          "--boundary", f"{e}/limestone_top.txt", "--boundary", f"{e}/sandstone_top.txt",
          "--boundary", f"{e}/mudstone_top.txt", "--boundary", f"{e}/unconformity.txt",
          "--surface", f"{e}/topography.txt", "--colors", f"{e}/colors.txt", "--zbase", "0"]
work = tempfile.mkdtemp()
gpkg, units_tif = os.path.join(work, "map.gpkg"), os.path.join(work, "units.tif")
subprocess.run([render, *inputs, "--geology-map", gpkg, "--units-grid", units_tif], check=True)
subprocess.run([render, *inputs, "--view", "180,90,,1", "--size", "1000x800", "--no-side",
                "--legend", "--antialias", "--map", os.path.join(root, "docs", "geology-map-plan.png")],
               check=True)

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


app = QgsApplication([], False)
app.initQgis()
units = QgsVectorLayer(f"{gpkg}|layername=units", "units", "ogr")
contacts = QgsVectorLayer(f"{gpkg}|layername=contacts", "contacts", "ogr")
check(units.isValid() and contacts.isValid(), "both layers are valid")

# The style QGIS loaded with the layer from the GeoPackage's layer_styles table.
renderer = units.renderer()
check(renderer.type() == "categorizedSymbol" and renderer.classAttribute() == "unit",
      f"units styled by unit (renderer {renderer.type()})")
colour_of = {str(c.value()): (c.symbol().color().name(), c.label()) for c in renderer.categories()}
check(contacts.renderer().type() == "categorizedSymbol", "contacts styled by boundary")

raster = gdal.Open(units_tif)
band = raster.GetRasterBand(1).ReadAsArray()
transform = raster.GetGeoTransform()
cell_area, cell = abs(transform[1] * transform[5]), abs(transform[1])
for feature in units.getFeatures():
    unit, name, colour = str(feature["unit"]), feature["name"], feature["color"]
    geometry = feature.geometry()
    check(geometry.isGeosValid(), f"{name}: the multipolygon is valid")
    check(colour_of.get(unit) == (colour.lower(), name),
          f"{name}: drawn in {colour} under its name (style: {colour_of.get(unit)})")
    area = geometry.area()
    nodes = int((band == int(unit)).sum()) * cell_area
    outline = geometry.constGet().boundary().length()
    check(abs(area - nodes) <= cell * outline and abs(area - feature["area_m2"]) < 1e-6 * area,
          f"{name}: {area:.0f} m2, units grid {nodes:.0f} m2, allowed {cell * outline:.0f} m2")

settings = QgsMapSettings()
settings.setLayers([contacts, units])
extent = QgsRectangle(units.extent())
extent.scale(1.05)
settings.setExtent(extent)
settings.setOutputSize(QSize(1000, 800))
settings.setBackgroundColor(QColor("white"))
job = QgsMapRendererParallelJob(settings)
job.start()
job.waitForFinished()
job.renderedImage().save(os.path.join(root, "docs", "geology-map-qgis.png"), "png")
app.exitQgis()
print("wrote docs/geology-map-qgis.png and docs/geology-map-plan.png")
sys.exit(1 if failures else 0)
