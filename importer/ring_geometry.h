#pragma once

// Plane geometry on longitude/latitude pairs in degrees, as the FIR outlines
// need it. Rings are open: the first point is not repeated at the end.

#include <cstddef>
#include <vector>

#include <boost/geometry/geometries/point_xy.hpp>

namespace netglobe::importer {

using LonLat = boost::geometry::model::d2::point_xy<double>;  // x longitude, y latitude
using Ring = std::vector<LonLat>;

// Signed shoelace area in square degrees, counter-clockwise positive.
double ringarea(const Ring& ring);

// Area centroid; the mean of the points for a ring of no area.
LonLat ringcentroid(const Ring& ring);

// A point inside the ring for a label: the centroid where it lies inside,
// else the middle of the widest inside span near the centroid's parallel.
LonLat interiorpoint(const Ring& ring);

// Shifts longitudes so that no step between neighbours exceeds 180 degrees:
// a ring that crosses the 180th meridian continues past it.
Ring unwrap(const Ring& ring);

// True for a ring that, unwrapped, goes once around a pole.
bool aroundpole(const Ring& unwrapped);

// A ring around a pole, started at its most polar point and closed through
// the pole itself; any other ring comes back unwrapped.
Ring closepolarring(const Ring& ring);

// Inserts points into steps (the closing one too) of over 120 degrees of
// longitude, so that no step reaches 180.
Ring bridgesteps(const Ring& ring);

// The ring shifted by a multiple of 360 degrees so that its centroid's
// longitude lies in [-180, 180).
Ring normalizering(const Ring& ring);

// Douglas-Peucker with a tolerance that grows until at most maxpoints remain.
Ring fitring(const Ring& ring, std::size_t maxpoints);

// A coordinate rounded as the data files write it (4 decimals).
double writtenvalue(double value);

// Points rounded as written, without the repeats that rounding makes.
Ring roundring(const Ring& ring);

// Rotated to start at its lowest longitude (then latitude), counter-clockwise,
// without points that lie on the straight line between their neighbours: one
// form for any ring that traces the same outline.
Ring canonicalring(Ring ring);

}  // namespace netglobe::importer
