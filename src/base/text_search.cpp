#include "base/text_search.h"

#include <algorithm>
#include <array>

namespace netglobe {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameletters(char a, char b) { return lower(a) == lower(b); }

// Lower-case byte of every windows-1252 byte.
constexpr std::array<unsigned char, 256> kLower1252 = [] {
  std::array<unsigned char, 256> lower{};
  for (int c = 0; c < 256; ++c) lower[c] = static_cast<unsigned char>(c);
  for (int c = 'A'; c <= 'Z'; ++c) lower[c] = static_cast<unsigned char>(c + 32);
  // Capitals with accents; 0xD7 is the multiplication sign, not a letter.
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) lower[c] = static_cast<unsigned char>(c + 32);
  }
  lower[0x8A] = 0x9A;  // S with caron
  lower[0x8C] = 0x9C;  // ligature OE
  lower[0x8E] = 0x9E;  // Z with caron
  lower[0x9F] = 0xFF;  // Y with diaeresis
  return lower;
}();

}  // namespace

std::string foldcase1252(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(kLower1252[static_cast<unsigned char>(c)]);
  return folded;
}

bool containsnocase(std::string_view text, std::string_view what) {
  if (what.empty()) return true;
  const char first = what.front();
  if ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')) {
    return std::search(text.begin(), text.end(), what.begin(), what.end(), sameletters) != text.end();
  }
  // A first character without case (the markers begin with '_' or '-') is
  // found by a plain search, which is far faster over whole client lines.
  for (std::size_t i = text.find(first); i != std::string_view::npos && text.size() - i >= what.size();
       i = text.find(first, i + 1)) {
    if (std::equal(what.begin() + 1, what.end(), text.begin() + i + 1, sameletters)) return true;
  }
  return false;
}

}  // namespace netglobe
