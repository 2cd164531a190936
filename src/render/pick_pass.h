#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace netglobe {

// What one selection pass reports: the number of hit records (-1 when the
// buffer overflowed) and the selection buffer as GL left it.
struct PickHits {
  int hits = 0;
  std::vector<std::uint32_t> selbuf;
};

// Runs one selection pass in the current context through a 2 x 2 pixel
// region centred at (x, y), in pixels of the viewport with the origin top
// left. `draw` draws the scene without presenting it and must drop the name
// after the aircraft. The projection and the current matrix are left as
// they were. A viewport without area gives no hits. When more objects are
// hit than the buffer holds, the scene is drawn again into a larger one, so
// every hit is reported up to a million records.
PickHits pickpass(float x, float y, const std::function<void()>& draw);

}  // namespace netglobe
