// Plane geometry on (longitude, latitude) pairs in degrees, as the outline
// generators need it. Points are [lon, lat] arrays (GeoJSON order); rings are
// open (the first point is not repeated at the end) unless a function says
// otherwise.

// Signed shoelace area in square degrees (counter-clockwise positive).
export function ringarea(ring) {
  let sum = 0;
  for (let i = 0, n = ring.length; i < n; i++) {
    const [x1, y1] = ring[i];
    const [x2, y2] = ring[(i + 1) % n];
    sum += x1 * y2 - x2 * y1;
  }
  return sum / 2;
}

// Area centroid of a ring; falls back to the vertex mean for a ring of no area.
export function ringcentroid(ring) {
  let a = 0;
  let cx = 0;
  let cy = 0;
  const n = ring.length;
  // Work relative to the first point so that rings far from the origin (or
  // past 180 degrees) keep their precision.
  const [ox, oy] = ring[0];
  for (let i = 0; i < n; i++) {
    const x1 = ring[i][0] - ox;
    const y1 = ring[i][1] - oy;
    const x2 = ring[(i + 1) % n][0] - ox;
    const y2 = ring[(i + 1) % n][1] - oy;
    const f = x1 * y2 - x2 * y1;
    a += f;
    cx += (x1 + x2) * f;
    cy += (y1 + y2) * f;
  }
  if (Math.abs(a) < 1e-12) {
    let sx = 0;
    let sy = 0;
    for (const [x, y] of ring) {
      sx += x;
      sy += y;
    }
    return [sx / n, sy / n];
  }
  return [ox + cx / (3 * a), oy + cy / (3 * a)];
}

// Even-odd point-in-ring test.
export function inring(pt, ring) {
  const [px, py] = pt;
  let inside = false;
  for (let i = 0, j = ring.length - 1; i < ring.length; j = i++) {
    const [xi, yi] = ring[i];
    const [xj, yj] = ring[j];
    if (yi > py !== yj > py && px < ((xj - xi) * (py - yi)) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

// A point inside the ring for placing a label: the area centroid when it lies
// inside, otherwise the middle of the widest inside span on the centroid's
// parallel (a crescent or an L-shaped country has its centroid outside).
export function interiorpoint(ring) {
  const c = ringcentroid(ring);
  if (inring(c, ring)) return c;
  for (const dy of [0, 0.25, -0.25, 0.5, -0.5, 1, -1, 2, -2]) {
    const y = c[1] + dy;
    const xs = [];
    for (let i = 0, j = ring.length - 1; i < ring.length; j = i++) {
      const [xi, yi] = ring[i];
      const [xj, yj] = ring[j];
      if (yi > y !== yj > y) xs.push(((xj - xi) * (y - yi)) / (yj - yi) + xi);
    }
    xs.sort((a, b) => a - b);
    let best = null;
    for (let k = 0; k + 1 < xs.length; k += 2) {
      if (!best || xs[k + 1] - xs[k] > best[1] - best[0]) best = [xs[k], xs[k + 1]];
    }
    if (best) return [(best[0] + best[1]) / 2, y];
  }
  return ring[0];
}

// Shifts the longitudes of a ring so that no step between neighbours exceeds
// 180 degrees: a ring that crosses the 180th meridian continues past it.
export function unwrap(ring) {
  const out = [ring[0].slice()];
  for (let i = 1; i < ring.length; i++) {
    let x = ring[i][0];
    const prev = out[i - 1][0];
    while (x - prev > 180) x -= 360;
    while (x - prev < -180) x += 360;
    out.push([x, ring[i][1]]);
  }
  return out;
}

// Shifts a whole ring by a multiple of 360 degrees so that its centroid
// longitude lies in [-180, 180).
export function normalizering(ring) {
  const [cx] = ringcentroid(ring);
  const shift = -360 * Math.floor((cx + 180) / 360);
  return shift === 0 ? ring : ring.map(([x, y]) => [x + shift, y]);
}

// A ring that goes once around a pole (Antarctica's coast) cannot close
// without a 360-degree step. It is started at its most polar point and closed
// through the pole itself (down to the pole, along it, back up); on the globe
// the points on the pole coincide. bridgesteps keeps every step below 180
// degrees afterwards.
export function closepolarring(ring) {
  let r = unwrap(ring);
  if (Math.abs(r[r.length - 1][0] - r[0][0]) <= 180) return r;
  const south = r.reduce((s, p) => s + p[1], 0) < 0;
  let k = 0;
  for (let i = 1; i < r.length; i++) {
    if (south ? r[i][1] < r[k][1] : r[i][1] > r[k][1]) k = i;
  }
  r = unwrap(r.slice(k).concat(r.slice(0, k)));
  const pole = south ? -90 : 90;
  const first = r[0];
  const last = r[r.length - 1];
  if (last[1] !== pole) r.push([last[0], pole]);
  if (first[1] !== pole) r.push([first[0], pole]);
  return bridgesteps(r);
}

// Inserts points into steps (the closing one included) that span more than
// 120 degrees of longitude, so that no step reaches 180.
export function bridgesteps(ring) {
  const out = [];
  for (let i = 0; i < ring.length; i++) {
    const a = ring[i];
    const b = ring[(i + 1) % ring.length];
    out.push(a);
    const n = Math.ceil(Math.abs(b[0] - a[0]) / 120);
    for (let s = 1; s < n; s++) out.push([a[0] + ((b[0] - a[0]) * s) / n, a[1] + ((b[1] - a[1]) * s) / n]);
  }
  return out;
}

function segdist(p, a, b) {
  const dx = b[0] - a[0];
  const dy = b[1] - a[1];
  const len2 = dx * dx + dy * dy;
  let t = len2 === 0 ? 0 : ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / len2;
  t = Math.max(0, Math.min(1, t));
  const ex = a[0] + t * dx - p[0];
  const ey = a[1] + t * dy - p[1];
  return Math.sqrt(ex * ex + ey * ey);
}

// Douglas-Peucker on an open polyline; keeps both end points.
export function simplifyline(points, tolerance) {
  const keep = new Uint8Array(points.length);
  keep[0] = keep[points.length - 1] = 1;
  const stack = [[0, points.length - 1]];
  while (stack.length) {
    const [first, last] = stack.pop();
    let index = -1;
    let maxd = tolerance;
    for (let i = first + 1; i < last; i++) {
      const d = segdist(points[i], points[first], points[last]);
      if (d > maxd) {
        maxd = d;
        index = i;
      }
    }
    if (index >= 0) {
      keep[index] = 1;
      stack.push([first, index], [index, last]);
    }
  }
  return points.filter((_, i) => keep[i]);
}

// Douglas-Peucker on a closed ring: the ring is cut at its first point and at
// the point farthest from it, and both halves are simplified.
export function simplifyring(ring, tolerance) {
  if (ring.length <= 4) return ring;
  let far = 0;
  let maxd = -1;
  for (let i = 1; i < ring.length; i++) {
    const d = Math.hypot(ring[i][0] - ring[0][0], ring[i][1] - ring[0][1]);
    if (d > maxd) {
      maxd = d;
      far = i;
    }
  }
  const a = simplifyline(ring.slice(0, far + 1), tolerance);
  const b = simplifyline(ring.slice(far).concat([ring[0]]), tolerance);
  return a.concat(b.slice(1, -1));
}

// Simplifies a ring with a growing tolerance until it has at most maxpoints.
export function fitring(ring, maxpoints) {
  let r = ring;
  let tolerance = 0.005;
  while (r.length > maxpoints) {
    r = simplifyring(ring, tolerance);
    tolerance *= 1.25;
  }
  return r;
}

// A number as the data files write it: rounded to the given decimals, no
// trailing zeros, no exponent, never "-0".
export function fmt(value, decimals) {
  const f = 10 ** decimals;
  const r = Math.round(value * f) / f;
  if (r === 0) return "0";
  return r.toFixed(decimals).replace(/\.?0+$/, "");
}

// Rounds a ring's points to the written precision and drops the repeats that
// rounding creates; the result is what the file will hold.
export function roundring(ring, decimals) {
  const out = [];
  for (const [x, y] of ring) {
    const p = [Number(fmt(x, decimals)), Number(fmt(y, decimals))];
    const q = out[out.length - 1];
    if (!q || q[0] !== p[0] || q[1] !== p[1]) out.push(p);
  }
  while (out.length > 1 && out[0][0] === out[out.length - 1][0] && out[0][1] === out[out.length - 1][1]) {
    out.pop();
  }
  return out;
}
