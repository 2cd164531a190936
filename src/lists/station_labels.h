#pragma once

#include "feed/status_lists.h"
#include "refdata/directories.h"
#include "scene/layer.h"

namespace netglobe {

// Labels of the staffed stations, one for every line of a station list
// (no test of the station kind). The anchor is looked up with the first
// four characters of the callsign (all of it when shorter). A station that
// reports no position (latitude or longitude empty) is looked up by its
// callsign before the first "_" instead, and gets no label where neither
// directory places it ("near 0/0" below is for the others). A directory
// that cannot be read ends the layer with the labels built so far and a
// reason in Layer::failure.

// List 13, colour (1, 0.7, 1): "callsign name rating", 0.4 degree north and
// 1.5 degrees west of the FIR's reference point.
Layer showctrname(const StatusLists& lists, const FirDirectory& firs);

// List 14, colour (0, 1, 0): "code place name rating", 0.6 degree north and
// 0.3 degree west of the airport; an airport at latitude 0 counts as not
// found and the FIR directory is asked instead ("code FIR-name name
// rating"). Neither found: "callsign name name rating" near 0/0.
Layer showaprname(const StatusLists& lists, const AirportDirectory& airports,
                  const FirDirectory& firs);

// List 15, colour (0, 1, 1): "code place-airport name rating" (the place
// once when both names are the same), 0.02 degree south and 0.3 degree east
// of the airport. Not found: "callsign name-memberid name rating" near 0/0.
Layer showtwrname(const StatusLists& lists, const AirportDirectory& airports);

}  // namespace netglobe
