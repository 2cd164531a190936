#include "layers/station_layers.h"

#include <optional>

#include "base/number_text.h"
#include "base/text_search.h"
#include "feed/client_fields.h"
#include "geo/globe_coords.h"
#include "layers/disc_fan.h"
#include "layers/record_fields.h"
#include "layers/station_place.h"
#include "scene/pick_names.h"
#include "scene/scene_state.h"

namespace netglobe {

namespace {

constexpr const char* kAirportsUnreadable = "airports.dat cannot be read";

// The station whose record was just split into fieldbuf, at its airport.
// The airport's fields replace the station's in the buffer; without a match
// a station stays at its own reported position, and one that reports none
// is not placed. False when airports.dat cannot be read.
bool stationplace(const AirportDirectory& airports, FieldBuf& fieldbuf, std::optional<StationSpot>& at) {
  at.reset();
  if (!haspositionfields(fieldbuf(kLatitude), fieldbuf(kLongitude))) {
    const CodePlace place = airportofcode(fieldbuf(kCallsign), airports, fieldbuf);
    at = place.at;
    return place.readable;
  }
  const std::string key(lookupkey(fieldbuf(kCallsign)));
  if (!airports.lastairport(key, fieldbuf).readable) return false;
  at = StationSpot{leadingnumber(fieldbuf(kLatitude)), leadingnumber(fieldbuf(kLongitude))};
  return true;
}

}  // namespace

Layer drawapp(const StatusLists& lists, const AirportDirectory& airports, double rad) {
  Layer layer{kAppList};
  DrawList& out = layer.ops;
  FieldBuf fieldbuf;
  std::optional<StationSpot> at;
  const int count = entrycount(lists.applines, lists.appcount);
  for (int i = 1; i <= count; ++i) {
    const std::string& line = lists.applines[i];
    if (!containsnocase(line, "_APP:") && !containsnocase(line, "_DEP:")) continue;
    splitrecord(line, fieldbuf, kLongitude);
    if (!stationplace(airports, fieldbuf, at)) {
      layer.failure = kAirportsUnreadable;
      break;
    }
    if (!at) continue;
    out.loadname(pickname(PickKind::Approach, i));
    discfan(out, at->lat, at->lon, rad, {0, 1, 0, 1}, {0, 1, 0, 0});
  }
  return layer;
}

Layer drawtwr(const StatusLists& lists, const AirportDirectory& airports, double rad) {
  Layer layer{kTwrList};
  DrawList& out = layer.ops;
  FieldBuf fieldbuf;
  std::optional<StationSpot> at;
  const int count = entrycount(lists.twrlines, lists.twrcount);
  for (int i = 1; i <= count; ++i) {
    splitrecord(lists.twrlines[i], fieldbuf, kLongitude);
    if (!stationplace(airports, fieldbuf, at)) {
      layer.failure = kAirportsUnreadable;
      break;
    }
    if (!at) continue;
    out.loadname(pickname(PickKind::Tower, i));
    out.color(0, 1, 1);
    out.begin(Prim::Triangles);
    out.vertex(getxyz(at->lat + rad, at->lon, 0));
    out.vertex(getxyz(at->lat - rad, at->lon + rad, 0));
    out.vertex(getxyz(at->lat - rad, at->lon - rad, 0));
    out.end();
  }
  return layer;
}

}  // namespace netglobe
