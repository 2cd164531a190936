#pragma once

namespace netglobe {

// Degrees become radians with this six-digit pi everywhere in the program;
// the layers and the texture only line up if every conversion uses it.
inline constexpr double kPi6 = 3.14159;
inline constexpr double kDegToRad = kPi6 / 180.0;

inline constexpr double kGlobeRadius = 2.0;
// Overlay shell: layers float 0.01 above the textured sphere so that they are
// never buried in it.
inline constexpr double kLayerRadius = kGlobeRadius + 0.01;

struct GlobePoint {
  double x = 0;
  double y = 0;
  double z = 0;
};

// Model-space point for a latitude/longitude (degrees, north and east
// positive) lifted radiusoffset above the overlay shell. North pole on +z,
// prime meridian on -y, longitude growing anticlockwise seen from the north.
// Angles outside the usual ranges are not clamped: they continue around;
// any finite angle gives a point on the shell.
GlobePoint getxyz(double lat1, double lon1, double radiusoffset);

}  // namespace netglobe
