#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include "render/outline_tessellator.h"
#include "scene/draw_list.h"

namespace netglobe {

// The quadric the globe spheres are drawn with. It makes texture
// coordinates for both: the software renderer crashes in the picking pass
// over a sphere without them, and they cost nothing with texturing off.
struct Quadrics {
  GLUquadric* globe = nullptr;  // globequadric
};

// Replaces display list `number` with the commands of `list`. Recording draws
// nothing: the next frame draws the list once. What the list enables or
// disables takes effect now all the same, as if it had been drawn. Even-odd
// fills become the triangles `fills` holds for their ring, or a stencil fill
// where the tessellator refuses the ring.
void compilelist(int number, const DrawList& list, const Quadrics& quadrics, FillTriangles& fills);

// Makes what the list enables or disables take effect, as compiling it does.
void applyswitches(const DrawList& list);

}  // namespace netglobe
