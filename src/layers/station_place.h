#pragma once

#include <optional>
#include <string_view>

#include "base/fields.h"
#include "feed/client_fields.h"
#include "refdata/directories.h"

namespace netglobe {

// Stations without a position (haspositionfields) are placed from the
// reference data by the code their callsign begins with, or stay unplaced.
// Records with a position keep every placement rule they had.

// The code a station without a position is found by: its callsign before
// the first "_", all of it when there is none.
std::string_view stationcode(std::string_view callsign);

struct StationSpot {
  double lat = 0;
  double lon = 0;
};

// Where such a station stands, found by its code: an approach, departure,
// tower or ground station at its aerodrome (the last line of the code in
// airports.dat, as the station layers place it), a centre at the reference
// point of its FIR in firs.dat. Nothing when the code is not there;
// readable false when the directory cannot be read. The lookup overwrites
// fieldbuf.
struct CodePlace {
  bool readable = true;
  std::optional<StationSpot> at;
};
CodePlace airportofcode(std::string_view callsign, const AirportDirectory& airports, FieldBuf& fieldbuf);
CodePlace firofcode(std::string_view callsign, const FirDirectory& firs, FieldBuf& fieldbuf);

}  // namespace netglobe
