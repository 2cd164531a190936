#pragma once

// The areas of one FIR on their way to outline blocks: made continuous in
// longitude, put into one longitude range, joined into one set of areas, and
// reduced to outline rings.

#include <cstddef>
#include <optional>
#include <vector>

#include "ring_geometry.h"

namespace netglobe::importer {

// One polygon: an outer ring and its holes, open rings in any orientation.
struct Area {
  Ring outer;
  std::vector<Ring> holes;
};

// An area with every ring continuous in longitude. A ring that goes around a
// pole bounds land on its own: it is closed along the pole and becomes an
// area of its own, whatever its role was, unless it lies wholly on the pole.
// Holes are moved into the outer ring's longitude range.
std::vector<Area> continuousareas(const Area& area);

// Areas cut at the 180th meridian back in one continuous longitude range:
// the wholly western ones are moved by 360 degrees when that makes the set
// narrower.
std::vector<Area> continuousframe(std::vector<Area> areas);

// True when the area is a valid polygon in the plane (rings that do not
// cross, holes inside), after its orientation is put right.
bool isvalidarea(const Area& area);

// The union of valid areas, holes kept, outer rings in canonical form; none
// when the geometry library cannot join them.
std::optional<std::vector<Area>> joinareas(const std::vector<Area>& areas);

// One FIR's outline rings, largest first: outer rings only (a block has no
// holes), continuous in longitude, at most maxpoints points each, rounded as
// written; rings that rounding leaves with fewer than 3 points are left out.
std::vector<Ring> outlinerings(const std::vector<Area>& areas, std::size_t maxpoints);

}  // namespace netglobe::importer
