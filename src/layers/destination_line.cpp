#include "layers/destination_line.h"

#include <algorithm>
#include <cmath>

#include "geo/globe_coords.h"
#include "layers/trail_layer.h"
#include "scene/scene_state.h"

namespace netglobe {

namespace {

void greatcircle(DrawList& out, const GlobePoint& a, const GlobePoint& b) {
  const double r = kLayerRadius;
  const double dot = (a.x * b.x + a.y * b.y + a.z * b.z) / (r * r);
  const double angle = std::acos(std::clamp(dot, -1.0, 1.0));
  const double s = std::sin(angle);
  if (angle < 1e-9) return;
  if (s < 1e-6) return;  // antipodal: every great circle through both would do
  const int steps = std::max(1, int(std::ceil(angle / kDegToRad / kDestinationStepDegrees)));
  const auto at = [&](int i) {
    if (i == steps) return b;  // exactly the destination's point, not a rounding of it
    const double t = double(i) / steps;
    const double wa = std::sin((1 - t) * angle) / s;
    const double wb = std::sin(t * angle) / s;
    return GlobePoint{wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z};
  };
  out.begin(Prim::Lines);
  GlobePoint from = a;
  for (int i = 1; i <= steps; ++i) {
    const GlobePoint to = at(i);
    out.vertex(from);
    out.vertex(to);
    from = to;
  }
  out.end();
}

}  // namespace

Layer drawpanelflight(const std::optional<PanelFlight>& flight,
                      const std::vector<PositionFrame>& frames, std::int64_t endms) {
  Layer layer{kDetailList};
  if (!flight) return layer;
  DrawList& out = layer.ops;
  out.linewidth(kDestinationLineWidth);
  color(out, kDestinationLineColour);
  if (flight->lat && flight->lon && flight->destlat && flight->destlon) {
    greatcircle(out, getxyz(*flight->lat, *flight->lon, 0), getxyz(*flight->destlat, *flight->destlon, 0));
  }
  drawpilottrack(out, frames, flight->callsign, flight->memberid, endms);
  return layer;
}

}  // namespace netglobe
