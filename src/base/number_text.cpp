#include "base/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace netglobe {

std::optional<double> numberat(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digitsstart = i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  std::size_t mantissadigits = i - digitsstart;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fracstart = ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    mantissadigits += i - fracstart;
  }
  if (mantissadigits == 0) return std::nullopt;
  // An exponent counts only when digits follow it ("1e" reads as 1).
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t expstart = j;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
    if (j > expstart) i = j;
  }
  std::string_view number = text.substr(start, i - start);
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  // A number a double cannot hold, too large or too small, counts as no
  // number: an infinite coordinate would carry into every layer.
  if (result.ec != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

double leadingnumber(std::string_view text) { return numberat(text).value_or(0.0); }

namespace {

std::string withsign(double value, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*G", digits, value);
  std::string text(buf);
  if (text == "-0") text = "0";
  return value < 0 && text != "0" ? text : " " + text;
}

}  // namespace

std::string numtext(double value) { return withsign(value, 15); }

std::string numtext(float value) { return withsign(static_cast<double>(value), 7); }

}  // namespace netglobe
