#pragma once

#include <string>
#include <utility>

#include "scene/draw_list.h"

namespace netglobe {

// One built layer: the commands of one numbered scene list. A builder that
// meets a missing or broken input still hands back a layer (empty or
// shortened), so the list is replaced and marked built either way.
struct Layer {
  Layer() = default;
  Layer(int number, DrawList commands = {}, float size = 0)
      : list(number), ops(std::move(commands)), pointsize(size) {}

  int list = 0;
  DrawList ops;
  // Above 0: the point size set right before compiling, outside the list,
  // as the graticule's build does.
  float pointsize = 0;
  // Why the build stopped before its end (what was built stays); empty when
  // it ran through. The window says it once, not at every refresh.
  std::string failure;
};

}  // namespace netglobe
