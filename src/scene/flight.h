#pragma once

#include "scene/view_status.h"

namespace netglobe {

// Interval of the flight timer, milliseconds.
inline constexpr int kFlightTickMs = 5;

enum class FlightStep {
  Moved,    // the view moved: redraw
  Arrived,  // nothing moved: stop the flight timer, start the label switch
};

// One tick of the flight to targetlon/targettilt. Each value moves by a
// thirtieth of its whole-degree gap plus 0.05 degrees, the longitude the
// shorter way around; the distance stays. The flight ends with each value at
// most one degree above its target, never snapped onto it, and the tilt is
// not clamped.
FlightStep gohome(ViewState& view);

}  // namespace netglobe
