#pragma once

#include "scene/view_status.h"

namespace netglobe {

// Interval of the flight timer, milliseconds.
inline constexpr int kFlightTickMs = 5;

// The camera distance of key +, which a flight to a client also takes.
inline constexpr double kCloseDist = 2.87;

enum class FlightStep {
  Moved,    // the view moved: redraw
  Arrived,  // nothing moved: stop the flight timer, start the label switch
};

// One tick of the flight to targetlon/targettilt. Each value moves by a
// thirtieth of its whole-degree gap plus 0.05 degrees, the longitude the
// shorter way around; the distance stays. A region key's flight ends with
// each value at most one degree above its target, never snapped onto it,
// and the tilt is not clamped. A flight to a client (exacttarget) steps the
// same way, but a longitude gap across the seam counts as the short gap it
// is, and the tick that finds both gaps closed sets the view exactly on the
// target (Moved); the tick after reports the arrival.
FlightStep gohome(ViewState& view);

// The view's longitude and tilt that look straight down on lat/lon: the
// longitude within -180..180 and the tilt 90 - lat, as the view holds them.
struct ViewCentre {
  float lon = 0;
  float tilt = 0;
  bool operator==(const ViewCentre&) const = default;
};
ViewCentre centreof(double lat, double lon);

// The view put on lat/lon at once, without a flight (following a pilot).
void centreon(ViewState& view, double lat, double lon);

// The view at the start of a flight to the client at lat/lon: at the
// distance of key + at once, with the client as the flight's exact target.
// The caller then starts the flight timer and redraws, as for key space.
ViewState flighttoclient(ViewState view, double lat, double lon);

}  // namespace netglobe
