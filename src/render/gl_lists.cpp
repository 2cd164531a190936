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

GLenum gl(auto value) { return static_cast<GLenum>(value); }

void replay(const DrawOp& op, const Quadrics& quadrics) {
  using K = DrawOp::Kind;
  switch (op.kind) {
    case K::Begin: glBegin(gl(op.prim())); break;
    case K::End: glEnd(); break;
    case K::Vertex:
    case K::RasterPos: {
      const GlobePoint p = op.point();
      const auto x = static_cast<GLfloat>(p.x), y = static_cast<GLfloat>(p.y),
                 z = static_cast<GLfloat>(p.z);
      if (op.kind == K::Vertex) {
        glVertex3f(x, y, z);
      } else {
        glRasterPos3f(x, y, z);
      }
      break;
    }
    case K::Color: {
      const Rgba c = op.rgba();
      glColor4f(c.r, c.g, c.b, c.a);
      break;
    }
    case K::LineWidth: glLineWidth(op.width()); break;
    case K::PointSize: glPointSize(op.size()); break;
    case K::LoadName: glLoadName(op.name()); break;
    case K::Enable: glEnable(gl(op.cap())); break;
    case K::Disable: glDisable(gl(op.cap())); break;
    case K::Glyph: break;  // text is drawn by the label layers alone
    case K::Sphere: {
      if (quadrics.globe) gluSphere(quadrics.globe, op.radius(), op.slices(), op.slices());
      break;
    }
    case K::StencilFunc:
      glStencilFunc(gl(op.stencilfunc()), op.stencilref(), op.stencilmask());
      break;
    case K::StencilOp:
      glStencilOp(gl(op.stencilfail()), gl(op.stencilzfail()), gl(op.stencilzpass()));
      break;
    case K::ColorMask: {
      const GLboolean on = op.writescolour() ? GL_TRUE : GL_FALSE;
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
