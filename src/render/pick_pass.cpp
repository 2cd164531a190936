#include "render/pick_pass.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "lists/pick_decode.h"
#include "render/scene_renderer.h"

namespace netglobe {

static_assert(sizeof(GLuint) == sizeof(std::uint32_t));

PickHits pickpass(float x, float y, const std::function<void()>& draw) {
  PickHits out;
  out.selbuf.assign(kSelectBufferSize, 0);
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  if (viewport[2] <= 0 || viewport[3] <= 0) return out;

  glSelectBuffer(kSelectBufferSize, out.selbuf.data());
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glRenderMode(GL_SELECT);
  glLoadIdentity();
  gluPickMatrix(x, viewport[3] - y, 2.0, 2.0, viewport);
  gluPerspective(kFieldOfView, static_cast<double>(viewport[2]) / viewport[3], kNearPlane,
                 kFarPlane);
  // Name 0 stands for everything drawn before the first object's name.
  glInitNames();
  glPushName(0);
  glMatrixMode(GL_MODELVIEW);
  draw();
  glFlush();
  out.hits = glRenderMode(GL_RENDER);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  return out;
}

}  // namespace netglobe
