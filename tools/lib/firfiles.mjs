// Turns FIR areas into the two files the program reads: fir1.dat (one block
// of outline points per ring) and firs.dat (the FIR directory).
//
// fir1.dat layout: every block is "!CODE", its "latitude:longitude" lines and
// a closing line "!" of its own; the last block is closed by "!!" instead.
// The outline layer skips the line after each closing line, which is then
// always the next block's header, so no outline loses a point. The
// active-FIR layer reads only the first block of a code, so a FIR's largest
// area comes first.

import polygonclipping from "polygon-clipping";
import {
  bridgesteps,
  closepolarring,
  fitring,
  fmt,
  interiorpoint,
  normalizering,
  ringarea,
  ringcentroid,
  roundring,
  unwrap,
} from "./geometry.mjs";
import { fieldtext } from "./text.mjs";

export const MAX_POINTS = 500;
export const DECIMALS = 4;

const CODE = /^[A-Z0-9]{4}$/;

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
// order the parts of one FIR by size.
function truearea(ring) {
  return Math.abs(ringarea(ring)) * Math.cos((ringcentroid(ring)[1] * Math.PI) / 180);
}

function normallon(lon) {
  return lon - 360 * Math.floor((lon + 180) / 360);
}

// One FIR's outline rings, largest first: outer rings only (a hole has no
// place in a one-ring block), continuous in longitude, at most maxpoints
// points each, rounded as written. Parts smaller than minarea (square
// degrees, cosine-scaled) are left out, except the largest.
export function outlinerings(polygons, { maxpoints = MAX_POINTS, minarea = 0 } = {}) {
  const rings = polygons
    .map((polygon) => normalizering(closepolarring(openring(polygon[0]))))
    .filter((ring) => ring.length >= 3)
    .map((ring) => ({ ring, area: truearea(ring) }))
    .sort((a, b) => b.area - a.area || a.ring[0][0] - b.ring[0][0] || a.ring[0][1] - b.ring[0][1]);
  const out = [];
  rings.forEach(({ ring, area }, i) => {
    if (i > 0 && area < minarea) return;
    // Simplification may drop the points along a pole; bridgesteps puts
    // them back, so room is left for them.
    const r = bridgesteps(roundring(fitring(ring, maxpoints - 4), DECIMALS));
    if (r.length > maxpoints) throw new Error("outline over the point limit");
    if (r.length >= 3) out.push(r);
  });
  return out;
}

// firs: [{ code, name, label: [lat, lon] | null, polygons }], polygons in
// GeoJSON order ([lon, lat]), merged already. aliases: [[code, name, lat,
// lon, outlinecode]]. Returns the lines of both files.
export function firfiles(firs, aliases = [], options = {}) {
  const fir1 = [];
  const directory = [];
  const sorted = firs.slice().sort((a, b) => (a.code < b.code ? -1 : a.code > b.code ? 1 : 0));
  const seen = new Set();
  for (const fir of sorted) {
    if (!CODE.test(fir.code)) throw new Error(`FIR code must be four letters or digits: "${fir.code}"`);
    if (seen.has(fir.code)) throw new Error(`FIR code given twice: ${fir.code}`);
    seen.add(fir.code);
    const rings = outlinerings(fir.polygons, options);
    if (!rings.length) throw new Error(`FIR ${fir.code} has no outline`);
    for (const ring of rings) {
      if (fir1.length) fir1.push("!");
      fir1.push(`!${fir.code}`);
      for (const [lon, lat] of ring) fir1.push(`${fmt(lat, DECIMALS)}:${fmt(lon, DECIMALS)}`);
    }
    let label = fir.label;
    if (!label) {
      const [lon, lat] = interiorpoint(rings[0]);
      label = [lat, lon];
    }
    const name = fieldtext(fir.name) || fir.code;
    directory.push(`${fir.code}::${name}:::${fmt(label[0], DECIMALS)}:${fmt(normallon(label[1]), DECIMALS)}`);
  }
  fir1.push("!!");
  for (const [code, name, lat, lon, outline] of aliases) {
    if (!seen.has(outline)) throw new Error(`alias ${code} names an outline that does not exist: ${outline}`);
    if (seen.has(code)) throw new Error(`alias ${code} is also a FIR of its own`);
    directory.push(`${code}::${fieldtext(name) || code}:::${fmt(lat, DECIMALS)}:${fmt(normallon(lon), DECIMALS)}:${outline}`);
  }
  return { fir1, firs: directory };
}
