#include "scene/flight.h"

#include <cmath>

namespace netglobe {

namespace {

// Where the flight ends. A flight to a client ends with the view set on its
// target, so the target counts as the view will hold it: the view set there
// then finds no gap left.
struct Target {
  double lon;
  double tilt;
};

Target targetof(const ViewState& view) {
  if (!view.exacttarget) return {view.targetlon, view.targettilt};
  return {static_cast<float>(view.targetlon), static_cast<float>(view.targettilt)};
}

// The whole-degree longitude gap from the target to the view. A region key's
// target lies far from the seam, and its flight closes a raw gap of 180 or
// more the other way round, in big first steps. A client may sit within a
// degree west of the seam, where the band the flight ends in reaches across
// it: measured raw, the view would step over the seam, find a gap of nearly
// 360 and swing back, and never arrive.
double longitudegap(const ViewState& view, const Target& target) {
  const double raw = static_cast<double>(view.viewlon) - target.lon;
  return std::floor(view.exacttarget ? std::remainder(raw, 360.0) : raw);
}

}  // namespace

FlightStep gohome(ViewState& view) {
  const Target target = targetof(view);
  const double d = longitudegap(view, target);
  const double longap = std::abs(d);
  const double tiltgap = std::floor(static_cast<double>(view.viewtilt) - target.tilt);
  if (longap == 0 && tiltgap == 0) {
    const auto lon = static_cast<float>(target.lon);
    const auto tilt = static_cast<float>(target.tilt);
    if (!view.exacttarget || (view.viewlon == lon && view.viewtilt == tilt)) {
      return FlightStep::Arrived;
    }
    view.viewlon = lon;
    view.viewtilt = tilt;
    return FlightStep::Moved;
  }

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

ViewCentre centreof(double lat, double lon) {
  return {static_cast<float>(std::remainder(lon, 360.0)), static_cast<float>(90.0 - lat)};
}

void centreon(ViewState& view, double lat, double lon) {
  const ViewCentre c = centreof(lat, lon);
  view.viewlon = c.lon;
  view.viewtilt = c.tilt;
}

ViewState flighttoclient(ViewState view, double lat, double lon) {
  const ViewCentre c = centreof(lat, lon);
  view.viewdist = kCloseDist;
  view.targetlon = c.lon;
  view.targettilt = c.tilt;
  view.exacttarget = true;
  return view;
}

}  // namespace netglobe
