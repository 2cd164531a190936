#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "geo/globe_coords.h"

namespace netglobe {

// Triangles, three points each, that cover what the even-odd rule fills of a
// closed ring of points on the globe, made with GLU's tessellator (no GL
// context needed). They use the ring's own points, so their edges along the
// outline are the outline's segments. Empty for a ring that encloses
// nothing. No value when the tessellator refuses the ring: it crosses itself,
// or it reaches so far around the globe that it cannot be laid flat; such a
// ring is filled through the stencil buffer instead.
std::optional<std::vector<GlobePoint>> filltriangles(std::span<const GlobePoint> ring);

// The triangles of every ring asked for, each ring tessellated once. Rings
// are told apart by their points as the display lists hold them (floats).
class FillTriangles {
 public:
  using Triangles = std::optional<std::vector<GlobePoint>>;
  const Triangles& of(std::span<const GlobePoint> ring);
  std::size_t size() const { return made_.size(); }

 private:
  std::map<std::vector<float>, Triangles> made_;
};

}  // namespace netglobe
