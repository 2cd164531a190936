#include "layers/marker_ring.h"

#include <cmath>

#include "geo/globe_coords.h"
#include "scene/scene_state.h"

namespace netglobe {

namespace {

constexpr int kRingVertices = 32;
constexpr float kRingWidth = 3;

}  // namespace

Layer drawmarker(double lat, double lon) {
  Layer layer{kMarkerList};
  DrawList& out = layer.ops;
  out.linewidth(kRingWidth);
  color(out, kMarkerColour);
  out.begin(Prim::LineLoop);
  for (int i = 0; i < kRingVertices; ++i) {
    const double a = i * 2 * kPi6 / kRingVertices;
    const double ringlat = lat + std::cos(a) * kMarkerRadius;
    const double ringlon = lon + std::sin(a) * kMarkerRadius / std::cos(ringlat * kDegToRad);
    out.vertex(getxyz(ringlat, ringlon, 0));
  }
  out.end();
  return layer;
}

}  // namespace netglobe
