#pragma once

#include "client.h"
#include "client_session.h"

namespace netsim {

// A chief: watches over the FIRs around the home aerodromes, mostly the
// first three; "-ACH" for an assistant, "-CH" otherwise.
void makechief(Client& c, const Session& s, bool assistant);

// An observer: near a busy airport, called after a home aerodrome or two
// random letters.
void makeobserver(Client& c, const Session& s);

// A staffed station of the given role. A region station picks its role among
// towers, approaches, grounds and departures, and its place among the home
// aerodromes. A station that logs on where one already works is numbered
// later, when the whole snapshot is known.
void makestation(Client& c, const Session& s, Role role, bool inregion);

}  // namespace netsim
