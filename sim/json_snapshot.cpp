#include "json_snapshot.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <utility>

#include "field_text.h"

namespace netsim {
namespace {

using Json = nlohmann::ordered_json;

// A field's leading number; 0 for none, as the text layout's readers take it.
double num(const std::string& text) {
  double value = 0;
  const char* begin = text.data();
  if (!text.empty() && text[0] == '+') ++begin;
  std::from_chars(begin, text.data() + text.size(), value);
  return value;
}
long long whole(const std::string& text) { return static_cast<long long>(num(text)); }

// The record's "YYYYMMDDhhmmss" back as unix time.
std::int64_t unixof(const std::string& stamp) {
  if (stamp.size() != 14) return 0;
  std::tm tm{};
  tm.tm_year = std::stoi(stamp.substr(0, 4)) - 1900;
  tm.tm_mon = std::stoi(stamp.substr(4, 2)) - 1;
  tm.tm_mday = std::stoi(stamp.substr(6, 2));
  tm.tm_hour = std::stoi(stamp.substr(8, 2));
  tm.tm_min = std::stoi(stamp.substr(10, 2));
  tm.tm_sec = std::stoi(stamp.substr(12, 2));
  return static_cast<std::int64_t>(timegm(&tm));
}

Json textornull(const std::string& text) { return text.empty() ? Json(nullptr) : Json(text); }

bool isobserver(const Client& c) { return c.role == Role::Observer || c.role == Role::Chief; }

// "HHMM" of hours and minutes.
std::string clock(const std::string& hours, const std::string& minutes) {
  char text[16];
  std::snprintf(text, sizeof text, "%02lld%02lld", whole(hours) % 100, whole(minutes) % 100);
  return text;
}

// Everything after the last "_" of a station's callsign: its position word.
std::string positionword(const std::string& callsign) {
  const std::size_t bar = callsign.rfind('_');
  return bar == std::string::npos ? std::string() : callsign.substr(bar + 1);
}

// A planned level in the form this layout writes: FL350 as F350, 8500 ft as A085.
std::string icaolevel(const std::string& text) {
  if (text.starts_with("FL")) return "F" + text.substr(2);
  char level[16];
  std::snprintf(level, sizeof level, "A%03lld", whole(text) / 100 % 1000);
  return level;
}

Json pilota(const Client& c, std::int64_t now) {
  Json plan = nullptr;
  if (!c.field(10).empty()) {
    plan = {{"flight_rules", c.field(22)},   {"aircraft", c.field(10)},
            {"aircraft_faa", c.field(10)},   {"aircraft_short", c.field(10)},
            {"departure", c.field(12)},      {"arrival", c.field(14)},
            {"alternate", c.field(29)},      {"cruise_tas", c.field(11)},
            {"altitude", c.field(13)},       {"deptime", c.field(23)},
            {"enroute_time", clock(c.field(25), c.field(26))},
            {"fuel_time", clock(c.field(27), c.field(28))},
            {"remarks", c.field(30)},        {"route", c.field(31)},
            {"revision_id", whole(c.field(21))}, {"assigned_transponder", "0000"}};
  }
  return {{"cid", whole(c.field(2))},          {"name", c.field(3)},
          {"callsign", c.field(1)},            {"server", c.field(15)},
          {"pilot_rating", 1},                 {"military_rating", 0},
          {"latitude", num(c.field(6))},       {"longitude", num(c.field(7))},
          {"altitude", whole(c.field(8))},     {"groundspeed", whole(c.field(9))},
          {"transponder", c.field(18)},        {"heading", whole(c.field(39))},
          {"qnh_i_hg", num(c.field(40))},      {"qnh_mb", whole(c.field(41))},
          {"flight_plan", std::move(plan)},    {"logon_time", isotime(c.logon, 7)},
          {"last_updated", isotime(now, 7)}};
}

Json controllera(const Client& c, std::int64_t now) {
  return {{"cid", whole(c.field(2))},
          {"name", c.field(3)},
          {"callsign", c.field(1)},
          {"frequency", c.field(5)},
          {"facility", whole(c.field(19))},
          {"rating", whole(c.field(17))},
          {"server", c.field(15)},
          {"visual_range", whole(c.field(20))},
          // An observer's text is what marks it in the text layout; here its
          // facility does.
          {"text_atis", isobserver(c) || c.field(36).empty() ? Json(nullptr) : Json::array({c.field(36)})},
          {"last_updated", isotime(now, 7)},
          {"logon_time", isotime(c.logon, 7)}};
}

Json clientb(const Client& c, std::int64_t now) {
  Json track = nullptr;
  if (!c.field(6).empty()) {
    const bool pilot = c.role == Role::Pilot;
    const double speed = num(c.field(9));
    track = {{"altitude", whole(c.field(8))},
             {"altitudeDifference", 0},
             {"arrivalDistance", nullptr},
             {"departureDistance", nullptr},
             {"groundSpeed", whole(c.field(9))},
             {"heading", whole(c.field(39))},
             {"latitude", num(c.field(6))},
             {"longitude", num(c.field(7))},
             {"onGround", pilot && speed < 40},
             {"state", !pilot ? "En Route" : speed < 40 ? "On Blocks" : "En Route"},
             {"timestamp", isotime(now, 3)},
             {"transponder", pilot ? whole(c.field(18)) : 0},
             {"transponderMode", pilot ? "S" : ""},
             {"time", now - c.logon}};
  }
  return {{"time", now - c.logon},
          {"id", 50000000 + c.slot},
          {"userId", whole(c.field(2))},
          {"callsign", c.field(1)},
          {"serverId", c.field(15)},
          {"softwareTypeId", c.role == Role::Pilot ? "pilot/linux" : "atc/linux"},
          {"softwareVersion", "1.0"},
          {"rating", whole(c.field(17))},
          {"createdAt", isotime(c.logon, 3)},
          {"lastTrack", std::move(track)}};
}

Json pilotb(const Client& c, std::int64_t now) {
  Json out = clientb(c, now);
  Json plan = nullptr;
  if (!c.field(10).empty()) {
    const std::string& dep = c.field(23);
    const long long depseconds = dep.size() == 4 ? (whole(dep.substr(0, 2)) * 60 + whole(dep.substr(2))) * 60 : 0;
    char speed[16];
    std::snprintf(speed, sizeof speed, "N%04lld", whole(c.field(11)));
    plan = {{"id", 60000000 + c.slot},
            {"revision", whole(c.field(21))},
            {"aircraftId", c.field(10)},
            {"aircraftNumber", 1},
            {"departureId", textornull(c.field(12))},
            {"arrivalId", textornull(c.field(14))},
            {"alternativeId", textornull(c.field(29))},
            {"alternative2Id", nullptr},
            {"route", c.field(31)},
            {"remarks", c.field(30)},
            {"speed", speed},
            {"level", icaolevel(c.field(13))},
            {"flightRules", c.field(22)},
            {"flightType", "S"},
            {"eet", (whole(c.field(25)) * 60 + whole(c.field(26))) * 60},
            {"endurance", (whole(c.field(27)) * 60 + whole(c.field(28))) * 60},
            {"departureTime", depseconds},
            {"actualDepartureTime", nullptr},
            {"peopleOnBoard", 1},
            {"createdAt", isotime(c.logon, 3)},
            {"updatedAt", isotime(c.logon, 3)},
            {"aircraftEquipments", "SDFGY"},
            {"aircraftTransponderTypes", "LB1"},
            {"aircraft",
             {{"icaoCode", c.field(10)}, {"model", c.field(10)}, {"wakeTurbulence", "M"},
              {"isMilitary", false}, {"description", "LandPlane"}}}};
  }
  out["flightPlan"] = std::move(plan);
  out["pilotSession"] = {{"simulatorId", nullptr}};
  return out;
}

Json controllerb(const Client& c, std::int64_t now) {
  Json out = clientb(c, now);
  out["atcSession"] = {{"frequency", num(c.field(5))}, {"position", positionword(c.field(1))}};
  out["atis"] = c.field(36).empty()
                    ? Json(nullptr)
                    : Json{{"lines", Json::array({c.field(36)})}, {"revision", "A"},
                           {"timestamp", isotime(unixof(c.field(37)), 3)}};
  return out;
}

Json observerb(const Client& c, std::int64_t now) {
  Json out = clientb(c, now);
  out["atcSession"] = {{"frequency", num(c.field(5))}, {"position", nullptr}};
  return out;
}

// Breaks one entry in one of the ways a bad server might.
void breakentry(Json& entry, Rng& rng, bool& hugedone, bool layouta) {
  const char* member = layouta ? "cid" : "userId";
  switch (rng.below(5)) {
    case 0: entry["callsign"] = 12345; break;                  // a number where text belongs
    case 1: entry.erase("callsign"); break;                    // a key missing
    case 2: entry["callsign"] = nullptr; break;                // null where text belongs
    case 3: entry[member] = "not a number"; break;              // text where a number belongs
    case 4:
      if (!std::exchange(hugedone, true)) {
        entry[layouta ? "name" : "serverId"] = std::string(kHugeLineBytes, 'A');  // readable, only huge
      } else {
        entry[layouta ? "latitude" : "lastTrack"] = Json::array({1, 2});
      }
      break;
  }
}

}  // namespace

std::string isotime(std::int64_t unixtime, int fractiondigits) {
  const std::string t = timestamp(unixtime);
  std::string out = t.substr(0, 4) + "-" + t.substr(4, 2) + "-" + t.substr(6, 2) + "T" + t.substr(8, 2) + ":" +
                    t.substr(10, 2) + ":" + t.substr(12, 2);
  if (fractiondigits > 0) out += "." + std::string(static_cast<std::size_t>(fractiondigits), '0');
  return out + "Z";
}

std::string jsonsnapshot(const Network& network, std::int64_t now, const SnapshotOptions& options) {
  const std::vector<Client> clients = network.clients(now);
  const bool a = options.layout == Layout::A;
  Json pilots = Json::array(), stations = Json::array(), observers = Json::array();
  int counted[3] = {0, 0, 0};  // pilots, stations, observers
  bool hugedone = false;
  for (const Client& c : clients) {
    const bool pilot = c.role == Role::Pilot;
    Json entry = a ? (pilot ? pilota(c, now) : controllera(c, now))
                   : (pilot ? pilotb(c, now) : isobserver(c) ? observerb(c, now) : controllerb(c, now));
    Rng rng(mixkey(mixkey(network.seed() ^ 0xBADu, static_cast<std::uint64_t>(now)),
                   static_cast<std::uint64_t>(c.slot)));
    if (options.badshare > 0 && rng.unit() < options.badshare) breakentry(entry, rng, hugedone, a);
    Json& into = pilot ? pilots : (!a && isobserver(c)) ? observers : stations;
    ++counted[pilot ? 0 : (!a && isobserver(c)) ? 2 : 1];
    into.push_back(std::move(entry));
  }
  Json servers = Json::array();
  for (const ServerInfo& s : kServers) {
    servers.push_back(a ? Json{{"ident", s.ident}, {"hostname_or_ip", s.host}, {"location", s.location},
                               {"name", s.name}, {"clients_connection_allowed", 1}}
                        : Json{{"id", s.ident}, {"hostname", s.host}, {"ip", "192.0.2.1"},
                               {"description", s.name}, {"countryId", "XX"},
                               {"currentConnections", 0}, {"maximumConnections", 1000}});
  }
  const auto total = static_cast<long long>(clients.size());
  Json doc;
  if (a) {
    doc = {{"general",
            {{"version", 3}, {"reload", 1}, {"update", timestamp(now)}, {"update_timestamp", isotime(now, 7)},
             {"connected_clients", total}, {"unique_users", total}}},
           {"pilots", std::move(pilots)},
           {"controllers", std::move(stations)},
           {"atis", Json::array()},
           {"servers", std::move(servers)},
           {"prefiles", Json::array()},
           {"facilities", Json::array()},
           {"ratings", Json::array()},
           {"pilot_ratings", Json::array()}};
  } else {
    doc = {{"updatedAt", isotime(now, 3)},
           {"servers", std::move(servers)},
           {"voiceServers", Json::array()},
           {"clients",
            {{"pilots", std::move(pilots)}, {"atcs", std::move(stations)}, {"followMe", Json::array()},
             {"observers", std::move(observers)}}},
           {"connections",
            {{"total", total}, {"supervisor", 0}, {"atc", counted[1]}, {"observer", counted[2]},
             {"pilot", counted[0]}, {"worldTour", 0}, {"followMe", 0}}}};
  }
  // Names may hold any bytes a text line could: kept readable rather than refused.
  return doc.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace netsim
