#pragma once

#include <string>
#include <string_view>

namespace netglobe {

// Whether text holds what anywhere, ASCII letters compared regardless of
// case (station markers such as "_APP:" count in any case).
bool containsnocase(std::string_view text, std::string_view what);

// windows-1252 text with every letter that has a lower-case form in the code
// page lowered (A-Z, the accented capitals, Š Œ Ž Ÿ), so that a plain byte
// comparison of two folded texts ignores letter case. Other bytes stay.
std::string foldcase1252(std::string_view text);

// text without the blanks at either end; blanks are the characters of blanks.
inline std::string_view trimmed(std::string_view text, std::string_view blanks = " \t") {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace netglobe
