// Plane geometry on (longitude, latitude) pairs in degrees, as the data
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

// A number as the data files write it: rounded to the given decimals, no
// trailing zeros, no exponent, never "-0".
export function fmt(value, decimals) {
  const f = 10 ** decimals;
  const r = Math.round(value * f) / f;
  if (r === 0) return "0";
  return r.toFixed(decimals).replace(/\.?0+$/, "");
}
