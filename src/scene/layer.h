#pragma once

#include "scene/draw_list.h"

namespace netglobe {

// One built layer: the commands of one numbered scene list. A builder that
// meets a missing or broken input still hands back a layer (empty or
// shortened), so the list is replaced and marked built either way.
struct Layer {
  int list = 0;
  DrawList ops;
  // Above 0: the point size set right before compiling, outside the list,
  // as the graticule's build does.
  float pointsize = 0;
};

}  // namespace netglobe
