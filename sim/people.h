#pragma once

#include <string>

#include "rng.h"

namespace netsim {

// The person behind a client: member id (field 2) and name (field 3).
struct Person {
  std::string id;
  std::string name;
};

// A name, UTF-8: several hold letters outside ASCII, a few letters that
// windows-1252 cannot show at all; some end in a home aerodrome's code.
// At most 40 bytes, so that the type field stays where NetGlobe looks.
std::string personname(Rng& rng);

// A six-digit member id that is none of the friends' ids: only the friend
// slots carry those.
std::string memberid(Rng& rng);

}  // namespace netsim
