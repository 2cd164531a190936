#pragma once

#include "feed/status_lists.h"
#include "refdata/directories.h"
#include "scene/layer.h"

namespace netglobe {

// Both layers place a station at the airport named by the first four
// characters of its callsign, the last line of that code in airports.dat,
// or at its own reported position when the code is not there. A station
// that reports no position is placed at the airport of its callsign before
// the first "_", or not drawn at all. A build that cannot read airports.dat
// stops there and keeps what it drew.

// List 9: a green spot, opaque in the middle and clear at the rim (radius
// rad degrees of latitude), for every station whose line holds "_APP:" or
// "_DEP:" in any case; approach selection names.
Layer drawapp(const StatusLists& lists, const AirportDirectory& airports, double rad);

// List 10: a cyan triangle, apex rad degrees north, base corners rad
// degrees south and rad degrees of longitude east and west, for every
// tower station; tower selection names.
Layer drawtwr(const StatusLists& lists, const AirportDirectory& airports, double rad);

}  // namespace netglobe
