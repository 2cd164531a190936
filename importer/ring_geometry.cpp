#include "ring_geometry.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include <boost/geometry/algorithms/simplify.hpp>
#include <boost/multiprecision/cpp_int.hpp>
#include <boost/geometry/geometries/linestring.hpp>
#include <boost/geometry/strategies/strategies.hpp>

namespace netglobe::importer {
namespace {

using Line = boost::geometry::model::linestring<LonLat>;

double x(const LonLat& p) { return p.x(); }
double y(const LonLat& p) { return p.y(); }

// Rounds half up, as the files' writer always has (-2.5 becomes -2).
double roundhalfup(double v) {
  const double down = std::floor(v);
  return v - down >= 0.5 ? down + 1 : down;
}

// A double as a whole number times a power of two, both exact.
struct Binary {
  std::int64_t mantissa;
  int exponent;
};

Binary binary(double v) {
  int e = 0;
  const double m = std::frexp(v, &e);
  return {static_cast<std::int64_t>(std::ldexp(m, 53)), e - 53};
}

// The exact sign of the turn a -> b -> c in whole numbers, for the cases
// that the estimate in doubles cannot decide.
int exactturn(const LonLat& a, const LonLat& b, const LonLat& c) {
  using boost::multiprecision::cpp_int;
  const Binary v[6] = {binary(x(a)), binary(y(a)), binary(x(b)), binary(y(b)), binary(x(c)), binary(y(c))};
  int low = v[0].exponent;
  for (const Binary& b : v) low = std::min(low, b.exponent);
  cpp_int n[6];
  for (int i = 0; i < 6; ++i) n[i] = cpp_int(v[i].mantissa) << (v[i].exponent - low);
  const cpp_int det = (n[0] - n[4]) * (n[3] - n[5]) - (n[1] - n[5]) * (n[2] - n[4]);
  return det.sign();
}

// The sign of the turn a -> b -> c: 1 to the left, -1 to the right, 0 when
// the three points lie exactly on one line.
int turn(const LonLat& a, const LonLat& b, const LonLat& c) {
  const double left = (x(a) - x(c)) * (y(b) - y(c));
  const double right = (y(a) - y(c)) * (x(b) - x(c));
  const double det = left - right;
  // The error bound of this estimate (Shewchuk's ccwerrboundA).
  const double bound = (3.0 + 16.0 * DBL_EPSILON / 2) * (DBL_EPSILON / 2) * (std::abs(left) + std::abs(right));
  if (det > bound || -det > bound) return det > 0 ? 1 : -1;
  return exactturn(a, b, c);
}

bool inring(const LonLat& p, const Ring& ring) {
  bool inside = false;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    const double xi = x(ring[i]), yi = y(ring[i]), xj = x(ring[j]), yj = y(ring[j]);
    if ((yi > y(p)) != (yj > y(p)) && x(p) < ((xj - xi) * (y(p) - yi)) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

// Douglas-Peucker on a closed ring: cut at its first point and at the point
// farthest from it, both halves simplified.
Ring simplifyring(const Ring& ring, double tolerance) {
  if (ring.size() <= 4) return ring;
  std::size_t far = 0;
  double maxd = -1;
  for (std::size_t i = 1; i < ring.size(); ++i) {
    const double d = std::hypot(x(ring[i]) - x(ring[0]), y(ring[i]) - y(ring[0]));
    if (d > maxd) {
      maxd = d;
      far = i;
    }
  }
  Line first(ring.begin(), ring.begin() + static_cast<std::ptrdiff_t>(far) + 1);
  Line second(ring.begin() + static_cast<std::ptrdiff_t>(far), ring.end());
  second.push_back(ring[0]);
  Line a, b;
  boost::geometry::simplify(first, a, tolerance);
  boost::geometry::simplify(second, b, tolerance);
  Ring out(a.begin(), a.end());
  if (b.size() > 2) out.insert(out.end(), b.begin() + 1, b.end() - 1);
  return out;
}

}  // namespace

double ringarea(const Ring& ring) {
  double sum = 0;
  for (std::size_t i = 0, n = ring.size(); i < n; ++i) {
    const LonLat& p = ring[i];
    const LonLat& q = ring[(i + 1) % n];
    sum += x(p) * y(q) - x(q) * y(p);
  }
  return sum / 2;
}

LonLat ringcentroid(const Ring& ring) {
  const std::size_t n = ring.size();
  if (n == 0) return {0, 0};
  // Relative to the first point, so that rings far from the origin (or past
  // 180 degrees) keep their precision.
  const double ox = x(ring[0]), oy = y(ring[0]);
  double a = 0, cx = 0, cy = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double x1 = x(ring[i]) - ox, y1 = y(ring[i]) - oy;
    const double x2 = x(ring[(i + 1) % n]) - ox, y2 = y(ring[(i + 1) % n]) - oy;
    const double f = x1 * y2 - x2 * y1;
    a += f;
    cx += (x1 + x2) * f;
    cy += (y1 + y2) * f;
  }
  if (std::abs(a) < 1e-12) {
    double sx = 0, sy = 0;
    for (const LonLat& p : ring) sx += x(p), sy += y(p);
    return {sx / static_cast<double>(n), sy / static_cast<double>(n)};
  }
  return {ox + cx / (3 * a), oy + cy / (3 * a)};
}

LonLat interiorpoint(const Ring& ring) {
  const LonLat c = ringcentroid(ring);
  if (ring.empty() || inring(c, ring)) return c;
  for (const double dy : {0.0, 0.25, -0.25, 0.5, -0.5, 1.0, -1.0, 2.0, -2.0}) {
    const double py = y(c) + dy;
    std::vector<double> xs;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
      const double xi = x(ring[i]), yi = y(ring[i]), xj = x(ring[j]), yj = y(ring[j]);
      if ((yi > py) != (yj > py)) xs.push_back(((xj - xi) * (py - yi)) / (yj - yi) + xi);
    }
    std::sort(xs.begin(), xs.end());
    const double* best = nullptr;
    for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
      if (!best || xs[k + 1] - xs[k] > best[1] - best[0]) best = &xs[k];
    }
    if (best) return {(best[0] + best[1]) / 2, py};
  }
  return ring[0];
}

Ring unwrap(const Ring& ring) {
  Ring out;
  out.reserve(ring.size());
  for (const LonLat& p : ring) {
    double lon = x(p);
    if (!out.empty()) {
      const double prev = x(out.back());
      // Whole turns first, so that a ring winding many times costs no time.
      if (std::abs(lon - prev) > 3600) lon -= 360 * std::round((lon - prev) / 360);
      while (lon - prev > 180) lon -= 360;
      while (lon - prev < -180) lon += 360;
    }
    out.emplace_back(lon, y(p));
  }
  return out;
}

bool aroundpole(const Ring& unwrapped) {
  return !unwrapped.empty() && std::abs(x(unwrapped.back()) - x(unwrapped.front())) > 180;
}

Ring closepolarring(const Ring& ring) {
  Ring r = unwrap(ring);
  if (!aroundpole(r)) return r;
  double sum = 0;
  for (const LonLat& p : r) sum += y(p);
  const bool south = sum < 0;
  std::size_t k = 0;
  for (std::size_t i = 1; i < r.size(); ++i) {
    if (south ? y(r[i]) < y(r[k]) : y(r[i]) > y(r[k])) k = i;
  }
  std::rotate(r.begin(), r.begin() + static_cast<std::ptrdiff_t>(k), r.end());
  r = unwrap(r);
  const double pole = south ? -90 : 90;
  const LonLat first = r.front(), last = r.back();
  if (y(last) != pole) r.emplace_back(x(last), pole);
  if (y(first) != pole) r.emplace_back(x(first), pole);
  return bridgesteps(r);
}

Ring bridgesteps(const Ring& ring) {
  Ring out;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const LonLat& a = ring[i];
    const LonLat& b = ring[(i + 1) % ring.size()];
    out.push_back(a);
    const double n = std::ceil(std::abs(x(b) - x(a)) / 120);
    for (double s = 1; s < n; ++s) {
      out.emplace_back(x(a) + ((x(b) - x(a)) * s) / n, y(a) + ((y(b) - y(a)) * s) / n);
    }
  }
  return out;
}

Ring normalizering(const Ring& ring) {
  const double shift = -360 * std::floor((x(ringcentroid(ring)) + 180) / 360);
  if (shift == 0) return ring;
  Ring out;
  out.reserve(ring.size());
  for (const LonLat& p : ring) out.emplace_back(x(p) + shift, y(p));
  return out;
}

Ring fitring(const Ring& ring, std::size_t maxpoints) {
  Ring r = ring;
  double tolerance = 0.005;
  while (r.size() > maxpoints) {
    r = simplifyring(ring, tolerance);
    tolerance *= 1.25;
  }
  return r;
}

double writtenvalue(double value) { return roundhalfup(value * 1e4) / 1e4 + 0.0; }

Ring roundring(const Ring& ring) {
  Ring out;
  for (const LonLat& p : ring) {
    const LonLat q(writtenvalue(x(p)), writtenvalue(y(p)));
    if (out.empty() || x(out.back()) != x(q) || y(out.back()) != y(q)) out.push_back(q);
  }
  while (out.size() > 1 && x(out.front()) == x(out.back()) && y(out.front()) == y(out.back())) {
    out.pop_back();
  }
  return out;
}

Ring canonicalring(Ring ring) {
  if (ring.size() < 3) return ring;
  const auto lowest = std::min_element(ring.begin(), ring.end(), [](const LonLat& a, const LonLat& b) {
    return x(a) < x(b) || (x(a) == x(b) && y(a) < y(b));
  });
  std::rotate(ring.begin(), lowest, ring.end());
  if (ringarea(ring) < 0) std::reverse(ring.begin() + 1, ring.end());
  Ring out{ring[0]};
  for (std::size_t i = 1; i < ring.size(); ++i) {
    if (turn(out.back(), ring[i], ring[(i + 1) % ring.size()]) != 0) out.push_back(ring[i]);
  }
  return out;
}

}  // namespace netglobe::importer
