#!/usr/bin/env node
// Writes coastline.dat from the Natural Earth 1:50m land polygons.
//
// Every ring of the land polygons becomes one coastline run of
// "latitude:longitude" lines, runs separated by "end". Natural Earth closes
// the polygons that it cuts at the 180th meridian, and the Antarctic polygon
// at the South Pole, with edges that are no coastline: those edges are left
// out, so a run ends where such an edge begins and goes on where it ends.
//
// Usage: make-coastline.mjs OUTPUT_FILE

import { createRequire } from "node:module";
import { writeFileSync } from "node:fs";
import { fileURLToPath } from "node:url";
import * as topojson from "topojson-client";
import { fmt } from "./lib/geometry.mjs";
import { lines1252 } from "./lib/text.mjs";

const require = createRequire(import.meta.url);
const DECIMALS = 4;

// An edge that Natural Earth adds where it cuts land: along the 180th
// meridian or along the bottom edge of the map at the South Pole.
function artificial(a, b) {
  const onmeridian = Math.abs(Math.abs(a[0]) - 180) < 1e-9 && Math.abs(Math.abs(b[0]) - 180) < 1e-9;
  const atpole = a[1] < -89.99 && b[1] < -89.99;
  return onmeridian || atpole;
}

// A closed ring (first point repeated at the end) as coastline runs.
export function ringruns(ring) {
  const n = ring.length - 1;
  const cut = [];
  for (let i = 0; i < n; i++) cut.push(artificial(ring[i], ring[i + 1]));
  const first = cut.indexOf(true);
  if (first < 0) return [ring];
  const runs = [];
  let run = [];
  // Start after an artificial edge so that no run wraps around the ring's end.
  for (let k = 1; k <= n; k++) {
    const i = (first + k) % n;
    if (cut[i]) {
      if (run.length >= 2) runs.push(run);
      run = [];
    } else {
      if (!run.length) run.push(ring[i]);
      run.push(ring[i + 1]);
    }
  }
  if (run.length >= 2) runs.push(run);
  return runs;
}

export function coastlines() {
  const topology = require("world-atlas/land-50m.json");
  const land = topojson.feature(topology, topology.objects.land);
  const features = land.type === "FeatureCollection" ? land.features : [land];
  const out = [];
  for (const feature of features) {
    const g = feature.geometry;
    const polygons = g.type === "Polygon" ? [g.coordinates] : g.coordinates;
    for (const polygon of polygons) {
      for (const ring of polygon) {
        for (const run of ringruns(ring)) {
          if (out.length) out.push("end");
          let last = null;
          for (const [lon, lat] of run) {
            const line = `${fmt(lat, DECIMALS)}:${fmt(lon, DECIMALS)}`;
            if (line !== last) out.push(line);
            last = line;
          }
        }
      }
    }
  }
  return out;
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const target = process.argv[2];
  if (!target) {
    console.error("usage: make-coastline.mjs OUTPUT_FILE");
    process.exit(2);
  }
  writeFileSync(target, lines1252(coastlines()));
}
