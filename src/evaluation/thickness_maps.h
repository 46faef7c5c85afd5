#pragma once

#include "evaluation/model_columns.h"
#include "evaluation/no_value.h"
#include "model/array2d.h"
#include "model/render_context.h"

namespace kalvenor {

// The vertical thickness of `unit` at every display node (1..Nx, 1..Ny): the length of the
// column from the base up to the ground that lies in the unit, 0 where the unit is absent;
// kNoValue at nodes without an elevation.
Array2D<double> unitThicknessGrid(const ModelColumns& columns, int unit,
                                  const RenderContext& context = {});

// The depth of boundary k below the ground at every display node where it is a contact (the
// units on its two sides differ) and lies below the ground; kNoValue elsewhere.
Array2D<double> boundaryDepthGrid(const ModelColumns& columns, int k,
                                  const RenderContext& context = {});

}  // namespace kalvenor
