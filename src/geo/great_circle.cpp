#include "geo/great_circle.h"

#include <algorithm>
#include <cmath>

#include "geo/globe_coords.h"

namespace netglobe {

namespace {

// Rounding can push the cosine of the angle between two almost identical
// positions a hair above 1; arccos would give NaN and the NaN would end the
// layer being built, so it is held inside the defined range.
double clampcos(double c) { return std::clamp(c, -1.0, 1.0); }

}  // namespace

double arccos(double wert) {
  return std::atan(-wert / std::sqrt(1.0 - wert * wert)) + 2.0 * std::atan(1.0);
}

double dist(double lat1, double lon1, double lat2, double lon2) {
  lat1 *= kDegToRad;
  lon1 *= kDegToRad;
  lat2 *= kDegToRad;
  lon2 *= kDegToRad;
  const double c = std::cos(lat1) * std::cos(lat2) * std::cos(lon1 - lon2) +
                   std::sin(lat2) * std::sin(lat1);
  return arccos(clampcos(c)) * kEarthRadiusKm;
}

int course(double lat1, double lon1, double lat2, double lon2) {
  lat1 *= kDegToRad;
  lon1 *= kDegToRad;
  lat2 *= kDegToRad;
  lon2 *= kDegToRad;
  const double c = clampcos(std::cos(lat1) * std::cos(lat2) * std::cos(lon2 - lon1) +
                            std::sin(lat2) * std::sin(lat1));
  const double d = arccos(c);
  // No angular distance, no direction: 0/0 below. Any course will do for
  // the callers; 0 keeps the direction layer going.
  if (d == 0.0) return 0;
  double x = (std::sin(lat2) - std::sin(lat1) * c) / (std::sin(d) * std::cos(lat1));
  if (x > 1) x = 1;
  if (x < -1) x = -1;
  double t = arccos(x) * 180.0 / kPi6;
  if (std::sin(lon2 - lon1) < 0) t = 360.0 - t;
  // Coordinates read as infinity from a broken record must not reach the
  // integer conversion.
  if (!std::isfinite(t)) return 0;
  return static_cast<int>(t);
}

}  // namespace netglobe
