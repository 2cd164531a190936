#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "feed/status_lists.h"
#include "lists/client_index.h"
#include "lists/side_lists.h"
#include "refdata/directories.h"

namespace netglobe {

// Ground speed below which no time left is given: taxiing or parked, the
// estimate would mean nothing.
inline constexpr double kMinEstimateKnots = 50;
inline constexpr double kKmPerNauticalMile = 1.852;

// One line of the details panel (windows-1252). A line with a target names
// a pilot: a click on it flies there and shows its flight.
struct DetailsLine {
  std::string text;
  bool heading = false;  // a section title
  std::optional<RowClient> target;
  bool operator==(const DetailsLine&) const = default;
};

// What the details panel shows; closed when open is false.
struct DetailsView {
  bool open = false;
  std::string title;
  std::vector<DetailsLine> lines;
  bool gone = false;  // the pilot left: the last values stay, greyed
};

// An aerodrome of the airport directory: its code, its name ("name (place)"
// when the place is not part of the name) and where it lies.
struct AerodromeName {
  std::string code;
  std::string name;  // empty when the code is not in the directory
  std::optional<ClientPlace> place;
};
AerodromeName aerodromename(std::string_view code, const AirportDirectory& airports);

// Everything the panel shows of one pilot's status line.
struct PilotDetails {
  std::string callsign, memberid, name, rating, aircraft;
  AerodromeName departure, destination;
  std::string cruiselevel, cruisespeed;
  double altitude = 0, groundspeed = 0;
  std::string heading;
  std::optional<ClientPlace> place;
  // Great-circle distances in NM; none when a place is not known.
  std::optional<double> flownnm, leftnm;
  std::optional<double> minutesleft;  // at the current ground speed; none below 50 kt
  std::string logon;                  // "YYYY-MM-DD hh:mm UTC", or the field as it stands
  std::string route, remarks;
  // The destination's place when there is a line to draw to it.
  std::optional<ClientPlace> lineto() const {
    return place && destination.place ? destination.place : std::nullopt;
  }
};

PilotDetails pilotdetails(std::string_view line, const AirportDirectory& airports);
DetailsView pilotview(const PilotDetails& pilot);

// The pilot line of callsign and member id among the drawn pilots; null
// when it is not there.
const std::string* findpilotline(const StatusLists& lists, std::string_view callsign,
                                 std::string_view memberid);

struct AerodromeFlight {
  RowClient pilot;
  std::string name;
  std::string other;  // the other end of the flight
  std::optional<double> nm;  // left to fly (arrivals), flown (departures)
  std::optional<double> minutesleft;
};

// An aerodrome's traffic: stations staffed there (approach, departure,
// tower, ground: their callsign begins with the code), arrivals nearest
// first and departures nearest first; one pass over each list.
struct AerodromeDetails {
  AerodromeName aerodrome;
  std::vector<std::string> stations;  // "callsign frequency name"
  std::vector<AerodromeFlight> arrivals, departures;
};

AerodromeDetails aerodromedetails(std::string_view code, const StatusLists& lists,
                                  const AirportDirectory& airports);
DetailsView aerodromeview(const AerodromeDetails& details);

}  // namespace netglobe
