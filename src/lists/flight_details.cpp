#include "lists/flight_details.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/fields.h"
#include "base/number_text.h"
#include "feed/client_fields.h"
#include "geo/great_circle.h"
#include "layers/record_fields.h"
#include "refdata/network_tables.h"

namespace netglobe {

namespace {

// Status line positions only the panel reads.
constexpr int kFrequency = 5;
constexpr int kAltitude = 8;
constexpr int kAircraft = 10;
constexpr int kCruiseSpeed = 11;
constexpr int kDeparture = 12;
constexpr int kCruiseLevel = 13;
constexpr int kRating = 17;
constexpr int kRemarks = 30;
constexpr int kRoute = 31;
constexpr int kLogon = 38;
constexpr int kHeading = 39;

double nmbetween(const ClientPlace& a, const ClientPlace& b) {
  return dist(a.lat, a.lon, b.lat, b.lon) / kKmPerNauticalMile;
}

std::string whole(double value) {
  // A server may send any number; one a long cannot hold is shown as unknown.
  if (!std::isfinite(value) || std::abs(value) > 1e15) return "?";
  return std::to_string(std::lround(value));
}

std::string hoursminutes(double minutes) {
  const long total = std::lround(minutes);
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  return text;
}

std::string logontext(std::string_view field) {
  const bool stamp = field.size() == 14 && std::all_of(field.begin(), field.end(), [](char c) {
                       return c >= '0' && c <= '9';
                     });
  if (!stamp) return std::string(field);
  std::string text(field.substr(0, 4));
  text += '-';
  text += field.substr(4, 2);
  text += '-';
  text += field.substr(6, 2);
  text += ' ';
  text += field.substr(8, 2);
  text += ':';
  text += field.substr(10, 2);
  text += " UTC";
  return text;
}

std::string aerodrometext(const AerodromeName& a) {
  if (a.code.empty()) return "-";
  return a.name.empty() ? a.code : a.code + " " + a.name;
}

std::optional<double> minutesat(std::optional<double> nm, double knots) {
  if (!nm || knots < kMinEstimateKnots) return std::nullopt;
  return *nm / knots * 60;
}

}  // namespace

AerodromeName aerodromename(std::string_view code, const AirportDirectory& airports) {
  AerodromeName out;
  out.code = std::string(code);
  if (code.empty()) return out;
  FieldBuf fieldbuf;
  const AirportPos pos = airports.getdestlatlon(code, fieldbuf);
  if (!pos.found) return out;
  const std::string& name = fieldbuf(2);
  const std::string& place = fieldbuf(3);
  out.name = name;
  if (!place.empty() && name.find(place) == std::string::npos) {
    out.name += out.name.empty() ? place : " (" + place + ")";
  }
  if (out.name.empty()) out.name = out.code;
  out.place = placeof(fieldbuf(6), fieldbuf(7));
  return out;
}

PilotDetails pilotdetails(std::string_view line, const AirportDirectory& airports) {
  FieldBuf f;
  splitrecord(line, f, kHeading);
  PilotDetails p;
  p.callsign = f(kCallsign);
  p.memberid = f(kMemberId);
  p.name = f(kName);
  p.rating = std::string(ratingtext(f(kRating)));
  p.aircraft = f(kAircraft);
  p.cruisespeed = f(kCruiseSpeed);
  p.cruiselevel = f(kCruiseLevel);
  p.altitude = leadingnumber(f(kAltitude));
  p.groundspeed = leadingnumber(f(kGroundSpeed));
  p.heading = f(kHeading);
  p.place = placeof(f(kLatitude), f(kLongitude));
  p.logon = logontext(f(kLogon));
  p.route = f(kRoute);
  p.remarks = f(kRemarks);
  // The lookups reuse the buffer: everything of the pilot is read first.
  const std::string departure = f(kDeparture);
  const std::string destination = f(kDestination);
  p.departure = aerodromename(departure, airports);
  p.destination = aerodromename(destination, airports);
  if (p.place && p.departure.place) p.flownnm = nmbetween(*p.departure.place, *p.place);
  if (p.place && p.destination.place) p.leftnm = nmbetween(*p.place, *p.destination.place);
  p.minutesleft = minutesat(p.leftnm, p.groundspeed);
  return p;
}

DetailsView pilotview(const PilotDetails& p) {
  DetailsView view;
  view.open = true;
  view.title = "Flight";
  const auto add = [&](std::string text) { view.lines.push_back({std::move(text), false, std::nullopt}); };
  add(p.callsign + "  " + p.name + "  " + p.memberid + "  " + p.rating);
  const bool plan = !p.departure.code.empty() || !p.destination.code.empty() || !p.aircraft.empty();
  if (plan) {
    add("Aircraft " + (p.aircraft.empty() ? std::string("-") : p.aircraft));
    add("From " + aerodrometext(p.departure));
    add("To " + aerodrometext(p.destination));
    if (!p.cruiselevel.empty() || !p.cruisespeed.empty()) {
      add("Planned " + (p.cruiselevel.empty() ? std::string("-") : p.cruiselevel) + " at " +
          (p.cruisespeed.empty() ? std::string("-") : p.cruisespeed) + " kt");
    }
  } else {
    add("No flight plan");
  }
  if (p.place) {
    add("Altitude " + whole(p.altitude) + " ft  GS " + whole(p.groundspeed) + " kt  Heading " +
        (p.heading.empty() ? std::string("-") : p.heading));
  } else {
    add("No position");
  }
  if (p.flownnm || p.leftnm) {
    std::string text;
    if (p.flownnm) text += "Flown " + whole(*p.flownnm) + " NM";
    if (p.leftnm) text += std::string(text.empty() ? "" : "  ") + "Left " + whole(*p.leftnm) + " NM";
    if (p.minutesleft) text += "  Time left " + hoursminutes(*p.minutesleft);
    add(text);
  }
  if (!p.logon.empty()) add("Logon " + p.logon);
  if (!p.route.empty()) add("Route " + p.route);
  if (!p.remarks.empty()) add("Remarks " + p.remarks);
  return view;
}

const std::string* findpilotline(const StatusLists& lists, std::string_view callsign,
                                 std::string_view memberid) {
  const int count = entrycount(lists.pillines, lists.pilcount);
  for (int i = 1; i <= count; ++i) {
    const std::string& line = lists.pillines[std::size_t(i)];
    // "callsign:memberid:" begins the line of that pilot and of no other.
    if (line.size() > callsign.size() + memberid.size() + 1 && line.starts_with(callsign) &&
        line[callsign.size()] == ':' &&
        std::string_view(line).substr(callsign.size() + 1).starts_with(memberid) &&
        line[callsign.size() + 1 + memberid.size()] == ':') {
      return &line;
    }
  }
  return nullptr;
}

AerodromeDetails aerodromedetails(std::string_view code, const StatusLists& lists,
                                  const AirportDirectory& airports) {
  AerodromeDetails d;
  d.aerodrome = aerodromename(code, airports);
  if (code.empty()) return d;
  const auto stations = [&](const std::vector<std::string>& lines, int count) {
    for (int i = 1; i <= entrycount(lines, count); ++i) {
      const std::string& line = lines[std::size_t(i)];
      if (lookupkey(line) != code) continue;
      const ClientFields f(line, kName + 2);
      d.stations.push_back(std::string(f(kCallsign)) + "  " + std::string(f(kFrequency)) + "  " +
                           std::string(f(kName)));
    }
  };
  stations(lists.applines, lists.appcount);
  stations(lists.twrlines, lists.twrcount);

  const std::optional<ClientPlace> at = d.aerodrome.place;
  for (int i = 1; i <= entrycount(lists.pillines, lists.pilcount); ++i) {
    const std::string& line = lists.pillines[std::size_t(i)];
    // Most pilots fly elsewhere: a line without the code is not split.
    if (line.find(code) == std::string::npos) continue;
    const ClientFields f(line, kDestination);
    const bool arriving = f(kDestination) == code;
    const bool departing = f(kDeparture) == code;
    if (!arriving && !departing) continue;
    const std::optional<ClientPlace> place = placeof(f(kLatitude), f(kLongitude));
    AerodromeFlight flight;
    flight.pilot = {std::string(f(kCallsign)), std::string(f(kMemberId))};
    flight.name = f(kName);
    if (place && at) flight.nm = nmbetween(*place, *at);
    if (arriving) {
      flight.other = f(kDeparture);
      flight.minutesleft = minutesat(flight.nm, leadingnumber(f(kGroundSpeed)));
      d.arrivals.push_back(flight);
    }
    if (departing) {
      flight.other = f(kDestination);
      flight.minutesleft.reset();
      d.departures.push_back(std::move(flight));
    }
  }
  // Nearest first; those without a distance last, in list order.
  const auto nearer = [](const AerodromeFlight& a, const AerodromeFlight& b) {
    if (a.nm && b.nm) return *a.nm < *b.nm;
    return a.nm.has_value() && !b.nm.has_value();
  };
  std::stable_sort(d.arrivals.begin(), d.arrivals.end(), nearer);
  std::stable_sort(d.departures.begin(), d.departures.end(), nearer);
  return d;
}

DetailsView aerodromeview(const AerodromeDetails& d) {
  DetailsView view;
  view.open = true;
  view.title = "Aerodrome";
  const auto add = [&](std::string text, bool heading = false) {
    view.lines.push_back({std::move(text), heading, std::nullopt});
  };
  add(d.aerodrome.code + "  " + (d.aerodrome.name.empty() ? "not in the airport directory" : d.aerodrome.name));
  add("Stations " + std::to_string(d.stations.size()), true);
  for (const std::string& station : d.stations) add(station);
  const auto flights = [&](const char* title, const std::vector<AerodromeFlight>& list,
                           const char* from, const char* distance) {
    add(std::string(title) + " " + std::to_string(list.size()), true);
    for (const AerodromeFlight& f : list) {
      std::string text = f.pilot.callsign + "  " + from + " " + (f.other.empty() ? "-" : f.other);
      if (f.nm) text += "  " + whole(*f.nm) + " NM " + distance;
      if (f.minutesleft) text += "  " + hoursminutes(*f.minutesleft);
      text += "  " + f.name;
      view.lines.push_back({std::move(text), false, f.pilot});
    }
  };
  flights("Arrivals", d.arrivals, "from", "left");
  flights("Departures", d.departures, "to", "flown");
  return view;
}

}  // namespace netglobe
