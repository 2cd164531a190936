#include "scene/mouse_steps.h"

#include <cmath>
#include <limits>

namespace netglobe {

std::int16_t mousepixel(float coord) {
  constexpr float lo = std::numeric_limits<std::int16_t>::min();
  constexpr float hi = std::numeric_limits<std::int16_t>::max();
  // The default rounding mode gives halves to the even neighbour.
  const float r = std::nearbyint(coord);
  if (!(r >= lo)) return static_cast<std::int16_t>(lo);  // also NaN
  if (r > hi) return static_cast<std::int16_t>(hi);
  return static_cast<std::int16_t>(r);
}

void zoomstep(ViewState& view, float dy) {
  const double d = view.viewdist;
  const double room = d - view.mindist + 0.01;
  // The numerator is 2 formed as ((d + 0.01) - d) * (200 / room); kept in
  // this form so that distances agree with the status line to its last digit.
  const double slowdown = ((d + 0.01) - d) * (200.0 / room);
  view.viewdist = d + static_cast<double>(dy) / (50.0 + slowdown);
  if (view.viewdist < view.mindist) view.viewdist = view.mindist;
  if (view.viewdist > view.maxdist) view.viewdist = view.maxdist;
}

void dragstep(ViewState& view, float dx, float dy) {
  const float k = view.viewdist < 3.0 ? 80.0f : view.viewdist < 4.6 ? 40.0f : 5.0f;
  view.viewlon += dx / k;
  view.viewtilt += dy / k;
  if (view.viewtilt < 0.0f) view.viewtilt = 0.0f;
  if (view.viewtilt > 180.0f) view.viewtilt = 180.0f;
  if (view.viewlon > 180.0f) {
    view.viewlon -= 360.0f;
  } else if (view.viewlon < -180.0f) {
    view.viewlon += 360.0f;
  }
}

void mousedown(Pointer& pointer, int button, float x, float y) {
  pointer.lastmousex = mousepixel(x);
  pointer.lastmousey = mousepixel(y);
  if (button == kLeftButton) pointer.leftdrag = true;
}

void mouseup(Pointer& pointer, int button) {
  if (button == kLeftButton) pointer.leftdrag = false;
}

bool mousemove(ViewState& view, Pointer& pointer, int buttons, float x, float y) {
  bool moved = false;
  if (buttons == kRightButton) {
    zoomstep(view, static_cast<float>(pointer.lastmousey) - y);
    pointer.lastmousex = mousepixel(x);
    pointer.lastmousey = mousepixel(y);
    moved = true;
  }
  if (pointer.leftdrag) {
    dragstep(view, static_cast<float>(pointer.lastmousex) - x,
             static_cast<float>(pointer.lastmousey) - y);
    pointer.lastmousex = mousepixel(x);
    pointer.lastmousey = mousepixel(y);
    moved = true;
  }
  return moved;
}

void wheelzoom(ViewState& view, float notches) { zoomstep(view, -kWheelNotchPixels * notches); }

}  // namespace netglobe
