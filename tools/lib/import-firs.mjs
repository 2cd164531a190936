// Reads FIR boundaries from a GeoJSON FeatureCollection and writes them as
// fir1.dat and firs.dat, with the same rules as the generated files.
//
// Each feature is one FIR area: property "id" is the four-character code,
// "name" the FIR name (optional, the code otherwise), "label_lat" and
// "label_lon" the reference point (optional, a point inside the largest area
// otherwise). Polygon and MultiPolygon geometries; several features may share
// an id, and areas cut at the 180th meridian are joined again.

import { readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { firfiles, mergepolygons } from "./firfiles.mjs";
import { lines1252 } from "./text.mjs";

const CODE = /^[A-Z0-9]{4}$/;

function number(value) {
  if (value === undefined || value === null || value === "") return null;
  const n = Number(value);
  return Number.isFinite(n) ? n : NaN;
}

// Returns { firs, errors }: the FIR list for firfiles(), and one message per
// feature that could not be used.
export function readfeatures(collection) {
  if (!collection || collection.type !== "FeatureCollection" || !Array.isArray(collection.features)) {
    throw new Error("the input is not a GeoJSON FeatureCollection");
  }
  const byCode = new Map();
  const errors = [];
  collection.features.forEach((feature, i) => {
    const where = `feature ${i + 1}`;
    const props = feature?.properties ?? {};
    const code = typeof props.id === "string" ? props.id : String(props.id ?? "");
    if (!CODE.test(code)) {
      errors.push(`${where}: "id" must be four upper-case letters or digits, not "${code}"`);
      return;
    }
    const geometry = feature.geometry;
    let polygons;
    if (geometry?.type === "Polygon") polygons = [geometry.coordinates];
    else if (geometry?.type === "MultiPolygon") polygons = geometry.coordinates;
    else {
      errors.push(`${where} (${code}): geometry must be a Polygon or MultiPolygon`);
      return;
    }
    polygons = polygons.filter((p) => Array.isArray(p) && Array.isArray(p[0]) && p[0].length >= 3);
    const lat = number(props.label_lat);
    const lon = number(props.label_lon);
    if (Number.isNaN(lat) || Number.isNaN(lon) || (lat === null) !== (lon === null)) {
      errors.push(`${where} (${code}): label_lat and label_lon must both be numbers`);
      return;
    }
    if (!byCode.has(code)) byCode.set(code, { code, name: "", label: null, polygons: [] });
    const fir = byCode.get(code);
    if (!fir.name && typeof props.name === "string") fir.name = props.name;
    if (!fir.label && lat !== null) fir.label = [lat, lon];
    fir.polygons.push(...polygons);
  });
  const firs = [];
  for (const fir of byCode.values()) {
    if (!fir.polygons.length) {
      errors.push(`${fir.code}: no usable polygon`);
      continue;
    }
    firs.push({ ...fir, polygons: mergepolygons(fir.polygons) });
  }
  return { firs, errors };
}

export function importfirs(inputPath, outputDir) {
  const collection = JSON.parse(readFileSync(inputPath, "utf8"));
  const { firs, errors } = readfeatures(collection);
  if (errors.length) throw new Error(errors.join("\n"));
  const { fir1, firs: directory } = firfiles(firs);
  writeFileSync(join(outputDir, "fir1.dat"), lines1252(fir1));
  writeFileSync(join(outputDir, "firs.dat"), lines1252(directory));
  return { firs: firs.length, blocks: fir1.filter((l) => /^![^!]/.test(l)).length };
}
