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

void calllist(const ListCall& call, GLuint globetexture, const LabelLayers& labels) {
  if (LabelLayers::holds(call.list)) {
    labels.draw(call.list);
    return;
  }
  switch (call.setup) {
    case ListSetup::None: break;
    case ListSetup::LineWidth1: glLineWidth(1.0f); break;
    case ListSetup::LineWidth2: glLineWidth(2.0f); break;
    case ListSetup::PointSize4: glPointSize(4.0f); break;
    case ListSetup::TexturedGlobe:
      glBindTexture(GL_TEXTURE_2D, globetexture);
      glColor3f(1.0f, 1.0f, 1.0f);
      glEnable(GL_TEXTURE_2D);
      glCallList(static_cast<GLuint>(call.list));
      glDisable(GL_TEXTURE_2D);
      return;
    case ListSetup::NoDepthWidth1:
      glDisable(GL_DEPTH_TEST);
      glLineWidth(1.0f);
      break;
    case ListSetup::StippleWidth2:
      glEnable(GL_LINE_STIPPLE);
      glLineStipple(1, 0x1111);
      glLineWidth(2.0f);
      glCallList(static_cast<GLuint>(call.list));
      glDisable(GL_LINE_STIPPLE);
      return;
    case ListSetup::PopName: glPopName(); return;
  }
  glCallList(static_cast<GLuint>(call.list));
}

}  // namespace

void drawframe(const SceneState& scene, const ReadyLists& ready, const ViewState& view,
               GLuint globetexture, const LabelLayers& labels) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  applyviewtransform(view);
  glPushMatrix();
  for (const ListCall& call : framelists(scene, ready)) calllist(call, globetexture, labels);
  glPopMatrix();
}

}  // namespace netglobe
