// Text as the program reads it: windows-1252 bytes, fields split at ':',
// lines ending in LF.

// The code points that windows-1252 puts at 0x80..0x9F (five of them unused).
const HIGH = [
  0x20ac, -1, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160, 0x2039, 0x0152, -1,
  0x017d, -1, -1, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a,
  0x0153, -1, 0x017e, 0x0178,
];
const TO1252 = new Map();
for (let b = 0; b < 0x80; b++) TO1252.set(b, b);
for (let b = 0xa0; b < 0x100; b++) TO1252.set(b, b);
HIGH.forEach((cp, i) => {
  if (cp >= 0) TO1252.set(cp, 0x80 + i);
});

// Letters that Unicode does not decompose into a base letter and a mark.
const LETTERS = {
  "ł": "l", "Ł": "L", "đ": "d", "Đ": "D", "ı": "i", "ħ": "h", "Ħ": "H", "ŧ": "t", "Ŧ": "T",
  "ŋ": "n", "Ŋ": "N", "ĸ": "k", "ſ": "s", "ə": "e", "Ə": "E", "ɛ": "e", "ʻ": "'", "ʼ": "'",
  "‐": "-", "‑": "-", "‒": "-", "―": "-", "′": "'", "″": '"',
};

export function representable(ch) {
  return TO1252.has(ch.codePointAt(0));
}

// One character as windows-1252 text: kept when the code page holds it,
// otherwise the nearest letter the code page holds (accents that it lacks are
// dropped one at a time, so "ế" becomes "ê" and "ő" becomes "o"), otherwise "?".
export function transliterate(ch) {
  if (representable(ch)) return ch;
  if (LETTERS[ch]) return LETTERS[ch];
  const parts = [...ch.normalize("NFD")];
  while (parts.length > 1) {
    parts.pop();
    const composed = parts.join("").normalize("NFC");
    if ([...composed].every(representable)) return composed;
  }
  return "?";
}

// A free-text field of a colon record: no line breaks or other control
// characters, no ':' (it would split the field), blanks collapsed, and every
// character one the code page holds.
export function fieldtext(text) {
  const clean = String(text ?? "")
    .normalize("NFC")
    .replace(/[\u0000-\u001f\u007f-\u009f]+/g, " ")
    .replace(/\s*:\s*/g, " - ")
    .replace(/\s+/g, " ")
    .trim();
  return [...clean].map(transliterate).join("");
}

// Encodes text whose characters windows-1252 holds (fieldtext output).
export function encode1252(text) {
  const bytes = [];
  for (const ch of text) {
    const b = TO1252.get(ch.codePointAt(0));
    if (b === undefined) throw new Error(`not a windows-1252 character: U+${ch.codePointAt(0).toString(16)}`);
    bytes.push(b);
  }
  return Buffer.from(bytes);
}

// Lines joined with LF, the last one ended too.
export function lines1252(lines) {
  return encode1252(lines.map((l) => l + "\n").join(""));
}
