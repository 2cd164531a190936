#include "layers/fir_layers.h"

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

}  // namespace

Layer drawactfir(const StatusLists& lists, const FirDirectory& firs,
                 const OutlineDirectory& outlines, int actfirmode) {
  Layer layer{kActFirList};
  DrawList& out = layer.ops;
  FieldBuf fieldbuf;
  std::vector<GlobePoint> points;
  const int count = entrycount(lists.ctrlines, lists.ctrcount);
  for (int i = 1; i <= count; ++i) {
    const std::string& line = lists.ctrlines[i];
    const bool fss = containsnocase(line, "_FSS:");
    if (!fss && !containsnocase(line, "_CTR:")) continue;
    out.loadname(pickname(PickKind::ActiveFir, i));
    splitrecord(line, fieldbuf, 1);
    const std::string key(lookupkey(fieldbuf(1)));
    const FirInfo fir = firs.getfirinfo(key, fieldbuf);
    if (!fir.readable) {
      layer.failure = "firs.dat cannot be read";
      break;
    }
    if (fir.firfound == 0) continue;
    const OutlineLines outline = outlines.outline(fir.fircode);
    if (!outline.readable) {
      layer.failure = kOutlinesUnreadable;
      break;
    }
    // An outline of more than 500 points, or of none: only this station
    // goes without its FIR, the later ones are still drawn.
    if (outline.points.empty() || outline.points.size() > kMaxOutlinePoints) continue;
    readoutline(outline.points, kActFirOffset, fieldbuf, points);
    if (fss) {
      out.color(0, 0.5f, 0.75f);
    } else {
      out.color(1, 0, 0.5f);
    }
    out.begin(Prim::Lines);
    ringsegments(out, points);
    out.end();
    // Fewer than three points enclose nothing to fill.
    if (actfirmode == 1 && points.size() >= 3) {
      evenoddfill(out, points, fss ? Rgba{0, 0.2f, 0.3f, 0.7f} : Rgba{1, 0, 0.5f, 0.2f});
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
