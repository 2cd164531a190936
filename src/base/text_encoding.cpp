#include "base/text_encoding.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

namespace netglobe {
namespace {

// Code points of windows-1252 bytes 0x80..0x9F; 0 marks an unassigned byte.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char tobyte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] != 0 && kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// The nearest windows-1252 letter of every code point of Latin Extended-A and
// -B (U+0100..U+024F) and of Latin Extended Additional (U+1E00..U+1EFF): what
// is left of its canonical decomposition when the accents windows-1252 lacks
// are dropped one at a time; '?' where nothing is left.
constexpr std::u32string_view kLatinExtended =
    U"AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKkkLlLlLl??LlNnNnNn?NnOoOoOo??Rr"
    U"RrRrSsSsSs??TtTtTtUuUuUuUuUuUuWwYy?ZzZz??s???????????????E????????????????Oo??????????"
    U"???Uu????????????????????????????AaIiOoUu\u00DC\u00FC\u00DC\u00FC\u00DC\u00FC\u00DC"
    U"\u00FC?\u00C4\u00E4Aa\u00C6\u00E6??GgKkOoOo??j???Gg??Nn\u00C5\u00E5\u00C6\u00E6\u00D8"
    U"\u00F8AaAaEeEeIiIiOoOoRrRrUuUuSsTt??Hh??????AaEe\u00D6\u00F6\u00D5\u00F5OoOoYy????????"
    U"????????????????????";
constexpr std::u32string_view kLatinAdditional =
    U"AaBbBbBb\u00C7\u00E7DdDdDdDdDdEeEeEeEeEeFfGgHhHhHhHhHhIi\u00CF\u00EFKkKkKkLlLlLlLlMmMm"
    U"MmNnNnNnNn\u00D5\u00F5\u00D5\u00F5OoOoPpPpRrRrRrRrSsSsSs\u0160\u0161SsTtTtTtTtUuUuUuUu"
    U"UuVvVvWwWwWwWwWwXxXxYyZzZzZzhtwy??????AaAa\u00C2\u00E2\u00C2\u00E2\u00C2\u00E2\u00C2"
    U"\u00E2AaAaAaAaAaAaEeEeEe\u00CA\u00EA\u00CA\u00EA\u00CA\u00EA\u00CA\u00EAEeIiIiOoOo"
    U"\u00D4\u00F4\u00D4\u00F4\u00D4\u00F4\u00D4\u00F4OoOoOoOoOoOoUuUuUuUuUuUuUuYyYyYyYy????"
    U"??";

// Letters and signs without such a decomposition that have a plain look-alike.
constexpr std::pair<char32_t, char32_t> kLookalikes[] = {
    {0x259, U'e'}, {0x25B, U'e'}, {0x2BB, U'\''}, {0x2BC, U'\''}, {0x37E, U';'}, {0x385, U'\u00A8'},
    {0x387, U'\u00B7'}, {0x1FC1, U'\u00A8'}, {0x1FED, U'\u00A8'}, {0x1FEE, U'\u00A8'},
    {0x1FEF, U'`'}, {0x1FFD, U'\u00B4'}, {0x2010, U'-'}, {0x2011, U'-'}, {0x2012, U'-'},
    {0x2015, U'-'}, {0x2032, U'\''}, {0x2033, U'\"'}, {0x212A, U'K'}, {0x212B, U'\u00C5'},
    {0x2260, U'='}, {0x226E, U'<'}, {0x226F, U'>'},
};

// Letters written as a base letter followed by a combining accent.
struct Composition {
  char32_t base, accent, letter;
};
constexpr Composition kCompositions[] = {
    {'S', 0x30C, 0x160}, {'s', 0x30C, 0x161}, {'Z', 0x30C, 0x17D}, {'z', 0x30C, 0x17E},
    {'Y', 0x308, 0x178}, {'A', 0x300, 0xC0},  {'A', 0x301, 0xC1},  {'A', 0x302, 0xC2},
    {'A', 0x303, 0xC3},  {'A', 0x308, 0xC4},  {'A', 0x30A, 0xC5},  {'C', 0x327, 0xC7},
    {'E', 0x300, 0xC8},  {'E', 0x301, 0xC9},  {'E', 0x302, 0xCA},  {'E', 0x308, 0xCB},
    {'I', 0x300, 0xCC},  {'I', 0x301, 0xCD},  {'I', 0x302, 0xCE},  {'I', 0x308, 0xCF},
    {'N', 0x303, 0xD1},  {'O', 0x300, 0xD2},  {'O', 0x301, 0xD3},  {'O', 0x302, 0xD4},
    {'O', 0x303, 0xD5},  {'O', 0x308, 0xD6},  {'U', 0x300, 0xD9},  {'U', 0x301, 0xDA},
    {'U', 0x302, 0xDB},  {'U', 0x308, 0xDC},  {'Y', 0x301, 0xDD},  {'a', 0x300, 0xE0},
    {'a', 0x301, 0xE1},  {'a', 0x302, 0xE2},  {'a', 0x303, 0xE3},  {'a', 0x308, 0xE4},
    {'a', 0x30A, 0xE5},  {'c', 0x327, 0xE7},  {'e', 0x300, 0xE8},  {'e', 0x301, 0xE9},
    {'e', 0x302, 0xEA},  {'e', 0x308, 0xEB},  {'i', 0x300, 0xEC},  {'i', 0x301, 0xED},
    {'i', 0x302, 0xEE},  {'i', 0x308, 0xEF},  {'n', 0x303, 0xF1},  {'o', 0x300, 0xF2},
    {'o', 0x301, 0xF3},  {'o', 0x302, 0xF4},  {'o', 0x303, 0xF5},  {'o', 0x308, 0xF6},
    {'u', 0x300, 0xF9},  {'u', 0x301, 0xFA},  {'u', 0x302, 0xFB},  {'u', 0x308, 0xFC},
    {'y', 0x301, 0xFD},  {'y', 0x308, 0xFF}};

bool isblank(char32_t cp) {
  return cp == ' ' || (cp >= 0x09 && cp <= 0x0D) || cp == 0xA0 || cp == 0x1680 ||
         (cp >= 0x2000 && cp <= 0x200A) || cp == 0x2028 || cp == 0x2029 || cp == 0x202F ||
         cp == 0x205F || cp == 0x3000 || cp == 0xFEFF;
}

char nearestbyte(char32_t cp) {
  const char direct = tobyte(cp);
  if (direct != '?' || cp == '?') return direct;
  if (cp >= 0x100 && cp < 0x100 + kLatinExtended.size()) return tobyte(kLatinExtended[cp - 0x100]);
  if (cp >= 0x1E00 && cp < 0x1E00 + kLatinAdditional.size()) return tobyte(kLatinAdditional[cp - 0x1E00]);
  for (const auto& [from, to] : kLookalikes) {
    if (from == cp) return tobyte(to);
  }
  return '?';
}

// Decodes one UTF-8 sequence at text[i]; returns its length, 0 if invalid.
std::size_t decodeone(std::string_view text, std::size_t i, char32_t& cp) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
  const std::uint8_t b0 = byte(i);
  std::size_t len;
  char32_t min;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

void appendutf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

bool isvalidutf8(std::string_view text) {
  char32_t cp;
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<std::uint8_t>(text[i]) < 0x80) {  // most of a status file
      ++i;
      continue;
    }
    const std::size_t len = decodeone(text, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::string tocp1252(std::string_view body) {
  if (!isvalidutf8(body)) return std::string(body);
  std::string out;
  out.reserve(body.size());
  char32_t cp;
  for (std::size_t i = 0; i < body.size();) {
    std::size_t run = i;  // copy runs of ASCII whole: most of a status file
    while (run < body.size() && static_cast<std::uint8_t>(body[run]) < 0x80) ++run;
    out.append(body, i, run - i);
    i = run;
    if (i == body.size()) break;
    i += decodeone(body, i, cp);
    out.push_back(tobyte(cp));
  }
  return out;
}

std::string cp1252toutf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char ch : text) {
    const auto b = static_cast<std::uint8_t>(ch);
    char32_t cp = b;
    if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0) cp = kHighControls[b - 0x80];
    appendutf8(out, cp);
  }
  return out;
}

std::string fieldtext1252(std::string_view utf8) {
  std::u32string text;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = '?';
    const std::size_t len = decodeone(utf8, i, cp);
    i += len == 0 ? 1 : len;
    if (len == 0) cp = '?';
    if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || isblank(cp)) cp = ' ';
    if (cp >= 0x300 && cp < 0x370) {  // a combining accent: joined to its letter, or dropped
      for (const Composition& c : kCompositions) {
        if (!text.empty() && c.base == text.back() && c.accent == cp) {
          text.back() = c.letter;
          break;
        }
      }
      continue;
    }
    if (cp == ':') {
      text += U" - ";
    } else {
      text += cp;
    }
  }
  std::string out;
  bool blank = false;
  for (const char32_t cp : text) {
    if (cp == ' ') {
      blank = !out.empty();
      continue;
    }
    if (blank) out.push_back(' ');
    blank = false;
    out.push_back(nearestbyte(cp));
  }
  return out;
}

}  // namespace netglobe
