#!/usr/bin/env node
// Writes the approximate FIR areas, built from the Natural Earth 1:50m
// country polygons, as a GeoJSON FeatureCollection: the input from which
// netglobe-import-firs writes fir1.dat and firs.dat.
//
// Each country is assigned to the FIR that covers it (fir-table.mjs); a
// country that several FIRs divide is cut along the Voronoi cells of the
// FIRs' seed points. The pieces of one FIR, from all countries, are merged.
// The country borders are simplified first, on the shared topology, so that
// neighbouring outlines keep identical borders; small islands are left out of
// the outlines (the coastline layer still shows them), except where an
// island is all of a FIR.
//
// Usage: make-firs.mjs OUTPUT.geojson

import { createRequire } from "node:module";
import { writeFileSync } from "node:fs";
import { fileURLToPath } from "node:url";
import * as topojson from "topojson-client";
import { presimplify, simplify } from "topojson-simplify";
import { Delaunay } from "d3-delaunay";
import polygonclipping from "polygon-clipping";
import { ALIASES, COUNTRIES, FIRS } from "./fir-table.mjs";
import { continuousframe, continuouspolygons, mergepolygons, truearea } from "./lib/firareas.mjs";
import { ringarea } from "./lib/geometry.mjs";

const require = createRequire(import.meta.url);

// Every outline point is replayed in every frame, next to some 60000
// coastline segments. Border points whose Visvalingam triangle is smaller
// than this (square degrees) are dropped: bends of up to about 10 km go,
// which keeps the whole layer under 20000 points; the outlines are
// approximate anyway.
const SIMPLIFY_WEIGHT = 0.02;
// Parts of a FIR smaller than this (square degrees times cos latitude,
// about 6000 km2) are not drawn as outlines of their own.
const MIN_PART_AREA = 0.5;

function polygonsof(geometry) {
  if (!geometry) return [];
  return geometry.type === "Polygon" ? [geometry.coordinates] : geometry.coordinates;
}

// Country polygons from the simplified topology; a ring that simplification
// reduced to nothing or to a sliver (a small island drawn as one closed arc)
// is taken unsimplified.
function countries() {
  const topology = require("world-atlas/countries-50m.json");
  const simple = simplify(presimplify(structuredClone(topology)), SIMPLIFY_WEIGHT);
  const full = topojson.feature(topology, topology.objects.countries).features;
  const thin = topojson.feature(simple, simple.objects.countries).features;
  return full.map((f, i) => {
    const polygons = polygonsof(thin[i].geometry).map((polygon, p) =>
      polygon.map((ring, r) => {
        const original = polygonsof(f.geometry)[p][r];
        const kept = ring.length >= 4 && Math.abs(ringarea(ring)) >= 0.5 * Math.abs(ringarea(original));
        return kept ? ring : original;
      }),
    );
    return { name: f.properties.name, polygons: polygons.flatMap(continuouspolygons) };
  });
}

function seedsof(assignment, shifted) {
  const seeds = [];
  for (const [code, extra] of Object.entries(assignment)) {
    const fir = FIRS[code];
    if (!fir) throw new Error(`no FIR entry for ${code}`);
    const points = (fir.length > 1 ? [[fir[1], fir[2]]] : []).concat(extra);
    if (!points.length) throw new Error(`FIR ${code} needs a reference point or a seed to divide a country`);
    for (const [lat, lon] of points) seeds.push({ code, lat, lon: shifted && lon < 0 ? lon + 360 : lon });
  }
  return seeds;
}

// Cuts a country (merged polygons in its continuous frame) into the
// Voronoi cells of its FIRs' seeds. The plane is the longitude/latitude
// plane with longitudes scaled by the cosine of the seeds' middle latitude,
// so that cells are not stretched east-west at high latitudes.
function divide(polygons, seeds) {
  const lats = seeds.map((s) => s.lat).sort((a, b) => a - b);
  const k = Math.cos((lats[Math.floor(lats.length / 2)] * Math.PI) / 180);
  let x0 = Infinity;
  let y0 = Infinity;
  let x1 = -Infinity;
  let y1 = -Infinity;
  const grow = (x, y) => {
    x0 = Math.min(x0, x);
    y0 = Math.min(y0, y);
    x1 = Math.max(x1, x);
    y1 = Math.max(y1, y);
  };
  for (const polygon of polygons) for (const [x, y] of polygon[0]) grow(x * k, y);
  for (const s of seeds) grow(s.lon * k, s.lat);
  const voronoi = Delaunay.from(seeds.map((s) => [s.lon * k, s.lat])).voronoi([x0 - 10, y0 - 10, x1 + 10, y1 + 10]);
  const pieces = new Map();
  seeds.forEach((s, i) => {
    const cell = voronoi.cellPolygon(i);
    if (!cell) return;
    const ring = cell.map(([x, y]) => [x / k, y]);
    const part = polygonclipping.intersection(polygons, [ring]);
    if (!pieces.has(s.code)) pieces.set(s.code, []);
    pieces.get(s.code).push(...part);
  });
  return pieces;
}

// A FIR's parts without those under MIN_PART_AREA, its largest part kept
// whatever its size.
function withoutsmallparts(polygons) {
  const sized = polygons.map((polygon) => ({ polygon, area: truearea(polygon[0]) })).sort((a, b) => b.area - a.area);
  return sized.filter(({ area }, i) => i === 0 || area >= MIN_PART_AREA).map(({ polygon }) => polygon);
}

function feature(properties, geometry) {
  return { type: "Feature", properties, geometry };
}

export function firareas() {
  const byCode = new Map();
  const add = (code, polygons) => {
    if (!FIRS[code]) throw new Error(`no FIR entry for ${code}`);
    if (!byCode.has(code)) byCode.set(code, []);
    byCode.get(code).push(...polygons);
  };
  const named = new Set();
  for (const country of countries()) {
    const assignment = COUNTRIES[country.name];
    if (!assignment) throw new Error(`no FIR assigned to the country "${country.name}"`);
    named.add(country.name);
    if (typeof assignment === "string") {
      add(assignment, country.polygons);
      continue;
    }
    const { polygons, shifted } = continuousframe(country.polygons);
    const merged = polygonclipping.union(...polygons.map((p) => [p]));
    for (const [code, pieces] of divide(merged, seedsof(assignment, shifted))) add(code, pieces);
  }
  for (const name of Object.keys(COUNTRIES)) {
    if (!named.has(name)) throw new Error(`the FIR table names a country the map does not have: "${name}"`);
  }
  const features = [];
  for (const [code, polygons] of byCode) {
    const [name, lat, lon] = FIRS[code];
    const label = lat === undefined ? {} : { label_lat: lat, label_lon: lon };
    const coordinates = withoutsmallparts(mergepolygons(polygons));
    features.push(feature({ id: code, name, ...label }, { type: "MultiPolygon", coordinates }));
  }
  for (const code of Object.keys(FIRS)) {
    if (!byCode.has(code)) throw new Error(`FIR ${code} received no land: check its seeds`);
  }
  for (const [code, name, lat, lon, outline] of ALIASES) {
    features.push(feature({ id: code, name, label_lat: lat, label_lon: lon, outline }, null));
  }
  return { type: "FeatureCollection", features };
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const target = process.argv[2];
  if (!target) {
    console.error("usage: make-firs.mjs OUTPUT.geojson");
    process.exit(2);
  }
  writeFileSync(target, JSON.stringify(firareas()));
}
