#include "scene/draw_list.h"

#include <algorithm>
#include <cmath>

namespace netglobe {

bool DrawOp::finite() const {
  return std::all_of(std::begin(f_), std::end(f_), [](float f) { return std::isfinite(f); });
}

std::size_t DrawList::countof(DrawOp::Kind kind) const {
  return static_cast<std::size_t>(
      std::count_if(ops_.begin(), ops_.end(), [kind](const DrawOp& op) { return op.kind == kind; }));
}

}  // namespace netglobe
