#include "pilots.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "field_text.h"
#include "flight_profile.h"
#include "sphere.h"

namespace netsim {
namespace {

constexpr double kTaxiNm = 1.5;   // from the stand to the runway
constexpr double kStandNm = 0.3;  // from the airport's reference point to the stands

constexpr std::string_view kAirlines[] = {"DLH", "BAW", "AFR", "KLM", "EZY", "RYR", "SAS",
                                          "AUA", "SWR", "UAE", "UAL", "DAL", "AAL", "EWG",
                                          "CFG", "LOT", "CSA", "IBE", "THY", "FIN", "BER"};

// A made-up but stable elevation of an airport, ft.
double fieldelevation(std::string_view code) {
  std::uint64_t h = 1469598103934665603ull;
  for (const char c : code) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return static_cast<double>(h % 1500);
}

std::string octal4(Rng& rng) {
  std::string code;
  for (int i = 0; i < 4; ++i) code += static_cast<char>('0' + rng.below(8));
  return code;
}

std::string waypoint(Rng& rng) {
  std::string name;
  for (int i = 0; i < 5; ++i) name += static_cast<char>('A' + rng.below(26));
  return name;
}

std::string route(Rng& rng, AircraftClass cls) {
  if (cls == AircraftClass::Light) return "DCT";
  static constexpr std::string_view kAirways[] = {"UN871", "L984",  "T161", "UL602",
                                                  "Z94",   "UM725", "N869", "Y163"};
  std::string text = waypoint(rng);
  const int legs = 2 + rng.below(4);
  for (int i = 0; i < legs; ++i) {
    text += " " + std::string(pickfrom(rng, kAirways)) + " " + waypoint(rng);
  }
  return text + " DCT";
}

std::string callsign(Rng& rng, AircraftClass cls, int slotindex) {
  std::string callsign;
  if (cls == AircraftClass::Light) {
    // German-style registrations; the letter H never ends one, so no
    // registration reads as a chief's "CH".
    static constexpr char kLetters[] = "ABCDEFGIJKLMNOPQRSTUVWXYZ";
    int code = (slotindex * 7919 + 11) % (25 * 25 * 25);
    callsign = "DE";
    for (int i = 0; i < 3; ++i, code /= 25) callsign += kLetters[code % 25];
  } else {
    callsign = std::string(pickfrom(rng, kAirlines)) +
               std::to_string(1 + (slotindex * 7919 + 3571) % 10007);
  }
  return callsign;
}

// The fields of a pilot's line that do not depend on where it is.
void fillpilot(Client& c, const Session& s, std::string callsign) {
  Rng& rng = s.rng;
  c.field(1) = std::move(callsign);
  c.field(2) = s.person.id;
  c.field(3) = s.person.name;
  c.field(4) = "PILOT";
  c.field(15) = "";
  c.field(16) = "100";
  c.field(17) = rng.chance(0.95) ? "1" : rng.chance(0.5) ? "0" : "9";
  c.field(18) = octal4(rng);
  c.field(38) = timestamp(s.start);
  setpressure(c, s.key, s.now);
}

// The times and headings on the ground, and the wind of the day.
struct GroundPlan {
  double sittime;  // connected, at the gate, seconds
  double taxiout;  // seconds
  double wind;     // kt along the route
  double gateheading, taxiheading;
  double taxispeed;  // kt
};

GroundPlan planground(Rng& rng, AircraftClass cls) {
  GroundPlan g;
  g.sittime = rng.range(3, 20) * kMinute;
  g.taxiout = rng.range(4, 15) * kMinute;
  g.wind = rng.range(-30, 30) * (cls == AircraftClass::Light ? 0.5 : 1.0);
  g.gateheading = rng.range(0, 360);
  g.taxiheading = rng.range(0, 360);
  g.taxispeed = rng.range(8, 25);
  return g;
}

// Which airports, if any, the flight connects.
enum class Plan { Route, ParkedNoPlan, LocalNoPlan };

struct Trip {
  Plan plan = Plan::Route;
  const Place* fixedend = nullptr;  // the airport chosen first; the only one without a route
  const Place* otherend = nullptr;  // with a route
  bool inbound = false;             // the flight ends at fixedend
  Profile profile;

  const Place& departure() const { return inbound ? *otherend : *fixedend; }
  const Place& destination() const { return inbound ? *fixedend : *otherend; }
};

// Plans the trip: the longest of a few routes that fits into the session,
// tried from up to three first airports; without one, no route at all.
Trip plantrip(const Session& s, const Aircraft& ac, AircraftClass cls, const GroundPlan& g,
              double sessionlength) {
  Rng& rng = s.rng;
  const World& world = s.world;
  Trip trip;
  if (rng.chance(0.07)) trip.plan = rng.chance(0.5) ? Plan::ParkedNoPlan : Plan::LocalNoPlan;
  const bool homeroute = rng.chance(0.15);
  trip.inbound = rng.chance(0.5);
  trip.fixedend = homeroute          ? &pickfrom(rng, world.home)
                  : rng.chance(0.65) ? &pickfrom(rng, world.busy)
                                     : &pickfrom(rng, world.airports);
  const double taxiin = kTaxiNm / g.taxispeed * kHour;
  const double budget = (sessionlength - g.sittime - g.taxiout - taxiin - 2 * kMinute) / kHour;
  const double wantalt = ac.performance.ceiling - 1000 * rng.below(6);
  const auto consider = [&](const Place& cand) {
    const Place& fixedend = *trip.fixedend;
    const double d = distancenm(fixedend.lat, fixedend.lon, cand.lat, cand.lon);
    if (cand.code == fixedend.code || d < minroutenm(cls)) return;
    const Place& dep = trip.inbound ? cand : fixedend;
    const Place& dest = trip.inbound ? fixedend : cand;
    const Profile p = makeprofile(ac.performance, d, g.wind, wantalt, fieldelevation(dep.code),
                                  fieldelevation(dest.code));
    const bool fits = p.dclimb + p.ddescent <= d && p.duration() <= budget;
    if (fits && (!trip.otherend || p.duration() > trip.profile.duration())) {
      trip.otherend = &cand;
      trip.profile = p;
    }
  };
  for (int attempt = 0; trip.plan == Plan::Route && !trip.otherend && attempt < 3; ++attempt) {
    if (attempt > 0 && !homeroute) trip.fixedend = &pickfrom(rng, world.busy);
    for (int tries = 0; tries < 12; ++tries) {
      consider(rng.chance(0.6) ? pickfrom(rng, world.busy) : pickfrom(rng, world.airports));
    }
    // Far from other airports, or a short session: any large or home
    // airport in reach.
    if (!trip.otherend) {
      if (world.busy.size() <= 64) {
        for (const Place& cand : world.busy) consider(cand);
      } else {
        for (int tries = 0; tries < 64; ++tries) consider(pickfrom(rng, world.busy));
      }
      for (const Place& cand : world.home) consider(cand);
    }
  }
  if (trip.plan == Plan::Route && !trip.otherend) {
    // Light aircraft fly locally; airliners stay at the stand.
    trip.plan = cls == AircraftClass::Light ? Plan::LocalNoPlan : Plan::ParkedNoPlan;
  }
  if (trip.plan == Plan::LocalNoPlan && cls != AircraftClass::Light) trip.plan = Plan::ParkedNoPlan;
  return trip;
}

// Where the client is, how high, how fast and where to.
struct Motion {
  LatLon pos;
  double alt = 0, speed = 0, heading = 0;
};

void setmotion(Client& c, const Motion& m) {
  c.field(6) = fixed(m.pos.lat, 5);
  c.field(7) = fixed(m.pos.lon, 5);
  c.field(8) = integer(m.alt);
  c.field(9) = integer(m.speed);
  c.field(39) = integer(m.heading);
}

// Parked at the stand, or circuits and local flying around the aerodrome,
// with no flight plan filed.
void withoutplan(Client& c, Rng& rng, const Trip& trip, const GroundPlan& g, double elapsed) {
  Motion m;
  m.heading = g.gateheading;
  const LatLon base = at(*trip.fixedend);
  const double elev = fieldelevation(trip.fixedend->code);
  if (trip.plan == Plan::ParkedNoPlan || elapsed < g.sittime) {
    m.pos = offset(base, g.gateheading, kStandNm);
    m.alt = elev;
  } else {
    const double radius = rng.range(3, 10);
    const double circuitspeed = rng.range(85, 120);
    const double theta =
        rng.range(0, 2 * kPi) + circuitspeed * (elapsed - g.sittime) / kHour / radius;
    m.pos = offset(base, 90 - theta / kRad, radius);
    m.heading = std::fmod(360 + std::fmod(-theta / kRad, 360), 360);
    m.alt = elev + rng.range(1500, 3500);
    m.speed = circuitspeed;
  }
  setmotion(c, m);
  c.field(15) = std::string(serverfor(rng, m.pos.lon).ident);
  c.field(18) = "2000";
}

// At the gate, out to the runway and holding short, along the route, then in
// from the runway to the stand and parked there.
Motion alongtrip(const Trip& trip, const GroundPlan& g, double elapsed) {
  const Place& dep = trip.departure();
  const Place& dest = trip.destination();
  const Profile& profile = trip.profile;
  const double takeoff = g.sittime + g.taxiout;
  const double landing = takeoff + profile.duration() * kHour;
  Motion m;
  m.heading = g.gateheading;
  if (elapsed < g.sittime) {
    m.pos = offset(at(dep), g.gateheading, kStandNm);
    m.alt = profile.depelev;
  } else if (elapsed < takeoff) {
    const double taxied = g.taxispeed * (elapsed - g.sittime) / kHour;
    m.pos = offset(offset(at(dep), g.gateheading, kStandNm), g.taxiheading, std::min(taxied, kTaxiNm));
    m.alt = profile.depelev;
    m.speed = taxied < kTaxiNm ? g.taxispeed : 0;
    m.heading = g.taxiheading;
  } else if (elapsed < landing) {
    const FlightState s = flightat(profile, (elapsed - takeoff) / kHour);
    m.pos = alongroute(at(dep), at(dest), s.flown / profile.distance);
    m.alt = s.alt;
    m.speed = s.speed;
    m.heading = course(m.pos, at(dest));
  } else {
    const double taxied = g.taxispeed * (elapsed - landing) / kHour;
    m.pos = offset(at(dest), g.taxiheading, std::max(kStandNm, kTaxiNm + kStandNm - taxied));
    m.alt = profile.destelev;
    m.speed = taxied < kTaxiNm ? g.taxispeed : 0;
    m.heading = m.speed > 0 ? std::fmod(g.taxiheading + 180, 360) : g.gateheading;
  }
  return m;
}

// The flight plan: type, airports, level, times, fuel, alternate and route.
void fileplan(Client& c, const Session& s, const Aircraft& ac, AircraftClass cls, const Trip& trip,
              const GroundPlan& g) {
  Rng& rng = s.rng;
  const Place& dep = trip.departure();
  const Place& dest = trip.destination();
  const Profile& profile = trip.profile;
  c.field(10) = std::string(ac.type);
  c.field(11) = integer(ac.performance.tas);
  c.field(12) = dep.code;
  c.field(13) = profile.cruisealt >= 18000 ? "FL" + integer(profile.cruisealt / 100)
                                           : integer(profile.cruisealt);
  c.field(14) = dest.code;
  c.field(15) = std::string(serverfor(rng, dep.lon).ident);
  const int enroute = static_cast<int>(std::lround(profile.duration() * 60));
  const int fuel = enroute + 45 + rng.below(60);
  c.field(21) = std::to_string(1 + rng.below(3));
  c.field(22) = cls == AircraftClass::Light && rng.chance(0.8) ? "V" : "I";
  c.field(23) = hhmm(s.start + static_cast<std::int64_t>(g.sittime + g.taxiout));
  c.field(24) = c.field(23);
  c.field(25) = std::to_string(enroute / 60);
  c.field(26) = std::to_string(enroute % 60);
  c.field(27) = std::to_string(fuel / 60);
  c.field(28) = std::to_string(fuel % 60);
  const Place* alternate = nullptr;
  for (int i = 0; i < 3; ++i) {
    const Place& cand = pickfrom(rng, s.world.busy);
    if (cand.code == dest.code) continue;
    if (!alternate || distancenm(dest.lat, dest.lon, cand.lat, cand.lon) <
                          distancenm(dest.lat, dest.lon, alternate->lat, alternate->lon)) {
      alternate = &cand;
    }
  }
  c.field(29) = alternate ? alternate->code : "";
  c.field(30) = cls == AircraftClass::Airliner ? "PBN/A1B1D1O1S1 /v/" : "/v/";
  c.field(31) = route(rng, cls);
  c.field(32) = fixed(dep.lat, 5);
  c.field(33) = fixed(dep.lon, 5);
  c.field(34) = fixed(dest.lat, 5);
  c.field(35) = fixed(dest.lon, 5);
}

}  // namespace

void makepilot(Client& c, const Session& s, AircraftClass cls, double sessionlength) {
  const double elapsed = static_cast<double>(s.now - s.start);  // seconds into the session
  const Aircraft& ac = pickaircraft(s.rng, cls);
  fillpilot(c, s, callsign(s.rng, cls, s.slot));
  const GroundPlan ground = planground(s.rng, cls);
  const Trip trip = plantrip(s, ac, cls, ground, sessionlength);
  if (trip.plan != Plan::Route) {
    withoutplan(c, s.rng, trip, ground, elapsed);
    return;
  }
  setmotion(c, alongtrip(trip, ground, elapsed));
  fileplan(c, s, ac, cls, trip, ground);
}

}  // namespace netsim
