#include "sphere.h"

#include <algorithm>
#include <cmath>

namespace netsim {
namespace {

constexpr double kEarthRadiusNm = 3440.065;

struct Vec3 {
  double x, y, z;
};

Vec3 tovec(LatLon p) {
  return {std::cos(p.lat * kRad) * std::cos(p.lon * kRad),
          std::cos(p.lat * kRad) * std::sin(p.lon * kRad), std::sin(p.lat * kRad)};
}

LatLon fromvec(Vec3 v) {
  return {std::atan2(v.z, std::hypot(v.x, v.y)) / kRad, std::atan2(v.y, v.x) / kRad};
}

double centralangle(LatLon a, LatLon b) {
  const double dlat = (b.lat - a.lat) * kRad;
  const double dlon = (b.lon - a.lon) * kRad;
  const double h =
      std::sin(dlat / 2) * std::sin(dlat / 2) +
      std::cos(a.lat * kRad) * std::cos(b.lat * kRad) * std::sin(dlon / 2) * std::sin(dlon / 2);
  return 2 * std::asin(std::min(1.0, std::sqrt(h)));
}

}  // namespace

double distancenm(double lat1, double lon1, double lat2, double lon2) {
  return centralangle({lat1, lon1}, {lat2, lon2}) * kEarthRadiusNm;
}

LatLon alongroute(LatLon a, LatLon b, double f) {
  const double omega = centralangle(a, b);
  if (omega < 1e-9) return a;
  const Vec3 va = tovec(a), vb = tovec(b);
  const double wa = std::sin((1 - f) * omega) / std::sin(omega);
  const double wb = std::sin(f * omega) / std::sin(omega);
  return fromvec({wa * va.x + wb * vb.x, wa * va.y + wb * vb.y, wa * va.z + wb * vb.z});
}

double course(LatLon a, LatLon b) {
  const double dlon = (b.lon - a.lon) * kRad;
  const double y = std::sin(dlon) * std::cos(b.lat * kRad);
  const double x = std::cos(a.lat * kRad) * std::sin(b.lat * kRad) -
                   std::sin(a.lat * kRad) * std::cos(b.lat * kRad) * std::cos(dlon);
  const double deg = std::atan2(y, x) / kRad;
  return deg < 0 ? deg + 360 : deg;
}

LatLon offset(LatLon p, double coursedeg, double distnm) {
  const double north = distnm * std::cos(coursedeg * kRad);
  const double east = distnm * std::sin(coursedeg * kRad);
  const double coslat = std::max(0.05, std::cos(p.lat * kRad));
  return {p.lat + north / 60.0, p.lon + east / (60.0 * coslat)};
}

}  // namespace netsim
