#include "stations.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "field_text.h"

namespace netsim {
namespace {

struct StationKind {
  Role role;
  std::string_view suffix;
  std::string_view facility;
  double freqlow, freqhigh;
  int rangelow, rangehigh;
  std::string_view unit;  // how the station answers the radio
};

const StationKind& stationkind(Role role) {
  static const StationKind kKinds[] = {
      {Role::Center, "_CTR", "6", 124.0, 135.9, 300, 600, "Control"},
      {Role::Fss, "_FSS", "1", 126.0, 132.9, 1000, 1500, "Information"},
      {Role::Approach, "_APP", "5", 118.5, 128.9, 100, 150, "Radar"},
      {Role::Departure, "_DEP", "5", 119.0, 127.9, 100, 150, "Departure"},
      {Role::Tower, "_TWR", "4", 118.0, 124.9, 30, 50, "Tower"},
      {Role::Ground, "_GND", "3", 121.6, 121.975, 5, 20, "Ground"},
      {Role::Delivery, "_DEL", "2", 121.0, 121.9, 5, 5, "Delivery"},
  };
  for (const StationKind& k : kKinds) {
    if (k.role == role) return k;
  }
  return kKinds[0];
}

std::string frequency(Rng& rng, double low, double high) {
  const int steps = static_cast<int>((high - low) / 0.025);
  return fixed(low + 0.025 * rng.below(steps + 1), 3);
}

std::string atcrating(Rng& rng) {
  // Mostly the codes of NetGlobe's rating table; 9 and 10 are shown as they are.
  static constexpr std::pair<std::string_view, double> kRatings[] = {
      {"2", 0.14}, {"3", 0.2},  {"4", 0.2},   {"5", 0.24},  {"6", 0.02}, {"7", 0.08},
      {"8", 0.05}, {"9", 0.01}, {"10", 0.03}, {"11", 0.02}, {"12", 0.01}};
  double u = rng.unit();
  for (const auto& [code, share] : kRatings) {
    if (u < share) return std::string(code);
    u -= share;
  }
  return "5";
}

// The fields every station line shares.
void fillstation(Client& c, Rng& rng, const Person& person, std::string callsign, LatLon pos,
                 std::int64_t start, std::int64_t now) {
  c.field(1) = std::move(callsign);
  c.field(2) = person.id;
  c.field(3) = person.name;
  c.field(4) = "ATC";
  c.field(6) = fixed(pos.lat, 5);
  c.field(7) = fixed(pos.lon, 5);
  c.field(8) = "0";
  c.field(9) = "0";
  c.field(15) = std::string(serverfor(rng, pos.lon).ident);
  c.field(16) = "100";
  c.field(17) = atcrating(rng);
  c.field(37) = timestamp(std::min(now, start + 60 + rng.below(600)));
  c.field(38) = timestamp(start);
  c.field(39) = "0";
  c.field(40) = "0";
  c.field(41) = "0";
}

}  // namespace

void makechief(Client& c, const Session& s, bool assistant) {
  Rng& rng = s.rng;
  const Person& person = s.person;
  const std::int64_t start = s.start, now = s.now;
  const std::vector<Place>& firs = s.world.corefirs;
  const Place& fir = firs[rng.chance(0.7) ? rng.below(std::min<int>(3, firs.size()))
                                          : rng.below(static_cast<int>(firs.size()))];
  fillstation(c, rng, person, fir.code + (assistant ? "-ACH" : "-CH"), at(fir), start, now);
  c.field(5) = "199.998";
  c.field(17) = rng.chance(0.5) ? "11" : "12";
  c.field(19) = "0";
  c.field(20) = "300";
  c.field(36) = "Chief of the " + fir.code + " region - questions and feedback welcome";
}

void makeobserver(Client& c, const Session& s) {
  Rng& rng = s.rng;
  const World& world = s.world;
  const std::int64_t start = s.start, now = s.now;
  const Person& person = s.person;
  std::string callsign;
  if (rng.chance(0.5)) {
    callsign = pickfrom(rng, world.home).code;
  } else {
    callsign = {static_cast<char>('A' + rng.below(26)), static_cast<char>('A' + rng.below(26))};
  }
  const Place& near = pickfrom(rng, world.busy);
  fillstation(c, rng, person, callsign + "_OBS",
              offset(at(near), rng.range(0, 360), rng.range(0, 40)), start, now);
  c.field(5) = "199.998";
  c.field(17) = rng.chance(0.7) ? "1" : "2";
  c.field(19) = "0";
  c.field(20) = "300";
  c.field(36) = rng.chance(0.5) ? "ZELV Observer - watching the traffic"
                                : "ZELV Observer, training session, no control given";
}

void makestation(Client& c, const Session& s, Role role, bool inregion) {
  Rng& rng = s.rng;
  const World& world = s.world;
  const std::int64_t start = s.start, now = s.now;
  const Person& person = s.person;
  const Place* place = nullptr;
  std::string callsign;
  if (inregion) {
    // Stations inside the home region: NetGlobe lists them in its region list.
    static constexpr Role kRegionRoles[] = {Role::Tower,    Role::Tower,  Role::Approach,
                                            Role::Approach, Role::Ground, Role::Departure};
    role = pickfrom(rng, kRegionRoles);
    place = &pickfrom(rng, world.home);
    callsign = place->code;
  } else if (role == Role::Center || role == Role::Fss) {
    place = &pickfrom(rng, rng.chance(0.5) ? world.corefirs : world.firs);
    callsign = place->code;
    static constexpr std::string_view kSectors[] = {"N", "S", "E", "W", "B", "C",
                                                    "D", "L", "U", "1", "2"};
    if (role == Role::Center && rng.chance(0.4))
      callsign += "_" + std::string(pickfrom(rng, kSectors));
  } else {
    const double u = rng.unit();
    place = u < 0.15   ? &pickfrom(rng, world.home)
            : u < 0.75 ? &pickfrom(rng, world.busy)
                       : &pickfrom(rng, world.airports);
    callsign = place->code;
    if ((role == Role::Approach || role == Role::Departure) && rng.chance(0.25)) {
      callsign += rng.chance(0.5) ? "_N" : "_S";
    }
  }
  const StationKind& kind = stationkind(role);
  c.role = role;
  fillstation(c, rng, person, callsign + std::string(kind.suffix), at(*place), start, now);
  c.field(5) = frequency(rng, kind.freqlow, kind.freqhigh);
  c.field(19) = std::string(kind.facility);
  c.field(20) = std::to_string(kind.rangelow + rng.below(kind.rangehigh - kind.rangelow + 1));
  std::string text = place->code + " " + std::string(kind.unit) + " on " + c.field(5);
  static constexpr std::string_view kNotes[] = {" - charts at the briefing room",
                                                " - voice only, text on request",
                                                " - please report your stand on first contact",
                                                " - feedback welcome",
                                                " - viele Grüße aus der Region",
                                                ""};
  c.field(36) = text + std::string(pickfrom(rng, kNotes));
}

}  // namespace netsim
