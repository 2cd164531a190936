#include "scene/flight.h"

#include <cmath>

namespace netglobe {

FlightStep gohome(ViewState& view) {
  const double d = std::floor(static_cast<double>(view.viewlon) - view.targetlon);
  const double longap = std::abs(d);
  const double tiltgap = std::floor(static_cast<double>(view.viewtilt) - view.targettilt);
  if (longap == 0 && tiltgap == 0) return FlightStep::Arrived;

  if (longap != 0) {
    // A gap of 180 or more is closed the other way, across the seam.
    const double m = longap / 30 + 0.05;
    const double lonstep = (d < 0) == (longap < 180) ? -m : m;
    view.viewlon = static_cast<float>(static_cast<double>(view.viewlon) - lonstep);
    if (view.viewlon > 180.0f) {
      view.viewlon -= 360.0f;
    } else if (view.viewlon < -180.0f) {
      view.viewlon += 360.0f;
    }
  }
  if (tiltgap != 0) {
    const double tiltstep = std::copysign(std::abs(tiltgap) / 30 + 0.05, tiltgap);
    view.viewtilt = static_cast<float>(static_cast<double>(view.viewtilt) - tiltstep);
  }
  return FlightStep::Moved;
}

}  // namespace netglobe
