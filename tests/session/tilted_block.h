#pragma once

#include "../evaluation/grid_fixtures.h"
#include "session/session.h"
#include "temp_file.h"

namespace kalvenor {

// A two-unit model whose boundary dips from 40 in the west to 20 in the east under a 41 x 21
// surface over 400 x 200 that rises from 30 to 50 northward, so that the boundary crosses the
// surface and the walls; its steps taken in a session.
struct TiltedBlock {
  TiltedBlock() {
    session.loadModel(model.path());
    session.setBoundaryFile(1, boundary.path());
    session.setUnitColor(1, packRgb(200, 0, 0));
    session.setUnitColor(2, packRgb(0, 0, 200));
    session.loadDisplaySurface(surface.path());
    session.setZbase(0);
  }

  void view(double Alpha, double Gamma, double Sca, double width, double height) {
    TypedView typed;
    typed.Alpha = Alpha;
    typed.Gamma = Gamma;
    typed.Sca = Sca;
    typed.Ve = 1;
    session.applyView(typed, width, height);
  }

  TempFile model{"1\ns\nlow,-1\nhigh,1\n"};
  TempFile boundary{
      gridFileText(makeGrid(3, 3, 0, 0, 200, 100, [](double x, double) { return 40 - x / 20; }))};
  TempFile surface{
      gridFileText(makeGrid(41, 21, 0, 0, 10, 10, [](double, double y) { return 30 + y / 10; }))};
  Session session;
};

}  // namespace kalvenor
