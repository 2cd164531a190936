#include "layers/disc_fan.h"

#include <cmath>

#include "geo/globe_coords.h"

namespace netglobe {

void discfan(DrawList& out, double lat, double lon, double r, Rgba centre, Rgba rim) {
  out.begin(Prim::TriangleFan);
  color(out, centre);
  out.vertex(getxyz(lat, lon, 0));
  color(out, rim);
  // The angle is accumulated step by step, so the last of the 13 values
  // lies a rounding remainder short of the full turn.
  constexpr double kTurn = 6.28318;
  for (double a = 0; a <= kTurn; a += kTurn / 12) {
    const double rimlat = lat + std::cos(a) * r;
    const double rimlon = lon + std::sin(a) * r / std::cos(rimlat * kDegToRad);
    out.vertex(getxyz(rimlat, rimlon, 0));
  }
  out.end();
}

}  // namespace netglobe
