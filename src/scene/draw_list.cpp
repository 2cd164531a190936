#include "scene/draw_list.h"

#include <algorithm>

namespace netglobe {

std::size_t DrawList::countof(DrawOp::Kind kind) const {
  return static_cast<std::size_t>(
      std::count_if(ops_.begin(), ops_.end(), [kind](const DrawOp& op) { return op.kind == kind; }));
}

}  // namespace netglobe
