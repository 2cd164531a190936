#include "layers/aircraft_layers.h"

#include <string>

#include "base/number_text.h"
#include "feed/client_fields.h"
#include "geo/great_circle.h"
#include "layers/direction_segment.h"
#include "layers/disc_fan.h"
#include "layers/pilot_mark.h"
#include "layers/record_fields.h"
#include "layers/station_place.h"
#include "scene/pick_names.h"
#include "scene/scene_state.h"

namespace netglobe {

namespace {

constexpr double kMinLineSpeed = 30;  // knots; slower aircraft get no line

}  // namespace

Layer drawaircraft(const StatusLists& lists, const FriendIds& friends, double rad) {
  Layer layer{kAircraftList};
  DrawList& out = layer.ops;
  FieldBuf fieldbuf;
  const int count = entrycount(lists.pillines, lists.pilcount);
  for (int i = 1; i <= count; ++i) {
    splitrecord(lists.pillines[i], fieldbuf, kDestination);
    if (!haspositionfields(fieldbuf(kLatitude), fieldbuf(kLongitude))) continue;
    out.loadname(pickname(PickKind::Aircraft, i));
    const PilotMark mark = pilotmark(fieldbuf(kDestination), fieldbuf(kMemberId), friends);
    discfan(out, leadingnumber(fieldbuf(kLatitude)), leadingnumber(fieldbuf(kLongitude)),
            rad + mark.grow, {1, 1, 1, 1}, mark.rim);
  }
  return layer;
}

Layer drawaircraftdir(const StatusLists& lists, const AirportDirectory& airports) {
  Layer layer{kDirList};
  DrawList& out = layer.ops;
  out.begin(Prim::Lines);
  FieldBuf fieldbuf;
  std::string dest;
  const int count = entrycount(lists.pillines, lists.pilcount);
  for (int i = 1; i <= count; ++i) {
    splitrecord(lists.pillines[i], fieldbuf, kDestination);
    if (!haspositionfields(fieldbuf(kLatitude), fieldbuf(kLongitude))) continue;
    // All four are read before the lookup, which overwrites the buffer.
    const double lat = leadingnumber(fieldbuf(kLatitude));
    const double lon = leadingnumber(fieldbuf(kLongitude));
    const double speed = leadingnumber(fieldbuf(kGroundSpeed));
    dest = fieldbuf(kDestination);
    if (dest.empty() || speed < kMinLineSpeed) continue;
    const AirportPos to = airports.getdestlatlon(dest, fieldbuf);
    if (!to.readable) {
      layer.failure = "airports.dat cannot be read";
      break;
    }
    heading(out, lat, lon, course(lat, lon, to.destlat, to.destlon), speed / 1000, 1, 0.5f, 0, 1);
  }
  out.end();
  return layer;
}

}  // namespace netglobe
