#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace netglobe {

// The leading number of a field's text, "." as decimal point; leading blanks
// are skipped and text without a leading number reads as 0, as does a number
// that a double cannot hold ("1e400", "1e-400"). Never throws, never gives
// an infinity or a NaN.
double leadingnumber(std::string_view text);

// The same, but nothing where leadingnumber reads 0 for want of a number:
// a position field that is empty or holds no number is no position.
std::optional<double> numberat(std::string_view text);

// A number as the user sees it: one leading blank when not negative, "." as
// decimal separator, at most 15 significant digits, no trailing zeros.
std::string numtext(double value);

// The same for single-precision values, written with the digits a float holds.
std::string numtext(float value);

}  // namespace netglobe
