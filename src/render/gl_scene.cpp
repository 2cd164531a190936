#include "render/gl_scene.h"

#include <GL/glu.h>

#include "geo/globe_coords.h"
#include "render/gl_probe.h"
#include "render/scene_renderer.h"

namespace netglobe {

std::string GlScene::open() {
  GLint stencilbits = 0;
  glGetIntegerv(GL_STENCIL_BITS, &stencilbits);
  if (stencilbits < kRequiredStencilBits) return "fewer than 8 stencil bits";
  labels_.open();
  // A frame drawn before startup (the first resize) shows the night-blue
  // background rather than black.
  glClearColor(0.0f, 0.0f, 0.1f, 0.0f);
  open_ = true;
  return {};
}

void GlScene::setstartstate() {
  glClearColor(0.0f, 0.0f, 0.1f, 0.0f);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

TextureLoad GlScene::loadglobetexture(const std::string& filename) {
  if (texture_ == 0) glGenTextures(1, &texture_);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  rebuilt(kTexGlobeList);
  return loadtex(filename);
}

TextureLoad GlScene::loadglobetexture(const std::string& filename, GlobeImage read) {
  if (texture_ == 0) glGenTextures(1, &texture_);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  rebuilt(kTexGlobeList);
  return loadtex(filename, std::move(read));
}

void GlScene::buildglobes() {
  if (!quadrics_.globe) {
    quadrics_.globe = gluNewQuadric();
    gluQuadricTexture(quadrics_.globe, GL_TRUE);
  }
  Layer textured{kTexGlobeList, {}};
  textured.ops.sphere(kGlobeRadius, kGlobeSlices);
  compile(textured);
  // The plain sphere has texture coordinates too (see Quadrics); texturing
  // is off for it.
  Layer plain{kPlainGlobeList, {}};
  plain.ops.disable(Cap::Texture2D);
  plain.ops.color(0.0f, 0.0f, 0.15f);
  plain.ops.sphere(kGlobeRadius, kGlobeSlices);
  compile(plain);
}

void GlScene::compile(const Layer& layer) {
  if (layer.pointsize > 0) glPointSize(layer.pointsize);
  if (FrameCache::keeps(layer.list)) {
    // The active FIRs and chiefs of a refresh are mostly those of the one
    // before: the same commands keep their list, and the kept images
    // showing it stay good.
    std::vector<DrawOp>& last = keptops_[std::size_t(layer.list)];
    if (ready_[layer.list] && last == layer.ops.ops()) {
      applyswitches(layer.ops);
      return;
    }
    last = layer.ops.ops();
    tails_[std::size_t(layer.list)] = ListTail::of(layer.ops);
  }
  if (LabelLayers::holds(layer.list)) {
    labels_.compile(layer);
  } else {
    compilelist(layer.list, layer.ops, quadrics_, fills_);
  }
  ready_.mark(layer.list);
  rebuilt(layer.list);
}

void GlScene::rebuilt(int list) {
  if (list >= 0 && list <= kLastSceneList) builds_[std::size_t(list)] = ++lastbuild_;
}

void GlScene::discard(int list) {
  if (LabelLayers::holds(list)) {
    labels_.discard(list);
  } else {
    glDeleteLists(static_cast<GLuint>(list), 1);
  }
  ready_.clear(list);
  rebuilt(list);
  if (FrameCache::keeps(list)) keptops_[std::size_t(list)].clear();
}

void GlScene::resize(int w, int h) {
  setprojection(w, h);
  if (w > 0 && h > 0) cache_.resize(w, h);
}

void GlScene::drawframe(const SceneState& scene, const ViewState& view) const {
  const KeptFrame kept{cache_, builds_, tails_};
  netglobe::drawframe(scene, ready_, view, texture_, labels_, keepframes_ ? &kept : nullptr);
}

QImage GlScene::readframe(int w, int h) const {
  if (w <= 0 || h <= 0) return {};
  QImage frame(w, h, QImage::Format_RGBA8888);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, frame.bits());
  // GL's rows run bottom-up.
  return frame.mirrored().convertToFormat(QImage::Format_RGB32);
}

void GlScene::prepareframe(const SceneState& scene, const ViewState& view) {
  if (!keepframes_) return;
  netglobe::prepareframe(scene, ready_, view, texture_, labels_, KeptFrame{cache_, builds_, tails_});
}

PickHits GlScene::pick(float x, float y, const SceneState& scene, const ViewState& view) const {
  SceneState selecting = scene;
  selecting.selecting = true;
  return pickpass(x, y, [&] { netglobe::drawframe(selecting, ready_, view, texture_, labels_); });
}

void GlScene::release() {
  if (quadrics_.globe) gluDeleteQuadric(quadrics_.globe);
  quadrics_ = {};
  for (int list = 0; list <= kLastSceneList; ++list) {
    if (ready_[list] && !LabelLayers::holds(list)) glDeleteLists(static_cast<GLuint>(list), 1);
  }
  ready_.clearall();
  if (texture_ != 0) glDeleteTextures(1, &texture_);
  texture_ = 0;
  labels_.release();
  cache_.release();
  for (int list = 0; list <= kLastSceneList; ++list) rebuilt(list);
  keptops_ = {};
  open_ = false;
}

}  // namespace netglobe
