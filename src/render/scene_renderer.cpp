#include "render/scene_renderer.h"

#include <GL/glu.h>

namespace netglobe {

void setprojection(int w, int h) {
  if (h <= 0 || w <= 0) return;
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfView, static_cast<double>(w) / h, kNearPlane, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void applyviewtransform(const ViewState& view) {
  glLoadIdentity();
  glTranslated(0.0, 0.0, -view.viewdist);
  // Given in eye space right behind the camera translation, the plane keeps
  // only what lies at least 0.5 units in front of the globe centre: the far
  // hemisphere and the near rim vanish without any depth sorting.
  const GLdouble clipeqn[4] = {0.0, 0.0, 0.00006, -0.00003};
  glEnable(GL_CLIP_PLANE0);
  glClipPlane(GL_CLIP_PLANE0, clipeqn);
  glRotatef(-view.viewtilt, 1.0f, 0.0f, 0.0f);
  glRotatef(-view.viewlon, 0.0f, 0.0f, 1.0f);
}

namespace {

// What the frame sets just before a list, and undoes right after it.
void beforelist(ListSetup setup, GLuint globetexture) {
  switch (setup) {
    case ListSetup::None:
    case ListSetup::PopName: break;
    case ListSetup::LineWidth1: glLineWidth(1.0f); break;
    case ListSetup::LineWidth2: glLineWidth(2.0f); break;
    case ListSetup::PointSize4: glPointSize(4.0f); break;
    case ListSetup::TexturedGlobe:
      // The image is opaque: blending it would only read back what it
      // covers, for the same pixels.
      glPushAttrib(GL_ENABLE_BIT);
      glDisable(GL_BLEND);
      glBindTexture(GL_TEXTURE_2D, globetexture);
      glColor3f(1.0f, 1.0f, 1.0f);
      glEnable(GL_TEXTURE_2D);
      break;
    case ListSetup::NoDepthWidth1:
      glDisable(GL_DEPTH_TEST);
      glLineWidth(1.0f);
      break;
    case ListSetup::StippleWidth2:
      glEnable(GL_LINE_STIPPLE);
      glLineStipple(1, 0x1111);
      glLineWidth(2.0f);
      break;
  }
}

void afterlist(ListSetup setup) {
  if (setup == ListSetup::TexturedGlobe) {
    glPopAttrib();
    glDisable(GL_TEXTURE_2D);
  }
  if (setup == ListSetup::StippleWidth2) glDisable(GL_LINE_STIPPLE);
}

void calllist(const ListCall& call, GLuint globetexture, const LabelLayers& labels) {
  if (LabelLayers::holds(call.list)) {
    labels.draw(call.list);
    return;
  }
  if (call.setup == ListSetup::PopName) {
    glPopName();
    return;
  }
  beforelist(call.setup, globetexture);
  glCallList(static_cast<GLuint>(call.list));
  afterlist(call.setup);
}

void beginframe(const ViewState& view) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  applyviewtransform(view);
  glPushMatrix();
}

void endframe() { glPopMatrix(); }

// How a frame stands in kept images for lists: a list whose pixels come
// from one leaves its state all the same, what the frame sets around it
// and what the list itself sets.
struct KeptCalls {
  FrameCache::CallFn draw;
  FrameCache::CallFn skip;
  KeptCalls(const KeptFrame& kept, GLuint globetexture, const LabelLayers& labels)
      : draw([globetexture, &labels](const ListCall& call) { calllist(call, globetexture, labels); }),
        skip([globetexture, &kept](const ListCall& call) {
          beforelist(call.setup, globetexture);
          kept.tails[std::size_t(call.list)].apply();
          afterlist(call.setup);
        }) {}
};

}  // namespace

void drawframe(const SceneState& scene, const ReadyLists& ready, const ViewState& view,
               GLuint globetexture, const LabelLayers& labels, const KeptFrame* kept) {
  beginframe(view);
  const std::vector<ListCall> calls = framelists(scene, ready);
  if (kept && !scene.selecting) {
    const KeptCalls via(*kept, globetexture, labels);
    kept->cache.draw(calls, view, kept->builds, via.draw, via.skip);
  } else {
    for (const ListCall& call : calls) calllist(call, globetexture, labels);
  }
  endframe();
}

void prepareframe(const SceneState& scene, const ReadyLists& ready, const ViewState& view,
                  GLuint globetexture, const LabelLayers& labels, const KeptFrame& kept) {
  if (scene.selecting) return;
  const std::vector<ListCall> calls = framelists(scene, ready);
  const KeptCalls via(kept, globetexture, labels);
  kept.cache.prepare(calls, view, kept.builds, via.draw, via.skip, [&] { beginframe(view); }, endframe);
}

}  // namespace netglobe
