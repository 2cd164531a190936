#pragma once

#include "scene/draw_list.h"

namespace netglobe {

// A colour of a layer, alpha included.
struct Rgba {
  float r, g, b, a;
};

inline void color(DrawList& out, Rgba c) { out.color(c.r, c.g, c.b, c.a); }

}  // namespace netglobe
