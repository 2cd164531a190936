#include "feed/client_fields.h"
#include "feed/json_layouts.h"

namespace netglobe::json {

namespace {

// The keys pilots, controllers and ATIS stations share.
error_code memberfield(std::string_view key, od::value v, ClientRecord& r) {
  if (key == "callsign") return text(v, r[1]);
  if (key == "cid") return numberfield(v, r[2]);
  if (key == "name") return text(v, r[3]);
  if (key == "server") return text(v, r[15]);
  if (key == "logon_time") return time(v, r[38]);
  return SUCCESS;
}

error_code planfield(std::string_view key, od::value v, ClientRecord& r) {
  if (key == "aircraft") return text(v, r[10]);
  if (key == "cruise_tas") return text(v, r[11]);
  if (key == "departure") return text(v, r[12]);
  if (key == "altitude") return text(v, r[13]);
  if (key == "arrival") return text(v, r[14]);
  if (key == "revision_id") return numberfield(v, r[21]);
  if (key == "flight_rules") return text(v, r[22]);
  if (key == "deptime") return text(v, r[23]);
  if (key == "alternate") return text(v, r[29]);
  if (key == "remarks") return text(v, r[30]);
  if (key == "route") return text(v, r[31]);
  std::string clock;
  if (key == "enroute_time" || key == "fuel_time") {
    if (error_code e = text(v, clock)) return e;
    if (key == "enroute_time") {
      splitclock(clock, r[25], r[26]);
    } else {
      splitclock(clock, r[27], r[28]);
    }
  }
  return SUCCESS;
}

}  // namespace

error_code pilota(od::object entry, ClientRecord& r, bool& wrongtype) {
  r[4] = "PILOT";
  return eachfield(entry, wrongtype, [&](std::string_view key, od::value v) -> error_code {
    if (key == "latitude") return numberfield(v, r[6]);
    if (key == "longitude") return numberfield(v, r[7]);
    if (key == "altitude") return numberfield(v, r[8]);
    if (key == "groundspeed") return numberfield(v, r[9]);
    if (key == "transponder") return text(v, r[18]);
    if (key == "heading") return numberfield(v, r[39]);
    if (key == "qnh_i_hg") return numberfield(v, r[40]);
    if (key == "qnh_mb") return numberfield(v, r[41]);
    if (key == "flight_plan") {
      od::object plan;
      bool found = false;
      if (error_code e = objectornull(v, plan, found)) return e;
      if (!found) return SUCCESS;  // no plan filed: its positions stay empty
      return eachfield(plan, wrongtype,
                       [&](std::string_view k, od::value p) { return planfield(k, p, r); });
    }
    return memberfield(key, v, r);
  });
}

error_code controllera(od::object entry, ClientRecord& r, bool& wrongtype) {
  r[4] = "ATC";
  // No position: the document has none for any station.
  const error_code e = eachfield(entry, wrongtype, [&](std::string_view key, od::value v) -> error_code {
    if (key == "frequency") return text(v, r[5]);
    if (key == "rating") return numberfield(v, r[17]);
    if (key == "facility") return numberfield(v, r[19]);
    if (key == "visual_range") return numberfield(v, r[20]);
    if (key == "text_atis") return lines(v, r[36]);
    return memberfield(key, v, r);
  });
  // Facility 0 is an observer (supervisors too): its text begins with the
  // mark the observer lists go by, as an observer's own text did.
  if (r[19] == "0") {
    r[36] = r[36].empty() ? std::string(kObserverMark)
                          : std::string(kObserverMark) + std::string(kAtisLineBreak) + r[36];
  }
  return e;
}

}  // namespace netglobe::json
