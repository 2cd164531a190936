#include "base/text_search.h"

#include <algorithm>

namespace netglobe {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool containsnocase(std::string_view text, std::string_view what) {
  const auto same = [](char a, char b) { return lower(a) == lower(b); };
  return std::search(text.begin(), text.end(), what.begin(), what.end(), same) != text.end();
}

}  // namespace netglobe
