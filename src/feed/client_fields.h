#pragma once

#include <string_view>

#include "base/fields.h"

namespace netglobe {

// The highest position any reader of a client line reads (the observer text).
inline constexpr int kLastClientPosition = 36;

// Splits a client line like getfields, then empties every position up to the
// observer text that the line itself does not have: a cut or malformed line
// reads as a short record, never with the coordinates, rating or destination
// of the line split before it.
void splitclient(std::string_view curline, FieldBuf& fieldbuf);

}  // namespace netglobe
