#include "population.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <unordered_set>

#include "refdata/network_tables.h"

namespace netsim {

const std::array<ServerInfo, 6> kServers = {{
    {"EUROPE-CW", "eu-central.netsim.invalid", "Frankfurt, Germany", "Europe Central West"},
    {"EUROPE-N", "eu-north.netsim.invalid", "Stockholm, Sweden", "Europe North"},
    {"EUROPE-S", "eu-south.netsim.invalid", "Milan, Italy", "Europe South"},
    {"USA-EAST", "us-east.netsim.invalid", "New York, USA", "America East"},
    {"USA-WEST", "us-west.netsim.invalid", "San Jose, USA", "America West"},
    {"ASIA-SE", "asia-se.netsim.invalid", "Singapore", "Asia South East"},
}};

std::uint64_t Rng::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Rng::unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

int Rng::below(int n) { return std::min(n - 1, static_cast<int>(unit() * n)); }

double Rng::range(double a, double b) { return a + (b - a) * unit(); }

std::uint64_t mixkey(std::uint64_t a, std::uint64_t b) {
  Rng rng(a ^ (b * 0xD1342543DE82EF95ull + 0x632BE59BD9B4E019ull));
  return rng.next();
}

std::string Client::line() const {
  std::string out;
  std::size_t size = 0;
  for (const std::string& f : fields) size += f.size() + 1;
  out.reserve(size);
  for (const std::string& f : fields) {
    out += f;
    out += ':';
  }
  return out;
}

std::string timestamp(std::int64_t unixtime) {
  const std::time_t t = static_cast<std::time_t>(unixtime);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
  return buf;
}

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;
constexpr double kEarthRadiusNm = 3440.065;

// ---------------------------------------------------------------------------
// Geodesy on a sphere

struct LatLon {
  double lat = 0;
  double lon = 0;
};

struct Vec3 {
  double x, y, z;
};

Vec3 tovec(LatLon p) {
  return {std::cos(p.lat * kRad) * std::cos(p.lon * kRad),
          std::cos(p.lat * kRad) * std::sin(p.lon * kRad), std::sin(p.lat * kRad)};
}

LatLon fromvec(Vec3 v) {
  return {std::atan2(v.z, std::hypot(v.x, v.y)) / kRad, std::atan2(v.y, v.x) / kRad};
}

double centralangle(LatLon a, LatLon b) {
  const double dlat = (b.lat - a.lat) * kRad;
  const double dlon = (b.lon - a.lon) * kRad;
  const double h =
      std::sin(dlat / 2) * std::sin(dlat / 2) +
      std::cos(a.lat * kRad) * std::cos(b.lat * kRad) * std::sin(dlon / 2) * std::sin(dlon / 2);
  return 2 * std::asin(std::min(1.0, std::sqrt(h)));
}

// The point a fraction f of the way from a to b along the great circle.
LatLon alongroute(LatLon a, LatLon b, double f) {
  const double omega = centralangle(a, b);
  if (omega < 1e-9) return a;
  const Vec3 va = tovec(a), vb = tovec(b);
  const double wa = std::sin((1 - f) * omega) / std::sin(omega);
  const double wb = std::sin(f * omega) / std::sin(omega);
  return fromvec({wa * va.x + wb * vb.x, wa * va.y + wb * vb.y, wa * va.z + wb * vb.z});
}

// Initial true course from a to b, 0 to 360.
double course(LatLon a, LatLon b) {
  const double dlon = (b.lon - a.lon) * kRad;
  const double y = std::sin(dlon) * std::cos(b.lat * kRad);
  const double x = std::cos(a.lat * kRad) * std::sin(b.lat * kRad) -
                   std::sin(a.lat * kRad) * std::cos(b.lat * kRad) * std::cos(dlon);
  const double deg = std::atan2(y, x) / kRad;
  return deg < 0 ? deg + 360 : deg;
}

// A point dist nautical miles from p on the given course (short distances).
LatLon offset(LatLon p, double coursedeg, double distnm) {
  const double north = distnm * std::cos(coursedeg * kRad);
  const double east = distnm * std::sin(coursedeg * kRad);
  const double coslat = std::max(0.05, std::cos(p.lat * kRad));
  return {p.lat + north / 60.0, p.lon + east / (60.0 * coslat)};
}

LatLon at(const Place& p) { return {p.lat, p.lon}; }

// ---------------------------------------------------------------------------
// Text helpers

std::string fixed(double value, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  return buf;
}

std::string integer(double value) { return std::to_string(std::lround(value)); }

std::string hhmm(std::int64_t unixtime) { return timestamp(unixtime).substr(8, 4); }

// Cuts a UTF-8 text to at most maxbytes without splitting a character.
std::string capped(std::string text, std::size_t maxbytes) {
  if (text.size() <= maxbytes) return text;
  std::size_t cut = maxbytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  text.resize(cut);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

template <typename T, std::size_t N>
const T& pickfrom(Rng& rng, const T (&items)[N]) {
  return items[rng.below(static_cast<int>(N))];
}

const Place& pickfrom(Rng& rng, const std::vector<Place>& places) {
  return places[rng.below(static_cast<int>(places.size()))];
}

// ---------------------------------------------------------------------------
// People

// Names are UTF-8; several hold letters outside ASCII, a few letters that
// windows-1252 cannot show at all.
constexpr std::string_view kFirstNames[] = {
    "Anna",  "Ben",   "Clara", "David", "Emma",   "Felix",  "Greta", "Hannes", "Ida",   "Jonas",
    "Karin", "Lukas", "Mia",   "Nils",  "Olga",   "Paul",   "Rosa",  "Sven",   "Tom",   "Ute",
    "Ana",   "Kenji", "Li",    "Priya", "Mehmet", "Chiara", "Marek", "Ines",   "Oskar", "Lena"};
constexpr std::string_view kAccentedFirstNames[] = {
    "Jürgen", "Søren", "Zoë",        "José",   "François", "Łukasz", "Ömer",  "Agnès",
    "Björn",  "Åsa",   "Małgorzata", "Ștefan", "Jiří",     "Raúl",   "Renée", "Thorsten"};
constexpr std::string_view kLastNames[] = {
    "Schmidt",  "Schneider", "Fischer",  "Weber", "Meyer",  "Wagner",  "Becker", "Schulz",
    "Hoffmann", "Nowak",     "Kowalski", "Rossi", "Jensen", "Nielsen", "Smith",  "Brown",
    "Tanaka",   "O'Brien",   "van Dijk", "Lange", "Berg",   "Keller",  "Novak",  "Costa"};
constexpr std::string_view kAccentedLastNames[] = {
    "Müller", "Krüger", "Šimek", "García", "Núñez",  "Lefèvre", "Öztürk",   "Håkansson",
    "Dvořák", "Novák",  "Peña",  "Böhm",   "Wróbel", "Çelik",   "Sørensen", "Jäger"};

// Fields 1 to 3 must leave the type field inside the first 70 characters
// that NetGlobe searches: callsigns stay under 13 and names under 41 bytes.
constexpr std::size_t kMaxNameBytes = 40;

std::string personname(Rng& rng) {
  std::string name =
      std::string(rng.chance(0.15) ? pickfrom(rng, kAccentedFirstNames)
                                   : pickfrom(rng, kFirstNames)) +
      " " +
      std::string(rng.chance(0.15) ? pickfrom(rng, kAccentedLastNames) : pickfrom(rng, kLastNames));
  if (rng.chance(0.1))
    name += " " +
            std::string(
                netglobe::homeairports[rng.below(static_cast<int>(netglobe::homeairports.size()))]);
  return capped(std::move(name), kMaxNameBytes);
}

std::string memberid(Rng& rng) {
  std::string id = std::to_string(100000 + rng.below(900000));
  // Only the friend slots carry the friends' ids.
  if (netglobe::isfriend(id)) id = std::to_string(std::stoi(id) + 1);
  return id;
}

struct Person {
  std::string id;
  std::string name;
};

// ---------------------------------------------------------------------------
// Aircraft and flight profiles

struct Aircraft {
  std::string_view type;  // field 10 as filed
  double tas;             // cruise true airspeed, kt
  double ceiling;         // highest cruise altitude, ft
  double climb, descent;  // ft/min
  double slow;            // speed after take-off and before landing, kt
};

constexpr Aircraft kAirliners[] = {
    {"A319/M", 447, 39000, 2300, 2000, 170},   {"A320/M", 450, 39000, 2200, 2000, 170},
    {"A321/M", 450, 39000, 2000, 2000, 175},   {"B737/M", 445, 41000, 2300, 2000, 170},
    {"B738/M", 452, 41000, 2200, 2100, 175},   {"E190/M", 440, 41000, 2400, 2000, 160},
    {"CRJ9/M", 445, 41000, 2500, 2100, 160},   {"H/A333/L", 470, 41000, 1900, 2000, 180},
    {"H/A359/L", 488, 43000, 2000, 2100, 180}, {"H/B77W/L", 490, 43000, 1800, 2000, 180},
    {"H/B789/L", 488, 43000, 2000, 2100, 180}, {"H/B744/L", 490, 41000, 1700, 2000, 185},
};
constexpr Aircraft kTurboprops[] = {
    {"AT76/M", 275, 25000, 1400, 1500, 130},
    {"DH8D/M", 300, 27000, 1800, 1700, 135},
    {"SF34/M", 270, 25000, 1500, 1500, 125},
    {"C208/L", 165, 15000, 800, 900, 100},
};
constexpr Aircraft kLightAircraft[] = {
    {"C172/L", 115, 9000, 700, 500, 70},   {"PA28/L", 120, 9000, 700, 500, 70},
    {"SR22/L", 170, 15000, 1000, 800, 85}, {"BE58/L", 190, 17000, 1200, 1000, 95},
    {"DA40/L", 125, 10000, 800, 600, 70},
};

constexpr std::string_view kAirlines[] = {"DLH", "BAW", "AFR", "KLM", "EZY", "RYR", "SAS",
                                          "AUA", "SWR", "UAE", "UAL", "DAL", "AAL", "EWG",
                                          "CFG", "LOT", "CSA", "IBE", "THY", "FIN", "BER"};

// Minimum route length per aircraft class, nautical miles.
constexpr double kMinRoute[] = {100, 40, 15};

// The vertical and speed profile of one flight: climb with rising speed,
// cruise, descent with falling speed; distances in nm, times in hours.
struct Profile {
  double distance = 0;
  double cruisealt = 0, depelev = 0, destelev = 0;
  double v0 = 0, vcruise = 0, v1 = 0;  // ground speeds
  double tclimb = 0, tcruise = 0, tdescent = 0;
  double dclimb = 0, dcruise = 0, ddescent = 0;

  double duration() const { return tclimb + tcruise + tdescent; }
};

double fieldelevation(std::string_view code) {
  std::uint64_t h = 1469598103934665603ull;
  for (const char c : code) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return static_cast<double>(h % 1500);
}

Profile makeprofile(const Aircraft& ac, double distance, double wind, double wantalt,
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

struct FlightState {
  double flown = 0;  // nm along the route
  double alt = 0;
  double speed = 0;
};

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

std::string route(Rng& rng, int aircraftclass) {
  if (aircraftclass == 2) return "DCT";
  static constexpr std::string_view kAirways[] = {"UN871", "L984",  "T161", "UL602",
                                                  "Z94",   "UM725", "N869", "Y163"};
  std::string text = waypoint(rng);
  const int legs = 2 + rng.below(4);
  for (int i = 0; i < legs; ++i) {
    text += " " + std::string(pickfrom(rng, kAirways)) + " " + waypoint(rng);
  }
  return text + " DCT";
}

// Pressure settings of fields 40 and 41, from the weather of the hour.
void setpressure(Client& c, std::uint64_t key, std::int64_t now) {
  Rng rng(mixkey(key, static_cast<std::uint64_t>(now / 3600)));
  const double hpa = std::round(rng.range(992, 1034));
  c.field(40) = fixed(hpa * 0.02953, 2);
  c.field(41) = integer(hpa);
}

const ServerInfo& serverfor(Rng& rng, double lon) {
  if (lon < -30) return kServers[3 + rng.below(2)];
  if (lon > 60) return kServers[5];
  return kServers[rng.below(3)];
}

// ---------------------------------------------------------------------------
// Stations

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

// ---------------------------------------------------------------------------
// Slots

constexpr std::int64_t kMinute = 60;
constexpr double kTaxiNm = 1.5;   // from the stand to the runway
constexpr double kStandNm = 0.3;  // from the airport's reference point to the stands
constexpr std::int64_t kHour = 3600;

// The station a random slot staffs, by shares of all slots.
Role randomrole(Rng& rng) {
  static constexpr std::pair<Role, double> kShares[] = {
      {Role::Observer, 0.02},  {Role::Center, 0.052},   {Role::Fss, 0.006},
      {Role::Approach, 0.044}, {Role::Departure, 0.01}, {Role::Tower, 0.048},
      {Role::Ground, 0.028},   {Role::Delivery, 0.012}};
  double u = rng.unit();
  for (const auto& [role, share] : kShares) {
    if (u < share) return role;
    u -= share;
  }
  return Role::Pilot;
}

// The first slots hold the clients every snapshot must show, whatever its
// size: chiefs, observers and staffed stations at the home aerodromes.
constexpr Slot::Kind kReservedSlots[] = {Slot::Kind::Chief,         Slot::Kind::Chief,
                                         Slot::Kind::Observer,      Slot::Kind::RegionStation,
                                         Slot::Kind::RegionStation, Slot::Kind::Observer};
constexpr int kFriendFirstSlot = 6;
constexpr int kFriendSpacing = 50;

}  // namespace

double distancenm(double lat1, double lon1, double lat2, double lon2) {
  return centralangle({lat1, lon1}, {lat2, lon2}) * kEarthRadiusNm;
}

Network::Network(World world, std::uint64_t seed, int clients)
    : world_(std::move(world)), seed_(seed) {
  clients = std::clamp(clients, 0, kMaxClients);
  slots_.resize(static_cast<std::size_t>(clients));
  for (int i = 0; i < clients; ++i) {
    Slot& slot = slots_[static_cast<std::size_t>(i)];
    Rng rng(mixkey(mixkey(seed, 0x51075u), static_cast<std::uint64_t>(i)));
    if (i < static_cast<int>(std::size(kReservedSlots))) {
      slot.kind = kReservedSlots[i];
    } else if (i >= kFriendFirstSlot && (i - kFriendFirstSlot) % kFriendSpacing == 0 &&
               (i - kFriendFirstSlot) / kFriendSpacing <
                   static_cast<int>(netglobe::friendids.size())) {
      slot.kind = Slot::Kind::Friend;
      slot.friendindex = (i - kFriendFirstSlot) / kFriendSpacing;
    }
    switch (slot.kind) {
      case Slot::Kind::Chief:
        slot.role = Role::Chief;
        break;
      case Slot::Kind::Observer:
        slot.role = Role::Observer;
        break;
      case Slot::Kind::RegionStation:
        slot.role = Role::Tower;
        break;
      case Slot::Kind::Friend:
        // Friends fly or staff a station, they never only watch.
        do slot.role = randomrole(rng);
        while (slot.role == Role::Observer);
        break;
      case Slot::Kind::Random:
        slot.role = randomrole(rng);
        break;
    }
    if (slot.role == Role::Pilot) {
      const double u = rng.unit();
      slot.aircraftclass = u < 0.75 ? 0 : u < 0.85 ? 1 : 2;
      const double v = rng.unit();
      const double hours = slot.aircraftclass == 0   ? 2 + 10 * v * v
                           : slot.aircraftclass == 1 ? 1.2 + 3 * v
                                                     : 1 + 2 * v;
      slot.period = static_cast<std::int64_t>(hours * kHour);
    } else {
      slot.period = static_cast<std::int64_t>(rng.range(0.75, 4.0) * kHour);
    }
    slot.phase = static_cast<std::int64_t>(rng.unit() * static_cast<double>(slot.period));
    if (slot.kind == Slot::Kind::Random) {
      // Two to twelve per cent of the time between two clients: some 7 per
      // cent of the places are empty at any moment.
      slot.pause = static_cast<std::int64_t>(rng.range(0.02, 0.12) * static_cast<double>(slot.period));
    }
  }
}

std::vector<Client> Network::clients(std::int64_t now) const {
  std::vector<Client> out;
  out.reserve(slots_.size());
  for (int i = 0; i < size(); ++i) {
    const Slot& slot = slots_[static_cast<std::size_t>(i)];
    const std::int64_t shifted = now + slot.phase;
    std::int64_t index = shifted / slot.period;
    if (shifted % slot.period < 0) --index;  // floor for times before 1970
    const std::int64_t start = index * slot.period - slot.phase + slot.pause;
    if (now < start) continue;  // the place is empty between two clients
    out.push_back(session(i, index, start, now));
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const Client& a, const Client& b) { return a.logon < b.logon; });
  // The network refuses a callsign that is in use: a station that logs on
  // where one already works takes a numbered position ("LSZH_2_TWR"), which
  // keeps its airport or FIR code in front and its suffix at the end.
  std::unordered_set<std::string> inuse;
  inuse.reserve(out.size());
  for (Client& c : out) {
    std::string& callsign = c.field(1);
    if (inuse.insert(callsign).second) continue;
    const std::size_t cut = callsign.rfind('_');
    if (cut == std::string::npos) continue;  // pilots are unique, chiefs differ by -CH / -ACH
    const std::string head = callsign.substr(0, cut), tail = callsign.substr(cut);
    for (int n = 2;; ++n) {
      std::string numbered = head + "_" + std::to_string(n) + tail;
      if (inuse.insert(numbered).second) {
        callsign = std::move(numbered);
        break;
      }
    }
  }
  return out;
}

namespace {

// What every kind of client needs to fill its line.
struct Session {
  const World& world;
  Rng& rng;
  const Person& person;
  int slot;
  std::uint64_t key;  // of this session
  std::int64_t start, now;
};

// A chief: watches over the FIRs around the home aerodromes, mostly the
// first three.
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

void makepilot(Client& c, const Session& s, int cls, double sessionlength) {
  Rng& rng = s.rng;
  const World& world = s.world;
  const std::int64_t start = s.start, now = s.now;
  const Person& person = s.person;
  const int slotindex = s.slot;
  const double elapsed = static_cast<double>(now - start);  // seconds into the session
  const Aircraft& ac = cls == 0   ? pickfrom(rng, kAirliners)
                       : cls == 1 ? pickfrom(rng, kTurboprops)
                                  : pickfrom(rng, kLightAircraft);
  std::string callsign;
  if (cls == 2) {
    // German-style registrations; the letter H never ends one, so no
    // registration reads as a chief's "CH".
    static constexpr char kLetters[] = "ABCDEFGIJKLMNOPQRSTUVWXYZ";
    int code = (slotindex * 7919 + 11) % (25 * 25 * 25);
    callsign = "DE";
    for (int i = 0; i < 3; ++i, code /= 25) callsign += kLetters[code % 25];
  } else {
    // The flight number comes from the slot alone: no two slots share a callsign.
    callsign = std::string(pickfrom(rng, kAirlines)) +
               std::to_string(1 + (slotindex * 7919 + 3571) % 10007);
  }
  c.field(1) = callsign;
  c.field(2) = person.id;
  c.field(3) = person.name;
  c.field(4) = "PILOT";
  c.field(15) = "";
  c.field(16) = "100";
  c.field(17) = rng.chance(0.95) ? "1" : rng.chance(0.5) ? "0" : "9";
  c.field(18) = octal4(rng);
  c.field(38) = timestamp(start);
  setpressure(c, s.key, now);

  const double sittime = rng.range(3, 20) * kMinute;  // connected, at the gate
  const double taxiout = rng.range(4, 15) * kMinute;
  const double wind = rng.range(-30, 30) * (cls == 2 ? 0.5 : 1.0);
  const double gateheading = rng.range(0, 360);
  const double taxiheading = rng.range(0, 360);
  const double taxispeed = rng.range(8, 25);

  // Which airports, if any, the flight connects.
  enum class Plan { Route, ParkedNoPlan, LocalNoPlan } plan = Plan::Route;
  if (rng.chance(0.07)) plan = rng.chance(0.5) ? Plan::ParkedNoPlan : Plan::LocalNoPlan;
  const bool homeroute = rng.chance(0.15);
  const bool inbound = rng.chance(0.5);
  const Place* fixedend = homeroute          ? &pickfrom(rng, world.home)
                          : rng.chance(0.65) ? &pickfrom(rng, world.busy)
                                             : &pickfrom(rng, world.airports);
  const double taxiin = kTaxiNm / taxispeed * kHour;
  const double budget = (sessionlength - sittime - taxiout - taxiin - 2 * kMinute) / kHour;
  const double wantalt = ac.ceiling - 1000 * rng.below(6);
  const Place* otherend = nullptr;
  Profile profile;
  // The longest of a few routes that fits into the session.
  auto consider = [&](const Place& cand) {
    const double d = distancenm(fixedend->lat, fixedend->lon, cand.lat, cand.lon);
    if (cand.code == fixedend->code || d < kMinRoute[cls]) return;
    const Place& dep = inbound ? cand : *fixedend;
    const Place& dest = inbound ? *fixedend : cand;
    const Profile p =
        makeprofile(ac, d, wind, wantalt, fieldelevation(dep.code), fieldelevation(dest.code));
    const bool fits = p.dclimb + p.ddescent <= d && p.duration() <= budget;
    if (fits && (!otherend || p.duration() > profile.duration())) {
      otherend = &cand;
      profile = p;
    }
  };
  for (int attempt = 0; plan == Plan::Route && !otherend && attempt < 3; ++attempt) {
    if (attempt > 0 && !homeroute) fixedend = &pickfrom(rng, world.busy);
    for (int tries = 0; tries < 12; ++tries) {
      consider(rng.chance(0.6) ? pickfrom(rng, world.busy) : pickfrom(rng, world.airports));
    }
    // Far from other airports, or a short session: any large or home
    // airport in reach.
    if (!otherend) {
      if (world.busy.size() <= 64) {
        for (const Place& cand : world.busy) consider(cand);
      } else {
        for (int tries = 0; tries < 64; ++tries) consider(pickfrom(rng, world.busy));
      }
      for (const Place& cand : world.home) consider(cand);
    }
  }
  if (plan == Plan::Route && !otherend) {
    // Light aircraft fly locally; airliners stay at the stand.
    plan = cls == 2 ? Plan::LocalNoPlan : Plan::ParkedNoPlan;
  }
  if (plan == Plan::LocalNoPlan && cls != 2) plan = Plan::ParkedNoPlan;

  LatLon pos;
  double alt = 0, speed = 0, heading = gateheading;
  if (plan != Plan::Route) {
    const LatLon base = at(*fixedend);
    const double elev = fieldelevation(fixedend->code);
    if (plan == Plan::ParkedNoPlan || elapsed < sittime) {
      pos = offset(base, gateheading, kStandNm);
      alt = elev;
    } else {
      // Circuits and local flying around the aerodrome, no flight plan filed.
      const double radius = rng.range(3, 10);
      const double circuitspeed = rng.range(85, 120);
      const double theta =
          rng.range(0, 2 * kPi) + circuitspeed * (elapsed - sittime) / kHour / radius;
      pos = offset(base, 90 - theta / kRad, radius);
      heading = std::fmod(360 + std::fmod(-theta / kRad, 360), 360);
      alt = elev + rng.range(1500, 3500);
      speed = circuitspeed;
    }
    c.field(6) = fixed(pos.lat, 5);
    c.field(7) = fixed(pos.lon, 5);
    c.field(8) = integer(alt);
    c.field(9) = integer(speed);
    c.field(15) = std::string(serverfor(rng, pos.lon).ident);
    c.field(18) = "2000";
    c.field(39) = integer(heading);
    return;
  }

  const Place& dep = inbound ? *otherend : *fixedend;
  const Place& dest = inbound ? *fixedend : *otherend;
  const double takeoff = sittime + taxiout;
  const double landing = takeoff + profile.duration() * kHour;
  if (elapsed < sittime) {
    pos = offset(at(dep), gateheading, kStandNm);
    alt = profile.depelev;
  } else if (elapsed < takeoff) {
    // Out to the runway, then holding short until departure.
    const double taxied = taxispeed * (elapsed - sittime) / kHour;
    pos = offset(offset(at(dep), gateheading, kStandNm), taxiheading, std::min(taxied, kTaxiNm));
    alt = profile.depelev;
    speed = taxied < kTaxiNm ? taxispeed : 0;
    heading = taxiheading;
  } else if (elapsed < landing) {
    const FlightState s = flightat(profile, (elapsed - takeoff) / kHour);
    pos = alongroute(at(dep), at(dest), s.flown / profile.distance);
    alt = s.alt;
    speed = s.speed;
    heading = course(pos, at(dest));
  } else {
    // In from the runway to the stand, then parked there.
    const double taxied = taxispeed * (elapsed - landing) / kHour;
    pos = offset(at(dest), taxiheading, std::max(kStandNm, kTaxiNm + kStandNm - taxied));
    alt = profile.destelev;
    speed = taxied < kTaxiNm ? taxispeed : 0;
    heading = speed > 0 ? std::fmod(taxiheading + 180, 360) : gateheading;
  }
  c.field(6) = fixed(pos.lat, 5);
  c.field(7) = fixed(pos.lon, 5);
  c.field(8) = integer(alt);
  c.field(9) = integer(speed);
  c.field(10) = std::string(ac.type);
  c.field(11) = integer(ac.tas);
  c.field(12) = dep.code;
  c.field(13) = profile.cruisealt >= 18000 ? "FL" + integer(profile.cruisealt / 100)
                                           : integer(profile.cruisealt);
  c.field(14) = dest.code;
  c.field(15) = std::string(serverfor(rng, dep.lon).ident);
  const int enroute = static_cast<int>(std::lround(profile.duration() * 60));
  const int fuel = enroute + 45 + rng.below(60);
  c.field(21) = std::to_string(1 + rng.below(3));
  c.field(22) = cls == 2 && rng.chance(0.8) ? "V" : "I";
  c.field(23) = hhmm(start + static_cast<std::int64_t>(takeoff));
  c.field(24) = c.field(23);
  c.field(25) = std::to_string(enroute / 60);
  c.field(26) = std::to_string(enroute % 60);
  c.field(27) = std::to_string(fuel / 60);
  c.field(28) = std::to_string(fuel % 60);
  const Place* alternate = nullptr;
  for (int i = 0; i < 3; ++i) {
    const Place& cand = pickfrom(rng, world.busy);
    if (cand.code == dest.code) continue;
    if (!alternate || distancenm(dest.lat, dest.lon, cand.lat, cand.lon) <
                          distancenm(dest.lat, dest.lon, alternate->lat, alternate->lon)) {
      alternate = &cand;
    }
  }
  c.field(29) = alternate ? alternate->code : "";
  c.field(30) = cls == 0 ? "PBN/A1B1D1O1S1 /v/" : "/v/";
  c.field(31) = route(rng, cls);
  c.field(32) = fixed(dep.lat, 5);
  c.field(33) = fixed(dep.lon, 5);
  c.field(34) = fixed(dest.lat, 5);
  c.field(35) = fixed(dest.lon, 5);
  c.field(39) = integer(heading);
}

}  // namespace

Client Network::session(int slotindex, std::int64_t index, std::int64_t start,
                        std::int64_t now) const {
  const Slot& slot = slots_[static_cast<std::size_t>(slotindex)];
  const std::uint64_t key = mixkey(mixkey(seed_, static_cast<std::uint64_t>(slotindex)),
                                   static_cast<std::uint64_t>(index));
  Rng rng(key);
  Client c;
  c.slot = slotindex;
  c.logon = start;
  c.role = slot.role;

  Person person;
  if (slot.kind == Slot::Kind::Friend) {
    // A friend is the same person whenever they connect.
    Rng personal(mixkey(seed_, 0xF12E4Du + static_cast<std::uint64_t>(slot.friendindex)));
    person.id = std::string(netglobe::friendids[static_cast<std::size_t>(slot.friendindex)]);
    person.name = personname(personal);
  } else {
    person.id = memberid(rng);
    person.name = personname(rng);
  }
  const Session session{world_, rng, person, slotindex, key, start, now};
  switch (slot.role) {
    case Role::Chief:
      makechief(c, session, slotindex % 2 == 1);
      break;
    case Role::Observer:
      makeobserver(c, session);
      break;
    case Role::Pilot:
      makepilot(c, session, slot.aircraftclass, static_cast<double>(slot.period - slot.pause));
      break;
    default:
      makestation(c, session, slot.role, slot.kind == Slot::Kind::RegionStation);
      break;
  }
  return c;
}

}  // namespace netsim
