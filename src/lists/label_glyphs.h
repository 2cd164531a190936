#pragma once

#include <string_view>

#include "geo/globe_coords.h"
#include "scene/draw_list.h"

namespace netglobe {

// One label: the raster position at its point, then one glyph per
// windows-1252 byte from the first to the last. Byte 255 has no glyph and
// draws nothing.
void drawlabel(DrawList& out, const GlobePoint& at, std::string_view text);

}  // namespace netglobe
