#pragma once

#include <string>

#include "feed/status_lists.h"
#include "refdata/directories.h"
#include "scene/layer.h"

namespace netglobe {

// The pilot's name as labels show it: a name that ends in a blank and a
// four-character code ("Ann Example EDDF") loses those five characters.
std::string labelname(const std::string& name);

// List 16, colour (1, 1, 0): a label just south-east of every pilot that
// reports a latitude, by mode:
//   1 callsign
//   2 callsign > dest                      ("?" when there is no destination)
//   3 callsign name
//   4 callsign > dest                      home-aerodrome destinations only
//   5 callsign > dest name  NM / Knts / min  home-aerodrome destinations only
// Mode 5 measures the distance for every pilot at 80 knots or more; below
// that distance and minutes are 0. An unreadable airports.dat, or a pilot
// position that gives no distance, ends the layer with the labels built so
// far and a reason in Layer::failure.
Layer showpilotname(const StatusLists& lists, const AirportDirectory& airports,
                    int pilotlabelmode);

}  // namespace netglobe
