#include "geo/convex_cap.h"

#include <algorithm>
#include <utility>

namespace netglobe {
namespace {

// Passes at most: a cap of 500 points settles in a few
// passes; the limits only keep rounding from making it go on for ever.
constexpr int kMostPasses = 64;
// A far corner this little outside the plane (in cubic model units) counts
// as on it: rounding, not a fold.
constexpr double kOnPlane = 1e-15;

GlobePoint minus(const GlobePoint& a, const GlobePoint& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

GlobePoint cross(const GlobePoint& a, const GlobePoint& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double dot(const GlobePoint& a, const GlobePoint& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Positive when a, b, c run anticlockwise seen from outside the globe.
double turn(const GlobePoint& a, const GlobePoint& b, const GlobePoint& c) {
  const GlobePoint middle{a.x + b.x + c.x, a.y + b.y + c.y, a.z + b.z + c.z};
  return dot(cross(minus(b, a), minus(c, a)), middle);
}

}  // namespace

void convexcap(std::span<const GlobePoint> points, std::vector<Corners>& triangles) {
  for (Corners& t : triangles) {
    if (turn(points[t[0]], points[t[1]], points[t[2]]) < 0) std::swap(t[1], t[2]);
  }
  struct Side {
    std::size_t low, high;  // the edge's corners, lower index first
    std::size_t triangle;
    int facing;  // the triangle's corner opposite the edge
    bool operator<(const Side& o) const { return low != o.low ? low < o.low : high < o.high; }
  };
  std::vector<Side> sides;
  for (int pass = 0; pass < kMostPasses; ++pass) {
    // Every edge of every triangle, sorted so that the two sides of a
    // shared edge stand together.
    sides.clear();
    for (std::size_t i = 0; i < triangles.size(); ++i) {
      for (int k = 0; k < 3; ++k) {
        const std::size_t a = triangles[i][std::size_t(k + 1) % 3], b = triangles[i][std::size_t(k + 2) % 3];
        sides.push_back({std::min(a, b), std::max(a, b), i, k});
      }
    }
    std::sort(sides.begin(), sides.end());
    std::vector<bool> changed(triangles.size(), false);
    bool flipped = false;
    for (std::size_t s = 0; s + 1 < sides.size(); ++s) {
      const Side& one = sides[s];
      const Side& other = sides[s + 1];
      if (one.low != other.low || one.high != other.high) continue;
      if (s + 2 < sides.size() && sides[s + 2].low == one.low && sides[s + 2].high == one.high) continue;
      if (s > 0 && sides[s - 1].low == one.low && sides[s - 1].high == one.high) continue;
      const std::size_t i = one.triangle, j = other.triangle;
      const int ki = one.facing, kj = other.facing;
      if (changed[i] || changed[j]) continue;
      // Triangle i is a, b, c and triangle j is b, a, d, both anticlockwise.
      const std::size_t c = triangles[i][std::size_t(ki)], d = triangles[j][std::size_t(kj)];
      const std::size_t a = triangles[i][std::size_t(ki + 1) % 3], b = triangles[i][std::size_t(ki + 2) % 3];
      if (triangles[j][std::size_t(kj + 1) % 3] != b) continue;  // the same edge run the same way: no quad
      const GlobePoint &pa = points[a], &pb = points[b], &pc = points[c], &pd = points[d];
      if (dot(minus(pd, pa), cross(minus(pb, pa), minus(pc, pa))) <= kOnPlane) continue;
      // The other diagonal, c-d, only where it lies inside the quad.
      if (turn(pa, pd, pc) <= 0 || turn(pd, pb, pc) <= 0) continue;
      triangles[i] = {a, d, c};
      triangles[j] = {d, b, c};
      changed[i] = changed[j] = true;
      flipped = true;
    }
    if (!flipped) return;
  }
}

}  // namespace netglobe
