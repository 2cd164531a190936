#pragma once

#include "session/effects.h"

namespace netglobe {

// Effects of two calls in one, as if applied one after the other: the later
// one's texts win, lists add up, switches stay on; more is the later one's.
void append(Effects& into, Effects&& from);

}  // namespace netglobe
