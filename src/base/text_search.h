#pragma once

#include <string_view>

namespace netglobe {

// Whether text holds what anywhere, ASCII letters compared regardless of
// case (station markers such as "_APP:" count in any case).
bool containsnocase(std::string_view text, std::string_view what);

}  // namespace netglobe
