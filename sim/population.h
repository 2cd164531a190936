#pragma once

#include <cstdint>
#include <vector>

#include "aircraft.h"
#include "client.h"
#include "world.h"

namespace netsim {

inline constexpr int kMaxClients = 10000;

// A slot is held by one client at a time; its clients follow one another in
// sessions of the slot's fixed length.
struct Slot {
  enum class Kind { Random, Chief, Observer, RegionStation, Friend };
  Kind kind = Kind::Random;
  Role role = Role::Pilot;     // a region station picks its kind anew each session
  int friendindex = -1;        // into friendids for Kind::Friend
  AircraftClass aircraftclass = AircraftClass::Airliner;  // pilots only
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

}  // namespace netsim
