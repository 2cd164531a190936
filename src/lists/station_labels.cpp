#include "lists/station_labels.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/fields.h"
#include "feed/client_fields.h"
#include "layers/station_place.h"
#include "lists/label_glyphs.h"
#include "refdata/network_tables.h"
#include "scene/scene_state.h"

namespace netglobe {

namespace {

// The airport or FIR code a station serves.
std::string_view lookupkey(std::string_view callsign) { return callsign.substr(0, 4); }

// What every label shows of its station record.
struct Station {
  std::string callsign;
  std::string name;
  std::string rating;
  bool positioned = true;  // false: no reported position, placed by its code or not at all
  // The code the station's place is looked up by.
  std::string_view key() const { return positioned ? lookupkey(callsign) : stationcode(callsign); }
};

struct Anchored {
  double lat = 0;
  double lon = 0;
};

struct Rgb {
  float r, g, b;
};

// Why a label could not be placed; null when it was drawn.
using Failure = const char*;

// One label per line of a station list. label(station, fieldbuf, layer ops)
// looks the anchor up and draws the label, or says which directory could
// not be read: the layer then ends with what was built.
template <class Label>
Layer stationlayer(int list, Rgb colour, const std::vector<std::string>& lines, int count,
                   Label label) {
  Layer layer{list};
  layer.ops.color(colour.r, colour.g, colour.b);
  count = std::min(count, static_cast<int>(lines.size()) - 1);
  FieldBuf fieldbuf;
  for (int i = 1; i <= count; ++i) {
    const ClientFields record(lines[static_cast<std::size_t>(i)], 17);
    const Station station{std::string(record(1)), std::string(record(3)),
                          std::string(ratingtext(record(17))),
                          haspositionfields(record(kLatitude), record(kLongitude))};
    // The label shows positions 1 to 3 of the record split last: the
    // station's own unless a lookup finds a record of its own.
    for (int n = 1; n <= 3; ++n) fieldbuf(n).assign(record(n));
    if (const Failure failure = label(station, fieldbuf, layer.ops)) {
      layer.failure = failure;
      break;
    }
  }
  return layer;
}

}  // namespace

Layer showctrname(const StatusLists& lists, const FirDirectory& firs) {
  return stationlayer(
      kCtrLabelList, {1.0f, 0.7f, 1.0f}, lists.ctrlines, lists.ctrcount,
      [&](const Station& s, FieldBuf& fieldbuf, DrawList& out) -> Failure {
        const FirInfo fir = firs.getfirinfo(s.key(), fieldbuf);
        if (!fir.readable) return "centre labels: cannot read firs.dat";
        if (!s.positioned && !fir.firfound) return nullptr;
        drawlabel(out, getxyz(fir.destlat + 0.4, fir.destlon - 1.5, 0),
                  s.callsign + " " + s.name + " " + s.rating);
        return nullptr;
      });
}

Layer showaprname(const StatusLists& lists, const AirportDirectory& airports,
                  const FirDirectory& firs) {
  return stationlayer(
      kAprLabelList, {0.0f, 1.0f, 0.0f}, lists.applines, lists.appcount,
      [&](const Station& s, FieldBuf& fieldbuf, DrawList& out) -> Failure {
        const std::string_view key = s.key();
        const AirportPos airport = airports.getdestlatlon(key, fieldbuf);
        if (!airport.readable) return "approach labels: cannot read airports.dat";
        Anchored at{airport.destlat, airport.destlon};
        if (at.lat == 0) {
          const FirInfo fir = firs.getfirinfo(key, fieldbuf);
          if (!fir.readable) return "approach labels: cannot read firs.dat";
          if (!s.positioned && !fir.firfound) return nullptr;
          at = {fir.destlat, fir.destlon};
        }
        // The airport's code and place, the FIR's code and name, or the
        // station's own callsign and name.
        drawlabel(out, getxyz(at.lat + 0.6, at.lon - 0.3, 0),
                  fieldbuf(1) + " " + fieldbuf(3) + " " + s.name + " " + s.rating);
        return nullptr;
      });
}

Layer showtwrname(const StatusLists& lists, const AirportDirectory& airports) {
  return stationlayer(
      kTwrLabelList, {0.0f, 1.0f, 1.0f}, lists.twrlines, lists.twrcount,
      [&](const Station& s, FieldBuf& fieldbuf, DrawList& out) -> Failure {
        const AirportPos airport = airports.getdestlatlon(s.key(), fieldbuf);
        if (!airport.readable) return "tower labels: cannot read airports.dat";
        if (!s.positioned && !airport.found) return nullptr;
        // Code, place and airport name; or, not found, the station's
        // callsign, name and member id.
        std::string where = fieldbuf(1) + " " + fieldbuf(3);
        if (fieldbuf(3) != fieldbuf(2)) where += "-" + fieldbuf(2);
        drawlabel(out, getxyz(airport.destlat - 0.02, airport.destlon + 0.3, 0),
                  where + " " + s.name + " " + s.rating);
        return nullptr;
      });
}

}  // namespace netglobe
