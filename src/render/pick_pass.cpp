#include "render/pick_pass.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "lists/pick_decode.h"
#include "render/scene_renderer.h"

namespace netglobe {

static_assert(sizeof(GLuint) == sizeof(std::uint32_t));

namespace {

// Room for a million hit records of one name: more objects than any
// status file the download accepts can list.
constexpr std::size_t kMaxSelectBufferSize = std::size_t{1} << 22;

void selectionpass(float x, float y, GLint viewport[4], const std::function<void()>& draw,
                   PickHits& out) {
  glSelectBuffer(static_cast<GLsizei>(out.selbuf.size()), out.selbuf.data());
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
}

}  // namespace

PickHits pickpass(float x, float y, const std::function<void()>& draw) {
  PickHits out;
  out.selbuf.assign(kSelectBufferSize, 0);
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  if (viewport[2] <= 0 || viewport[3] <= 0) return out;

  // A crowded spot of a busy network can hit more objects than the buffer
  // holds: the pass runs again with room for them rather than name nothing.
  for (;;) {
    selectionpass(x, y, viewport, draw, out);
    if (out.hits >= 0 || out.selbuf.size() >= kMaxSelectBufferSize) return out;
    out.selbuf.assign(out.selbuf.size() * 4, 0);
  }
}

}  // namespace netglobe
