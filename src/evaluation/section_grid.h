#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace kalvenor {

// A vertex of a polyline survey line where the section bends, at `distance` along the line from
// the first column; `vertex` is its number in the line as given, from 1, and `name` the name a
// line file gives it ("" for none).
struct SectionBend {
  double distance = 0.0;
  std::int32_t vertex = 0;
  double x = 0.0;
  double y = 0.0;
  std::string name = {};
};

// The survey line of the last section build, clipped to the display rectangle, and the display
// surface along it. A straight section runs from (Xstart, Ystart) in steps (Dxx, Dyy) to about
// (Xend, Yend); one along a polyline has its columns' own positions and is unfolded: its picture
// runs straight in the direction Fai (from its first column towards its last) for the length of
// the line.
struct SectionGrid {
  double Xstart = 0.0;
  double Ystart = 0.0;
  double Xend = 0.0;
  double Yend = 0.0;
  double Fai = 0.0;  // azimuth in radians, clockwise from north
  std::int32_t Nxy = 0;
  double Dxx = 0.0;
  double Dyy = 0.0;
  std::int32_t Nmax = 0;
  std::vector<double> sectionSurfZ;  // 1..Nxy: display elevation under each column
  // 1..Nxy: false where the display surface has no elevation under the column (all air there).
  std::vector<bool> groundKnown;
  double Zbase = 0.0;  // base and step of the levels the build used
  double Dzz = 0.0;
  std::int32_t Nz = 0;
  // Along a polyline only (empty on a straight section): per column 1..Nxy its map position, its
  // distance along the line from the first column and its segment (1 from the first vertex to
  // the second); and the bends inside the section in order.
  std::vector<double> columnX;
  std::vector<double> columnY;
  std::vector<double> columnDistance;
  std::vector<std::int32_t> columnSegment;
  std::vector<SectionBend> bends;
  double polylineLength = 0.0;

  bool unfolded() const { return !columnX.empty(); }
  // The map position of column h.
  double x(int h) const { return unfolded() ? columnX[h] : Xstart + (h - 1) * Dxx; }
  double y(int h) const { return unfolded() ? columnY[h] : Ystart + (h - 1) * Dyy; }
  // The distance of column h from the first along the line.
  double distance(int h) const {
    return unfolded() ? columnDistance[h] : (h - 1) * std::hypot(Dxx, Dyy);
  }
  std::int32_t segment(int h) const { return unfolded() ? columnSegment[h] : 1; }
  double length() const {
    return unfolded() ? polylineLength : std::hypot(Xend - Xstart, Yend - Ystart);
  }
  // Where the picture shows the point `distance` along the line: the line itself when straight;
  // along a polyline, the unfolded line, centred on the middle of its ends.
  double pictureX(double distance) const {
    if (!unfolded()) {
      const double L = length();
      return Xstart + (L == 0 ? 0 : distance / L) * (Xend - Xstart);
    }
    return (Xstart + Xend) / 2 + (distance - polylineLength / 2) * std::sin(Fai);
  }
  double pictureY(double distance) const {
    if (!unfolded()) {
      const double L = length();
      return Ystart + (L == 0 ? 0 : distance / L) * (Yend - Ystart);
    }
    return (Ystart + Yend) / 2 + (distance - polylineLength / 2) * std::cos(Fai);
  }
  // The ends of the picture: (Xstart, Ystart) and (Xend, Yend) themselves on a straight section.
  double pictureXstart() const { return unfolded() ? pictureX(0) : Xstart; }
  double pictureYstart() const { return unfolded() ? pictureY(0) : Ystart; }
  double pictureXend() const { return unfolded() ? pictureX(polylineLength) : Xend; }
  double pictureYend() const { return unfolded() ? pictureY(polylineLength) : Yend; }

  // Heights of column h's levels above the display surface, into levels[1..Nz]: Zbase - zs on
  // level 1, then one step added per level.
  void surfaceGapColumn(int h, std::vector<double>& levels) const {
    levels.resize(Nz + 1);
    levels[1] = Zbase - sectionSurfZ[h];
    for (int v = 1; v < Nz; ++v) levels[v + 1] = levels[v] + Dzz;
  }
};

}  // namespace kalvenor
