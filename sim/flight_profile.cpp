#include "flight_profile.h"

#include <algorithm>
#include <cmath>

namespace netsim {

Profile makeprofile(const Performance& ac, double distance, double wind, double wantalt,
                    double depelev, double destelev) {
  Profile p;
  p.distance = distance;
  p.depelev = depelev;
  p.destelev = destelev;
  p.v0 = ac.slow;
  p.v1 = ac.slow * 0.9;
  p.vcruise = ac.tas + wind;
  // Hours of climb (descent) per foot and the distance they cover.
  const double climbnm = (p.v0 + p.vcruise) / 2 / ac.climb / 60;
  const double descnm = (p.vcruise + p.v1) / 2 / ac.descent / 60;
  double alt = std::min(wantalt, ac.ceiling);
  // Short routes are flown lower: climb and descent take at most 90 % of it.
  alt = std::min(alt, 0.9 * distance / (climbnm + descnm));
  alt = std::max(std::floor(alt / 500) * 500, std::max(depelev, destelev) + 1500);
  p.cruisealt = alt;
  p.tclimb = (alt - depelev) / ac.climb / 60;
  p.tdescent = (alt - destelev) / ac.descent / 60;
  p.dclimb = (p.v0 + p.vcruise) / 2 * p.tclimb;
  p.ddescent = (p.vcruise + p.v1) / 2 * p.tdescent;
  p.dcruise = std::max(0.0, distance - p.dclimb - p.ddescent);
  p.tcruise = p.dcruise / p.vcruise;
  return p;
}

FlightState flightat(const Profile& p, double hours) {
  FlightState s;
  if (hours < p.tclimb) {
    const double a = (p.vcruise - p.v0) / p.tclimb;
    s.speed = p.v0 + a * hours;
    s.flown = p.v0 * hours + a * hours * hours / 2;
    s.alt = p.depelev + (p.cruisealt - p.depelev) * hours / p.tclimb;
  } else if (hours < p.tclimb + p.tcruise) {
    s.speed = p.vcruise;
    s.flown = p.dclimb + p.vcruise * (hours - p.tclimb);
    s.alt = p.cruisealt;
  } else {
    const double e = std::min(hours - p.tclimb - p.tcruise, p.tdescent);
    const double a = (p.vcruise - p.v1) / p.tdescent;
    s.speed = p.vcruise - a * e;
    s.flown = p.dclimb + p.dcruise + p.vcruise * e - a * e * e / 2;
    s.alt = p.cruisealt - (p.cruisealt - p.destelev) * e / p.tdescent;
  }
  s.flown = std::min(s.flown, p.distance);
  return s;
}

}  // namespace netsim
