#include "geo/globe_coords.h"

#include <cmath>

namespace netglobe {

GlobePoint getxyz(double lat1, double lon1, double radiusoffset) {
  const double a = lat1 * kPi6 / 180.0;
  const double b = (lon1 - 90.0) * kPi6 / 180.0;
  const double r = kLayerRadius + radiusoffset;
  return {r * std::cos(a) * std::cos(b), r * std::cos(a) * std::sin(b), r * std::sin(a)};
}

}  // namespace netglobe
