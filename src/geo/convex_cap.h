#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "geo/globe_coords.h"

namespace netglobe {

// A triangle of points on the globe by their indices.
using Corners = std::array<std::size_t, 3>;

// Turns the triangles that cover an area of the globe, with their corners
// on the globe, into ones that cover the same area and meet only at convex
// edges: each edge that two of them share is flipped to the quad's other
// diagonal while the far corner of one lies outside the plane of the other
// (the Delaunay rule on a sphere). Flat pieces of a convex surface never
// fold over one another seen from outside, where long thin ones can. The
// outline's own edges, which only one triangle has, stay. Every triangle
// comes out anticlockwise seen from outside.
void convexcap(std::span<const GlobePoint> points, std::vector<Corners>& triangles);

}  // namespace netglobe
