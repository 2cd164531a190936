#include "fuzz_checks.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "geo/globe_coords.h"
#include "scene/scene_state.h"

namespace netglobe::fuzz {

void fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
  std::abort();
}

std::vector<std::string_view> parts(std::string_view input, std::size_t count) {
  constexpr std::string_view kSeparator = "\n====\n";
  std::vector<std::string_view> out;
  while (out.size() + 1 < count) {
    const std::size_t at = input.find(kSeparator);
    if (at == std::string_view::npos) break;
    out.push_back(input.substr(0, at + 1));
    input.remove_prefix(at + kSeparator.size());
  }
  out.push_back(input);
  out.resize(count);
  return out;
}

namespace {

// Layers float at most this far above the overlay shell (the chief outlines).
constexpr double kHighestOffset = 0.00002;
// A float's rounding of a point on the shell.
constexpr double kShellSlack = 1e-5;

bool onshell(const DrawOp& op) {
  const GlobePoint p = op.point();
  const double r = std::hypot(p.x, p.y, p.z);
  return r >= kLayerRadius - kShellSlack && r <= kLayerRadius + kHighestOffset + kShellSlack;
}

bool wholeprimitive(Prim prim, std::size_t vertices) {
  switch (prim) {
    case Prim::Lines: return vertices % 2 == 0;
    case Prim::Triangles: return vertices % 3 == 0;
    case Prim::TriangleFan: return vertices == 0 || vertices >= 3;
    case Prim::EvenOddFill: return vertices >= 3;
    default: return true;
  }
}

}  // namespace

// Names the list and the command a broken property was found at.
#define LAYER_CHECK(cond) ((cond) ? (void)0 : layerfail(#cond, __LINE__, list, at))

namespace {

[[noreturn]] void layerfail(const char* what, int line, int list, std::size_t at) {
  std::fprintf(stderr, "list %d, command %zu: ", list, at);
  fail(what, __FILE__, line);
}

}  // namespace

void checklayer(const Layer& layer, int list) {
  using K = DrawOp::Kind;
  std::size_t at = 0;
  LAYER_CHECK(layer.list == list);
  bool inside = false;
  bool rasterset = false;
  Prim prim = Prim::Points;
  std::size_t vertices = 0;
  std::size_t pushed = 0;
  // The renderer draws label layers as text alone.
  const bool text = list >= kCtrLabelList && list <= kPilotLabelList;
  const std::vector<DrawOp>& ops = layer.ops.ops();
  for (; at < ops.size(); ++at) {
    const DrawOp& op = ops[at];
    LAYER_CHECK(op.finite());
    LAYER_CHECK(!text || op.kind == K::Color || op.kind == K::RasterPos || op.kind == K::Glyph);
    switch (op.kind) {
      case K::Begin:
        LAYER_CHECK(!inside);
        inside = true;
        prim = op.prim();
        vertices = 0;
        break;
      case K::End:
        LAYER_CHECK(inside);
        LAYER_CHECK(wholeprimitive(prim, vertices));
        inside = false;
        break;
      case K::Vertex:
        LAYER_CHECK(inside);
        LAYER_CHECK(onshell(op));
        ++vertices;
        break;
      case K::Color:
      case K::LineWidth:
        break;
      case K::RasterPos:
        LAYER_CHECK(!inside);
        LAYER_CHECK(onshell(op));
        rasterset = true;
        break;
      case K::Glyph:
        LAYER_CHECK(!inside);
        LAYER_CHECK(rasterset);
        LAYER_CHECK(op.glyph() < kGlyphCount);
        break;
      case K::PushName:
        LAYER_CHECK(!inside);
        ++pushed;
        break;
      case K::PopName:
        LAYER_CHECK(!inside);
        LAYER_CHECK(pushed > 0);
        --pushed;
        break;
      default:
        LAYER_CHECK(!inside);
        break;
    }
  }
  LAYER_CHECK(!inside);
  // The frame's own name is below whatever a layer pushes: none may stay.
  LAYER_CHECK(pushed == 0);
}

#undef LAYER_CHECK

std::vector<std::uint32_t> loadednames(const DrawList& ops) {
  std::vector<std::uint32_t> names;
  for (const DrawOp& op : ops.ops()) {
    if (op.kind == DrawOp::Kind::LoadName || op.kind == DrawOp::Kind::PushName) names.push_back(op.name());
  }
  return names;
}

bool samefields(const FieldBuf& a, const FieldBuf& b) {
  for (int n = 1; n <= FieldBuf::kPositions; ++n) {
    if (a(n) != b(n)) return false;
  }
  return true;
}

}  // namespace netglobe::fuzz
