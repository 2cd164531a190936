#pragma once

namespace netsim {

// What an aircraft type can do, as far as a flight's profile needs it.
struct Performance {
  double tas;             // cruise true airspeed, kt
  double ceiling;         // highest cruise altitude, ft
  double climb, descent;  // ft/min
  double slow;            // speed after take-off and before landing, kt
};

// The vertical and speed profile of one flight: climb with rising speed,
// cruise, descent with falling speed; distances in nm, times in hours,
// altitudes and elevations in ft.
struct Profile {
  double distance = 0;
  double cruisealt = 0, depelev = 0, destelev = 0;
  double v0 = 0, vcruise = 0, v1 = 0;  // ground speeds
  double tclimb = 0, tcruise = 0, tdescent = 0;
  double dclimb = 0, dcruise = 0, ddescent = 0;

  double duration() const { return tclimb + tcruise + tdescent; }
};

// The profile of a flight of distance nm with wind kt along it (negative
// against it), asking for cruise at wantalt. The cruise altitude is a whole
// 500 ft, at most the ceiling, and at least 1500 ft above both fields; short
// routes are flown lower, so that climb and descent take at most 90 % of the
// distance unless that floor forbids it.
Profile makeprofile(const Performance& ac, double distance, double wind, double wantalt,
                    double depelev, double destelev);

// Where a flight is, a number of hours after take-off.
struct FlightState {
  double flown = 0;  // nm along the route, at most the distance
  double alt = 0;
  double speed = 0;
};

// The state at hours after take-off; past the end of the descent the flight
// stays at the destination's elevation and landing speed.
FlightState flightat(const Profile& p, double hours);

}  // namespace netsim
