#pragma once

#include "feed/status_lists.h"
#include "refdata/directories.h"
#include "refdata/network_tables.h"
#include "scene/layer.h"

namespace netglobe {

// List 3: one disc per pilot at its reported position, white in the middle.
// Rim red and radius rad (degrees of latitude); bound for a home aerodrome
// green and 0.015 larger; a friend blue and 0.015 larger; a friend bound for
// home blue and 0.03 larger. Each disc carries its pilot's selection name.
// A pilot that reports no position (latitude or longitude empty) gets no
// disc and, in list 12, no line.
Layer drawaircraft(const StatusLists& lists, const FriendIds& friends, double rad);

// List 12: for every pilot at 30 knots or more with a filed destination, a
// line from orange at the aircraft to yellow at the tip, speed / 1000
// degrees long along the initial course to the destination (latitude 0,
// longitude 0 when the code is not an airport). One GL_LINES primitive, no
// selection names. Stops when airports.dat cannot be read.
Layer drawaircraftdir(const StatusLists& lists, const AirportDirectory& airports);

}  // namespace netglobe
