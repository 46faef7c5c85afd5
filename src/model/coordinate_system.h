#pragma once

#include <stdexcept>
#include <string>

namespace kalvenor {

// A coordinate system that cannot be used as it was given; the message says why.
class CoordinateSystemError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The WKT of the projected coordinate system given as an authority code ("EPSG:6677"), a WKT or
// a PROJ string. Throws CoordinateSystemError when GDAL does not know it, or when it is not
// projected: heights in metres cannot be drawn over degrees. Files and the network are not
// consulted. The WKT names the system's EPSG code where one matches (see identifiedSystem).
std::string projectedSystemWkt(const std::string& text);

// The system (WKT) with the EPSG code that names it, so that GIS programs reading an export know
// it by its code: the EPSG definition when exactly one is equivalent to it (as GDAL finds
// matches), else the system as it was given. A system that names an authority stays as it is.
std::string identifiedSystem(const std::string& wkt);

// True when the system (WKT) counts in degrees of longitude and latitude.
bool isGeographic(const std::string& wkt);

// True when the two systems (WKT) locate a point in the plane the same way, as GDAL decides
// equivalence: the order of the axes, a vertical part and the names of the parts do not count,
// and two systems with the same EPSG code are the same. Two empty ones are the same, an empty
// and a named one not.
bool sameSystem(const std::string& a, const std::string& b);

// The name of the system's unit of length ("metre"); "" when it names none.
std::string linearUnitName(const std::string& wkt);

// The system's name for a message ("JGD2011 / Japan Plane Rectangular CS IX").
std::string systemName(const std::string& wkt);

}  // namespace kalvenor
