#include "layers/direction_segment.h"

#include <cmath>

#include "geo/globe_coords.h"

namespace netglobe {

void heading(DrawList& list, double lat1, double lon1, double kurs, double rad1, float r, float g,
             float b, float psize) {
  const double k = kurs * 6.28318 / 360.0;
  const double tiplat = lat1 + std::cos(k) * rad1;
  const double tiplon = lon1 + std::sin(k) * rad1 / std::cos(lat1 * kDegToRad);
  if (!std::isfinite(tiplat) || !std::isfinite(tiplon)) return;
  list.linewidth(psize);
  list.color(r, g, b);
  list.vertex(getxyz(lat1, lon1, 0));
  list.color(1, 1, 0);
  list.vertex(getxyz(tiplat, tiplon, 0));
}

}  // namespace netglobe
