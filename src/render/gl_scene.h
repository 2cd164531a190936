#pragma once

#include <GL/gl.h>

#include <QImage>
#include <string>

#include "render/frame_cache.h"
#include "render/gl_lists.h"
#include "render/globe_texture.h"
#include "render/label_layers.h"
#include "render/pick_pass.h"
#include "scene/layer.h"
#include "scene/scene_state.h"
#include "scene/view_status.h"

namespace netglobe {

// The one owner of everything the window keeps in GL: the label font, the
// globe texture, the quadrics and the scene's layers (display lists, and
// the label layers drawn from the font) with their ready flags. The window makes its context current around each call; every
// GL and GLU call of the program is made here or below.
class GlScene {
 public:
  GlScene() = default;
  GlScene(const GlScene&) = delete;
  GlScene& operator=(const GlScene&) = delete;

  // Checks the context just created and builds the label font. Returns
  // why the context cannot be used, or "" when it can.
  std::string open();
  bool isopen() const { return open_; }

  // The GL state every frame relies on: clear colour, texturing, depth
  // test, blending.
  void setstartstate();

  // Creates the globe texture and loads the image file into it. Without a
  // usable image the texture stays empty and the reason is given.
  TextureLoad loadglobetexture(const std::string& filename);
  // The same with the image read already (see loadtex).
  TextureLoad loadglobetexture(const std::string& filename, GlobeImage read);

  // The quadric and the two globe spheres (textured list 5, plain list 7).
  void buildglobes();

  // Replaces the layer's list and marks it built; the next frame draws it.
  // Its fills' triangles are made at the first build that holds the ring.
  // A globe, outline, active-FIR or chiefs layer of the same commands as
  // its list keeps the list as it is.
  void compile(const Layer& layer);
  // Deletes one layer; the frame leaves it out until it is built again.
  void discard(int list);
  const ReadyLists& ready() const { return ready_; }

  // Viewport and projection for a w x h window; a zero size keeps the old.
  void resize(int w, int h);
  // Draws one frame (or one selection pass) into the current framebuffer.
  void drawframe(const SceneState& scene, const ViewState& view) const;
  // The current framebuffer's w x h pixels as drawn so far, top row first.
  QImage readframe(int w, int h) const;
  // Brings the kept images up to date out of sight (see prepareframe).
  void prepareframe(const SceneState& scene, const ViewState& view);

  // One selection pass of the scene around window pixel (x, y), nothing
  // presented: the names of what lies under the cursor.
  PickHits pick(float x, float y, const SceneState& scene, const ViewState& view) const;

  // Frees every resource; the context must be current.
  void release();

  // Whether frames keep and reuse images of their leading layers (on from
  // the start); off, every frame draws every list, as after a view change.
  void keepframes(bool on) { keepframes_ = on; }
  // How many of the last frame's lists came from its kept images.
  std::size_t lastkeptlists() const { return keepframes_ ? cache_.lastskipped() : 0; }

 private:
  // A list's pixels or its state changed: kept images showing it go.
  void rebuilt(int list);

  bool open_ = false;
  GLuint texture_ = 0;  // texids(0)
  Quadrics quadrics_;
  FillTriangles fills_;
  LabelLayers labels_;
  ReadyLists ready_;
  // The frame's leading layers as images; drawing a frame keeps them.
  mutable FrameCache cache_;
  bool keepframes_ = true;
  ListGenerations builds_{};
  std::uint64_t lastbuild_ = 0;
  std::array<ListTail, kLastSceneList + 1> tails_;
  // The commands each kept list was last compiled from.
  std::array<std::vector<DrawOp>, kLastSceneList + 1> keptops_;
};

}  // namespace netglobe
