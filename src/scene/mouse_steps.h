#pragma once

#include <cstdint>

#include "scene/view_status.h"

namespace netglobe {

// Buttons as the mouse handlers see them: the one button of a press or a
// release, the sum of the buttons held during a move.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// Pixels of a right-button drag that one wheel notch stands for; a notch
// away from the user zooms in like a drag downwards.
inline constexpr float kWheelNotchPixels = 15.0f;

// Where the mouse was at the last press or step, and whether the left
// button is down.
struct Pointer {
  std::int16_t lastmousex = 0;
  std::int16_t lastmousey = 0;
  bool leftdrag = false;
};

// A position as a step remembers it: the nearest whole pixel, halves to the
// even neighbour, held within 16 bits.
std::int16_t mousepixel(float coord);

// Camera distance after a zoom step of dy pixels (the last y minus the new
// one): upwards moves away, downwards nearer, more slowly near the globe;
// kept within mindist and maxdist.
void zoomstep(ViewState& view, float dy);

// Turn by dx and tilt by dy pixels (last position minus the new one), slower
// for nearer views; the tilt is kept within 0 to 180, the longitude wraps
// once into -180 to 180.
void dragstep(ViewState& view, float dx, float dy);

// A press remembers where it happened; the left button starts a drag. (The
// window also stops the flight and the start zoom.)
void mousedown(Pointer& pointer, int button, float x, float y);
void mouseup(Pointer& pointer, int button);

// A move with the buttons held: only the right button alone zooms; a left
// drag turns and tilts whatever the buttons say. True when the view changed.
bool mousemove(ViewState& view, Pointer& pointer, int buttons, float x, float y);

// Wheel turned by notches (positive away from the user): the zoom step of a
// right-button drag of 15 pixels a notch.
void wheelzoom(ViewState& view, float notches);

}  // namespace netglobe
