#pragma once

#include "layers/rgba.h"
#include "scene/draw_list.h"

namespace netglobe {

// A filled disc on the overlay shell: a triangle fan of the centre and 13
// rim vertices, r degrees of latitude from the centre and widened by
// 1/cos of each rim vertex's own latitude so it looks round on the globe.
// The 13th rim vertex falls (to a rounding remainder) on the first and
// closes the fan. The colour runs from centre to rim across each triangle.
void discfan(DrawList& out, double lat, double lon, double r, Rgba centre, Rgba rim);

}  // namespace netglobe
