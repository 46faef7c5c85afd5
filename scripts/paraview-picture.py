"""ParaView's picture of a block exported with kalvenor-render --export-3d FILE.vtp: coloured by
the `unit` cell array in the units' own colours (the field data), heights exaggerated twice, seen
from the south-west. Not a dependency of the project: a check that ParaView reads the file.

    xvfb-run -a -s "-screen 0 1280x1024x24 +extension GLX" \
        pvpython scripts/paraview-picture.py block.vtp picture.png
"""
import sys

from paraview.simple import (ColorBy, GetActiveViewOrCreate, GetColorTransferFunction,
                             SaveScreenshot, Show, Transform, XMLPolyDataReader, servermanager)

source, picture = sys.argv[1], sys.argv[2]
block = XMLPolyDataReader(FileName=[source])
block.UpdatePipeline()

# One category per unit, named and coloured as the file's field data say.
fields = servermanager.Fetch(block).GetFieldData()
numbers, colours = fields.GetArray("unit_number"), fields.GetArray("unit_color")
names = fields.GetAbstractArray("unit_name")
annotations, indexed = [], []
for i in range(numbers.GetNumberOfTuples()):
    annotations += [str(int(numbers.GetValue(i))), names.GetValue(i)]
    indexed += [channel / 255 for channel in colours.GetTuple3(i)]
units = GetColorTransferFunction("unit")
units.InterpretValuesAsCategories = 1
units.Annotations = annotations
units.IndexedColors = indexed

exaggerated = Transform(Input=block)
exaggerated.Transform.Scale = [1, 1, 2]
view = GetActiveViewOrCreate("RenderView")
view.Background = [1, 1, 1]
view.UseColorPaletteForBackground = 0
shown = Show(exaggerated, view)
ColorBy(shown, ("CELLS", "unit"))
bounds = block.GetDataInformation().GetBounds()
centre = [(bounds[0] + bounds[1]) / 2, (bounds[2] + bounds[3]) / 2, bounds[4]]
view.CameraFocalPoint = centre
view.CameraPosition = [centre[0] - 6500, centre[1] - 6000, centre[2] + 8700]
view.CameraViewUp = [0, 0, 1]
view.ResetCamera()
SaveScreenshot(picture, view, ImageResolution=[1000, 700])
