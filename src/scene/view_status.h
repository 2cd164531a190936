#pragma once

#include <string>

namespace netglobe {

// The camera as the user moves it: the view is centred on longitude viewlon
// and latitude 90 - viewtilt, seen from viewdist model units away.
struct ViewState {
  float viewlon = 12.0f;
  float viewtilt = 39.0f;
  double viewdist = 11.5;
  double mindist = 2.18;
  double maxdist = 11.5;
  double saveddist = 2.5;
  double savedlon = 12.6;
  double savedtilt = 37.4;
  double targetlon = 0;
  double targettilt = 0;
  // A flight to a client: measured the shorter way round and, on arrival,
  // set exactly on the target. A region key's flight clears it.
  bool exacttarget = false;
  bool operator==(const ViewState&) const = default;
};

// The status line under the globe: " 12 /  51 /  11.5" for the default view.
// Longitude and centre latitude are rounded down, not towards zero.
std::string viewstatusline(const ViewState& view);

}  // namespace netglobe
