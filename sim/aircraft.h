#pragma once

#include <string_view>

#include "flight_profile.h"
#include "rng.h"

namespace netsim {

// What a pilot's slot flies: it decides the types, the callsigns, the length
// of its sessions and how far its flights go.
enum class AircraftClass { Airliner, Turboprop, Light };

struct Aircraft {
  std::string_view type;  // field 10 as filed
  Performance performance;
};

// One type of the class, each as likely.
const Aircraft& pickaircraft(Rng& rng, AircraftClass cls);

// The shortest route a flight of the class is planned on, nautical miles.
double minroutenm(AircraftClass cls);

}  // namespace netsim
