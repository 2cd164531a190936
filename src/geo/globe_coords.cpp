#include "geo/globe_coords.h"

#include <cmath>

namespace netglobe {

GlobePoint getxyz(double lat1, double lon1, double radiusoffset) {
  // Scaled by the factor, not by pi first: a field as large as a double
  // holds must not overflow into an angle of infinity and a NaN point.
  const double a = lat1 * kDegToRad;
  const double b = (lon1 - 90.0) * kDegToRad;
  const double r = kLayerRadius + radiusoffset;
  return {r * std::cos(a) * std::cos(b), r * std::cos(a) * std::sin(b), r * std::sin(a)};
}

}  // namespace netglobe
