// The areas of the approximate FIRs: pieces of country polygons made
// continuous in longitude and merged per FIR. netglobe-import-firs turns them
// into the outline blocks of fir1.dat and the directory firs.dat.

import polygonclipping from "polygon-clipping";
import { closepolarring, ringarea, ringcentroid, unwrap } from "./geometry.mjs";

function bounds(polygons) {
  let lo = Infinity;
  let hi = -Infinity;
  for (const polygon of polygons) {
    for (const [x] of polygon[0]) {
      lo = Math.min(lo, x);
      hi = Math.max(hi, x);
    }
  }
  return [lo, hi];
}

function shiftpolygon(polygon, dx) {
  return polygon.map((ring) => ring.map(([x, y]) => [x + dx, y]));
}

function meanlon(ring) {
  return ring.reduce((sum, p) => sum + p[0], 0) / ring.length;
}

// Makes every ring of a polygon continuous in longitude; returns the
// polygons that result. Source data often keeps a polygon that crosses the
// 180th meridian as one ring that jumps from +180 to -180 and back;
// unwrapped, the jumps become steps of no length, and holes are moved into
// the outer ring's range. A ring that goes once around a pole (Antarctica's
// coast) bounds land on its own: it is closed along the pole and becomes a
// polygon of its own, whatever its role was, and a ring that lies wholly on
// the pole line is dropped.
export function continuouspolygons(polygon) {
  const rings = polygon.map((ring) => unwrap(openring(ring)));
  const polar = (r) => Math.abs(r[r.length - 1][0] - r[0][0]) > 180;
  const onpole = (r) => r.every(([, y]) => Math.abs(y) > 89.99);
  if (rings.some(polar)) {
    return rings.filter((r) => polar(r) && !onpole(r)).map((r) => [closepolarring(r)]);
  }
  const [outer, ...rest] = rings;
  const centre = meanlon(outer);
  const holes = rest.map((h) => {
    const dx = 360 * Math.round((centre - meanlon(h)) / 360);
    return dx ? h.map(([x, y]) => [x + dx, y]) : h;
  });
  return [[outer, ...holes]];
}

// Puts polygons that were cut at the 180th meridian back into one
// continuous longitude range: when moving the wholly western ones by 360
// degrees makes the set narrower, they are moved.
export function continuousframe(polygons) {
  const [lo, hi] = bounds(polygons);
  const moved = polygons.map((p) => (bounds([p])[1] <= 0 ? shiftpolygon(p, 360) : p));
  const [mlo, mhi] = bounds(moved);
  return mhi - mlo < hi - lo - 1e-9 ? { polygons: moved, shifted: true } : { polygons, shifted: false };
}

// Merges the polygons of one FIR (touching pieces, pieces cut at the 180th
// meridian) into as few polygons as possible.
export function mergepolygons(polygons) {
  if (!polygons.length) return [];
  const { polygons: framed } = continuousframe(polygons.flatMap(continuouspolygons));
  return polygonclipping.union(...framed.map((p) => [p]));
}

function openring(ring) {
  const r = ring.slice();
  const a = r[0];
  const b = r[r.length - 1];
  if (r.length > 1 && a[0] === b[0] && a[1] === b[1]) r.pop();
  return r;
}

// Area in square degrees scaled by the cosine of the latitude: enough to
// order the parts of one FIR by size. Takes a closed or an open ring.
export function truearea(ring) {
  const open = openring(ring);
  return Math.abs(ringarea(open)) * Math.cos((ringcentroid(open)[1] * Math.PI) / 180);
}
