#include <array>
#include <cstdio>
#include <utility>

#include "feed/client_fields.h"
#include "feed/json_layouts.h"

namespace netglobe::json {

namespace {

// The facility of a station's position and the visual range its kind was
// given when the network still wrote text (the document has none).
struct PositionKind {
  std::string_view position, facility, range;
};
constexpr std::array<PositionKind, 7> kPositions{{{"FSS", "1", "300"},
                                                  {"DEL", "2", "10"},
                                                  {"GND", "3", "10"},
                                                  {"TWR", "4", "60"},
                                                  {"APP", "5", "120"},
                                                  {"DEP", "5", "120"},
                                                  {"CTR", "6", "300"}}};
constexpr std::string_view kObserverFacility = "0";
constexpr std::string_view kObserverRange = "200";

// The code's four digits: 21 is squawk 0021.
std::string transponder(long long code) {
  if (code < 0 || code > 9999) return std::to_string(code);
  char text[8];
  std::snprintf(text, sizeof text, "%04lld", code);
  return text;
}

error_code wholefield(od::value v, std::optional<long long>& out) { return whole(v, out); }

error_code trackfield(std::string_view key, od::value v, ClientRecord& r) {
  if (key == "latitude") return numberfield(v, r[6]);
  if (key == "longitude") return numberfield(v, r[7]);
  if (key == "altitude") return numberfield(v, r[8]);
  if (key == "groundSpeed") return numberfield(v, r[9]);
  if (key == "heading") return numberfield(v, r[39]);
  if (key == "transponder") {
    std::optional<long long> code;
    if (error_code e = wholefield(v, code)) return e;
    r[18] = code ? transponder(*code) : std::string();
  }
  return SUCCESS;
}

// The number HHMM of a time of day given in seconds after midnight:
// 61200 is 1700, 27000 is 730.
std::string clockofday(long long seconds) {
  if (seconds < 0) return {};
  return std::to_string(seconds / 3600 * 100 + seconds % 3600 / 60);
}

error_code planfield(std::string_view key, od::value v, ClientRecord& r) {
  if (key == "aircraftId") return text(v, r[10]);
  if (key == "speed") return text(v, r[11]);
  if (key == "departureId") return text(v, r[12]);
  if (key == "level") return text(v, r[13]);
  if (key == "arrivalId") return text(v, r[14]);
  if (key == "revision") return numberfield(v, r[21]);
  if (key == "flightRules") return text(v, r[22]);
  if (key == "alternativeId") return text(v, r[29]);
  if (key == "remarks") return text(v, r[30]);
  if (key == "route") return text(v, r[31]);
  const bool departure = key == "departureTime", actual = key == "actualDepartureTime";
  const bool enroute = key == "eet", endurance = key == "endurance";
  if (!departure && !actual && !enroute && !endurance) return SUCCESS;
  std::optional<long long> seconds;
  if (error_code e = wholefield(v, seconds)) return e;
  if (departure || actual) {
    r[departure ? 23 : 24] = seconds ? clockofday(*seconds) : std::string();
  } else if (seconds) {
    splitseconds(*seconds, r[enroute ? 25 : 27], r[enroute ? 26 : 28]);
  }
  return SUCCESS;
}

// Reads a nested object (or null) field by field.
template <class Each>
error_code nested(od::value v, bool& wrongtype, Each each) {
  od::object object;
  bool found = false;
  if (error_code e = objectornull(v, object, found)) return e;
  return found ? eachfield(object, wrongtype, each) : SUCCESS;
}

// The keys every client has, and the ones the caller reads itself.
template <class Own>
error_code clientfields(od::object entry, ClientRecord& r, bool& wrongtype, Own own) {
  return eachfield(entry, wrongtype, [&](std::string_view key, od::value v) -> error_code {
    if (key == "callsign") return text(v, r[1]);
    if (key == "userId") return numberfield(v, r[2]);  // "id" is the session's, not the member's
    if (key == "serverId") return text(v, r[15]);
    if (key == "rating") return numberfield(v, r[17]);
    if (key == "createdAt") return time(v, r[38]);
    if (key == "lastTrack") {
      return nested(v, wrongtype, [&](std::string_view k, od::value t) { return trackfield(k, t, r); });
    }
    return own(key, v);
  });
}

// A station's frequency in MHz with three decimals; its position word.
error_code sessionfield(std::string_view key, od::value v, ClientRecord& r, std::string& position) {
  if (key == "frequency") {
    std::optional<double> mhz;
    if (error_code e = number(v, mhz)) return e;
    r[5].clear();
    if (mhz) {
      char text[48];
      std::snprintf(text, sizeof text, "%.3f", *mhz);
      r[5] = text;
    }
    return SUCCESS;
  }
  if (key == "position") return text(v, position);
  return SUCCESS;
}

}  // namespace

error_code pilotb(od::object entry, ClientRecord& r, bool& wrongtype) {
  r[4] = "PILOT";
  return clientfields(entry, r, wrongtype, [&](std::string_view key, od::value v) -> error_code {
    if (key != "flightPlan") return SUCCESS;
    return nested(v, wrongtype, [&](std::string_view k, od::value p) { return planfield(k, p, r); });
  });
}

error_code controllerb(od::object entry, ClientRecord& r, bool& wrongtype) {
  r[4] = "ATC";
  std::string position;
  const error_code e = clientfields(entry, r, wrongtype, [&](std::string_view key, od::value v) -> error_code {
    if (key == "atcSession") {
      return nested(v, wrongtype,
                    [&](std::string_view k, od::value s) { return sessionfield(k, s, r, position); });
    }
    if (key == "atis") {
      return nested(v, wrongtype, [&](std::string_view k, od::value a) -> error_code {
        if (k == "lines") return lines(a, r[36]);
        if (k == "timestamp") return time(a, r[37]);
        return SUCCESS;
      });
    }
    return SUCCESS;
  });
  // Any other position word is a kind of station we cannot tell: kept
  // without a facility type.
  for (const PositionKind& kind : kPositions) {
    if (kind.position == position) {
      r[19] = kind.facility;
      r[20] = kind.range;
    }
  }
  return e;
}

error_code observerb(od::object entry, ClientRecord& r, bool& wrongtype) {
  r[4] = "ATC";
  std::string position;  // always null for observers
  const error_code e = clientfields(entry, r, wrongtype, [&](std::string_view key, od::value v) -> error_code {
    if (key != "atcSession") return SUCCESS;
    return nested(v, wrongtype, [&](std::string_view k, od::value s) { return sessionfield(k, s, r, position); });
  });
  r[19] = kObserverFacility;
  r[20] = kObserverRange;
  r[36] = kObserverMark;  // what the observer lists go by
  return e;
}

}  // namespace netglobe::json
