// Tests of the FIR importer and of the helpers the data generators share.
// Run by tools/test-import.sh (node's own test runner).

import { test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import { mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { readfeatures } from "../lib/import-firs.mjs";
import { firfiles } from "../lib/firfiles.mjs";
import { fieldtext, lines1252 } from "../lib/text.mjs";
import { ringruns } from "../make-coastline.mjs";

const tools = join(dirname(fileURLToPath(import.meta.url)), "..");
const importer = join(tools, "import-firs");

// Reads fir1.dat the way the program does: blocks start with "!CODE", end at
// the next line starting with "!", the file ends with "!!".
function blocksof(text) {
  const out = [];
  for (const line of text.split("\n")) {
    if (line.startsWith("!!")) break;
    if (line.startsWith("!")) {
      if (line.length >= 5) out.push({ code: line.slice(1, 5), points: [] });
    } else if (line) {
      const [lat, lon] = line.split(":").map(Number);
      out.at(-1).points.push([lat, lon]);
    }
  }
  return out;
}

function run(geojson) {
  const dir = mkdtempSync(join(tmpdir(), "firs-"));
  const input = join(dir, "in.geojson");
  writeFileSync(input, typeof geojson === "string" ? geojson : JSON.stringify(geojson));
  const result = spawnSync(process.execPath, [importer, input, dir], { encoding: "utf8" });
  const read = (f) => (result.status === 0 ? readFileSync(join(dir, f)) : null);
  return { ...result, fir1: read("fir1.dat"), firs: read("firs.dat") };
}

function feature(id, geometry, props = {}) {
  return { type: "Feature", properties: { id, ...props }, geometry };
}

function maxstep(points) {
  let m = 0;
  points.forEach((p, i) => (m = Math.max(m, Math.abs(points[(i + 1) % points.length][1] - p[1]))));
  return m;
}

test("the example file imports with names, labels, merged and ordered parts", () => {
  const dir = mkdtempSync(join(tmpdir(), "firs-"));
  execFileSync(process.execPath, [importer, join(tools, "examples", "firs-example.geojson"), dir]);
  const fir1 = readFileSync(join(dir, "fir1.dat"), "latin1");
  const firs = readFileSync(join(dir, "firs.dat"));
  const blocks = blocksof(fir1);
  assert.deepEqual(blocks.map((b) => b.code), ["EXDL", "EXIS", "EXIS", "EXMP"]);
  // Block style: each block closed by a "!" line, the last one by "!!".
  assert.match(fir1, /^!EXDL\n[^!]+!\n!EXIS\n[^!]+!\n!EXIS\n[^!]+!\n!EXMP\n[^!]+!!\n$/);
  // The two halves cut at the 180th meridian are one outline again, continuous.
  assert.equal(blocks[0].points.length, 4);
  assert.ok(maxstep(blocks[0].points) < 180);
  // The larger island comes first, so the active-FIR layer shows it.
  assert.ok(blocks[1].points.some(([, lon]) => lon === 28));
  // The hole is dropped: one ring of four corners.
  assert.deepEqual(blocks[3].points, [[48, 8], [48, 13], [53, 13], [53, 8]]);
  // Name in windows-1252, its colon replaced; label given or an inside point.
  assert.deepEqual(firs, lines1252([
    "EXDL::EXDL:::-15:-177.5",
    "EXIS::Islands:::32:26",
    "EXMP::Example - Zürich–Lódz:::50.5:10.5",
  ]));
});

test("a ring over the point limit is simplified but keeps its shape", () => {
  const ring = [];
  for (let i = 0; i < 2000; i++) {
    const a = (2 * Math.PI * i) / 2000;
    ring.push([10 + 5 * Math.cos(a) + 0.001 * Math.sin(40 * a), 50 + 5 * Math.sin(a)]);
  }
  ring.push(ring[0]);
  const { status, fir1 } = run({ type: "FeatureCollection", features: [feature("CIRC", { type: "Polygon", coordinates: [ring] })] });
  assert.equal(status, 0);
  const [block] = blocksof(fir1.toString("latin1"));
  assert.ok(block.points.length <= 500 && block.points.length > 20, `${block.points.length} points`);
  for (const [lat, lon] of block.points) assert.ok(Math.abs(Math.hypot(lat - 50, lon - 10) - 5) < 0.01);
});

test("an area around the pole closes through the pole without long steps", () => {
  const band = [[-180, -70], [-90, -72], [0, -70], [90, -72], [180, -70], [180, -90], [-180, -90], [-180, -70]];
  const { fir1 } = run({ type: "FeatureCollection", features: [feature("POLE", { type: "Polygon", coordinates: [band] })] });
  const [block] = blocksof(fir1.toString("latin1"));
  assert.ok(maxstep(block.points) < 180);
  assert.ok(block.points.some(([lat]) => lat === -90));
  assert.ok(block.points.filter(([lat]) => lat === -70).length >= 2);
});

test("unusable features are reported and nothing is written", () => {
  const square = { type: "Polygon", coordinates: [[[0, 0], [1, 0], [1, 1], [0, 0]]] };
  const { errors } = readfeatures({
    type: "FeatureCollection",
    features: [
      feature("ab", square),
      feature("GOOD", { type: "Point", coordinates: [0, 0] }),
      feature("LBL1", square, { label_lat: "x", label_lon: 3 }),
      feature("OKAY", square),
    ],
  });
  assert.equal(errors.length, 3);
  assert.match(errors.join("\n"), /"ab"[\s\S]*GOOD[\s\S]*LBL1/);
  const bad = run({ type: "FeatureCollection", features: [feature("ab", square)] });
  assert.notEqual(bad.status, 0);
  assert.match(bad.stderr, /four upper-case/);
  assert.notEqual(run("not json").status, 0);
  assert.throws(() => firfiles([], [["ALIA", "x", 0, 0, "NONE"]]), /does not exist/);
});

test("names become windows-1252 text without separators or line breaks", () => {
  assert.equal(fieldtext("Hồ Chí Minh"), "Hô Chí Minh");
  assert.equal(fieldtext("Łódź\r\nA:B"), "Lódz A - B");
  assert.equal(fieldtext("北京 Airport"), "?? Airport");
  assert.deepEqual(lines1252(["€ œ"]), Buffer.from([0x80, 0x20, 0x9c, 0x0a]));
});

test("coastline runs leave out the edges that close land at the map's edge", () => {
  // An island cut at the 180th meridian: its edge along the meridian is no coast.
  const ring = [[170, 10], [180, 10], [180, 20], [170, 20], [170, 10]];
  assert.deepEqual(ringruns(ring), [[[180, 20], [170, 20], [170, 10], [180, 10]]]);
  const plain = [[0, 0], [1, 0], [1, 1], [0, 0]];
  assert.deepEqual(ringruns(plain), [plain]);
  const pole = [[-180, -89.999], [0, -89.999], [180, -89.999], [-180, -89.999]];
  assert.deepEqual(ringruns(pole), []);
});
