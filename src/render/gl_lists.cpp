#include "render/gl_lists.h"

#include <span>
#include <vector>

namespace netglobe {
namespace {

// The drawing commands carry GL's own numbers, so replaying one is a cast.
constexpr bool sameas(auto value, GLenum gl) { return static_cast<GLenum>(value) == gl; }
static_assert(sameas(Prim::Points, GL_POINTS) && sameas(Prim::Lines, GL_LINES) &&
              sameas(Prim::LineLoop, GL_LINE_LOOP) && sameas(Prim::LineStrip, GL_LINE_STRIP) &&
              sameas(Prim::Triangles, GL_TRIANGLES) && sameas(Prim::TriangleFan, GL_TRIANGLE_FAN) &&
              sameas(Prim::Quads, GL_QUADS) && sameas(Prim::Polygon, GL_POLYGON));
static_assert(sameas(Cap::LineStipple, GL_LINE_STIPPLE) && sameas(Cap::DepthTest, GL_DEPTH_TEST) &&
              sameas(Cap::Blend, GL_BLEND) && sameas(Cap::Texture2D, GL_TEXTURE_2D));

GLenum gl(auto value) { return static_cast<GLenum>(value); }

void vertex(const GlobePoint& p) {
  glVertex3f(static_cast<GLfloat>(p.x), static_cast<GLfloat>(p.y), static_cast<GLfloat>(p.z));
}

void polygon(std::span<const GlobePoint> ring) {
  glBegin(GL_POLYGON);
  for (const GlobePoint& p : ring) vertex(p);
  glEnd();
}

// A ring the tessellator refuses, filled through the stencil buffer: the
// first pass inverts the stencil of every pixel the polygon covers, so those
// covered an odd number of times end at 1; the second blends the current
// colour where it is 1 and inverts it back, so each pixel is blended once and
// the buffer is all 0 again afterwards. One clear per list is enough.
void stencilfill(std::span<const GlobePoint> ring, bool& cleared) {
  glEnable(GL_STENCIL_TEST);
  if (!cleared) glClear(GL_STENCIL_BUFFER_BIT);
  cleared = true;
  glStencilFunc(GL_ALWAYS, 0, 1);
  glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  polygon(ring);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glStencilFunc(GL_EQUAL, 1, 1);
  polygon(ring);
  glDisable(GL_STENCIL_TEST);
}

// Records one layer's commands into the open list.
class Recorder {
 public:
  Recorder(const Quadrics& quadrics, FillTriangles& fills) : quadrics_(quadrics), fills_(fills) {}

  void replay(const DrawOp& op) {
    using K = DrawOp::Kind;
    if (filling_) {
      if (op.kind == K::Vertex) {
        ring_.push_back(op.point());
        return;
      }
      if (op.kind == K::End) {
        fill();
        return;
      }
    }
    switch (op.kind) {
      case K::Begin:
        if (op.prim() == Prim::EvenOddFill) {
          filling_ = true;
          ring_.clear();
        } else {
          glBegin(gl(op.prim()));
        }
        break;
      case K::End: glEnd(); break;
      case K::Vertex: vertex(op.point()); break;
      case K::RasterPos: {
        const GlobePoint p = op.point();
        glRasterPos3f(static_cast<GLfloat>(p.x), static_cast<GLfloat>(p.y), static_cast<GLfloat>(p.z));
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
      case K::PushName: glPushName(op.name()); break;
      case K::PopName: glPopName(); break;
      case K::Enable: glEnable(gl(op.cap())); break;
      case K::Disable: glDisable(gl(op.cap())); break;
      case K::Glyph: break;  // text is drawn by the label layers alone
      case K::Sphere: {
        if (quadrics_.globe) gluSphere(quadrics_.globe, op.radius(), op.slices(), op.slices());
        break;
      }
    }
  }

 private:
  void fill() {
    filling_ = false;
    const FillTriangles::Triangles& triangles = fills_.of(ring_);
    if (!triangles) {
      stencilfill(ring_, stencilcleared_);
    } else if (!triangles->empty()) {
      glBegin(GL_TRIANGLES);
      for (const GlobePoint& p : *triangles) vertex(p);
      glEnd();
    }
  }

  const Quadrics& quadrics_;
  FillTriangles& fills_;
  bool filling_ = false;
  std::vector<GlobePoint> ring_;
  bool stencilcleared_ = false;
};

}  // namespace

void compilelist(int number, const DrawList& list, const Quadrics& quadrics, FillTriangles& fills) {
  glNewList(static_cast<GLuint>(number), GL_COMPILE);
  Recorder recorder(quadrics, fills);
  for (const DrawOp& op : list.ops()) recorder.replay(op);
  glEndList();
  applyswitches(list);
}

// What the list switches on or off holds from its build on, as if it had
// been drawn: the frames in between rely on it (the active-FIR fills turn
// depth testing off for everything after them).
void applyswitches(const DrawList& list) {
  for (const DrawOp& op : list.ops()) {
    if (op.kind == DrawOp::Kind::Enable) glEnable(gl(op.cap()));
    if (op.kind == DrawOp::Kind::Disable) glDisable(gl(op.cap()));
  }
}

}  // namespace netglobe
