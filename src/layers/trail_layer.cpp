#include "layers/trail_layer.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "feed/client_fields.h"
#include "geo/globe_coords.h"
#include "geo/great_circle.h"
#include "layers/pilot_mark.h"
#include "layers/record_fields.h"
#include "scene/scene_state.h"

namespace netglobe {
namespace {

constexpr int kCallsign = 1;
constexpr int kMemberId = 2;
constexpr int kDestination = 14;
constexpr double kKmPerNm = 1.852;

struct Fix {
  std::int64_t receiptms;
  double lat;
  double lon;
};

struct Track {
  std::string_view callsign;  // views into the pilot list's lines
  std::string_view memberid;
  Rgba rim;
  std::vector<Fix> fixes;
  const PositionFrame* lastframe = nullptr;  // one fix a frame, even if it lists the pilot twice
};

bool joined(const Fix& a, const Fix& b) {
  if (b.receiptms - a.receiptms > kTrailBreakMs) return false;
  // A distance that is not a number (a position no globe has) breaks too.
  const double nm = dist(a.lat, a.lon, b.lat, b.lon) / kKmPerNm;
  return nm <= kTrailBreakNm;
}

void drawtrack(DrawList& out, const Track& track) {
  const std::vector<Fix>& f = track.fixes;
  std::size_t start = 0;
  for (std::size_t i = 1; i <= f.size(); ++i) {
    if (i < f.size() && joined(f[i - 1], f[i])) continue;
    if (i - start >= 2) {
      out.begin(Prim::LineStrip);
      for (std::size_t k = start; k < i; ++k) out.vertex(getxyz(f[k].lat, f[k].lon, 0));
      out.end();
    }
    start = i;
  }
}

}  // namespace

Layer drawtrails(const std::vector<PositionFrame>& frames, const StatusLists& lists,
                 const FriendIds& friends, std::int64_t endms) {
  Layer layer{kTrailList};
  DrawList& out = layer.ops;

  // The drawn pilots, one track each (a pilot listed twice gets one track).
  std::vector<Track> tracks;
  std::unordered_map<std::uint64_t, std::size_t> bykey;
  const int count = entrycount(lists.pillines, lists.pilcount);
  tracks.reserve(static_cast<std::size_t>(count));
  bykey.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    const ClientFields f(lists.pillines[static_cast<std::size_t>(i)], kDestination);
    const auto [at, added] = bykey.try_emplace(pilotkey(f(kCallsign), f(kMemberId)), tracks.size());
    if (!added) continue;
    tracks.push_back({f(kCallsign), f(kMemberId),
                      pilotmark(f(kDestination), f(kMemberId), friends).rim, {}});
  }

  std::vector<const PositionFrame*> window;
  for (const PositionFrame& frame : frames) {
    if (frame.receiptms > endms - kTrailWindowMs && frame.receiptms <= endms) {
      window.push_back(&frame);
    }
  }
  std::stable_sort(window.begin(), window.end(), [](const PositionFrame* a, const PositionFrame* b) {
    return a->receiptms < b->receiptms;
  });
  for (const PositionFrame* frame : window) {
    for (const PilotPosition& p : frame->pilots) {
      const auto found = bykey.find(p.key);
      if (found == bykey.end()) continue;
      Track& track = tracks[found->second];
      if (track.callsign != p.callsign || track.memberid != p.memberid) continue;
      if (track.lastframe == frame) continue;
      track.lastframe = frame;
      track.fixes.push_back({frame->receiptms, p.lat, p.lon});
    }
  }

  for (const Track& track : tracks) {
    if (track.fixes.size() < 2) continue;
    color(out, track.rim);
    drawtrack(out, track);
  }
  return layer;
}

}  // namespace netglobe
