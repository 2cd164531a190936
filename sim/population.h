#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "world.h"

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

inline constexpr int kMaxClients = 10000;

// A slot is held by one client at a time; its clients follow one another in
// sessions of the slot's fixed length.
struct Slot {
  enum class Kind { Random, Chief, Observer, RegionStation, Friend };
  Kind kind = Kind::Random;
  Role role = Role::Pilot;     // a region station picks its kind anew each session
  int friendindex = -1;        // into friendids for Kind::Friend
  int aircraftclass = 0;       // pilots: 0 airliner, 1 turboprop, 2 light aircraft
  std::int64_t period = 3600;  // one session and the pause before it, seconds
  std::int64_t phase = 0;      // 0 <= phase < period
  std::int64_t pause = 0;      // seconds the place stays empty before each session
};

// The simulated network: a fixed number of client places. Most places stay
// empty for a short pause between one client's logoff and the next logon, so
// the number connected moves a little from minute to minute, as on a real
// network; chiefs, observers, region stations and friends never pause.
// Everything is a pure function of the seed, the size and the time asked for.
class Network {
 public:
  Network(World world, std::uint64_t seed, int clients);

  // The clients connected at unixtime, in the order they logged on: at most
  // size() of them.
  std::vector<Client> clients(std::int64_t unixtime) const;

  int size() const { return static_cast<int>(slots_.size()); }
  std::uint64_t seed() const { return seed_; }
  const World& world() const { return world_; }

 private:
  Client session(int slot, std::int64_t index, std::int64_t start, std::int64_t now) const;

  World world_;
  std::uint64_t seed_;
  std::vector<Slot> slots_;
};

// "yyyymmddhhmmss" in UTC, the time stamp format of the status file.
std::string timestamp(std::int64_t unixtime);

// Great-circle distance in nautical miles.
double distancenm(double lat1, double lon1, double lat2, double lon2);

// A small deterministic generator: the same key always gives the same
// sequence, on every platform (the standard distributions do not).
class Rng {
 public:
  explicit Rng(std::uint64_t key) : state_(key) {}
  std::uint64_t next();
  double unit();     // [0, 1)
  int below(int n);  // [0, n), n > 0
  double range(double a, double b);
  bool chance(double p) { return unit() < p; }

 private:
  std::uint64_t state_;
};

// Mixes values into one generator key.
std::uint64_t mixkey(std::uint64_t a, std::uint64_t b);

}  // namespace netsim
