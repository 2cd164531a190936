#pragma once

namespace netglobe {

inline constexpr double kZoomStep = 0.1;
inline constexpr double kZoomEnd = 2.9;

// One tick of the zoom-in after startup: the camera moves 0.1 nearer and
// snaps to 2.9 once it passes it. True on the last tick.
inline bool startzoomtick(double& viewdist) {
  viewdist -= kZoomStep;
  if (viewdist < kZoomEnd) {
    viewdist = kZoomEnd;
    return true;
  }
  return false;
}

}  // namespace netglobe
