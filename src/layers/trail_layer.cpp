#include "layers/trail_layer.h"

#include <algorithm>
#include <cmath>
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

constexpr double kKmPerNm = 1.852;

struct Fix {
  std::int64_t receiptms;
  const PilotPosition* at;
};

struct Track {
  std::string_view callsign;  // views into the pilot list's lines
  std::string_view memberid;
  Rgba rim;
  std::vector<Fix> fixes;
  const PositionFrame* lastframe = nullptr;  // one fix a frame, even if it lists the pilot twice
};

// Two globe points are as far apart on the globe as their chord says: the
// chord of kTrailBreakNm on the overlay shell stands for the distance, so
// the tens of thousands of fixes of a rebuild need no trigonometry. The
// points and dist() share the degree conversion, so both agree.
const double kBreakChord = 2 * kLayerRadius * std::sin(kTrailBreakNm * kKmPerNm / kEarthRadiusKm / 2);

bool joined(const Fix& a, const Fix& b) {
  if (b.receiptms - a.receiptms > kTrailBreakMs) return false;
  const GlobePoint& p = a.at->at;
  const GlobePoint& q = b.at->at;
  const double dx = p.x - q.x, dy = p.y - q.y, dz = p.z - q.z;
  return dx * dx + dy * dy + dz * dz <= kBreakChord * kBreakChord;
}

void drawtrack(DrawList& out, const Track& track) {
  const std::vector<Fix>& f = track.fixes;
  std::size_t start = 0;
  for (std::size_t i = 1; i <= f.size(); ++i) {
    if (i < f.size() && joined(f[i - 1], f[i])) continue;
    if (i - start >= 2) {
      out.begin(Prim::LineStrip);
      for (std::size_t k = start; k < i; ++k) out.vertex(f[k].at->at);
      out.end();
    }
    start = i;
  }
}

// The frames a trail ending at endms passes through, oldest first.
std::vector<const PositionFrame*> trailwindow(const std::vector<PositionFrame>& frames,
                                              std::int64_t endms) {
  std::vector<const PositionFrame*> window;
  for (const PositionFrame& frame : frames) {
    if (frame.receiptms > endms - kTrailWindowMs && frame.receiptms <= endms) {
      window.push_back(&frame);
    }
  }
  std::stable_sort(window.begin(), window.end(), [](const PositionFrame* a, const PositionFrame* b) {
    return a->receiptms < b->receiptms;
  });
  return window;
}

}  // namespace

void drawpilottrack(DrawList& out, const std::vector<PositionFrame>& frames, std::string_view callsign,
                    std::string_view memberid, std::int64_t endms) {
  Track track{callsign, memberid, {}, {}};
  const std::uint64_t key = pilotkey(callsign, memberid);
  const auto same = [&](const PilotPosition& p) {
    return p.key == key && p.callsign == callsign && p.memberid == memberid;
  };
  // A pilot keeps about its place in the status file from one refresh to
  // the next: the search starts where the frame before found it and widens
  // from there, so a busy network's frames are not read end to end.
  std::size_t hint = 0;
  for (const PositionFrame* frame : trailwindow(frames, endms)) {
    const std::vector<PilotPosition>& pilots = frame->pilots;
    const std::size_t n = pilots.size();
    for (std::size_t step = 0; step < 2 * n + 1; ++step) {
      // hint, hint + 1, hint - 1, hint + 2, ...: every index once.
      const std::size_t off = (step + 1) / 2;
      if (step % 2 == 1 ? hint + off >= n : off > hint) continue;
      const std::size_t i = step % 2 == 1 ? hint + off : hint - off;
      if (i >= n || !same(pilots[i])) continue;
      track.fixes.push_back({frame->receiptms, &pilots[i]});
      hint = i;
      break;  // one fix a frame
    }
  }
  drawtrack(out, track);
}

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

  for (const PositionFrame* frame : trailwindow(frames, endms)) {
    for (const PilotPosition& p : frame->pilots) {
      const auto found = bykey.find(p.key);
      if (found == bykey.end()) continue;
      Track& track = tracks[found->second];
      if (track.callsign != p.callsign || track.memberid != p.memberid) continue;
      if (track.lastframe == frame) continue;
      track.lastframe = frame;
      track.fixes.push_back({frame->receiptms, &p});
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
