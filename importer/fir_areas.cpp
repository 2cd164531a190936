#include "fir_areas.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include <boost/geometry/algorithms/correct.hpp>
#include <boost/geometry/algorithms/is_valid.hpp>
#include <boost/geometry/algorithms/union.hpp>
#include <boost/geometry/core/exception.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <boost/geometry/strategies/strategies.hpp>

namespace netglobe::importer {
namespace {

namespace bg = boost::geometry;
using Polygon = bg::model::polygon<LonLat, false>;  // counter-clockwise, closed
using Polygons = bg::model::multi_polygon<Polygon>;

double meanlon(const Ring& ring) {
  double sum = 0;
  for (const LonLat& p : ring) sum += p.x();
  return sum / static_cast<double>(ring.size());
}

Ring shifted(const Ring& ring, double dx) {
  Ring out;
  out.reserve(ring.size());
  for (const LonLat& p : ring) out.emplace_back(p.x() + dx, p.y());
  return out;
}

struct LonRange {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -std::numeric_limits<double>::infinity();
  void add(const Area& area) {
    for (const LonLat& p : area.outer) lo = std::min(lo, p.x()), hi = std::max(hi, p.x());
  }
};

template <typename BgRing>
void putring(const Ring& ring, BgRing& out) {
  out.assign(ring.begin(), ring.end());
  if (!ring.empty()) out.push_back(ring.front());
}

Polygon topolygon(const Area& area) {
  Polygon polygon;
  putring(area.outer, polygon.outer());
  for (const Ring& hole : area.holes) {
    polygon.inners().emplace_back();
    putring(hole, polygon.inners().back());
  }
  bg::correct(polygon);
  return polygon;
}

template <typename BgRing>
Ring openring(const BgRing& ring) {
  Ring out(ring.begin(), ring.end());
  if (out.size() > 1 && out.front().x() == out.back().x() && out.front().y() == out.back().y()) out.pop_back();
  return out;
}

// Area scaled by the cosine of the latitude: enough to order the parts of
// one FIR by size.
double truearea(const Ring& ring) {
  return std::abs(ringarea(ring)) * std::cos((ringcentroid(ring).y() * std::numbers::pi) / 180);
}

}  // namespace

std::vector<Area> continuousareas(const Area& area) {
  std::vector<Ring> rings{unwrap(area.outer)};
  for (const Ring& hole : area.holes) rings.push_back(unwrap(hole));
  const auto onpole = [](const Ring& r) {
    return std::all_of(r.begin(), r.end(), [](const LonLat& p) { return std::abs(p.y()) > 89.99; });
  };
  std::vector<Area> out;
  if (std::any_of(rings.begin(), rings.end(), aroundpole)) {
    for (const Ring& r : rings) {
      if (aroundpole(r) && !onpole(r)) out.push_back({closepolarring(r), {}});
    }
    return out;
  }
  Area whole{rings[0], {}};
  const double centre = meanlon(whole.outer);
  for (std::size_t i = 1; i < rings.size(); ++i) {
    const double turns = std::floor((centre - meanlon(rings[i])) / 360 + 0.5);
    whole.holes.push_back(turns != 0 ? shifted(rings[i], 360 * turns) : rings[i]);
  }
  out.push_back(std::move(whole));
  return out;
}

std::vector<Area> continuousframe(std::vector<Area> areas) {
  LonRange all, moved;
  std::vector<bool> west(areas.size());
  for (std::size_t i = 0; i < areas.size(); ++i) {
    LonRange one;
    one.add(areas[i]);
    west[i] = one.hi <= 0;
    all.add(areas[i]);
    moved.lo = std::min(moved.lo, west[i] ? one.lo + 360 : one.lo);
    moved.hi = std::max(moved.hi, west[i] ? one.hi + 360 : one.hi);
  }
  if (!(moved.hi - moved.lo < all.hi - all.lo - 1e-9)) return areas;
  for (std::size_t i = 0; i < areas.size(); ++i) {
    if (!west[i]) continue;
    areas[i].outer = shifted(areas[i].outer, 360);
    for (Ring& hole : areas[i].holes) hole = shifted(hole, 360);
  }
  return areas;
}

bool isvalidarea(const Area& area) { return bg::is_valid(topolygon(area)); }

std::optional<std::vector<Area>> joinareas(const std::vector<Area>& areas) {
  // Joined in pairs, so that each step joins sets of like size.
  std::vector<Polygons> sets;
  for (const Area& area : areas) sets.push_back(Polygons{topolygon(area)});
  try {
    while (sets.size() > 1) {
      std::vector<Polygons> next;
      for (std::size_t i = 0; i + 1 < sets.size(); i += 2) {
        next.emplace_back();
        bg::union_(sets[i], sets[i + 1], next.back());
      }
      if (sets.size() % 2) next.push_back(std::move(sets.back()));
      sets = std::move(next);
    }
  } catch (const bg::exception&) {
    return std::nullopt;
  }
  std::vector<Area> out;
  if (sets.empty()) return out;
  for (const Polygon& polygon : sets[0]) {
    Area area{canonicalring(openring(polygon.outer())), {}};
    if (area.outer.size() < 3) continue;
    for (const auto& hole : polygon.inners()) area.holes.push_back(openring(hole));
    out.push_back(std::move(area));
  }
  return out;
}

std::vector<Ring> outlinerings(const std::vector<Area>& areas, std::size_t maxpoints) {
  struct Part {
    Ring ring;
    double size;
  };
  std::vector<Part> parts;
  for (const Area& area : areas) {
    Ring ring = normalizering(closepolarring(area.outer));
    if (ring.size() >= 3) parts.push_back({ring, truearea(ring)});
  }
  std::stable_sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) {
    if (a.size != b.size) return a.size > b.size;
    if (a.ring[0].x() != b.ring[0].x()) return a.ring[0].x() < b.ring[0].x();
    return a.ring[0].y() < b.ring[0].y();
  });
  std::vector<Ring> out;
  for (const Part& part : parts) {
    // Points put back along a pole after simplification need room; a ring
    // that still does not fit is simplified further.
    std::size_t budget = maxpoints > 8 ? maxpoints - 4 : 4;
    Ring ring;
    for (;;) {
      ring = bridgesteps(roundring(fitring(part.ring, budget)));
      if (ring.size() <= maxpoints || budget <= 4) break;
      budget = std::max<std::size_t>(4, budget - (ring.size() - maxpoints));
    }
    if (ring.size() >= 3) out.push_back(std::move(ring));
  }
  return out;
}

}  // namespace netglobe::importer
