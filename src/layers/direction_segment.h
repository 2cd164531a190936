#pragma once

#include "scene/draw_list.h"

namespace netglobe {

// Appends one direction segment to the caller's open GL_LINES primitive:
// from (lat1, lon1) in colour (r, g, b) to a yellow tip rad1 degrees of
// latitude away along kurs, the longitude step widened by 1/cos(lat1) so the
// line keeps its course on the map. The line width op comes first, as the
// layer always recorded it; inside the primitive GL ignores it. A tip that
// is no finite point (an absurd speed, near a pole) leaves the segment out.
void heading(DrawList& list, double lat1, double lon1, double kurs, double rad1, float r, float g,
             float b, float psize);

}  // namespace netglobe
