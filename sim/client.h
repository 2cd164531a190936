#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "rng.h"

namespace netsim {

// What a client is; decides its callsign suffix, its type field and the list
// NetGlobe sorts it into.
enum class Role {
  Pilot,
  Center,     // "_CTR"
  Fss,        // "_FSS"
  Approach,   // "_APP"
  Departure,  // "_DEP"
  Tower,      // "_TWR"
  Ground,     // "_GND"
  Delivery,   // "_DEL": staffed, but in none of NetGlobe's station lists
  Observer,   // "_OBS", free text "ZELV Observer ..."
  Chief,      // "XXXX-CH" / "XXXX-ACH"
};

inline constexpr int kClientFields = 41;

// One connected client: the 41 fields of its status line, position n in
// field(n).
struct Client {
  Role role = Role::Pilot;
  std::int64_t logon = 0;  // unix time the client connected
  int slot = 0;
  std::array<std::string, kClientFields> fields;

  std::string& field(int n) { return fields.at(n - 1); }
  const std::string& field(int n) const { return fields.at(n - 1); }
  // The status line: every field followed by a colon.
  std::string line() const;
};

// The server list of the status file; field 15 of every client names one.
struct ServerInfo {
  std::string_view ident, host, location, name;
};
extern const std::array<ServerInfo, 6> kServers;

// The server a client at this longitude connects to: one of its continent's.
const ServerInfo& serverfor(Rng& rng, double lon);

// Pressure settings of fields 40 and 41, from the weather of the hour: the
// same for every session key within one hour.
void setpressure(Client& c, std::uint64_t key, std::int64_t now);

}  // namespace netsim
