#pragma once

#include <cstdint>

#include "people.h"
#include "rng.h"
#include "sphere.h"
#include "world.h"

namespace netsim {

inline constexpr std::int64_t kMinute = 60;
inline constexpr std::int64_t kHour = 3600;

// What every maker of a client line is handed: one session of one slot,
// seen at the time now.
struct Session {
  const World& world;
  Rng& rng;  // the session's own sequence: each maker draws from it in a fixed order
  const Person& person;
  int slot;
  std::uint64_t key;  // of this session
  std::int64_t start, now;
};

inline LatLon at(const Place& p) { return {p.lat, p.lon}; }

}  // namespace netsim
