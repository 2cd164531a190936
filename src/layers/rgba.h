#pragma once

#include "scene/draw_list.h"

namespace netglobe {

inline void color(DrawList& out, Rgba c) { out.color(c.r, c.g, c.b, c.a); }

}  // namespace netglobe
