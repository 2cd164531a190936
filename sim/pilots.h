#pragma once

#include "aircraft.h"
#include "client.h"
#include "client_session.h"

namespace netsim {

// A pilot's session of sessionlength seconds: at the gate, taxiing out,
// flying a route between two airports that fits into the session, taxiing
// in and parked; or, without a route that fits, parked at the stand or (light
// aircraft) flying circuits with no flight plan. The flight number comes
// from the slot alone, so no two slots share a callsign.
void makepilot(Client& c, const Session& s, AircraftClass cls, double sessionlength);

}  // namespace netsim
