#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include "scene/draw_list.h"

namespace netglobe {

// The quadric the globe spheres are drawn with. It makes texture
// coordinates for both: the software renderer crashes in the picking pass
// over a sphere without them, and they cost nothing with texturing off.
struct Quadrics {
  GLUquadric* globe = nullptr;  // globequadric
};

// Replaces display list `number` with the commands of `list`, recorded in
// GL_COMPILE_AND_EXECUTE mode: the layer is also drawn into the current frame
// and its state changes take effect now, as every layer's build does.
void compilelist(int number, const DrawList& list, const Quadrics& quadrics);

}  // namespace netglobe
