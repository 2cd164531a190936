#include "render/outline_tessellator.h"

#include "geo/convex_cap.h"

#include <GL/glu.h>

#include <cmath>
#include <memory>

namespace netglobe {
namespace {

// A ring is laid flat along the direction of its points' mean; a point this
// close to the edge of that view (cosine of the angle) or beyond it would
// fold over and is refused.
constexpr double kFlatEnough = 0.05;

// Twice the area, in square model units, below which a flat triangle counts
// as none: far below a pixel at the closest zoom.
constexpr double kNoArea = 1e-12;

// Distinct rings kept at most: the FIR directory holds far fewer, so only a
// directory replaced again and again reaches it, and then it starts afresh.
constexpr std::size_t kMostRings = 20000;

struct Tessellation {
  std::vector<std::size_t> corners;  // three ring indices a triangle
  bool failed = false;
};

extern "C" {
using TessCallback = void(GLAPIENTRY*)();

void GLAPIENTRY onvertex(void* vertex, void* polygon) {
  static_cast<Tessellation*>(polygon)->corners.push_back(reinterpret_cast<std::size_t>(vertex));
}
// With an edge-flag callback the tessellator hands out separate triangles
// only, never fans or strips.
void GLAPIENTRY onedgeflag(GLboolean) {}
void GLAPIENTRY onerror(GLenum, void* polygon) { static_cast<Tessellation*>(polygon)->failed = true; }
}

GlobePoint cross(const GlobePoint& a, const GlobePoint& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double dot(const GlobePoint& a, const GlobePoint& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

struct TessDeleter {
  void operator()(GLUtesselator* tess) const { gluDeleteTess(tess); }
};

}  // namespace

std::optional<std::vector<GlobePoint>> filltriangles(std::span<const GlobePoint> ring) {
  GlobePoint sum;
  for (const GlobePoint& p : ring) {
    sum.x += p.x;
    sum.y += p.y;
    sum.z += p.z;
  }
  const double length = std::hypot(sum.x, sum.y, sum.z);
  if (ring.size() < 3) return std::vector<GlobePoint>{};
  if (!(length > 0)) return std::nullopt;
  const GlobePoint normal{sum.x / length, sum.y / length, sum.z / length};
  for (const GlobePoint& p : ring) {
    const double along = dot(p, normal);
    if (!(along > kFlatEnough * std::hypot(p.x, p.y, p.z))) return std::nullopt;
  }

  const std::unique_ptr<GLUtesselator, TessDeleter> tess(gluNewTess());
  if (!tess) return std::nullopt;
  gluTessCallback(tess.get(), GLU_TESS_VERTEX_DATA, reinterpret_cast<TessCallback>(&onvertex));
  gluTessCallback(tess.get(), GLU_TESS_EDGE_FLAG, reinterpret_cast<TessCallback>(&onedgeflag));
  gluTessCallback(tess.get(), GLU_TESS_ERROR_DATA, reinterpret_cast<TessCallback>(&onerror));
  // No combine callback: a ring that crosses itself would need new points,
  // and the tessellator reports it instead.
  gluTessProperty(tess.get(), GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
  // Laid flat by looking straight down on the ring from far above, as the
  // globe is seen with the ring in the middle of the view. (Left to itself
  // the tessellator drops one coordinate axis instead, an oblique view that
  // turns some thin triangles over.)
  gluTessNormal(tess.get(), 0, 0, 1);
  const GlobePoint east = std::abs(normal.z) < 0.9 ? cross({0, 0, 1}, normal) : cross({1, 0, 0}, normal);
  const double eastlength = std::hypot(east.x, east.y, east.z);
  const GlobePoint u{east.x / eastlength, east.y / eastlength, east.z / eastlength};
  const GlobePoint v = cross(normal, u);

  Tessellation t;
  std::vector<GLdouble> coords(ring.size() * 3);
  gluTessBeginPolygon(tess.get(), &t);
  gluTessBeginContour(tess.get());
  for (std::size_t i = 0; i < ring.size(); ++i) {
    coords[3 * i] = dot(ring[i], u);
    coords[3 * i + 1] = dot(ring[i], v);
    coords[3 * i + 2] = 0;
    gluTessVertex(tess.get(), &coords[3 * i], reinterpret_cast<void*>(i));
  }
  gluTessEndContour(tess.get());
  gluTessEndPolygon(tess.get());
  if (t.failed || t.corners.size() % 3 != 0) return std::nullopt;
  // A triangle of no area flat (three points of a straight border, which the
  // tessellator may join) has some area seen from elsewhere: on screen it
  // would blend a hairline once more over the fill. Only such are left out.
  std::vector<Corners> corners;
  for (std::size_t k = 0; k < t.corners.size(); k += 3) {
    const double* a = &coords[3 * t.corners[k]];
    const double* b = &coords[3 * t.corners[k + 1]];
    const double* c = &coords[3 * t.corners[k + 2]];
    const double twicearea = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
    if (std::abs(twicearea) > kNoArea) corners.push_back({t.corners[k], t.corners[k + 1], t.corners[k + 2]});
  }
  // The flat view suits one view only; seen from close by elsewhere, long
  // thin triangles of a large FIR would fold over one another.
  convexcap(ring, corners);
  std::vector<GlobePoint> triangles;
  triangles.reserve(corners.size() * 3);
  for (const Corners& c : corners) {
    for (const std::size_t k : c) triangles.push_back(ring[k]);
  }
  return triangles;
}

const FillTriangles::Triangles& FillTriangles::of(std::span<const GlobePoint> ring) {
  std::vector<float> key;
  key.reserve(ring.size() * 3);
  for (const GlobePoint& p : ring) {
    key.push_back(float(p.x));
    key.push_back(float(p.y));
    key.push_back(float(p.z));
  }
  auto found = made_.find(key);
  if (found != made_.end()) return found->second;
  if (made_.size() >= kMostRings) made_.clear();
  return made_.emplace(std::move(key), filltriangles(ring)).first->second;
}

}  // namespace netglobe
