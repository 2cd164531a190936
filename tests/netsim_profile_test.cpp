// The simulated flights' climb, cruise and descent: a pure function of the
// aircraft, the route and the time since take-off.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "flight_profile.h"

namespace netsim {
namespace {

constexpr Performance kJet{450, 39000, 2200, 2000, 170};
constexpr Performance kLight{115, 9000, 700, 500, 70};

TEST(FlightProfile, PhasesJoinAndTheFlightEndsAtTheDestination) {
  struct Case {
    const char* what;
    Performance ac;
    double distance, wind, wantalt, depelev, destelev;
  };
  const Case cases[] = {
      {"jet, long route, head wind", kJet, 3000, -30, 37000, 400, 1200},
      {"jet, tail wind, above its ceiling", kJet, 800, 30, 45000, 1400, 0},
      {"jet, short route flown low", kJet, 120, 0, 39000, 0, 0},
      {"light aircraft", kLight, 60, 10, 9000, 300, 900},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Profile p = makeprofile(c.ac, c.distance, c.wind, c.wantalt, c.depelev, c.destelev);
    EXPECT_EQ(std::fmod(p.cruisealt, 500), 0);
    EXPECT_LE(p.cruisealt, std::min(c.wantalt, c.ac.ceiling));
    EXPECT_GE(p.cruisealt, std::max(c.depelev, c.destelev) + 1500);
    EXPECT_LE(p.dclimb + p.ddescent, 0.9 * c.distance + 1e-9);
    EXPECT_NEAR(p.dclimb + p.dcruise + p.ddescent, c.distance, 1e-9);
    EXPECT_DOUBLE_EQ(p.vcruise, c.ac.tas + c.wind);

    const FlightState first = flightat(p, 0);
    EXPECT_EQ(first.flown, 0);
    EXPECT_EQ(first.alt, c.depelev);
    EXPECT_EQ(first.speed, c.ac.slow);
    const FlightState last = flightat(p, p.duration());
    EXPECT_NEAR(last.flown, c.distance, 1e-6);
    EXPECT_NEAR(last.alt, c.destelev, 1e-6);
    EXPECT_NEAR(last.speed, 0.9 * c.ac.slow, 1e-6);
    // Long after landing the flight stays where it landed.
    const FlightState later = flightat(p, p.duration() + 5);
    EXPECT_EQ(later.flown, c.distance);
    EXPECT_NEAR(later.alt, c.destelev, 1e-6);

    // No jump anywhere, the phase ends included: the flight never climbs or
    // sinks faster than the aircraft can, and the reported speed is the one
    // it covers its distance at.
    const double step = p.duration() / 2000;
    const double maxrate = std::max(c.ac.climb, c.ac.descent) * 60;  // ft per hour
    FlightState before = first;
    for (int i = 1; i <= 2000; ++i) {
      const double t = i * step;
      const FlightState now = flightat(p, t);
      const FlightState mid = flightat(p, t - step / 2);
      ASSERT_GE(now.flown, before.flown) << "at " << t << " h";
      ASSERT_NEAR(now.flown - before.flown, mid.speed * step, 0.01 * mid.speed * step) << "at " << t << " h";
      ASSERT_LE(std::fabs(now.alt - before.alt), maxrate * step * (1 + 1e-9)) << "at " << t << " h";
      ASSERT_LE(now.alt, p.cruisealt);
      before = now;
    }
  }
}

}  // namespace
}  // namespace netsim
