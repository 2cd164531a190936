#include "geo/convex_cap.h"

#include <algorithm>
#include <map>
#include <utility>

namespace netglobe {
namespace {

// Flips per pass and passes at most: a cap of 500 points settles in a few
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
  for (int pass = 0; pass < kMostPasses; ++pass) {
    // Each edge with the triangles that have it, and which corner it faces.
    std::map<std::pair<std::size_t, std::size_t>, std::vector<std::pair<std::size_t, int>>> edges;
    for (std::size_t i = 0; i < triangles.size(); ++i) {
      for (int k = 0; k < 3; ++k) {
        const std::size_t a = triangles[i][std::size_t(k + 1) % 3], b = triangles[i][std::size_t(k + 2) % 3];
        edges[{std::min(a, b), std::max(a, b)}].push_back({i, k});
      }
    }
    std::vector<bool> changed(triangles.size(), false);
    bool flipped = false;
    for (const auto& [edge, sides] : edges) {
      if (sides.size() != 2) continue;
      const auto [i, ki] = sides[0];
      const auto [j, kj] = sides[1];
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
