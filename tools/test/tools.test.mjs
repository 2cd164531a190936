// Tests of the helpers the data generators share (the FIR importer is the
// C++ netglobe-import-firs, tested with the program). Run by
// tools/test-tools.sh (node's own test runner).

import { test } from "node:test";
import assert from "node:assert/strict";
import { fieldtext, lines1252 } from "../lib/text.mjs";
import { ringruns } from "../make-coastline.mjs";

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
