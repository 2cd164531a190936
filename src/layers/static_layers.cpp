#include "layers/static_layers.h"

#include <optional>

#include "geo/globe_coords.h"
#include "base/fields.h"
#include "base/number_text.h"
#include "scene/scene_state.h"

namespace netglobe {

namespace {

// A "latitude:longitude" line as a point on the overlay shell; false for a
// line without a colon, which ends the layer being read.
bool coordpoint(const std::string& curline, FieldBuf& fieldbuf, GlobePoint& point) {
  if (!getfields2(curline, fieldbuf)) return false;
  point = getxyz(leadingnumber(fieldbuf(1)), leadingnumber(fieldbuf(2)), 0);
  return true;
}

}  // namespace

Layer drawgrade() {
  Layer layer{kGradeList, {}, 1.0f};
  DrawList& out = layer.ops;
  out.begin(Prim::Lines);
  out.color(0.3f, 0.3f, 0.3f);
  for (int m = 0; m <= 360; m += 10) {
    for (int a = -90; a < 90; a += 3) {
      out.vertex(getxyz(a, m, 0));
      out.vertex(getxyz(a + 3, m, 0));
    }
  }
  out.color(0.4f, 0.4f, 0.4f);
  for (int p = 0; p <= 360; p += 10) {
    for (int b = 0; b < 180; b += 3) {
      out.vertex(getxyz(p, b, 0));
      out.vertex(getxyz(p, b + 3, 0));
    }
  }
  out.end();
  return layer;
}

Layer drawcoast(const std::string& path) { return drawcoast(LineReader(path)); }

Layer drawcoast(LineReader file) {
  Layer layer{kCoastList, {}};
  if (!file.isopen()) return layer;
  DrawList& out = layer.ops;
  out.begin(Prim::Lines);
  out.color(0.8f, 0.8f, 0.0f);
  FieldBuf fieldbuf;
  std::string curline;
  GlobePoint prev;
  GlobePoint cur;
  if (file.next(curline) && coordpoint(curline, fieldbuf, prev)) {
    bool newrun = false;
    bool reading = true;
    while (reading && file.next(curline)) {
      while (reading && curline == "end") {
        reading = file.next(curline);
        newrun = true;
      }
      if (!reading || !coordpoint(curline, fieldbuf, cur)) break;
      // The first point of a new coastline joins nothing before it.
      if (newrun) {
        prev = cur;
        newrun = false;
      }
      out.vertex(prev);
      out.vertex(cur);
      prev = cur;
    }
  }
  out.end();
  return layer;
}

Layer drawfirs(const std::string& path) { return drawfirs(LineReader(path)); }

Layer drawfirs(LineReader file) {
  Layer layer{kFirList, {}};
  std::string curline;
  if (!file.next(curline)) return layer;  // the first block's header, or nothing to read
  DrawList& out = layer.ops;
  FieldBuf fieldbuf;
  GlobePoint point;
  bool more = true;
  while (more) {
    // A closed strip rather than a line loop: the picking pass of the
    // software renderer crashes on line loops, and the picture is the same.
    out.begin(Prim::LineStrip);
    out.color(0.1f, 0.5f, 0.0f);
    std::optional<GlobePoint> first;
    for (;;) {
      if (!file.next(curline) || curline.starts_with("!!")) {
        more = false;
        break;
      }
      if (curline.starts_with('!')) break;
      if (!coordpoint(curline, fieldbuf, point)) {
        more = false;
        break;
      }
      out.vertex(point);
      if (!first) first = point;
    }
    if (first) out.vertex(*first);
    out.end();
    // The line after a block's end is passed over: the next block's header
    // when blocks are closed by a line of their own.
    if (more) more = file.next(curline);
  }
  return layer;
}

}  // namespace netglobe
