#include "lists/pilot_labels.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "base/fields.h"
#include "base/number_text.h"
#include "feed/client_fields.h"
#include "geo/globe_coords.h"
#include "geo/great_circle.h"
#include "lists/label_glyphs.h"
#include "refdata/network_tables.h"
#include "scene/scene_state.h"

namespace netglobe {

namespace {

constexpr double kKmPerNm = 1.8531902;
constexpr double kTripMinSpeed = 80;  // knots; slower pilots get 0 NM and 0 min
// Keeps dist from ever receiving two identical positions.
constexpr double kDestShift = 0.000001;

// What a label shows of its record.
struct Pilot {
  std::string callsign;
  std::string name;
  std::string dest;
  double lat = 0;
  double lon = 0;
  double altitude = 0;  // feet
  double speed = 0;     // knots
};

struct Trip {
  double nm = 0;
  double minutes = 0;
};

// Distance to go and minutes to arrival, with one minute per 2000 feet to
// come down; whole numbers rounded towards minus infinity. Returns why not
// when airports.dat cannot be read or the position gives no distance.
const char* measuretrip(const Pilot& p, const AirportDirectory& airports, FieldBuf& fieldbuf,
                        Trip& trip) {
  if (p.speed < kTripMinSpeed) return nullptr;
  const AirportPos dest = airports.getdestlatlon(p.dest, fieldbuf);
  if (!dest.readable) return "pilot labels: cannot read airports.dat";
  const double d =
      dist(p.lat, p.lon, dest.destlat + kDestShift, dest.destlon + kDestShift) / kKmPerNm;
  if (!std::isfinite(d)) return "pilot labels: a pilot position gives no distance";
  trip.nm = std::floor(d + 0.5);
  trip.minutes = std::floor(60 * d / p.speed + p.altitude / 2000);
  return nullptr;
}

std::string labeltext(const Pilot& p, int mode, const Trip& trip) {
  const bool home = ishomeairport(p.dest);
  switch (mode) {
    case 1: return p.callsign;
    case 2: return p.callsign + " > " + p.dest;
    case 3: return p.callsign + " " + p.name;
    case 4: return home ? p.callsign + " > " + p.dest : std::string();
    case 5:
      if (!home) return {};
      return p.callsign + " > " + p.dest + " " + p.name + " " + numtext(trip.nm) + " NM /" +
             numtext(p.speed) + " Knts /" + numtext(trip.minutes) + " min";
    default: return {};
  }
}

}  // namespace

std::string labelname(const std::string& name) {
  if (name.size() >= 5 && name[name.size() - 5] == ' ') return name.substr(0, name.size() - 5);
  return name;
}

Layer showpilotname(const StatusLists& lists, const AirportDirectory& airports,
                    int pilotlabelmode) {
  Layer layer{kPilotLabelList};
  layer.ops.color(1.0f, 1.0f, 0.0f);
  const int count = std::min(lists.pilcount, static_cast<int>(lists.pillines.size()) - 1);
  FieldBuf fieldbuf;  // for the airport lookups
  for (int i = 1; i <= count; ++i) {
    const ClientFields f(lists.pillines[static_cast<std::size_t>(i)], 14);
    if (!haspositionfields(f(6), f(7))) continue;  // no position, no label
    const Pilot pilot{std::string(f(1)),
                      labelname(std::string(f(3))),
                      f(14).empty() ? "?" : std::string(f(14)),
                      leadingnumber(f(6)),
                      leadingnumber(f(7)),
                      leadingnumber(f(8)),
                      leadingnumber(f(9))};
    Trip trip;
    if (pilotlabelmode == 5) {
      if (const char* failure = measuretrip(pilot, airports, fieldbuf, trip)) {
        layer.failure = failure;
        break;
      }
    }
    const std::string text = labeltext(pilot, pilotlabelmode, trip);
    // An empty label draws nothing, so it needs no raster position either.
    if (!text.empty()) drawlabel(layer.ops, getxyz(pilot.lat - 0.01, pilot.lon + 0.1, 0), text);
  }
  return layer;
}

}  // namespace netglobe
