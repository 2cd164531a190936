#include "render/gl_lists.h"

namespace netglobe {
namespace {

// The drawing commands carry GL's own numbers, so replaying one is a cast.
constexpr bool sameas(auto value, GLenum gl) { return static_cast<GLenum>(value) == gl; }
static_assert(sameas(Prim::Points, GL_POINTS) && sameas(Prim::Lines, GL_LINES) &&
              sameas(Prim::LineLoop, GL_LINE_LOOP) && sameas(Prim::LineStrip, GL_LINE_STRIP) &&
              sameas(Prim::Triangles, GL_TRIANGLES) && sameas(Prim::TriangleFan, GL_TRIANGLE_FAN) &&
              sameas(Prim::Quads, GL_QUADS) && sameas(Prim::Polygon, GL_POLYGON));
static_assert(sameas(Cap::LineStipple, GL_LINE_STIPPLE) && sameas(Cap::DepthTest, GL_DEPTH_TEST) &&
              sameas(Cap::StencilTest, GL_STENCIL_TEST) && sameas(Cap::Blend, GL_BLEND) &&
              sameas(Cap::Texture2D, GL_TEXTURE_2D));
static_assert(sameas(StencilFunc::Equal, GL_EQUAL) && sameas(StencilFunc::Always, GL_ALWAYS));
static_assert(sameas(StencilAction::Keep, GL_KEEP) && sameas(StencilAction::Invert, GL_INVERT));

void replay(const DrawOp& op, const Quadrics& quadrics) {
  using K = DrawOp::Kind;
  const float* f = op.f;
  switch (op.kind) {
    case K::Begin: glBegin(op.u); break;
    case K::End: glEnd(); break;
    case K::Vertex: glVertex3f(f[0], f[1], f[2]); break;
    case K::Color: glColor4f(f[0], f[1], f[2], f[3]); break;
    case K::LineWidth: glLineWidth(f[0]); break;
    case K::PointSize: glPointSize(f[0]); break;
    case K::LoadName: glLoadName(op.u); break;
    case K::Enable: glEnable(op.u); break;
    case K::Disable: glDisable(op.u); break;
    case K::RasterPos: glRasterPos3f(f[0], f[1], f[2]); break;
    case K::Glyph: {
      const GLubyte c = static_cast<GLubyte>(op.u);
      glCallLists(1, GL_UNSIGNED_BYTE, &c);
      break;
    }
    case K::Sphere: {
      if (quadrics.globe) {
        gluSphere(quadrics.globe, f[0], static_cast<GLint>(op.u), static_cast<GLint>(op.u));
      }
      break;
    }
    case K::StencilFunc:
      glStencilFunc(op.u, static_cast<GLint>(f[0]), static_cast<GLuint>(f[1]));
      break;
    case K::StencilOp:
      glStencilOp(op.u, static_cast<GLenum>(f[0]), static_cast<GLenum>(f[1]));
      break;
    case K::ColorMask: {
      const GLboolean on = op.u ? GL_TRUE : GL_FALSE;
      glColorMask(on, on, on, on);
      break;
    }
    case K::ClearStencil: glClear(GL_STENCIL_BUFFER_BIT); break;
  }
}

}  // namespace

void compilelist(int number, const DrawList& list, const Quadrics& quadrics) {
  glNewList(static_cast<GLuint>(number), GL_COMPILE_AND_EXECUTE);
  for (const DrawOp& op : list.ops()) replay(op, quadrics);
  glEndList();
}

}  // namespace netglobe
