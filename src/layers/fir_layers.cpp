#include "layers/fir_layers.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <span>
#include <utility>
#include <vector>

#include "base/number_text.h"
#include "base/text_search.h"
#include "feed/client_lines.h"
#include "geo/globe_coords.h"
#include "layers/record_fields.h"
#include "layers/rgba.h"
#include "scene/pick_names.h"
#include "scene/scene_state.h"

namespace netglobe {

namespace {

constexpr const char* kOutlinesUnreadable = "fir1.dat cannot be read";

// The names one shape carries at most, well within the 64 GL's name stack
// holds at least. A FIR staffed more often is drawn again for the others,
// which blends it as much in all.
constexpr std::size_t kMaxNamesPerShape = 32;

// Chief points float just above the active FIRs.
constexpr double kChiefOffset = 0.00002;

void readoutline(std::span<const std::string> lines, double offset, FieldBuf& fieldbuf,
                 std::vector<GlobePoint>& points) {
  points.clear();
  for (const std::string& line : lines) {
    splitrecord(line, fieldbuf, 2);
    points.push_back(getxyz(leadingnumber(fieldbuf(1)), leadingnumber(fieldbuf(2)), offset));
  }
}

// Segments from each point to the next and from the first back to the last,
// into the open GL_LINES primitive.
void ringsegments(DrawList& out, const std::vector<GlobePoint>& points) {
  for (std::size_t j = 1; j < points.size(); ++j) {
    out.vertex(points[j - 1]);
    out.vertex(points[j]);
  }
  out.vertex(points.front());
  out.vertex(points.back());
}

// The translucent interior by the even-odd rule, blended once per pixel.
// Depth testing goes off with it, as the frame relies on.
void evenoddfill(DrawList& out, const std::vector<GlobePoint>& points, Rgba fill) {
  out.disable(Cap::DepthTest);
  color(out, fill);
  out.begin(Prim::EvenOddFill);
  for (const GlobePoint& p : points) out.vertex(p);
  out.end();
}

// The FIR of one colour kind and the pick names of every station staffing
// it, in drawing order.
struct StaffedFir {
  std::string fircode;
  bool fss = false;
  std::span<const std::string> outline;  // its lines in fir1.dat
  std::vector<std::uint32_t> names;
};

// The FIRs staffed by the centre and flight service stations, each once per
// colour kind, in the order of their first stations. Stops at a station
// whose files cannot be read, with what was found before it.
std::vector<StaffedFir> staffedfirs(const StatusLists& lists, const FirDirectory& firs,
                                    const OutlineDirectory& outlines, std::string& failure) {
  std::vector<StaffedFir> staffed;
  std::map<std::pair<std::string, bool>, std::size_t> byfir;
  FieldBuf fieldbuf;
  const int count = entrycount(lists.ctrlines, lists.ctrcount);
  for (int i = 1; i <= count; ++i) {
    const std::string& line = lists.ctrlines[i];
    const bool fss = containsnocase(line, "_FSS:");
    if (!fss && !containsnocase(line, "_CTR:")) continue;
    splitrecord(line, fieldbuf, 1);
    const std::string key(lookupkey(fieldbuf(1)));
    FirInfo fir = firs.getfirinfo(key, fieldbuf);
    if (!fir.readable) {
      failure = "firs.dat cannot be read";
      break;
    }
    if (fir.firfound == 0) continue;
    const OutlineLines outline = outlines.outline(fir.fircode);
    if (!outline.readable) {
      failure = kOutlinesUnreadable;
      break;
    }
    // An outline of more than 500 points, or of none: only this station
    // goes without its FIR, the later ones are still drawn.
    if (outline.points.empty() || outline.points.size() > kMaxOutlinePoints) continue;
    const auto [at, added] = byfir.try_emplace({fir.fircode, fss}, staffed.size());
    if (added) staffed.push_back({std::move(fir.fircode), fss, outline.points, {}});
    staffed[at->second].names.push_back(pickname(PickKind::ActiveFir, i));
  }
  return staffed;
}

// One FIR's outline and, when filled, its interior as blended by as many
// stations: k blends of one colour at alpha a leave what one blend at
// 1 - (1 - a)^k leaves, so the pixels are blended once.
void drawstaffed(DrawList& out, const std::vector<GlobePoint>& points, bool fss, bool filled,
                 std::size_t stations) {
  if (fss) {
    out.color(0, 0.5f, 0.75f);
  } else {
    out.color(1, 0, 0.5f);
  }
  out.begin(Prim::Lines);
  ringsegments(out, points);
  out.end();
  // Fewer than three points enclose nothing to fill.
  if (!filled || points.size() < 3) return;
  Rgba fill = fss ? Rgba{0, 0.2f, 0.3f, 0.7f} : Rgba{1, 0, 0.5f, 0.2f};
  fill.a = static_cast<float>(1 - std::pow(1 - double(fill.a), double(stations)));
  evenoddfill(out, points, fill);
}

}  // namespace

Layer drawactfir(const StatusLists& lists, const FirDirectory& firs,
                 const OutlineDirectory& outlines, int actfirmode) {
  Layer layer{kActFirList};
  const std::vector<StaffedFir> staffed = staffedfirs(lists, firs, outlines, layer.failure);
  DrawList& out = layer.ops;
  FieldBuf fieldbuf;
  std::vector<GlobePoint> points;
  for (const StaffedFir& fir : staffed) {
    readoutline(fir.outline, kActFirOffset, fieldbuf, points);
    const std::span<const std::uint32_t> names(fir.names);
    for (std::size_t first = 0; first < names.size(); first += kMaxNamesPerShape) {
      const auto some = names.subspan(first, std::min(kMaxNamesPerShape, names.size() - first));
      out.loadname(some.front());
      for (const std::uint32_t name : some.subspan(1)) out.pushname(name);
      drawstaffed(out, points, fir.fss, actfirmode == 1, some.size());
      for (std::size_t n = 1; n < some.size(); ++n) out.popname();
    }
  }
  return layer;
}

Layer drawchiefs(const std::string& statuspath, const OutlineDirectory& outlines) {
  return drawchiefs(LineReader(statuspath), outlines);
}

Layer drawchiefs(LineReader copy, const OutlineDirectory& outlines) {
  Layer layer{kChiefList};
  DrawList& out = layer.ops;
  out.color(1, 1, 1);
  out.loadname(0);
  // The same client lines the parse reads, past a client marker on line 8.
  ClientLines file(std::move(copy));
  if (!file.isopen()) {
    layer.failure = "whazzup.txt cannot be read";
    return layer;
  }
  std::string curline;
  FieldBuf fieldbuf;
  std::vector<GlobePoint> points;
  bool begun = false;
  while (file.next(curline)) {
    if (!containsnocase(curline, "-CH:") && !containsnocase(curline, "-ACH:")) continue;
    if (!begun) {
      out.begin(Prim::Lines);
      begun = true;
    }
    const OutlineLines outline = outlines.outline(lookupkey(curline));
    if (!outline.readable) {
      layer.failure = kOutlinesUnreadable;
      break;
    }
    if (outline.points.empty()) continue;  // a block without points draws nothing
    readoutline(outline.points, kChiefOffset, fieldbuf, points);
    ringsegments(out, points);
  }
  if (begun) out.end();
  return layer;
}

}  // namespace netglobe
