#pragma once

namespace netsim {

// Positions on a spherical earth, in degrees.
struct LatLon {
  double lat = 0;
  double lon = 0;
};

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kRad = kPi / 180.0;

// Great-circle distance in nautical miles.
double distancenm(double lat1, double lon1, double lat2, double lon2);

// The point a fraction f of the way from a to b along the great circle.
LatLon alongroute(LatLon a, LatLon b, double f);

// Initial true course from a to b, 0 to 360.
double course(LatLon a, LatLon b);

// A point distnm nautical miles from p on the given course: a flat step,
// good for the few miles around an airport.
LatLon offset(LatLon p, double coursedeg, double distnm);

}  // namespace netsim
