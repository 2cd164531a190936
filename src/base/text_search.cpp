#include "base/text_search.h"

#include <algorithm>

namespace netglobe {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameletters(char a, char b) { return lower(a) == lower(b); }

}  // namespace

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
