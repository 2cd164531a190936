#pragma once


namespace netglobe {

inline constexpr double kEarthRadiusKm = 6378.137;

// Arccosine in radians (0 to pi) built on atan, with full-precision pi.
// Defined for -1..1 only; outside that it yields NaN.
double arccos(double wert);

// Great-circle distance in kilometres on a sphere of radius 6378.137.
// Positions in degrees; a distance near 0 comes out for almost identical ones.
double dist(double lat1, double lon1, double lat2, double lon2);

// Initial true course from position 1 to position 2 in whole degrees (0 to
// 360, truncated). Due west gives 269: the degree conversion uses the
// six-digit pi while arccos uses the exact one. Identical positions give 0.
int course(double lat1, double lon1, double lat2, double lon2);

}  // namespace netglobe
