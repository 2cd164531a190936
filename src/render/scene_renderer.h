#pragma once

#include <GL/gl.h>

#include "render/frame_cache.h"
#include "render/label_layers.h"
#include "scene/scene_state.h"
#include "scene/view_status.h"

namespace netglobe {

inline constexpr double kFieldOfView = 20.0;
inline constexpr double kNearPlane = 0.01;
inline constexpr double kFarPlane = 100.0;

// Viewport and perspective for a window of w x h pixels; leaves the modelview
// matrix current. A height of 0 would give no aspect: the old projection stays.
void setprojection(int w, int h);

// Camera, clip plane and view rotation for the current view (modelview).
void applyviewtransform(const ViewState& view);

// The kept images of a frame's leading layers, with what they need to
// stand in for those layers.
struct KeptFrame {
  FrameCache& cache;
  const ListGenerations& builds;
  const std::array<ListTail, kLastSceneList + 1>& tails;
};

// Draws one frame (or one selection pass) into the current framebuffer:
// the globe and every layer whose switch is on and whose list is built.
// With `kept`, a frame takes what it can from the kept images.
void drawframe(const SceneState& scene, const ReadyLists& ready, const ViewState& view,
               GLuint globetexture, const LabelLayers& labels, const KeptFrame* kept = nullptr);

// Draws the kept image of the frame's leading layers that a rebuild made
// out of date, out of sight: the framebuffer ends as it began. Does
// nothing when that image is good, or when the view has moved since the
// first image was kept.
void prepareframe(const SceneState& scene, const ReadyLists& ready, const ViewState& view,
                  GLuint globetexture, const LabelLayers& labels, const KeptFrame& kept);

}  // namespace netglobe
